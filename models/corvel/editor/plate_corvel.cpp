#include "plate_corvel.h"

#include "toolkit/iron.h"

namespace iron {

namespace {

NSColor cream() {
    return NSColor::colorWithRed(0.91, 0.88, 0.76, 1);
}

void rule(CGPoint from, CGPoint to) {
    NSBezierPath path;
    path.moveToPoint(from);
    path.lineToPoint(to);
    path.setLineWidth(1);
    cream().setStroke();
    path.stroke();
}

} // namespace

std::shared_ptr<NSImage> plateCorvel() {
    static const auto* kept = new std::shared_ptr<NSImage>(composite([] {
        const CGRect whole = CGRectMake(0, 0, artWidth, artHeight);
        topCrop(resource("IronFennic-Approved").get(), whole, whole);
        const CGRect field = CGRectMake(77, 146, 1825, 568);
        topCrop(resource("Iron-Blank-Panel").get(), field, field);
        // The blank plate sits where the framework faceplates carry the model badge.
        const CGRect plate = CGRectMake(1460, 174, 345, 60);
        NSGraphicsContext::saveGraphicsState();
        NSBezierPath::bezierPathWithRoundedRect(plate, 12, 12).addClip();
        topCrop(resource("IronCorvel-Blank").get(), plate, CGRectMake(1277, 174, 345, 60));
        NSGraphicsContext::restoreGraphicsState();
        static const NSString title("PREAMP & EQUALISER");
        rackdraw::text(title, CGRectMake(1402.5, 247, 460, 32), 20, cream(), true, true);
        rule({1385, 261}, {1430, 261});
        rule({1834, 261}, {1880, 261});
        // The meter window where the framework faceplates have it, so that the needle
        // draws at the same place.
        meterWindow();
    }));
    return *kept;
}

} // namespace iron
