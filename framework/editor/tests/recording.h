#pragma once
// The editor tests read what was drawn back from the platform's recording context: paths,
// texts and images with the geometry they were drawn with, in the user space of the moment.

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

CGPoint lastPoint(const CGPathBuffer& path) {
    return path.currentPoint();
}

CGPoint firstPoint(const CGPathBuffer& path) {
    return path[0].points[0];
}

} // namespace editortest
