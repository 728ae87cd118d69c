#pragma once
// The recording context: a context that draws nothing and keeps a list of what was drawn, so
// tests check drawing (geometry, colours, shadows, clips, images, text) without comparing
// pixels.
//
// Promises:
// - Every state change that matters to drawing and every drawing call becomes one
//   CGRecordedOperation, in call order: saveGState, restoreGState, clip, fill, stroke,
//   clearRect, linearGradient, radialGradient, image and text. Pure state setters (colours,
//   widths, CTM) are not operations; their effect is copied into the drawing operations.
// - Geometry is given twice: as passed (user space, with the CTM current at the time) and in
//   device space (pixels from the top-left, y down) after the CTM.
// - An operation carries the state it was drawn with: colour, alpha, line width, cap, join,
//   shadow (as set, in the default user space, and as applied, in device pixels), the clip's
//   device bounding box, interpolation quality.
// - Images drawn through NSImage name the NSImage (imageObject) as well as the bitmap drawn;
//   text operations carry the string, the layout rectangle, the font asked for, the colour
//   and the alignment. The recording context lays out no glyphs.
// - A recording context made with a point size and scale has the same spaces as a bitmap
//   context of that size, so the same drawing gives the same device geometry in both.

#include <CoreGraphics/CGContext.h>

#include <string>
#include <vector>

enum class CGRecordedKind {
    saveGState,
    restoreGState,
    clip,
    fill,
    stroke,
    clearRect,
    linearGradient,
    radialGradient,
    image,
    text,
};

enum class CGRecordedTextAlignment { left, right, center, justified, natural };

struct CGRecordedShadow {
    bool active = false;
    CGSize offset;          // as set, default user space (y up)
    CGFloat blur = 0;       // as set, default user space
    CGRGBAColor color;      // as set
    CGSize deviceOffset;    // pixels, y down
    CGFloat deviceBlur = 0; // pixels
};

struct CGRecordedOperation {
    CGRecordedKind kind = CGRecordedKind::fill;
    CGAffineTransform ctm;   // user → device when the operation was made
    CGRect clipDeviceBounds; // the clip's device bounding box at the time (before a clip op)

    // clip, fill, stroke, clearRect: the path (for clearRect the rectangle's outline).
    CGPathBuffer path;       // user space
    CGPathBuffer devicePath; // device space
    CGRect bounds;           // path bounding box (images and text: the destination), user
    CGRect deviceBounds;     // the same in device space
    bool evenOdd = false;

    CGRGBAColor color; // fill colour, stroke colour or text colour
    CGFloat alpha = 1; // the state's alpha (images also multiply by fraction)
    CGFloat lineWidth = 1;
    CGLineCap lineCap = kCGLineCapButt;
    CGLineJoin lineJoin = kCGLineJoinMiter;
    CGRecordedShadow shadow;
    CGBlendMode blendMode = kCGBlendModeNormal;

    // Gradients (user space, as passed, and the ends in device space).
    CGGradientStops gradient;
    CGGradientDrawingOptions gradientOptions = 0;
    CGPoint start, end;
    CGFloat startRadius = 0, endRadius = 0;
    CGPoint deviceStart, deviceEnd;

    // Images.
    CGImageRef image = nullptr;        // the bitmap drawn (+0; valid while its owner lives)
    const void* imageObject = nullptr; // the NSImage drawn, when drawn through NSImage
    CGRect imageSource;                // pixels of image, origin top-left
    bool imageTopAtMinY = false;       // which destination edge got the image's top row
    CGFloat fraction = 1;
    CGInterpolationQuality interpolation = kCGInterpolationDefault;

    // Text.
    std::string text;       // UTF-8
    std::string fontFamily; // as asked for (fontconfig may fall back)
    CGFloat fontSize = 0;
    CGFloat fontWeight = 0; // the platform's weight scale, −1 … 1 (0 regular, 0.23 medium)
    CGRecordedTextAlignment alignment = CGRecordedTextAlignment::natural;
    bool textTopAtMinY = false; // the text's first line sits at the rectangle's minY edge
};

CG_EXTERN CGContextRef CGRecordingContextCreate(CGSize size, CGFloat scale);
CG_EXTERN bool CGContextIsRecording(CGContextRef context);
// Empty for a context that is not a recording context.
CG_EXTERN const std::vector<CGRecordedOperation>&
CGRecordingContextGetOperations(CGContextRef context);
CG_EXTERN void CGRecordingContextClear(CGContextRef context);
