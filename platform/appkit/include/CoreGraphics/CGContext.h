#pragma once
// Graphics contexts: the drawing state machine shared by the bitmap (Cairo) and recording
// contexts.
//
// Spaces:
// - Device space: the context's pixel grid, origin at the top-left pixel corner, y down.
// - Default user space (the "base" space): points, origin at the bottom-left, y up, one point
//   = scale pixels. A new context's CTM maps this space to device space; CGContextGetBaseCTM
//   returns that map and no CTM operation changes it.
// - User space: the default user space mapped by the CTM operations made since.
//
// Promises:
// - The graphics state (CTM, clip, fill and stroke colour, alpha, line width, cap, join,
//   miter limit, shadow, interpolation quality, blend mode) is saved and restored as a stack;
//   a restore without a matching save does nothing. The current path is not part of it.
// - Path construction points are taken in user space at the time of the call (the platform's
//   rule): changing the CTM between MoveTo and Fill does not move points already added.
//   Filling, stroking and clipping consume the current path.
// - Clips intersect: the clip is the intersection of every clip path since the last save.
// - Strokes use the line width in the user space current when the stroke is made.
// - Shadows: offset and blur radius are in the default user space, untouched by the CTM, so an
//   offset of (1, −3) is 1 point right and 3 points down on screen whatever the view scaling
//   or flipping. The shadow is the drawn shape's alpha blurred with a Gaussian of standard
//   deviation blur / 2, tinted with the shadow colour, drawn under the shape and clipped like
//   it. A colour with zero alpha or a NULL colour turns the shadow off. Gradients and
//   CGContextClearRect draw no shadow in this stand-in (the editor shadows only fills).
// - Gradients fill the clip (the platform's behaviour): callers clip to a path first.
//   Linear: colour at the projection of each point onto start→end; radial: circles
//   interpolated from (startCentre, startRadius) to (endCentre, endRadius). Beyond the ends
//   nothing is drawn unless the options extend the end colours; either option extends both
//   ends (Cairo pads both together).
// - "Flipped" for images and text means the current user space's y axis points down on the
//   device (a positive CTM determinant), whatever view or transform made it so.
// - Drawing into a context is [main thread] as the rest of AppKit; a context is not thread-safe.

#include <CoreGraphics/CGAffineTransform.h>
#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGGradient.h>
#include <CoreGraphics/CGImage.h>
#include <CoreGraphics/CGPath.h>

typedef struct CGContext* CGContextRef;

enum CGLineCap : int32_t { kCGLineCapButt = 0, kCGLineCapRound = 1, kCGLineCapSquare = 2 };
enum CGLineJoin : int32_t { kCGLineJoinMiter = 0, kCGLineJoinRound = 1, kCGLineJoinBevel = 2 };
enum CGPathDrawingMode : int32_t {
    kCGPathFill = 0,
    kCGPathEOFill = 1,
    kCGPathStroke = 2,
    kCGPathFillStroke = 3,
    kCGPathEOFillStroke = 4,
};
enum CGInterpolationQuality : int32_t {
    kCGInterpolationDefault = 0,
    kCGInterpolationNone = 1,
    kCGInterpolationLow = 2,
    kCGInterpolationHigh = 3,
    kCGInterpolationMedium = 4,
};
// Source-over is the only compositing the editor uses; clear and copy serve tests and hosts.
enum CGBlendMode : int32_t {
    kCGBlendModeNormal = 0,
    kCGBlendModeClear = 16,
    kCGBlendModeCopy = 17
};

CG_EXTERN CGContextRef CGContextRetain(CGContextRef context);
CG_EXTERN void CGContextRelease(CGContextRef context);

CG_EXTERN void CGContextSaveGState(CGContextRef context);
CG_EXTERN void CGContextRestoreGState(CGContextRef context);

CG_EXTERN void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy);
CG_EXTERN void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty);
CG_EXTERN void CGContextRotateCTM(CGContextRef context, CGFloat angle);
// The new CTM maps a point by transform first, then by the old CTM.
CG_EXTERN void CGContextConcatCTM(CGContextRef context, CGAffineTransform transform);
// User space → device space.
CG_EXTERN CGAffineTransform CGContextGetCTM(CGContextRef context);
CG_EXTERN CGAffineTransform CGContextGetUserSpaceToDeviceSpaceTransform(CGContextRef context);
// Stand-in extension: default user space → device space.
CG_EXTERN CGAffineTransform CGContextGetBaseCTM(CGContextRef context);

CG_EXTERN void CGContextBeginPath(CGContextRef context);
CG_EXTERN void CGContextMoveToPoint(CGContextRef context, CGFloat x, CGFloat y);
CG_EXTERN void CGContextAddLineToPoint(CGContextRef context, CGFloat x, CGFloat y);
CG_EXTERN void CGContextAddCurveToPoint(CGContextRef context, CGFloat cp1x, CGFloat cp1y,
                                        CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y);
CG_EXTERN void CGContextAddQuadCurveToPoint(CGContextRef context, CGFloat cpx, CGFloat cpy,
                                            CGFloat x, CGFloat y);
CG_EXTERN void CGContextClosePath(CGContextRef context);
CG_EXTERN void CGContextAddRect(CGContextRef context, CGRect rect);
CG_EXTERN void CGContextAddEllipseInRect(CGContextRef context, CGRect rect);
CG_EXTERN void CGContextAddArc(CGContextRef context, CGFloat x, CGFloat y, CGFloat radius,
                               CGFloat startAngle, CGFloat endAngle, int clockwise);
