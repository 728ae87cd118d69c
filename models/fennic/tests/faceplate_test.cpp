// The FET photograph under the Fennic editor, measured where the editor draws: each small
// knob's printed scale has one mark a step, where the editor's pointer points at that step; the
// needle lies in the photograph's own meter.

#include "editor/plate_fennic.h"
#include "photograph.h"
#include "rack_editor_support.h"
#include "recording.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using editortest::firstPoint;
using editortest::lastPoint;
using editortest::Recording;
using racktest::Photograph;

constexpr double degree = M_PI / 180;

// The direction of each mark printed in the ring between inner and outer round centre: the
// light ink there, bunched by direction (bunches a degree or more apart), each bunch's
// ink-weighted direction in degrees (y down, from -270 to 90, so that a knob's sweep from
// -225 to 45 reads in order).
std::vector<double> markDirections(const Photograph& photo, CGPoint centre, double inner,
                                   double outer) {
    constexpr int binsPerDegree = 2;
    std::vector<double> ink(360 * binsPerDegree), directions(360 * binsPerDegree);
    const double step = 1 / photo.density();
    for (double y = centre.y - outer; y <= centre.y + outer; y += step) {
        for (double x = centre.x - outer; x <= centre.x + outer; x += step) {
            const double r = std::hypot(x - centre.x, y - centre.y);
            if (r < inner || r > outer || photo.luminance(x, y) < 0.5) {
                continue;
            }
            double a = std::atan2(y - centre.y, x - centre.x) / degree;
            if (a >= 90) {
                a -= 360;
            }
            const auto bin = static_cast<std::size_t>((a + 270) * binsPerDegree);
            ink[bin] += 1;
            directions[bin] += a;
        }
    }
    std::vector<double> marks;
    double weight = 0, sum = 0;
    int gap = 0;
    for (std::size_t bin = 0; bin <= ink.size(); ++bin) {
        if (bin < ink.size() && ink[bin] > 0) {
            weight += ink[bin];
            sum += directions[bin];
            gap = 0;
        } else if (weight > 0 && ++gap >= binsPerDegree) {
            marks.push_back(sum / weight);
            weight = sum = 0;
        }
    }
    return marks;
}

class FennicFaceplate : public ::testing::Test {
protected:
    EditorHarness editor;

    // Where the dial's pointer points at a value, in degrees (y down).
    double pointerDirection(unsigned id, float value) {
        editor.state().values[id] = value;
        editor.view->refresh();
        auto* dial = editor.control<KelvoDial>(id);
        Recording recording({1500, 599.8487140695914});
        dial->drawRect(dial->bounds());
        const auto strokes = recording.of(CGRecordedKind::stroke);
        EXPECT_EQ(strokes.size(), 2u) << "pointer and its shadow";
        const CGPoint from = firstPoint(strokes.back()->path);
        const CGPoint to = lastPoint(strokes.back()->path);
        double a = std::atan2(to.y - from.y, to.x - from.x) / degree;
        return a >= 90 ? a - 360 : a;
    }
};

// Attack runs 0 ("OFF") to 7, Release 1 to 7 over the same sweep: each has its own numerals
// and ticks, one a step.
TEST_F(FennicFaceplate, SmallKnobScalesMarkEveryStepWhereThePointerPoints) {
    const Photograph photograph("IronFennic-Approved");
    ASSERT_TRUE(photograph.loaded());
    for (const unsigned id : {2u, 3u}) {
        const classic::Definition& row = classic::definitions[id];
        std::vector<double> pointed;
        for (float value = row.minimum; value <= row.maximum; value += 1) {
            pointed.push_back(pointerDirection(id, value));
        }
        // Ticks and numerals lie between the knob's skirt and the field's edge.
        const auto* dial = editor.control<KelvoDial>(id);
        const std::vector<double> marks = markDirections(
            photograph, dial->pointerCenter, 1.2 * dial->pointerRadius, 1.9 * dial->pointerRadius);
        ASSERT_EQ(marks.size(), pointed.size()) << row.name;
        for (std::size_t i = 0; i < marks.size(); ++i) {
            EXPECT_NEAR(marks[i], pointed[i], 1.5) << row.name << " at " << row.minimum + i;
        }
    }
}

TEST(FennicNeedle, StaysInThePhotographsMeter) {
    // Over the FET photograph itself the needle's geometry is not moved at all.
    Recording recording({1983, 793});
    iron::needleFennic(-24, true);
    const CGRecordedOperation& needle = *recording.of(CGRecordedKind::stroke)[1];
    const CGPoint device = CGPointApplyAffineTransform(lastPoint(needle.path), needle.ctm);
    EXPECT_NEAR(device.x, 1245, 1e-9);
    EXPECT_NEAR(device.y, 489, 1e-9);
    const CGRecordedOperation& dim = *recording.of(CGRecordedKind::fill).back();
    EXPECT_NEAR(dim.color.alpha, 0.56, 1e-12);
    EXPECT_NEAR(dim.deviceBounds.origin.x, 1198, 1e-9);
    EXPECT_NEAR(dim.deviceBounds.size.width, 474, 1e-9);
}

} // namespace
