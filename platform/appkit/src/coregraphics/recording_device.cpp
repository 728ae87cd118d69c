// The recording device: keeps every operation with its geometry and state.

#include "context_internal.h"

namespace cg {
namespace {

class RecordingDevice final : public Device {
public:
    std::vector<CGRecordedOperation> operations;

    void save(const CGContext& c) override { begin(c, CGRecordedKind::saveGState); }
    void restore(const CGContext& c) override { begin(c, CGRecordedKind::restoreGState); }

    void clip(const CGContext& c, const CGPathBuffer& user, const CGPathBuffer& device,
              bool evenOdd) override {
        CGRecordedOperation& op = shape(c, CGRecordedKind::clip, user, device);
        op.evenOdd = evenOdd;
    }

    void fill(const CGContext& c, const CGPathBuffer& user, const CGPathBuffer& device,
              bool evenOdd) override {
        CGRecordedOperation& op = shape(c, CGRecordedKind::fill, user, device);
        op.evenOdd = evenOdd;
        op.color = c.state.fill;
    }

    void stroke(const CGContext& c, const CGPathBuffer& user, const CGPathBuffer& device) override {
        CGRecordedOperation& op = shape(c, CGRecordedKind::stroke, user, device);
        op.color = c.state.stroke;
    }

    void clearRect(const CGContext& c, const CGPathBuffer& user,
                   const CGPathBuffer& device) override {
        shape(c, CGRecordedKind::clearRect, user, device);
    }

    void linearGradient(const CGContext& c, const CGGradientStops& stops, CGPoint start,
                        CGPoint end, CGGradientDrawingOptions options) override {
        CGRecordedOperation& op = begin(c, CGRecordedKind::linearGradient);
        gradient(c, op, stops, start, end, options);
    }

    void radialGradient(const CGContext& c, const CGGradientStops& stops, CGPoint startCenter,
                        CGFloat startRadius, CGPoint endCenter, CGFloat endRadius,
                        CGGradientDrawingOptions options) override {
        CGRecordedOperation& op = begin(c, CGRecordedKind::radialGradient);
        gradient(c, op, stops, startCenter, endCenter, options);
        op.startRadius = startRadius;
        op.endRadius = endRadius;
    }

    void image(const CGContext& c, const ImageDraw& draw) override {
        CGRecordedOperation& op = begin(c, CGRecordedKind::image);
        op.image = draw.image;
        op.imageObject = draw.imageObject;
        op.imageSource = draw.source;
        op.imageTopAtMinY = draw.topAtMinY;
        op.fraction = draw.fraction;
        op.interpolation = c.state.interpolation;
        op.bounds = CGRectStandardize(draw.destination);
        op.deviceBounds = CGRectApplyAffineTransform(op.bounds, c.state.ctm);
    }

    void text(const CGContext& c, const TextDraw& draw) override {
        CGRecordedOperation& op = begin(c, CGRecordedKind::text);
        op.text.assign(draw.text);
        op.fontFamily.assign(draw.requestedFamily);
        op.fontSize = draw.size;
        op.fontWeight = draw.weight;
        op.color = draw.color;
        op.alignment = draw.alignment;
        op.textTopAtMinY = draw.topAtMinY;
        op.bounds = CGRectStandardize(draw.rect);
        op.deviceBounds = CGRectApplyAffineTransform(op.bounds, c.state.ctm);
    }

private:
    CGRecordedOperation& begin(const CGContext& c, CGRecordedKind kind) {
        CGRecordedOperation& op = operations.emplace_back();
        op.kind = kind;
        op.ctm = c.state.ctm;
        op.clipDeviceBounds = c.state.clipDevice;
        op.alpha = c.state.alpha;
        op.lineWidth = c.state.lineWidth;
        op.lineCap = c.state.cap;
        op.lineJoin = c.state.join;
        op.blendMode = c.state.blend;
        op.interpolation = c.state.interpolation;
        const DeviceShadow shadow = deviceShadow(c);
        op.shadow.active = shadow.active;
        op.shadow.offset = c.state.shadow.offset;
        op.shadow.blur = c.state.shadow.blur;
        op.shadow.color = c.state.shadow.color;
        op.shadow.deviceOffset = shadow.offset;
        op.shadow.deviceBlur = shadow.blur;
        return op;
    }

    CGRecordedOperation& shape(const CGContext& c, CGRecordedKind kind, const CGPathBuffer& user,
                               const CGPathBuffer& device) {
        CGRecordedOperation& op = begin(c, kind);
        op.path = user;
        op.devicePath = device;
        op.bounds = user.boundingBox();
        op.deviceBounds = device.boundingBox();
        return op;
    }

    void gradient(const CGContext& c, CGRecordedOperation& op, const CGGradientStops& stops,
                  CGPoint start, CGPoint end, CGGradientDrawingOptions options) {
        op.gradient = stops;
        op.gradientOptions = options;
        op.start = start;
        op.end = end;
        op.deviceStart = CGPointApplyAffineTransform(start, c.state.ctm);
        op.deviceEnd = CGPointApplyAffineTransform(end, c.state.ctm);
        // A gradient covers the clip.
        op.deviceBounds = c.state.clipDevice;
        op.bounds =
            CGRectApplyAffineTransform(c.state.clipDevice, CGAffineTransformInvert(c.state.ctm));
    }
};

} // namespace

std::unique_ptr<Device> makeRecordingDevice() {
    return std::make_unique<RecordingDevice>();
}

std::vector<CGRecordedOperation>* recordedOperations(Device& device) {
    auto* recording = dynamic_cast<RecordingDevice*>(&device);
    return recording ? &recording->operations : nullptr;
}

} // namespace cg

CGContextRef CGRecordingContextCreate(CGSize size, CGFloat scale) {
    CGContextRef context = cg::makeContext(size, scale, cg::makeRecordingDevice());
    context->recording = true;
    return context;
}

bool CGContextIsRecording(CGContextRef context) {
    return context && context->recording;
}

const std::vector<CGRecordedOperation>& CGRecordingContextGetOperations(CGContextRef context) {
    static const std::vector<CGRecordedOperation> none;
    if (!context || !context->device) {
        return none;
    }
    auto* operations = cg::recordedOperations(*context->device);
    return operations ? *operations : none;
}

void CGRecordingContextClear(CGContextRef context) {
    if (context && context->device) {
        if (auto* operations = cg::recordedOperations(*context->device)) {
            operations->clear();
        }
    }
}