CG_EXTERN void CGContextAddLines(CGContextRef context, const CGPoint* points, std::size_t count);
CG_EXTERN void CGContextAddPath(CGContextRef context, CGPathRef path);
// Stand-in extension: appends a path value given in the current user space.
CG_EXTERN void CGContextAddPathBuffer(CGContextRef context, const CGPathBuffer& path);
CG_EXTERN bool CGContextIsPathEmpty(CGContextRef context);
// In user space.
CG_EXTERN CGRect CGContextGetPathBoundingBox(CGContextRef context);

CG_EXTERN void CGContextFillPath(CGContextRef context);
CG_EXTERN void CGContextEOFillPath(CGContextRef context);
CG_EXTERN void CGContextStrokePath(CGContextRef context);
CG_EXTERN void CGContextDrawPath(CGContextRef context, CGPathDrawingMode mode);
CG_EXTERN void CGContextFillRect(CGContextRef context, CGRect rect);
CG_EXTERN void CGContextStrokeRect(CGContextRef context, CGRect rect);
CG_EXTERN void CGContextStrokeRectWithWidth(CGContextRef context, CGRect rect, CGFloat width);
CG_EXTERN void CGContextFillEllipseInRect(CGContextRef context, CGRect rect);
CG_EXTERN void CGContextStrokeEllipseInRect(CGContextRef context, CGRect rect);
// Pairs of points, each pair one line.
CG_EXTERN void CGContextStrokeLineSegments(CGContextRef context, const CGPoint* points,
                                           std::size_t count);
// Makes the rectangle transparent (ignores colour, alpha and shadow; honours the clip).
CG_EXTERN void CGContextClearRect(CGContextRef context, CGRect rect);

CG_EXTERN void CGContextClip(CGContextRef context);
CG_EXTERN void CGContextEOClip(CGContextRef context);
CG_EXTERN void CGContextClipToRect(CGContextRef context, CGRect rect);
// In user space; CGRectInfinite-like (the whole device mapped back) when nothing was clipped.
CG_EXTERN CGRect CGContextGetClipBoundingBox(CGContextRef context);

CG_EXTERN void CGContextSetRGBFillColor(CGContextRef context, CGFloat red, CGFloat green,
                                        CGFloat blue, CGFloat alpha);
CG_EXTERN void CGContextSetRGBStrokeColor(CGContextRef context, CGFloat red, CGFloat green,
                                          CGFloat blue, CGFloat alpha);
CG_EXTERN void CGContextSetFillColorWithColor(CGContextRef context, CGColorRef color);
CG_EXTERN void CGContextSetStrokeColorWithColor(CGContextRef context, CGColorRef color);
// Stand-in extension: value forms.
CG_EXTERN void CGContextSetFillRGBA(CGContextRef context, CGRGBAColor color);
CG_EXTERN void CGContextSetStrokeRGBA(CGContextRef context, CGRGBAColor color);
CG_EXTERN void CGContextSetAlpha(CGContextRef context, CGFloat alpha);
CG_EXTERN void CGContextSetLineWidth(CGContextRef context, CGFloat width);
CG_EXTERN void CGContextSetLineCap(CGContextRef context, CGLineCap cap);
CG_EXTERN void CGContextSetLineJoin(CGContextRef context, CGLineJoin join);
CG_EXTERN void CGContextSetMiterLimit(CGContextRef context, CGFloat limit);
// Default shadow colour: black at alpha 1/3.
CG_EXTERN void CGContextSetShadow(CGContextRef context, CGSize offset, CGFloat blur);
CG_EXTERN void CGContextSetShadowWithColor(CGContextRef context, CGSize offset, CGFloat blur,
                                           CGColorRef color);
// Stand-in extension: value form; alpha 0 turns the shadow off.
CG_EXTERN void CGContextSetShadowRGBA(CGContextRef context, CGSize offset, CGFloat blur,
                                      CGRGBAColor color);
CG_EXTERN void CGContextSetInterpolationQuality(CGContextRef context,
                                                CGInterpolationQuality quality);
CG_EXTERN CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef context);
CG_EXTERN void CGContextSetBlendMode(CGContextRef context, CGBlendMode mode);

CG_EXTERN void CGContextDrawLinearGradient(CGContextRef context, CGGradientRef gradient,
                                           CGPoint startPoint, CGPoint endPoint,
                                           CGGradientDrawingOptions options);
CG_EXTERN void CGContextDrawRadialGradient(CGContextRef context, CGGradientRef gradient,
                                           CGPoint startCenter, CGFloat startRadius,
                                           CGPoint endCenter, CGFloat endRadius,
                                           CGGradientDrawingOptions options);
// Stand-in extension: value forms (no gradient object, no heap).
CG_EXTERN void CGContextDrawLinearGradientStops(CGContextRef context, const CGGradientStops& stops,
                                                CGPoint startPoint, CGPoint endPoint,
                                                CGGradientDrawingOptions options);
CG_EXTERN void CGContextDrawRadialGradientStops(CGContextRef context, const CGGradientStops& stops,
                                                CGPoint startCenter, CGFloat startRadius,
                                                CGPoint endCenter, CGFloat endRadius,
                                                CGGradientDrawingOptions options);

// Draws the whole image into rect, upright in a y-up user space (the platform's rule: in a
// flipped space the image appears upside down unless the caller flips it).
CG_EXTERN void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);
// Stand-in extension: draws the part source of the image (pixels, origin at the top-left
// pixel) into destination. topAtMinY says which edge of destination receives the image's top
// row: the minY edge (true) or the maxY edge (false). fraction is the opacity.
CG_EXTERN void CGContextDrawImagePart(CGContextRef context, CGImageRef image, CGRect source,
                                      CGRect destination, bool topAtMinY, CGFloat fraction);

CG_EXTERN void CGContextFlush(CGContextRef context);
