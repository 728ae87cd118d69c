#pragma once
// Bitmap images: premultiplied 8-bit RGBA pixels, immutable once made.
//
// Promises:
// - CGImageRef objects are reference counted; functions named Create return +1.
// - Width and height are in pixels. Images come from PNG data (NSBitmapImageRep, NSImage) or
//   from a bitmap context's pixels (CGBitmapContextCreateImage); they are read-only afterwards
//   and safe to draw from several contexts.

#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGGeometry.h>

typedef struct CGImage* CGImageRef;

CG_EXTERN CGImageRef CGImageRetain(CGImageRef image);
CG_EXTERN void CGImageRelease(CGImageRef image);
CG_EXTERN std::size_t CGImageGetWidth(CGImageRef image);
CG_EXTERN std::size_t CGImageGetHeight(CGImageRef image);
// Stand-in extension: one pixel, un-premultiplied, with (0, 0) the top-left pixel.
// Out-of-range coordinates give transparent black.
CG_EXTERN CGRGBAColor CGImageGetPixel(CGImageRef image, std::size_t x, std::size_t y);
