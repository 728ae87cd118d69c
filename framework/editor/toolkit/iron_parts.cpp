// Knobs, buttons, the badge, engraved legends and the needle.

#include "toolkit/iron.h"
#include "toolkit/needle_calibration.h"

#include "model/editor_model.h"

#include <array>
#include <cmath>

namespace iron {

namespace {

NSColor rgb(double r, double g, double b, double a = 1) {
    return NSColor::colorWithRed(r, g, b, a);
}

NSBezierPath circle(CGPoint centre, double radius) {
    return NSBezierPath::bezierPathWithOvalInRect(
        CGRectMake(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius));
}

void line(CGPoint from, CGPoint to, double width, NSLineCapStyle cap, const NSColor& colour) {
    NSBezierPath path;
    path.moveToPoint(from);
    path.lineToPoint(to);
    path.setLineWidth(width);
    path.setLineCapStyle(cap);
    colour.setStroke();
    path.stroke();
}

// Shadow offsets and blurs are in the default user space: (1, -3) is 1 point right and
// 3 points down on screen, whatever the art scaling and the views' flip.
void installShadow(double alpha) {
    NSShadow shadow;
    shadow.setShadowColor(rgb(0, 0, 0, alpha));
    shadow.setShadowBlurRadius(5);
    shadow.setShadowOffset(NSSize{1, -3});
    shadow.set();
}

constexpr double pi = 3.14159265358979323846;

} // namespace

void knobBody(CGPoint centre, double radius, unsigned /*tag*/) {
    NSGraphicsContext::saveGraphicsState();
    installShadow(0.72);
    rgb(0.015, 0.013, 0.01).setFill();
    circle(centre, radius).fill();
    NSGraphicsContext::restoreGraphicsState();

    NSGraphicsContext::saveGraphicsState();
    circle(centre, radius).addClip();
    topCrop(resource("IronFennic-Clean").get(),
            CGRectMake(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius),
            CGRectMake(148, 351, 211, 218));
    NSGraphicsContext::restoreGraphicsState();
}

void marker(CGPoint centre, double radius, double fraction, bool ring) {
    // y grows downwards, so growing angles turn clockwise on screen.
    const double angle = (fraction * 270.0 - 225.0) * pi / 180.0;
    const double inner = radius * (ring ? 0.69 : 0.43);
    const double outer = radius * 0.93;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const CGPoint p0{centre.x + inner * c, centre.y + inner * s};
    const CGPoint p1{centre.x + outer * c, centre.y + outer * s};
    line({p0.x + 0.8, p0.y + 0.8}, {p1.x + 0.8, p1.y + 0.8}, 7, NSLineCapStyleRound,
         rgb(0.05, 0.035, 0.018, 0.6));
    line(p0, p1, ring ? 4.6 : 5.4, NSLineCapStyleRound, rgb(0.94, 0.88, 0.69));
}

void newButton(CGRect r, const NSString& title, bool lit) {
    // Gradients at 90 degrees: in the flipped art space the first colour is at the top.
    if (r.size.width > 250) {
        const std::array outerColours{rgb(0.49, 0.43, 0.31), rgb(0.12, 0.105, 0.075),
                                      rgb(0.025, 0.024, 0.019), rgb(0.31, 0.25, 0.15)};
        NSBezierPath outer = NSBezierPath::bezierPathWithRoundedRect(r, 6, 6);
        rackdraw::gradient(outer, outerColours, 90);
        outer.setLineWidth(1.5);
        rgb(0.018, 0.018, 0.014).setStroke();
        outer.stroke();

        const std::array middleColours{rgb(0.18, 0.16, 0.115), rgb(0.025, 0.025, 0.02)};
        NSBezierPath middle = NSBezierPath::bezierPathWithRoundedRect(CGRectInset(r, 3, 3), 4, 4);
        rackdraw::gradient(middle, middleColours, 90);
        NSBezierPath rim = NSBezierPath::bezierPathWithRoundedRect(CGRectInset(r, 3, 3), 4, 4);
        rim.setLineWidth(0.7);
        rgb(0.56, 0.45, 0.27, 0.65).setStroke();
        rim.stroke();

        const std::array innerColours{rgb(0.07, 0.065, 0.045), rgb(0.014, 0.015, 0.011)};
        rackdraw::gradient(NSBezierPath::bezierPathWithRoundedRect(CGRectInset(r, 6, 6), 3, 3),
                           innerColours, 90);
    } else {
        topCrop(resource("IronFennic-Approved").get(), r, CGRectMake(1000, 303, 118, 55));
        const std::array faceColours{rgb(0.105, 0.09, 0.067), rgb(0.025, 0.025, 0.02)};
        rackdraw::gradient(NSBezierPath::bezierPathWithRoundedRect(CGRectInset(r, 7, 7), 4, 4),
                           faceColours, 90);
    }
    const CGRect titleRect =
        CGRectMake(r.origin.x + 4, r.origin.y + r.size.height / 2 - 13, r.size.width - 8, 29);
    rackdraw::text(title, CGRectOffset(titleRect, 0, 1), 20, rgb(0, 0, 0, 0.8), true, true);
    rackdraw::text(title, titleRect, 20, rgb(0.91, 0.88, 0.76), true, true);
    buttonLight(r, lit);
}

void buttonLight(CGRect r, bool lit) {
    if (!lit) {
        return;
    }
    NSBezierPath rim = NSBezierPath::bezierPathWithRoundedRect(CGRectInset(r, 3, 3), 8, 8);
    rim.setLineWidth(1.2);
    rgb(0.93, 0.68, 0.30, 0.75).setStroke();
    rim.stroke();
    const std::array lamp{rgb(1.0, 0.96, 0.57), rgb(1.0, 0.68, 0.05), rgb(0.49, 0.24, 0.015)};
    rackdraw::radial(CGRectMake(r.origin.x + 0.19 * r.size.width - 7,
                                r.origin.y + r.size.height / 2 - 7, 14, 14),
                     lamp, CGPoint{-0.35, -0.4});
}

void modelPlate() {
    std::shared_ptr<NSImage> atlas = resource("Iron-Model-Badges-v2");
    const std::array<NSPoint, 8> corners{NSPoint{1474, 174}, NSPoint{1791, 174}, NSPoint{1805, 188},
                                         NSPoint{1805, 238}, NSPoint{1791, 252}, NSPoint{1474, 252},
                                         NSPoint{1460, 238}, NSPoint{1460, 188}};
    NSBezierPath octagon;
    octagon.appendBezierPathWithPoints(corners.data(), static_cast<NSInteger>(corners.size()));
    octagon.closePath();

    NSGraphicsContext::saveGraphicsState();
    installShadow(0.85);
    rgb(0.08, 0.06, 0.03).setFill();
    octagon.fill();
    NSGraphicsContext::restoreGraphicsState();

    if (!atlas) {
        return;
    }
    const double height = atlas->size().height;
    const double tx = classic::editorModel.badgeTileX;
    const double ty = classic::editorModel.badgeTileY;
    NSGraphicsContext::saveGraphicsState();
    octagon.addClip();
    atlas->drawInRect(CGRectMake(1460, 174, 345, 78), CGRectMake(tx, height - ty - 153, 674, 153),
                      NSCompositingOperationSourceOver, 1.0, true,
                      NSImageHints{NSImageInterpolationHigh});
    NSGraphicsContext::restoreGraphicsState();
}

void legend(const NSString& text, CGRect r, double size, bool centred) {
    rackdraw::text(text, CGRectOffset(r, 0, -0.6), size, rgb(0.025, 0.022, 0.015, 0.9), centred,
                   true);
    rackdraw::text(text, CGRectOffset(r, 0, 0.6), size, rgb(0.94, 0.86, 0.65, 0.2), centred, true);
    rackdraw::text(text, r, size, rgb(0.79, 0.75, 0.61), centred, true);
}

void needleOver(CGPoint meterOrigin, double scaleX, double scaleY, double reading, bool dim) {
    // All the needle's geometry is in the FET photograph's coordinates.
    NSGraphicsContext::saveGraphicsState();
    NSAffineTransform transform;
    transform.translateXBy(meterOrigin.x, meterOrigin.y);
    transform.scaleXBy(scaleX, scaleY);
    transform.translateXBy(-1174, -292);
    transform.concat();

    const CGRect window =
        CGRectMake(meterWindowX, meterWindowY, meterWindowWidth, meterWindowHeight);
    NSBezierPath::bezierPathWithRoundedRect(window, meterWindowRadius, meterWindowRadius).addClip();

    CGPoint tip{};
    needleTip(reading, tip.x, tip.y);
    line({needleShadowRootX, needleShadowRootY}, {tip.x + 1.2, tip.y + 1.2}, 3, NSLineCapStyleButt,
         rgb(0.22, 0.13, 0.055, 0.28));
    line({needleRootX, needleRootY}, tip, 1.8, NSLineCapStyleButt, rgb(0.055, 0.04, 0.025));

    // The upper part of the photographed pivot cover hides the needle's root.
    NSGraphicsContext::saveGraphicsState();
    NSBezierPath::bezierPathWithOvalInRect(CGRectMake(1393, 559, 83, 83)).addClip();
    topCrop(resource("IronFennic-Clean").get(), CGRectMake(1393, 559, 83, 44),
            CGRectMake(1393, 559, 83, 44));
    NSGraphicsContext::restoreGraphicsState();

    if (dim) {
        rgb(0, 0, 0, 0.56).setFill();
        NSBezierPath::bezierPathWithRoundedRect(window, meterWindowRadius, meterWindowRadius)
            .fill();
    }
    NSGraphicsContext::restoreGraphicsState();
}

void needle(double reading, bool dim) {
    // The FET photograph's meter as the faceplate composite shows it: 505/525 across and
    // 336.667/350 down, from (1174, 292) onto (1380, 319).
    needleOver({1380, 319}, 0.9619047619047619, 0.9619057142857143, reading, dim);
}

} // namespace iron
