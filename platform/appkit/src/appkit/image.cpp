// NSImage, NSImageRep and NSBitmapImageRep.

#include <AppKit/NSImage.h>
#include <AppKit/NSScreen.h>

#include "../coregraphics/context_internal.h"
#include "../coregraphics/image_internal.h"
#include "../coregraphics/png_codec.h"
#include "drawing_internal.h"

#include <CoreGraphics/CGBitmapContext.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPointsPerMetreAt72 = 72 / 0.0254; // 2834.6 points (1/72 inch) per metre

CGInterpolationQuality quality(NSImageInterpolation interpolation) {
    switch (interpolation) {
    case NSImageInterpolationNone:
        return kCGInterpolationNone;
    case NSImageInterpolationLow:
        return kCGInterpolationLow;
    case NSImageInterpolationMedium:
        return kCGInterpolationMedium;
    case NSImageInterpolationHigh:
        return kCGInterpolationHigh;
    case NSImageInterpolationDefault:
        break;
    }
    return kCGInterpolationDefault;
}

CGBlendMode blendFor(NSCompositingOperation operation) {
    switch (operation) {
    case NSCompositingOperationClear:
        return kCGBlendModeClear;
    case NSCompositingOperationCopy:
        return kCGBlendModeCopy;
    case NSCompositingOperationSourceOver:
        break;
    }
    return kCGBlendModeNormal;
}

std::shared_ptr<NSBitmapImageRep>
firstBitmap(const std::vector<std::shared_ptr<NSImageRep>>& reps) {
    for (const auto& rep : reps) {
        if (auto bitmap = std::dynamic_pointer_cast<NSBitmapImageRep>(rep)) {
            return bitmap;
        }
    }
    return nullptr;
}

} // namespace

// Bitmaps rendered from a drawing handler, one per pixel density.
struct NSImage::Cache {
    std::vector<std::pair<CGFloat, CGImageRef>> bitmaps;
    ~Cache() {
        for (auto& entry : bitmaps) {
            CGImageRelease(entry.second);
        }
    }
};

NSImage::NSImage(NSSize size) : size_(size) {}
NSImage::~NSImage() = default;

std::shared_ptr<NSImage> NSImage::initWithContentsOfURL(const NSURL& url) {
    if (!url) {
        return nullptr;
    }
    return initWithContentsOfFile(url.path());
}

std::shared_ptr<NSImage> NSImage::initWithContentsOfFile(const NSString& path) {
    auto rep = NSBitmapImageRep::imageRepWithContentsOfFile(path);
    if (!rep) {
        return nullptr;
    }
    auto image = std::make_shared<NSImage>(rep->size());
    image->addRepresentation(rep);
    return image;
}

std::shared_ptr<NSImage> NSImage::initWithData(const NSData& data) {
    auto rep = NSBitmapImageRep::initWithData(data);
    if (!rep) {
        return nullptr;
    }
    auto image = std::make_shared<NSImage>(rep->size());
    image->addRepresentation(rep);
    return image;
}

std::shared_ptr<NSImage> NSImage::imageWithSize(NSSize size, bool flipped,
                                                DrawingHandler drawingHandler) {
    auto image = std::make_shared<NSImage>(size);
    image->flipped_ = flipped;
    image->handler_ = std::move(drawingHandler);
    return image;
}

bool NSImage::isValid() const {
    return firstBitmap(reps_) != nullptr || handler_ != nullptr;
}

void NSImage::addRepresentation(const std::shared_ptr<NSImageRep>& rep) {
    if (rep) {
        reps_.push_back(rep);
    }
}

void NSImage::removeRepresentation(const std::shared_ptr<NSImageRep>& rep) {
    std::erase(reps_, rep);
}

