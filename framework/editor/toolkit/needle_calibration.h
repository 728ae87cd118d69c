#pragma once
// Where the VU needle's tip lies on the meter photograph for each printed scale mark, in the
// FET photograph's art coordinates. The needle code interpolates between these points, and
// the artwork generator prints the scale marks at them, so the two stay in register.

namespace iron {

struct NeedleMark {
    double decibels; // VU dB, 0 at the meter's reference mark
    double x;
    double y;
};

inline constexpr int needleMarkCount = 12;

inline constexpr NeedleMark needleCalibration[needleMarkCount] = {
    {-24, 1245, 489}, {-20, 1265, 476}, {-10, 1301, 421}, {-7, 1343, 392},
    {-5, 1403, 381},  {-3, 1457, 381},  {-1, 1517, 388},  {0, 1556, 401},
    {1, 1588, 422},   {2, 1612, 451},   {3, 1633, 480},   {4, 1644, 492},
};

// The needle's root, hidden under the pivot cover, and the root of its shadow.
inline constexpr double needleRootX = 1434.5;
inline constexpr double needleRootY = 592;
inline constexpr double needleShadowRootX = 1435.7;
inline constexpr double needleShadowRootY = 593.2;

// The meter window of the photograph: a rounded rectangle.
inline constexpr double meterWindowX = 1198;
inline constexpr double meterWindowY = 322;
inline constexpr double meterWindowWidth = 474;
inline constexpr double meterWindowHeight = 280;
inline constexpr double meterWindowRadius = 34;

// The tip for a reading: piecewise linear between the marks, pinned to the first mark at
// or below -24 and to the last above +4; a reading that is not a number pins to the last.
// [any thread]
inline void needleTip(double reading, double& x, double& y) {
    if (!(reading == reading) || reading > needleCalibration[needleMarkCount - 1].decibels) {
        x = needleCalibration[needleMarkCount - 1].x;
        y = needleCalibration[needleMarkCount - 1].y;
        return;
    }
    if (reading <= needleCalibration[0].decibels) {
        x = needleCalibration[0].x;
        y = needleCalibration[0].y;
        return;
    }
    int k = 1;
    while (needleCalibration[k].decibels < reading) {
        ++k;
    }
    const NeedleMark& a = needleCalibration[k - 1];
    const NeedleMark& b = needleCalibration[k];
    const double t = (reading - a.decibels) / (b.decibels - a.decibels);
    x = a.x + t * (b.x - a.x);
    y = a.y + t * (b.y - a.y);
}

} // namespace iron
