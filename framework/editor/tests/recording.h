#pragma once
// A recording context for drawing tests: what the toolkit and the views draw, read back as
// operations (strokes, fills, images, texts with their rectangles).

#include <AppKit/AppKit.h>
#include <CoreGraphics/CGRecordingContext.h>

#include <cstddef>
#include <vector>

namespace editortest {

// A recording context whose user space is y-down points of the given size, made current.
class Recording {
public:
    explicit Recording(CGSize size) {
        context_ = CGRecordingContextCreate(size, 1);
        CGContextTranslateCTM(context_, 0, size.height);
        CGContextScaleCTM(context_, 1, -1);
        NSGraphicsContext::saveGraphicsState();
        NSGraphicsContext::setCurrentContext(
            NSGraphicsContext::graphicsContextWithCGContext(context_, true));
    }
    ~Recording() {
        NSGraphicsContext::restoreGraphicsState();
        CGContextRelease(context_);
    }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    const std::vector<CGRecordedOperation>& operations() const {
        return CGRecordingContextGetOperations(context_);
    }
    std::vector<const CGRecordedOperation*> of(CGRecordedKind kind) const {
        std::vector<const CGRecordedOperation*> found;
        for (const CGRecordedOperation& op : operations()) {
            if (op.kind == kind) {
                found.push_back(&op);
            }
        }
        return found;
    }
    // The nth drawing of a text (engraved legends draw each text three times).
    const CGRecordedOperation* text(const char* utf8, std::size_t nth = 0) const {
        for (const CGRecordedOperation* op : of(CGRecordedKind::text)) {
            if (op->text == utf8 && nth-- == 0) {
                return op;
            }
        }
        return nullptr;
    }

private:
    CGContextRef context_;
};

inline CGPoint firstPoint(const CGPathBuffer& path) {
    return path[0].points[0];
}

inline CGPoint lastPoint(const CGPathBuffer& path) {
    return path.currentPoint();
}

} // namespace editortest