CGImageRef NSImage::bitmapFor(CGFloat scale) const {
    if (auto bitmap = firstBitmap(reps_)) {
        return bitmap->CGImage();
    }
    if (!handler_ || !(size_.width > 0) || !(size_.height > 0)) {
        return nullptr;
    }
    if (!cache_) {
        cache_ = std::make_shared<Cache>();
    }
    for (const auto& entry : cache_->bitmaps) {
        if (entry.first == scale) {
            return entry.second;
        }
    }
    CGContextRef context = CGBitmapContextCreateWithPointSize(size_, scale);
    if (!context) {
        return nullptr;
    }
    if (flipped_) {
        CGContextTranslateCTM(context, 0, size_.height);
        CGContextScaleCTM(context, 1, -1);
    }
    {
        appkit::CurrentContextScope scope(
            NSGraphicsContext::graphicsContextWithCGContext(context, flipped_));
        handler_(NSMakeRect(0, 0, size_.width, size_.height));
    }
    CGImageRef image = CGBitmapContextCreateImage(context);
    CGContextRelease(context);
    cache_->bitmaps.emplace_back(scale, image);
    return image;
}

CGImageRef NSImage::CGImageForProposedRect(NSRect*, NSGraphicsContext* context,
                                           const NSImageHints*) const {
    const CGFloat scale = context ? appkit::contextScale(context->CGContext())
                                  : NSScreen::mainScreen()->backingScaleFactor();
    return bitmapFor(scale);
}

NSData NSImage::TIFFRepresentation() const {
    CGImageRef image = bitmapFor(NSScreen::mainScreen()->backingScaleFactor());
    if (!image) {
        return NSData();
    }
    const double w = double(CGImageGetWidth(image)), h = double(CGImageGetHeight(image));
    const bool dense =
        size_.width > 0 && size_.height > 0 && (w != size_.width || h != size_.height);
    const std::vector<unsigned char> png =
        cg::encodePNG(image, dense ? w / size_.width * kPointsPerMetreAt72 : 0,
                      dense ? h / size_.height * kPointsPerMetreAt72 : 0);
    return NSData::dataWithBytes(png.data(), png.size());
}

void NSImage::drawInRect(NSRect rect) const {
    drawInRect(rect, NSZeroRect, NSCompositingOperationSourceOver, 1, true, NSImageHints{});
}

void NSImage::drawInRect(NSRect rect, NSRect fromRect, NSCompositingOperation operation,
                         CGFloat fraction) const {
    drawInRect(rect, fromRect, operation, fraction, false, NSImageHints{});
}

void NSImage::drawAtPoint(NSPoint point, NSRect fromRect, NSCompositingOperation operation,
                          CGFloat fraction) const {
    const NSSize size = NSIsEmptyRect(fromRect) ? size_ : fromRect.size;
    drawInRect(NSMakeRect(point.x, point.y, size.width, size.height), fromRect, operation, fraction,
               false, NSImageHints{});
}

void NSImage::drawInRect(NSRect rect, NSRect fromRect, NSCompositingOperation operation,
                         CGFloat fraction, bool respectFlipped, const NSImageHints& hints) const {
    CGContextRef c = appkit::currentCGContext();
    if (!c || !(size_.width > 0) || !(size_.height > 0)) {
        return;
    }
    CGImageRef image = bitmapFor(appkit::contextScale(c));
    if (!image) {
        return;
    }
    const NSRect from = NSEqualRects(fromRect, NSZeroRect)
                            ? NSMakeRect(0, 0, size_.width, size_.height)
                            : CGRectStandardize(fromRect);
    // Image points (origin bottom-left) to pixels (origin top-left).
    const double kx = double(CGImageGetWidth(image)) / size_.width;
    const double ky = double(CGImageGetHeight(image)) / size_.height;
    cg::ImageDraw draw;
    draw.image = image;
    draw.imageObject = this;
    draw.source = CGRectMake(from.origin.x * kx, (size_.height - NSMaxY(from)) * ky,
                             from.size.width * kx, from.size.height * ky);
    draw.destination = rect;
    draw.topAtMinY = respectFlipped && cg::userSpaceIsFlipped(c);
    draw.fraction = fraction;
    // Set for this draw only, without a save that would show in recordings.
    const CGInterpolationQuality savedQuality = c->state.interpolation;
    const CGBlendMode savedBlend = c->state.blend;
    if (hints.interpolation != NSImageInterpolationDefault) {
        c->state.interpolation = quality(hints.interpolation);
    }
    c->state.blend = blendFor(operation);
    cg::drawImage(c, draw);
    c->state.interpolation = savedQuality;
    c->state.blend = savedBlend;
}

