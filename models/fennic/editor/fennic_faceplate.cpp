// The Fennic faceplate's print and meter: the photograph prints everything but the two
// numeric readouts; the VU needle lies in the photograph's own meter, darkened in Meter Off,
// and shows what the meter mode selects.

#include "editor/plate_fennic.h"
#include "rack/editor/rack_drawing.h"

#include "step_index.h"
#include "toolkit/iron.h"
#include "view/needle_motion.h"

#include "model.h"

#include <algorithm>
#include <cmath>

namespace {

// The meter modes, Meter's steps.
enum : unsigned { gainReduction = 0, outputPlus8 = 1, outputPlus4 = 2, meterOff = 3 };

unsigned meterMode(KelvoView& view) {
    return classic::stepIndex(view.value(classic::param::meter), meterOff);
}

} // namespace

namespace rackface {

void drawPrint(KelvoView& view) {
    // The raw 0 to 48 settings, not dB, as the photographed readouts show them.
    rackdraw::text(
        NSString::stringWithFormat("%.1f", static_cast<double>(view.value(classic::param::input))),
        CGRectMake(201, 615, 104, 40), 29, cream(), true, true);
    rackdraw::text(
        NSString::stringWithFormat("%.1f", static_cast<double>(view.value(classic::param::output))),
        CGRectMake(514, 615, 104, 40), 29, cream(), true, true);
}

void drawMeter(KelvoView& view) {
    iron::needleFennic(view.needlePosition(), meterMode(view) == meterOff);
}

} // namespace rackface

double KelvoView::needleTarget() {
    // Formed in single precision, as the meter block's floats are.
    switch (meterMode(*this)) {
    case gainReduction: {
        // The needle swings left from 0 by the larger reduction; one that is not a number
        // reads as none.
        const float reduction = std::max(telemetry.gr[0], telemetry.gr[1]);
        return std::isfinite(reduction) ? -reduction : 0.0f;
    }
    case outputPlus8:
        return static_cast<float>(needlemotion::louder(telemetry.output)) + 14.0f;
    case outputPlus4:
        return static_cast<float>(needlemotion::louder(telemetry.output)) + 18.0f;
    default:
        return needlemotion::minimum;
    }
}
