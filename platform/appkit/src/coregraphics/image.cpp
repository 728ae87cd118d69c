// Bitmap images.

#include "image_internal.h"

#include <algorithm>

namespace cg {

CGImageRef imageFromSurface(cairo_surface_t* surface) {
    if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        if (surface) {
            cairo_surface_destroy(surface);
        }
        return nullptr;
    }
    auto* image = new CGImage();
    image->surface = surface;
    return image;
}

CGImageRef imageCopyingSurface(cairo_surface_t* source) {
    cairo_surface_flush(source);
    const int w = cairo_image_surface_get_width(source);
    const int h = cairo_image_surface_get_height(source);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    return imageFromSurface(copy);
}

CGRGBAColor surfacePixel(cairo_surface_t* surface, std::size_t x, std::size_t y) {
    if (!surface || x >= std::size_t(cairo_image_surface_get_width(surface)) ||
        y >= std::size_t(cairo_image_surface_get_height(surface))) {
        return {0, 0, 0, 0};
    }
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const std::size_t stride = std::size_t(cairo_image_surface_get_stride(surface));
    // ARGB32 is a native-endian 32-bit word: alpha in the top byte.
    const uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    const CGFloat a = ((pixel >> 24) & 0xff) / 255.0;
    if (a == 0) {
        return {0, 0, 0, 0};
    }
    const auto channel = [&](int shift) {
        return std::min(1.0, ((pixel >> shift) & 0xff) / 255.0 / a);
    };
    return {channel(16), channel(8), channel(0), a};
}

} // namespace cg

CGImageRef CGImageRetain(CGImageRef image) {
    if (image) {
        image->references.fetch_add(1, std::memory_order_relaxed);
    }
    return image;
}

void CGImageRelease(CGImageRef image) {
    if (image && image->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        cairo_surface_destroy(image->surface);
        delete image;
    }
}

std::size_t CGImageGetWidth(CGImageRef image) {
    return image ? static_cast<std::size_t>(cairo_image_surface_get_width(image->surface)) : 0;
}

std::size_t CGImageGetHeight(CGImageRef image) {
    return image ? static_cast<std::size_t>(cairo_image_surface_get_height(image->surface)) : 0;
}

CGRGBAColor CGImageGetPixel(CGImageRef image, std::size_t x, std::size_t y) {
    return image ? cg::surfacePixel(image->surface, x, y) : CGRGBAColor{0, 0, 0, 0};
}