NSImageRep::~NSImageRep() = default;

std::shared_ptr<NSBitmapImageRep> NSBitmapImageRep::initWithData(const NSData& data) {
    if (!data || data.length() == 0) {
        return nullptr;
    }
    cg::DecodedPNG decoded = cg::decodePNG(data.bytes(), data.length());
    if (!decoded.image) {
        return nullptr;
    }
    auto rep = std::make_shared<NSBitmapImageRep>(decoded.image);
    CGImageRelease(decoded.image);
    const double w = double(CGImageGetWidth(rep->image_));
    const double h = double(CGImageGetHeight(rep->image_));
    if (decoded.pixelsPerMetreX > 0 && decoded.pixelsPerMetreY > 0) {
        // Densities are stored in whole pixels per metre, so 72 and 144 ppi come back as
        // 2835 and 5669: snap a density within 1 % of a whole multiple of 72 ppi to it.
        const auto pixelsPerPoint = [](double perMetre) {
            const double s = perMetre / kPointsPerMetreAt72;
            return std::fabs(s - std::round(s)) < 0.01 && std::round(s) >= 1 ? std::round(s) : s;
        };
        rep->size_ = {w / pixelsPerPoint(decoded.pixelsPerMetreX),
                      h / pixelsPerPoint(decoded.pixelsPerMetreY)};
    }
    return rep;
}

std::shared_ptr<NSBitmapImageRep>
NSBitmapImageRep::imageRepWithContentsOfFile(const NSString& path) {
    return initWithData(
        NSData::dataWithContentsOfURL(NSURL::fileURLWithPath(path, false), 0, nullptr));
}

NSBitmapImageRep::NSBitmapImageRep(CGImageRef image) : image_(CGImageRetain(image)) {
    size_ = {double(CGImageGetWidth(image)), double(CGImageGetHeight(image))};
}

NSBitmapImageRep::NSBitmapImageRep(NSSize size, CGFloat scale)
    : drawing_(CGBitmapContextCreateWithPointSize(size, scale)) {
    size_ = size;
}

NSBitmapImageRep::~NSBitmapImageRep() {
    CGImageRelease(image_);
    CGContextRelease(drawing_);
}

NSInteger NSBitmapImageRep::pixelsWide() const {
    return drawing_ ? NSInteger(CGBitmapContextGetWidth(drawing_))
                    : NSInteger(CGImageGetWidth(image_));
}

NSInteger NSBitmapImageRep::pixelsHigh() const {
    return drawing_ ? NSInteger(CGBitmapContextGetHeight(drawing_))
                    : NSInteger(CGImageGetHeight(image_));
}

CGImageRef NSBitmapImageRep::CGImage() const {
    if (drawing_) {
        CGImageRelease(image_);
        image_ = CGBitmapContextCreateImage(drawing_);
    }
    return image_;
}

NSData NSBitmapImageRep::representationUsingType(NSBitmapImageFileType) const {
    CGImageRef image = CGImage();
    if (!image) {
        return NSData();
    }
    const double w = double(pixelsWide()), h = double(pixelsHigh());
    const bool dense = size_.width > 0 && size_.height > 0 &&
                       (std::fabs(w - size_.width) > 1e-9 || std::fabs(h - size_.height) > 1e-9);
    const std::vector<unsigned char> png =
        cg::encodePNG(image, dense ? w / size_.width * kPointsPerMetreAt72 : 0,
                      dense ? h / size_.height * kPointsPerMetreAt72 : 0);
    return NSData::dataWithBytes(png.data(), png.size());
}

CGRGBAColor NSBitmapImageRep::colorAtX(NSInteger x, NSInteger y) const {
    if (x < 0 || y < 0) {
        return {0, 0, 0, 0};
    }
    if (drawing_) {
        return appkit::bitmapPixel(drawing_, std::size_t(x), std::size_t(y));
    }
    return CGImageGetPixel(image_, std::size_t(x), std::size_t(y));
}
