#pragma once
// NSImage and its representations: bitmaps (from PNG data or drawn pixels) and images drawn on
// demand by a handler.
//
// Promises:
// - Sizes are in points. A PNG's point size is its pixel size at 72 pixels per inch, or from
//   its pHYs chunk when present (a 144 ppi PNG of 3966 × 1586 pixels is 1983 × 793 points).
// - initWithContentsOfURL/File/Data decode PNG with Cairo; nullptr when the file is missing or
//   not a PNG (nothing is cached for failures).
// - imageWithSize(size, flipped, handler): the handler draws the image in a context whose user
//   space is the image's points (y down when flipped) whenever the image is rendered; it gets
//   the image's rectangle and reports success. The image renders it into a bitmap of the
//   destination's pixel density when first drawn at that density and reuses the bitmap after.
// - TIFFRepresentation renders the image (running a handler once) at the main screen's
//   backing scale and returns encoded bytes (PNG-encoded in this stand-in; only a round trip
//   through NSBitmapImageRep::initWithData is promised).
// - drawInRect(destination, source, operation, fraction, respectFlipped, hints): the part
//   source of the image — in the image's own points with the origin at its bottom-left;
//   NSZeroRect for the whole image — into destination in the current user space, at opacity
//   fraction. With respectFlipped the image appears upright in a flipped context (one whose
//   current user space has y down on screen); without it, it appears upright only in an
//   unflipped one. hints.interpolation sets the sampling (high and medium: Cairo's GOOD
//   filter, a box filter when shrinking).
// - Drawing an image with no representation draws nothing.

#include <AppKit/NSGraphicsContext.h>
#include <CoreGraphics/CGImage.h>
#include <Foundation/NSData.h>
#include <Foundation/NSGeometry.h>
#include <Foundation/NSObject.h>
#include <Foundation/NSURL.h>

#include <functional>
#include <vector>

class NSImageRep;
class NSBitmapImageRep;

struct NSImageHints {
    NSImageInterpolation interpolation = NSImageInterpolationDefault;
};

class APPKIT_EXPORT NSImage : public NSObject {
public:
    using DrawingHandler = std::function<bool(NSRect destination)>;

    explicit NSImage(NSSize size); // initWithSize:
    ~NSImage() override;
    static std::shared_ptr<NSImage> initWithContentsOfURL(const NSURL& url);
    static std::shared_ptr<NSImage> initWithContentsOfFile(const NSString& path);
    static std::shared_ptr<NSImage> initWithData(const NSData& data);
    static std::shared_ptr<NSImage> imageWithSize(NSSize size, bool flipped,
                                                  DrawingHandler drawingHandler);

    NSSize size() const { return size_; }
    void setSize(NSSize size) { size_ = size; }
    bool isValid() const;
    void addRepresentation(const std::shared_ptr<NSImageRep>& rep);
    void removeRepresentation(const std::shared_ptr<NSImageRep>& rep);
    const std::vector<std::shared_ptr<NSImageRep>>& representations() const { return reps_; }
    NSData TIFFRepresentation() const;

    void drawInRect(NSRect rect) const; // whole image, source-over, opaque, respecting flip
    void drawInRect(NSRect rect, NSRect fromRect, NSCompositingOperation operation,
                    CGFloat fraction) const;
    void drawInRect(NSRect rect, NSRect fromRect, NSCompositingOperation operation,
                    CGFloat fraction, bool respectFlipped, const NSImageHints& hints) const;
    void drawAtPoint(NSPoint point, NSRect fromRect, NSCompositingOperation operation,
                     CGFloat fraction) const;

    // The bitmap that drawing at the given context's density uses (rendering a handler image
    // if needed); +0, valid while the image lives. proposedRect may be nullptr.
    CGImageRef CGImageForProposedRect(NSRect* proposedRect, NSGraphicsContext* context,
                                      const NSImageHints* hints) const;
    // Stand-in extension: the drawing handler, if the image has one.
    const DrawingHandler& drawingHandler() const { return handler_; }
    bool isFlipped() const { return flipped_; }

private:
    CGImageRef bitmapFor(CGFloat scale) const;

    NSSize size_;
    std::vector<std::shared_ptr<NSImageRep>> reps_;
    DrawingHandler handler_;
    bool flipped_ = false;
    struct Cache;
    mutable std::shared_ptr<Cache> cache_;
};

class APPKIT_EXPORT NSImageRep : public NSObject {
public:
    ~NSImageRep() override;
    NSSize size() const { return size_; }
    void setSize(NSSize size) { size_ = size; }
    virtual NSInteger pixelsWide() const = 0;
    virtual NSInteger pixelsHigh() const = 0;

protected:
    NSSize size_;
};

typedef NSUInteger NSBitmapImageFileType;
enum : NSUInteger {
    NSBitmapImageFileTypeTIFF = 0,
    NSBitmapImageFileTypePNG = 4,
};

class APPKIT_EXPORT NSBitmapImageRep : public NSImageRep {
public:
    // Decodes PNG data (also what TIFFRepresentation returns); nullptr for anything else.
    static std::shared_ptr<NSBitmapImageRep> initWithData(const NSData& data);
    static std::shared_ptr<NSBitmapImageRep> imageRepWithContentsOfFile(const NSString& path);
    explicit NSBitmapImageRep(CGImageRef image); // initWithCGImage: (retains; size = pixels)
    // Stand-in: a transparent bitmap of the given size in points and pixel density, to draw into
    // (NSGraphicsContext::graphicsContextWithBitmapImageRep).
    NSBitmapImageRep(NSSize size, CGFloat scale);
    ~NSBitmapImageRep() override;

    NSInteger pixelsWide() const override;
    NSInteger pixelsHigh() const override;
    // The pixels as an image (+0; a snapshot taken now for a rep that is drawn into).
    CGImageRef CGImage() const;
    // PNG bytes (TIFF is written as PNG too in this stand-in); a size in points other than
    // the pixel size is written as a pHYs density.
    NSData representationUsingType(NSBitmapImageFileType type) const;
    // Stand-in extension: pixel (x, y) from the top-left, un-premultiplied.
    CGRGBAColor colorAtX(NSInteger x, NSInteger y) const;
    // [drawing machinery] the context of a drawable rep.
    CGContextRef drawingContext() const { return drawing_; }

private:
    mutable CGImageRef image_ = nullptr;
    CGContextRef drawing_ = nullptr;
};
