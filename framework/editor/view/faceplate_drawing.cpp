// The editor view's faceplate: the composite photograph, badge, legend, needle, dial scales
// or the DETAIL panel, captions and the help banner, with the model's legend, badge tile and
// meter caption. The controls draw themselves on top.

#include "view/editor_view.h"

#include "model/editor_model.h"
#include "toolkit/iron.h"

#include <cmath>

namespace {

NSColor rgb(double r, double g, double b, double a = 1) {
    return NSColor::colorWithRed(r, g, b, a);
}

constexpr double pi = 3.14159265358979323846;

} // namespace

void KelvoView::drawRect(NSRect) {
    drawFaceplate();
    NSGraphicsContext::saveGraphicsState();
    enterArtSpace();

    iron::modelPlate();
    static const NSString legendText(classic::editorModel.legend);
    iron::legend(legendText, CGRectMake(1340, 258, 585, 28), 18, true);
    iron::needle(needle, false);
    if (utility) {
        drawDetailPanel();
    } else {
        drawScales();
    }
    // The dynamics models name what their needle shows at Meter 0; a Meter that cannot be
    // read counts as 0 (value: yields 0), as it does for the needle.
    static const NSString vuCaption("0 VU = \u221218 dBFS \u00b7 RMS");
    static const NSString reductionCaption("GAIN REDUCTION \u00b7 dB");
    const bool showsReduction =
        classic::editorModel.captionFollowsMeter && value(classic::model.meterId) < 0.5f;
    rackdraw::text(showsReduction ? reductionCaption : vuCaption, CGRectMake(1400, 700, 470, 18),
                   12, rgb(0.91, 0.88, 0.76), true, false);
    static const NSString version("1.0.0 \u00b7 ORVELLA");
    rackdraw::text(version, CGRectMake(1530, 739, 320, 21), 12, rgb(0.62, 0.63, 0.59), true, false);
    drawHelp();
    NSGraphicsContext::restoreGraphicsState();
}

void KelvoView::drawDetailPanel() {
    NSBezierPath panel =
        NSBezierPath::bezierPathWithRoundedRect(CGRectMake(145, 280, 1130, 420), 8, 8);
    rgb(0.02, 0.021, 0.018, 0.96).setFill();
    panel.fill();
    panel.setLineWidth(1);
    rgb(0.82, 0.64, 0.35).setStroke();
    panel.stroke();
    double k = 0;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        const classic::Definition& row = classic::definitions[id];
        if (!row.isUtility) {
            continue;
        }
        rackdraw::text(row.name, CGRectMake(175, 310 + 65 * k, 225, 32), 20, rgb(0.91, 0.88, 0.76),
                       false, true);
        rackdraw::text(formatted(id), CGRectMake(1030, 310 + 65 * k, 230, 32), 20,
                       rgb(0.82, 0.64, 0.35), false, false);
        k += 1;
    }
}

void KelvoView::drawScales() {
    const NSColor tickColour = rgb(0.82, 0.64, 0.35);
    for (unsigned id : mainDials) {
        auto found = controls.find(id);
        auto* dial =
            found != controls.end() ? dynamic_cast<KelvoDial*>(found->second.get()) : nullptr;
        if (dial == nullptr) {
            continue;
        }
        const CGPoint c = dial->pointerCenter;
        const double r = dial->pointerRadius;
        // Eleven ticks on the pointer's sweep: tick i marks the fraction i/10 of the range.
        for (int i = 0; i <= 10; ++i) {
            const double a = (i / 10.0 * 270.0 - 225.0) * pi / 180.0;
            NSBezierPath tick;
            tick.moveToPoint({c.x + 1.23 * r * std::cos(a), c.y + 1.23 * r * std::sin(a)});
            tick.lineToPoint({c.x + 1.3 * r * std::cos(a), c.y + 1.3 * r * std::sin(a)});
            tick.setLineWidth(1.7);
            tick.setLineCapStyle(NSLineCapStyleButt);
            tickColour.setStroke();
            tick.stroke();
        }
        iron::legend(NSString(classic::definitions[id].name).uppercaseString(),
                     CGRectMake(c.x - 185, c.y - r - 56, 370, 32), 21, true);
        iron::legend(formatted(id), CGRectMake(c.x - 185, c.y + r + 30, 370, 32), 23, true);
    }
}
