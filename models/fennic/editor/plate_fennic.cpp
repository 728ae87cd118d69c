#include "plate_fennic.h"

#include "toolkit/iron.h"

namespace iron {

std::shared_ptr<NSImage> plateFennic() {
    static const auto* kept = new std::shared_ptr<NSImage>(composite([] {
        const NSImage* clean = resource("IronFennic-Clean").get();
        const CGRect whole = CGRectMake(0, 0, artWidth, artHeight);
        topCrop(resource("IronFennic-Approved").get(), whole, whole);
        // The knobs without their photographed pointers.
        for (const CGRect oval : {CGRectMake(148, 351, 211, 218), CGRectMake(460, 351, 212, 218),
                                  CGRectMake(773, 263, 130, 132), CGRectMake(771, 520, 132, 134)}) {
            NSGraphicsContext::saveGraphicsState();
            NSBezierPath::bezierPathWithOvalInRect(oval).addClip();
            topCrop(clean, oval, oval);
            NSGraphicsContext::restoreGraphicsState();
        }
        cleanMeter(clean);
        // Blank readouts and unlit ratio and meter lamps.
        for (const CGRect patch :
             {CGRectMake(201, 610, 104, 42), CGRectMake(514, 610, 104, 42),
              CGRectMake(1001, 519, 116, 61), CGRectMake(1744, 303, 123, 63)}) {
            topCrop(clean, patch, patch);
        }
    }));
    return *kept;
}

void needleFennic(double reading, bool dim) {
    // The meter where the photograph has it: the needle's geometry is not moved at all.
    needleOver({1174, 292}, 1, 1, reading, dim);
}

} // namespace iron
