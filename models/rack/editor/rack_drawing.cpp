// The rack faceplate's drawRect: the composite, the model's print and meter, the DETAIL panel
// listing the sliders' parameters, the version line and the help banner.

#include "rack/editor/rack_drawing.h"

#include "toolkit/iron.h"

#include "model.h"

namespace rackface {

NSColor cream() {
    return NSColor::colorWithRed(0.91, 0.88, 0.76, 1);
}

NSColor amber() {
    return NSColor::colorWithRed(0.82, 0.64, 0.35, 1);
}

namespace {

// Over everything drawn so far: a nearly opaque panel with one row per slider, level with the
// sliders that layoutUtility places (420, 330 + 100 k).
void drawDetailPanel(KelvoView& view) {
    NSBezierPath panel =
        NSBezierPath::bezierPathWithRoundedRect(CGRectMake(130, 250, 1180, 460), 8, 8);
    NSColor::colorWithRed(0.018, 0.019, 0.016, 0.98).setFill();
    panel.fill();
    panel.setLineWidth(1);
    amber().setStroke();
    panel.stroke();
    double k = 0;
    for (const auto& [id, control] : view.controlsById()) {
        if (dynamic_cast<const NSSlider*>(control.get()) == nullptr) {
            continue;
        }
        const classic::Definition& row = classic::definitions[id];
        const double y = 330 + 100 * k;
        rackdraw::text(row.name, CGRectMake(170, y, 240, 32), 20, cream(), false, true);
        rackdraw::text(NSString::stringWithFormat("%.1f %s", static_cast<double>(view.value(id)),
                                                  row.unitText),
                       CGRectMake(1130, y, 165, 32), 20, amber(), false, false);
        k += 1;
    }
}

} // namespace

} // namespace rackface

void KelvoView::drawRect(NSRect) {
    drawFaceplate();
    NSGraphicsContext::saveGraphicsState();
    enterArtSpace();
    rackface::drawPrint(*this);
    rackface::drawMeter(*this);
    if (utility) {
        rackface::drawDetailPanel(*this);
    }
    static const NSString version("KELVO ORVELLA \u00b7 1.0.0");
    rackdraw::text(version, CGRectMake(1320, 739, 530, 21), 12,
                   NSColor::colorWithRed(0.62, 0.63, 0.59, 1), true, false);
    drawHelp();
    NSGraphicsContext::restoreGraphicsState();
}
