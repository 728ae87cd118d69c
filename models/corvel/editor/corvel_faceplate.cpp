// The Corvel faceplate's print and meter: dial scales with their markings, the section
// titles, the gain readouts, the needle and the caption naming the VU's source, which the
// IN / OUT switch chooses.

#include "rack/editor/faceplate_selectors.h"
#include "rack/editor/rack_drawing.h"

#include "toolkit/iron.h"
#include "view/caption_index.h"
#include "view/needle_motion.h"

#include "model.h"

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// One dial's scale: n ticks on the pointer's sweep (-225 degrees at the minimum, lower left, to
// +45 at the maximum), a marking outside each when the dial has them.
void drawScale(const KelvoDial& dial) {
    const CGPoint c = dial.pointerCenter;
    const NSArray& markings = dial.markings;
    const NSUInteger n = markings ? markings.count() : 9;
    const double k = dial.pointerRadius * (dial.ring ? 1.3 : 1.34);
    const double labelSize = n > 15 ? 10 : 13;
    const NSColor cream = rackface::cream();
    for (NSUInteger j = 0; j < n; ++j) {
        const double a =
            (static_cast<double>(j) / static_cast<double>(n - 1) * 270.0 - 225.0) * pi / 180.0;
        const double cosA = std::cos(a);
        const double sinA = std::sin(a);
        NSBezierPath tick;
        tick.moveToPoint({c.x + (k - 5) * cosA, c.y + (k - 5) * sinA});
        tick.lineToPoint({c.x + k * cosA, c.y + k * sinA});
        tick.setLineWidth(1.2);
        cream.setStroke();
        tick.stroke();
        if (markings) {
            rackdraw::text(
                NSString::cast(markings.objectAtIndex(j)),
                CGRectMake(c.x + (k + 14) * cosA - 22, c.y + (k + 14) * sinA - 9, 44, 20),
                labelSize, cream, true, true);
        }
    }
}

} // namespace

namespace rackface {

void drawPrint(KelvoView& view) {
    for (const auto& [id, control] : view.controlsById()) {
        if (const auto* dial = dynamic_cast<const KelvoDial*>(control.get())) {
            drawScale(*dial);
        }
    }

    // Each title centred over its column's dial (x 230, 470, 750, 1025, 1250).
    static const NSString titles[] = {"INPUT GAIN", "HIGH \u00b7 12 kHz", "MID \u00b7 kHz",
                                      "LOW \u00b7 Hz", "HIGH PASS"};
    static const double titleX[] = {120, 360, 640, 915, 1140};
    for (int i = 0; i < 5; ++i) {
        rackdraw::text(titles[i], CGRectMake(titleX[i], 260, 220, 27), 18, cream(), true, true);
    }

    // The selectors' markings name their steps; the gains read out below their dials.
    unsigned count = 0;
    const char* const* gains = classic::choices(classic::param::inputGain, count);
    if (gains != nullptr && count > 0) {
        const unsigned step = captionIndex(view.value(classic::param::inputGain), count);
        rackdraw::text(gains[step], CGRectMake(120, 604, 220, 35), 25, cream(), true, true);
    }
    const struct {
        unsigned id;
        double x;
    } readouts[] = {{classic::param::highShelf, 380},
                    {classic::param::midGain, 660},
                    {classic::param::lowShelf, 935}};
    for (const auto& readout : readouts) {
        rackdraw::text(
            NSString::stringWithFormat("%+.1f dB", static_cast<double>(view.value(readout.id))),
            CGRectMake(readout.x, 604, 180, 35), 24, cream(), true, true);
    }
}

void drawMeter(KelvoView& view) {
    iron::needle(view.needlePosition(), false);
    static const NSString input("INPUT \u00b7 0 VU = \u221218 dBFS");
    static const NSString output("OUTPUT \u00b7 0 VU = \u221218 dBFS");
    rackdraw::text(view.faceplateSelectors()->isMeterInput() ? input : output,
                   CGRectMake(1380, 656, 505, 20), 13, cream(), true, true);
}

} // namespace rackface

double KelvoView::needleTarget() {
    // The louder channel of the source the IN / OUT switch chose.
    return needlemotion::louder(selectors->isMeterInput() ? telemetry.input : telemetry.output) +
           needlemotion::vuOffset;
}
