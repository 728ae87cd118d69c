// The photographs and the composites made from them.

#include "toolkit/iron.h"
#include "toolkit/needle_calibration.h"

#include "model/editor_model.h"

#include <map>
#include <string>

namespace iron {

namespace {

// Keyed by name; looked up without building a string, so a draw costs no allocation.
std::map<std::string, std::shared_ptr<NSImage>, std::less<>>& imageCache() {
    static auto* cache = new std::map<std::string, std::shared_ptr<NSImage>, std::less<>>;
    return *cache;
}

// The FET photograph with its meter cleared of the needle: what meterWindow pastes.
std::shared_ptr<NSImage> meterPhotograph() {
    static const auto* kept = new std::shared_ptr<NSImage>(composite([] {
        const CGRect whole = CGRectMake(0, 0, artWidth, artHeight);
        topCrop(resource("IronFennic-Approved").get(), whole, whole);
        cleanMeter(resource("IronFennic-Clean").get());
    }));
    return *kept;
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

std::shared_ptr<NSImage> composite(const std::function<void()>& draw) {
    return rasterize(NSImage::imageWithSize({artWidth, artHeight}, true, [&draw](NSRect) {
        draw();
        return true;
    }));
}

std::shared_ptr<NSImage> plate() {
    static const auto* kept = new std::shared_ptr<NSImage>(composite([] {
        const CGRect whole = CGRectMake(0, 0, artWidth, artHeight);
        topCrop(resource("Iron-Blank-Panel").get(), whole, whole);
        meterWindow();
    }));
    return *kept;
}

void meterWindow() {
    // Scaled by 505/525 across and 336.667/350 down (336.667 as the faceplate was laid out,
    // not 350 * 505/525).
    topCrop(meterPhotograph().get(), CGRectMake(1380, 319, 505, 336.667),
            CGRectMake(1174, 292, 525, 350));
}

void cleanMeter(const NSImage* clean) {
    const CGRect window =
        CGRectMake(meterWindowX, meterWindowY, meterWindowWidth, meterWindowHeight);
    NSGraphicsContext::saveGraphicsState();
    NSBezierPath::bezierPathWithRoundedRect(window, meterWindowRadius, meterWindowRadius).addClip();
    topCrop(clean, window, window);
    NSGraphicsContext::restoreGraphicsState();
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
