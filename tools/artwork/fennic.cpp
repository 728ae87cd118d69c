#include "faceplates.h"
#include "hardware.h"

#include <cmath>

namespace artwork {

namespace {

const Rgb paint{0.91, 0.88, 0.76}; // the cream of every printed legend
const Rgb amber{0.82, 0.64, 0.35};

void title(cairo_t* cr, const char* text, double cx, double y, double size) {
    Lettering style;
    style.size = size;
    style.weight = 600;
    style.tracking = size * 0.22;
    printed(cr, text, cx - 150, y, 300, style, paint);
}

void bigKnob(cairo_t* cr, double cx, double cy, const char* name, bool approved, double fraction) {
    static const char* const numerals[] = {"0", "8", "16", "24", "32", "40", "48"};
    knobScale(cr, cx, cy, 114, 125, 25, numerals, 7, 138, 17, paint);
    title(cr, name, cx, 270, 25);
    knob(cr, cx, cy, 108.5);
    if (approved) {
        knobPointer(cr, cx, cy, 91, fraction);
    }
}

// The scales of the small knobs, one numeral a step, so that each sits where the pointer
// stops: Attack runs 0 ("OFF") to 7, Release 1 to 7, both over the whole sweep.
struct Scale {
    const char* const* numerals;
    int steps;
};
const char* const attackNumerals[] = {"OFF", "1", "2", "3", "4", "5", "6", "7"};
const char* const releaseNumerals[] = {"1", "2", "3", "4", "5", "6", "7"};
const Scale attackScale{attackNumerals, 8};
const Scale releaseScale{releaseNumerals, 7};

// A small knob and its scale, the pointer at a step of the scale.
void smallKnob(cairo_t* cr, double cx, double cy, double radius, const char* name,
               const Scale& scale, bool approved, int step) {
    knobScale(cr, cx, cy, radius + 7, radius + 15, scale.steps, scale.numerals, scale.steps,
              radius + 33, 13, paint);
    title(cr, name, cx, cy - radius - 72, 19);
    knob(cr, cx, cy, radius);
    if (approved) {
        knobPointer(cr, cx, cy, 57, double(step) / (scale.steps - 1));
    }
}

} // namespace

void fennicPhotograph(Canvas& canvas, bool approved) {
    cairo_t* cr = canvas.cr;
    plateWithTopRow(canvas);
    controlField(cr);

    // Input and output: the big knobs, their readouts beneath.
    bigKnob(cr, 253.5, 460, "INPUT", approved, 0.5);
    bigKnob(cr, 566, 460, "OUTPUT", approved, 0.5);
    readout(cr, 201, 610, 104, 42, approved ? "24.0" : nullptr);
    readout(cr, 514, 610, 104, 42, approved ? "24.0" : nullptr);
    // Attack and release: the small knobs in a column.
    // The photograph was taken at the defaults: Attack 3, Release 5 (the fifth step of seven).
    smallKnob(cr, 838, 329, 65, "ATTACK", attackScale, approved, 3);
    smallKnob(cr, 837, 587, 66, "RELEASE", releaseScale, approved, 4);

    // Ratio column; the photograph was taken with ratio 4 selected.
    title(cr, "RATIO", 1059, 262, 19);
    const char* const ratios[] = {"20", "12", "8", "4", "ALL"};
    for (int k = 0; k < 5; ++k) {
        pushButton(cr, 1003, 304 + 72.5 * k, 112, 51, ratios[k], approved && k == 3);
    }
    // Meter column; gain reduction was selected.
    title(cr, "METER", 1806, 262, 19);
    const char* const meters[] = {"GR", "+8", "+4", "OFF"};
    for (int k = 0; k < 4; ++k) {
        pushButton(cr, 1746, 305 + 81 * k, 120, 59, meters[k], approved && k == 0);
    }

    // The meter.
    meterBezel(cr);
    meterFace(cr, approved ? -7.0 : NAN);
    Lettering caption;
    caption.family = "DejaVu Sans Mono";
    caption.size = 12;
    caption.tracking = 2.5;
    printed(cr, "GAIN REDUCTION \u00b7 OUTPUT VU", 1174, 660, 525, caption, amber);

    // Name plate.
    Lettering name;
    name.size = 46;
    name.weight = 600;
    name.tracking = 14;
    engraved(cr, "FENNIC", 1174, 158, 525, name, paint);
    Lettering kind;
    kind.size = 16;
    kind.tracking = 6;
    engraved(cr, "FET LIMITING AMPLIFIER", 1174, 222, 525, kind, {0.79, 0.75, 0.61});
    makersLine(cr);
}

} // namespace artwork
