#pragma once
// NSGraphicsContext: the current drawing destination, wrapping a CGContext.
//
// Promises:
// - currentContext() is the context drawing goes to, or nullptr outside drawing. The view
//   machinery makes the window's (or a cache's, or an image's) context current while it draws;
//   setCurrentContext lets hosts and tests draw into their own.
// - saveGraphicsState()/restoreGraphicsState() save and restore the current context's
//   graphics state (CTM, clip, colours, line width, shadow, ...). restoreGraphicsState after
//   setCurrentContext inside a save restores the context that was current at the save, as on
//   the platform (the context is part of what is saved).
// - isFlipped() is true while a flipped view (or a flipped image's drawing handler) draws.
// - compositingOperation and imageInterpolation map to the CG blend mode and interpolation.

#include <AppKit/AppKitDefines.h>
#include <CoreGraphics/CGContext.h>
#include <Foundation/NSObject.h>

class NSBitmapImageRep;

enum NSCompositingOperation : NSUInteger {
    NSCompositingOperationClear = 0,
    NSCompositingOperationCopy = 1,
    NSCompositingOperationSourceOver = 2,
};

enum NSImageInterpolation : NSUInteger {
    NSImageInterpolationDefault = 0,
    NSImageInterpolationNone = 1,
    NSImageInterpolationLow = 2,
    NSImageInterpolationMedium = 4,
    NSImageInterpolationHigh = 3,
};

class APPKIT_EXPORT NSGraphicsContext : public NSObject {
public:
    static NSGraphicsContext* currentContext();
    static void setCurrentContext(const std::shared_ptr<NSGraphicsContext>& context);
    static void saveGraphicsState();
    static void restoreGraphicsState();
    static std::shared_ptr<NSGraphicsContext> graphicsContextWithCGContext(CGContextRef context,
                                                                           bool flipped);
    static std::shared_ptr<NSGraphicsContext>
    graphicsContextWithBitmapImageRep(const std::shared_ptr<NSBitmapImageRep>& rep);

    NSGraphicsContext(CGContextRef context, bool flipped); // retains the context
    ~NSGraphicsContext() override;

    CGContextRef CGContext() const { return context_; }
    bool isFlipped() const { return flipped_; }
    void setFlipped(bool flipped) { flipped_ = flipped; } // [drawing machinery]
    NSCompositingOperation compositingOperation() const;
    void setCompositingOperation(NSCompositingOperation operation);
    NSImageInterpolation imageInterpolation() const;
    void setImageInterpolation(NSImageInterpolation interpolation);
    void flushGraphics();

    // Stand-in: a bitmap image rep this context draws into, if any.
    const std::shared_ptr<NSBitmapImageRep>& bitmapImageRep() const { return rep_; }

private:
    CGContextRef context_;
    bool flipped_;
    NSCompositingOperation operation_ = NSCompositingOperationSourceOver;
    std::shared_ptr<NSBitmapImageRep> rep_;
};
