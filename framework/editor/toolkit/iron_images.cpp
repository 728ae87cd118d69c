// The photographs and the composites made from them.

#include "toolkit/iron.h"

#include "model/editor_model.h"

#include <map>
#include <string>

namespace iron {

namespace {

constexpr double artWidth = 1983;
constexpr double artHeight = 793;

// Keyed by name; looked up without building a string, so a draw costs no allocation.
std::map<std::string, std::shared_ptr<NSImage>, std::less<>>& imageCache() {
    static auto* cache = new std::map<std::string, std::shared_ptr<NSImage>, std::less<>>;
    return *cache;
}

} // namespace

std::shared_ptr<NSImage> resource(std::string_view name) {
    auto& cache = imageCache();
    if (auto found = cache.find(name); found != cache.end()) {
        return found->second;
    }
    std::shared_ptr<NSBundle> bundle =
        NSBundle::bundleWithIdentifier(classic::model.bundleIdentifier);
    if (!bundle) {
        return nullptr;
    }
    const std::string key(name);
    const NSURL url = bundle->URLForResource(NSString(key.c_str()), "png");
    if (!url) {
        return nullptr;
    }
    std::shared_ptr<NSImage> image = NSImage::initWithContentsOfURL(url);
    if (image) {
        cache.emplace(key, image);
    }
    return image;
}

void topCrop(const NSImage* image, CGRect destination, CGRect source) {
    if (image == nullptr) {
        return;
    }
    NSGraphicsContext::saveGraphicsState();
    const NSSize size = image->size();
    const double sx = size.width / artWidth;
    const double sy = size.height / artHeight;
    // The image's own points have their origin at the bottom left.
    const CGRect from =
        CGRectMake(source.origin.x * sx, size.height - (source.origin.y + source.size.height) * sy,
                   source.size.width * sx, source.size.height * sy);
    image->drawInRect(destination, from, NSCompositingOperationSourceOver, 1.0, true,
                      NSImageHints{NSImageInterpolationHigh});
    NSGraphicsContext::restoreGraphicsState();
}

std::shared_ptr<NSImage> rasterize(const std::shared_ptr<NSImage>& image) {
    auto raster = std::make_shared<NSImage>(NSSize{artWidth, artHeight});
    const NSData tiff = image->TIFFRepresentation();
    if (std::shared_ptr<NSBitmapImageRep> bitmap = NSBitmapImageRep::initWithData(tiff)) {
        raster->addRepresentation(bitmap);
    }
    return raster;
}

std::shared_ptr<NSImage> plateFennic() {
    static std::shared_ptr<NSImage>* kept = nullptr;
    if (kept != nullptr) {
        return *kept;
    }
    std::shared_ptr<NSImage> approved = resource("IronFennic-Approved");
    std::shared_ptr<NSImage> clean = resource("IronFennic-Clean");
    std::shared_ptr<NSImage> composite =
        NSImage::imageWithSize({artWidth, artHeight}, true, [approved, clean](NSRect) {
            topCrop(approved.get(), CGRectMake(0, 0, artWidth, artHeight),
                    CGRectMake(0, 0, artWidth, artHeight));
            // The knobs without their photographed pointers.
            for (const CGRect oval :
                 {CGRectMake(148, 351, 211, 218), CGRectMake(460, 351, 212, 218),
                  CGRectMake(773, 263, 130, 132), CGRectMake(771, 520, 132, 134)}) {
                NSGraphicsContext::saveGraphicsState();
                NSBezierPath::bezierPathWithOvalInRect(oval).addClip();
                topCrop(clean.get(), oval, oval);
                NSGraphicsContext::restoreGraphicsState();
            }
            // The meter without its needle.
            const CGRect window = CGRectMake(1198, 322, 474, 280);
            NSGraphicsContext::saveGraphicsState();
            NSBezierPath::bezierPathWithRoundedRect(window, 34, 34).addClip();
            topCrop(clean.get(), window, window);
            NSGraphicsContext::restoreGraphicsState();
            // Blank readouts and unlit ratio and meter lamps.
            for (const CGRect patch :
                 {CGRectMake(201, 610, 104, 42), CGRectMake(514, 610, 104, 42),
                  CGRectMake(1001, 519, 116, 61), CGRectMake(1744, 303, 123, 63)}) {
                topCrop(clean.get(), patch, patch);
            }
            return true;
        });
    kept = new std::shared_ptr<NSImage>(rasterize(composite));
    return *kept;
}

std::shared_ptr<NSImage> plate() {
    static std::shared_ptr<NSImage>* kept = nullptr;
    if (kept != nullptr) {
        return *kept;
    }
    std::shared_ptr<NSImage> composite =
        NSImage::imageWithSize({artWidth, artHeight}, true, [](NSRect) {
            topCrop(resource("Iron-Blank-Panel").get(), CGRectMake(0, 0, artWidth, artHeight),
                    CGRectMake(0, 0, artWidth, artHeight));
            meterWindow();
            return true;
        });
    kept = new std::shared_ptr<NSImage>(rasterize(composite));
    return *kept;
}

void meterWindow() {
    // Scaled by 505/525 across and 336.667/350 down (336.667 as the faceplate was laid out,
    // not 350 * 505/525).
    topCrop(plateFennic().get(), CGRectMake(1380, 319, 505, 336.667),
            CGRectMake(1174, 292, 525, 350));
}

void controlBackground(CGRect bounds, CGRect art, bool paint) {
    NSRectClip(bounds);
    NSAffineTransform transform;
    transform.scaleXBy(bounds.size.width / art.size.width, bounds.size.height / art.size.height);
    transform.translateXBy(-art.origin.x, -art.origin.y);
    transform.concat();
    if (paint) {
        // The model's own composite: the faceplate the view shows behind the control.
        topCrop(classic::editorModel.faceplate().get(), CGRectMake(0, 0, artWidth, artHeight),
                CGRectMake(0, 0, artWidth, artHeight));
    }
}

} // namespace iron
