#pragma once
// Bitmap contexts: drawing into premultiplied 8-bit RGBA pixels with Cairo.
//
// Promises:
// - CGBitmapContextCreateWithPointSize makes a context of ceil(size × scale) pixels, cleared
//   to transparent black, whose default user space is the size in points (y up).
// - CGBitmapContextCreateImage returns a +1 snapshot of the pixels; later drawing does not
//   change it.
// - Antialiasing is on; text is laid out by Pango with fontconfig fonts.

#include <CoreGraphics/CGContext.h>

CG_EXTERN CGContextRef CGBitmapContextCreateWithPointSize(CGSize size, CGFloat scale);
CG_EXTERN std::size_t CGBitmapContextGetWidth(CGContextRef context);  // pixels
CG_EXTERN std::size_t CGBitmapContextGetHeight(CGContextRef context); // pixels
CG_EXTERN bool CGContextIsBitmap(CGContextRef context);
CG_EXTERN CGImageRef CGBitmapContextCreateImage(CGContextRef context);
