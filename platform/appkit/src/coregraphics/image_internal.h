#pragma once
// CGImage's representation: an immutable Cairo image surface (ARGB32, premultiplied).

#include <CoreGraphics/CGImage.h>

#include <cairo.h>

#include <atomic>

struct CGImage {
    std::atomic<int> references{1};
    cairo_surface_t* surface = nullptr;
};

namespace cg {
// Adopts one reference to an image surface.
CGImageRef imageFromSurface(cairo_surface_t* surface);
inline cairo_surface_t* surfaceOf(CGImageRef image) {
    return image ? image->surface : nullptr;
}
// A copy of a surface's pixels as a new image.
CGImageRef imageCopyingSurface(cairo_surface_t* surface);
// Pixel (x, y) from the top-left of an ARGB32 surface, un-premultiplied; transparent black
// outside it.
CGRGBAColor surfacePixel(cairo_surface_t* surface, std::size_t x, std::size_t y);
} // namespace cg
