#pragma once
// Bitmap contexts: drawing into premultiplied 8-bit RGBA pixels with Cairo.
//
// Promises:
// - CGBitmapContextCreateWithPointSize makes a context of ceil(size × scale) pixels, cleared
//   to transparent black, whose default user space is the size in points (y up).
// - CGBitmapContextCreateImage returns a +1 snapshot of the pixels; later drawing does not
//   change it.
// - Antialiasing is on; text is laid out by Pango with fontconfig fonts.
// - Drawn again unchanged (the same image part, matrices, clip and place, or the same filled
//   shape with the same shadow), a small image part (up to 512 by 512 pixels) or a shadow
//   reuses the pixels kept from the last such draw on the thread, within 24 and 8 MB in all;
//   the result is a fresh draw's within rounding (2 in 255). A frame that redraws its knobs
//   thereby costs copies instead of filtered reductions and blurs.

#include <CoreGraphics/CGContext.h>

CG_EXTERN CGContextRef CGBitmapContextCreateWithPointSize(CGSize size, CGFloat scale);
CG_EXTERN std::size_t CGBitmapContextGetWidth(CGContextRef context);  // pixels
CG_EXTERN std::size_t CGBitmapContextGetHeight(CGContextRef context); // pixels
CG_EXTERN bool CGContextIsBitmap(CGContextRef context);
CG_EXTERN CGImageRef CGBitmapContextCreateImage(CGContextRef context);
