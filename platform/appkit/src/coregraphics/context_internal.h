#pragma once
// The graphics context's state machine and the device interface its two kinds (Cairo bitmap,
// recording) implement. Private to the library.

#include <CoreGraphics/CGContext.h>
#include <CoreGraphics/CGRecordingContext.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cg {

struct Shadow {
    bool active = false;
    CGSize offset;
    CGFloat blur = 0;
    CGRGBAColor color;
};

struct GState {
    CGAffineTransform ctm;
    CGRGBAColor fill = {0, 0, 0, 1};
    CGRGBAColor stroke = {0, 0, 0, 1};
    CGFloat alpha = 1;
    CGFloat lineWidth = 1;
    CGFloat miterLimit = 10;
    CGLineCap cap = kCGLineCapButt;
    CGLineJoin join = kCGLineJoinMiter;
    Shadow shadow;
    CGInterpolationQuality interpolation = kCGInterpolationDefault;
    CGBlendMode blend = kCGBlendModeNormal;
    CGRect clipDevice; // device bounding box of the clip
};

struct ImageDraw {
    CGImageRef image = nullptr;
    const void* imageObject = nullptr;
    CGRect source;      // pixels, origin top-left
    CGRect destination; // user space
    bool topAtMinY = false;
    CGFloat fraction = 1;
};

struct TextDraw {
    std::string_view text; // UTF-8
    CGRect rect;           // user space; width ≤ 0 means unwrapped
    std::string_view requestedFamily;
    std::string_view families; // Pango family list
    CGFloat size = 12;
    CGFloat weight = 0;
    CGRGBAColor color = {0, 0, 0, 1};
    CGRecordedTextAlignment alignment = CGRecordedTextAlignment::natural;
    bool topAtMinY = true;
    bool wrap = true;
};

class Device {
public:
    virtual ~Device() = default;
    virtual void save(const struct ::CGContext& context) = 0;
    virtual void restore(const struct ::CGContext& context) = 0;
    virtual void clip(const struct ::CGContext& context, const CGPathBuffer& user,
                      const CGPathBuffer& device, bool evenOdd) = 0;
    virtual void fill(const struct ::CGContext& context, const CGPathBuffer& user,
                      const CGPathBuffer& device, bool evenOdd) = 0;
    virtual void stroke(const struct ::CGContext& context, const CGPathBuffer& user,
                        const CGPathBuffer& device) = 0;
    virtual void clearRect(const struct ::CGContext& context, const CGPathBuffer& user,
                           const CGPathBuffer& device) = 0;
    virtual void linearGradient(const struct ::CGContext& context, const CGGradientStops& stops,
                                CGPoint start, CGPoint end, CGGradientDrawingOptions options) = 0;
    virtual void radialGradient(const struct ::CGContext& context, const CGGradientStops& stops,
                                CGPoint startCenter, CGFloat startRadius, CGPoint endCenter,
                                CGFloat endRadius, CGGradientDrawingOptions options) = 0;
    virtual void image(const struct ::CGContext& context, const ImageDraw& draw) = 0;
    virtual void text(const struct ::CGContext& context, const TextDraw& draw) = 0;
    virtual void flush() {}
};

// The device-space shadow of the current state: offset (pixels, y down) and blur (pixels).
struct DeviceShadow {
    bool active = false;
    CGSize offset;
    CGFloat blur = 0;
    CGRGBAColor color;
};
DeviceShadow deviceShadow(const struct ::CGContext& context);

// Stroke outline reach in device pixels (half the line width through the CTM, with miters).
CGFloat strokeReach(const struct ::CGContext& context);

// True when the context's current user space has y growing downwards on screen.
bool userSpaceIsFlipped(CGContextRef context);
void drawImage(CGContextRef context, const ImageDraw& draw);
void drawText(CGContextRef context, const TextDraw& draw);

std::unique_ptr<Device> makeRecordingDevice();
std::vector<CGRecordedOperation>* recordedOperations(Device& device);

} // namespace cg

struct CGContext {
    std::atomic<int> references{1};
    CGSize pointSize;
    CGFloat scale = 1;
    std::size_t pixelsWide = 0;
    std::size_t pixelsHigh = 0;
    CGAffineTransform base;
    cg::GState state;
    std::vector<cg::GState> stack;
    CGPathBuffer userPath;   // the current path as given
    CGPathBuffer devicePath; // and mapped by the CTM when each point was added
    std::unique_ptr<cg::Device> device;
    bool bitmap = false;
    bool recording = false;
    void* backend = nullptr; // the Cairo device's state, for bitmap contexts
};

namespace cg {
// Makes a context of the given point size and scale on a device (default user space y up).
CGContextRef makeContext(CGSize size, CGFloat scale, std::unique_ptr<Device> device);
} // namespace cg
