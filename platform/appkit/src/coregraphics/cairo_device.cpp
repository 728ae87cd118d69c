// The bitmap device: draws with Cairo into an ARGB32 image surface held in device space.
//
// Cairo keeps the identity matrix here except while an operation draws: paths arrive in device
// space already, strokes set the CTM just before stroking (Cairo strokes with the pen of the
// matrix current at stroke time), gradients, images and text set their own user space. Clips
// go straight into Cairo's clip, whose save and restore follow the context's.

#include "blur.h"
#include "context_internal.h"
#include "image_internal.h"
#include "kept_surfaces.h"
#include "text_layout.h"

#include <CoreGraphics/CGBitmapContext.h>

#include "../appkit/drawing_internal.h"

#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace cg {
namespace {

cairo_matrix_t toCairo(const CGAffineTransform& m, double ox, double oy) {
    cairo_matrix_t r;
    cairo_matrix_init(&r, m.a, m.b, m.c, m.d, m.tx + ox, m.ty + oy);
    return r;
}

void addPath(cairo_t* c, const CGPathBuffer& path, double ox, double oy) {
    for (const CGPathSegment& s : path) {
        const CGPoint* p = s.points;
        switch (s.type) {
        case kCGPathElementMoveToPoint:
            cairo_move_to(c, p[0].x + ox, p[0].y + oy);
            break;
        case kCGPathElementAddLineToPoint:
            cairo_line_to(c, p[0].x + ox, p[0].y + oy);
            break;
        case kCGPathElementAddQuadCurveToPoint: {
            // Raise the quadratic to a cubic: controls at 2/3 of the way to the quad control.
            double x0 = 0, y0 = 0;
            cairo_get_current_point(c, &x0, &y0);
            const double qx = p[0].x + ox, qy = p[0].y + oy, x = p[1].x + ox, y = p[1].y + oy;
            cairo_curve_to(c, x0 + 2.0 / 3.0 * (qx - x0), y0 + 2.0 / 3.0 * (qy - y0),
                           x + 2.0 / 3.0 * (qx - x), y + 2.0 / 3.0 * (qy - y), x, y);
            break;
        }
        case kCGPathElementAddCurveToPoint:
            cairo_curve_to(c, p[0].x + ox, p[0].y + oy, p[1].x + ox, p[1].y + oy, p[2].x + ox,
                           p[2].y + oy);
            break;
        case kCGPathElementCloseSubpath:
            cairo_close_path(c);
            break;
        }
    }
}

double unit(double v) {
    return std::clamp(v, 0.0, 1.0);
}

void setColor(cairo_t* c, const CGRGBAColor& color, CGFloat alpha) {
    cairo_set_source_rgba(c, unit(color.red), unit(color.green), unit(color.blue),
                          unit(color.alpha) * unit(alpha));
}

void setOperator(cairo_t* c, CGBlendMode mode) {
    switch (mode) {
    case kCGBlendModeClear:
        cairo_set_operator(c, CAIRO_OPERATOR_CLEAR);
        break;
    case kCGBlendModeCopy:
        cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
        break;
    case kCGBlendModeNormal:
        cairo_set_operator(c, CAIRO_OPERATOR_OVER);
        break;
    }
}

// High quality is Cairo's GOOD filter (a box filter when shrinking, bilinear otherwise): its
// BEST (Lanczos) costs some 90 ms for the 1500 by 600 faceplate against 7 ms, for a difference
// that does not show at these scales.
cairo_filter_t filterFor(CGInterpolationQuality quality) {
    switch (quality) {
    case kCGInterpolationNone:
        return CAIRO_FILTER_NEAREST;
    case kCGInterpolationLow:
        return CAIRO_FILTER_FAST;
    case kCGInterpolationHigh:
    case kCGInterpolationDefault:
    case kCGInterpolationMedium:
        return CAIRO_FILTER_GOOD;
    }
    return CAIRO_FILTER_GOOD;
}

void addStops(cairo_pattern_t* pattern, const CGGradientStops& stops) {
    for (std::size_t i = 0; i < stops.count; ++i) {
        const CGRGBAColor& c = stops.colors[i];
        cairo_pattern_add_color_stop_rgba(pattern, unit(stops.locations[i]), unit(c.red),
                                          unit(c.green), unit(c.blue), unit(c.alpha));
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_NONE);
}

// Text layout space (x right, y down from the first line's top) → user space.
CGAffineTransform layoutToUser(const TextDraw& draw) {
    const CGRect r = CGRectStandardize(draw.rect);
    if (draw.topAtMinY) {
        return {1, 0, 0, 1, r.origin.x, r.origin.y};
    }
    return {1, 0, 0, -1, r.origin.x, r.origin.y + r.size.height};
}

// Kept pixels are small: at most this many device pixels on a side, 24 MB of resampled image
// parts and 8 MB of shadows in all.
constexpr double keptLargestSide = 512;
constexpr std::size_t keptImageBytes = 24u << 20;
constexpr std::size_t keptShadowBytes = 8u << 20;

// One path of the clip, in device space.
struct ClipPath {
    CGPathBuffer path;
    bool evenOdd = false;
    bool operator==(const ClipPath& other) const;
};

bool samePath(const CGPathBuffer& a, const CGPathBuffer& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].type != b[i].type) {
            return false;
        }
        for (int k = 0; k < 3; ++k) {
            if (a[i].points[k].x != b[i].points[k].x || a[i].points[k].y != b[i].points[k].y) {
                return false;
            }
        }
    }
    return true;
}

bool ClipPath::operator==(const ClipPath& other) const {
    return evenOdd == other.evenOdd && samePath(path, other.path);
}

// What decides an image part's resampled pixels: the image, the user-to-device matrix with
// the device origin moved to the kept pixels' origin, the image-to-user matrix, the
// destination in user space, the filter, the kept pixels' size and the clip they were cut
// with.
struct ResampleKey {
    cairo_surface_t* image = nullptr;
    std::array<double, 6> userToDevice{};
    std::array<double, 6> imageToUser{};
    std::array<double, 4> destination{};
    cairo_filter_t filter = CAIRO_FILTER_GOOD;
    int width = 0;
    int height = 0;
    std::vector<ClipPath> clip;
    bool operator==(const ResampleKey&) const = default;
};

// What decides a filled shape's blurred shadow mask: the shape in device space, its fill
// rule, the alpha and compositing it is drawn with, the blur and the mask's place.
struct ShadowKey {
    CGPathBuffer path;
    bool evenOdd = false;
    double alpha = 1;
    CGBlendMode blend = kCGBlendModeNormal;
    double sigma = 0;
    CGRect area{};

    bool matches(const CGPathBuffer& other, bool otherEvenOdd, double otherAlpha,
                 CGBlendMode otherBlend, double otherSigma, CGRect otherArea) const {
        if (evenOdd != otherEvenOdd || alpha != otherAlpha || blend != otherBlend ||
            sigma != otherSigma || !CGRectEqualToRect(area, otherArea) ||
            path.size() != other.size()) {
            return false;
        }
        return samePath(path, other);
    }
};

// A filled shape, whose shadow mask can be kept for the next identical fill. Outside the
// device class: a default argument of its member functions needs the complete type.
struct FilledShape {
    const CGPathBuffer* device = nullptr;
    bool evenOdd = false;
    double alpha = 1; // the fill colour's alpha times the state's
    CGBlendMode blend = kCGBlendModeNormal;
};

class CairoDevice final : public Device {
public:
    CairoDevice(std::size_t width, std::size_t height) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                              static_cast<int>(height));
        cr_ = cairo_create(surface_);
    }
    ~CairoDevice() override {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }

    cairo_surface_t* surface() const { return surface_; }

    // The clip's paths are followed beside Cairo's clip, level by level, so that kept image
    // pixels can be cut with the clip they are drawn through.
    void save(const CGContext&) override {
        cairo_save(cr_);
        clipLevels_.push_back(clip_.size());
    }
    void restore(const CGContext&) override {
        cairo_restore(cr_);
        if (!clipLevels_.empty()) {
            clip_.resize(clipLevels_.back());
            clipLevels_.pop_back();
        }
    }

    void clip(const CGContext&, const CGPathBuffer&, const CGPathBuffer& device,
              bool evenOdd) override {
        applyClip(cr_, device, evenOdd, 0, 0);
        clip_.push_back({device, evenOdd});
    }

    void fill(const CGContext& ctx, const CGPathBuffer&, const CGPathBuffer& device,
              bool evenOdd) override {
        const FilledShape shape{
            &device, evenOdd, unit(ctx.state.fill.alpha) * unit(ctx.state.alpha), ctx.state.blend};
        withShadow(
            ctx, device.boundingBox(),
            [&](cairo_t* c, double ox, double oy) {
                cairo_save(c);
                cairo_identity_matrix(c);
                cairo_new_path(c);
                addPath(c, device, ox, oy);
                cairo_set_fill_rule(c,
                                    evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
                setColor(c, ctx.state.fill, ctx.state.alpha);
                setOperator(c, ctx.state.blend);
                cairo_fill(c);
                cairo_restore(c);
            },
            shape);
    }

    void stroke(const CGContext& ctx, const CGPathBuffer&, const CGPathBuffer& device) override {
        const CGFloat reach = strokeReach(ctx);
        withShadow(ctx, CGRectInset(device.boundingBox(), -reach, -reach),
                   [&](cairo_t* c, double ox, double oy) {
                       cairo_save(c);
                       cairo_identity_matrix(c);
                       cairo_new_path(c);
                       addPath(c, device, ox, oy);
                       if (ctx.state.lineWidth > 0) {
                           const cairo_matrix_t m = toCairo(ctx.state.ctm, ox, oy);
                           cairo_set_matrix(c, &m);
                           cairo_set_line_width(c, ctx.state.lineWidth);
                       } else {
                           cairo_set_line_width(c, 1); // the platform's thinnest line
                       }
                       cairo_set_line_cap(c, ctx.state.cap == kCGLineCapRound ? CAIRO_LINE_CAP_ROUND
                                             : ctx.state.cap == kCGLineCapSquare
                                                 ? CAIRO_LINE_CAP_SQUARE
                                                 : CAIRO_LINE_CAP_BUTT);
                       cairo_set_line_join(
                           c, ctx.state.join == kCGLineJoinRound   ? CAIRO_LINE_JOIN_ROUND
                              : ctx.state.join == kCGLineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                                   : CAIRO_LINE_JOIN_MITER);
                       cairo_set_miter_limit(c, ctx.state.miterLimit);
                       setColor(c, ctx.state.stroke, ctx.state.alpha);
                       setOperator(c, ctx.state.blend);
                       cairo_stroke(c);
                       cairo_restore(c);
                   });
    }

    void clearRect(const CGContext&, const CGPathBuffer&, const CGPathBuffer& device) override {
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_new_path(cr_);
        addPath(cr_, device, 0, 0);
        cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
        cairo_fill(cr_);
        cairo_restore(cr_);
    }

    void linearGradient(const CGContext& ctx, const CGGradientStops& stops, CGPoint start,
                        CGPoint end, CGGradientDrawingOptions options) override {
        cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
        paintGradient(ctx, pattern, stops, options);
    }

    void radialGradient(const CGContext& ctx, const CGGradientStops& stops, CGPoint c0, CGFloat r0,
                        CGPoint c1, CGFloat r1, CGGradientDrawingOptions options) override {
        cairo_pattern_t* pattern = cairo_pattern_create_radial(c0.x, c0.y, r0, c1.x, c1.y, r1);
        paintGradient(ctx, pattern, stops, options);
    }

    void image(const CGContext& ctx, const ImageDraw& draw) override {
        const CGRect d = CGRectStandardize(draw.destination);
        const CGRect s = CGRectStandardize(draw.source);
        if (d.size.width <= 0 || d.size.height <= 0 || s.size.width <= 0 || s.size.height <= 0) {
            return;
        }
        cairo_surface_t* source = surfaceOf(draw.image);
        const CGRect device = CGRectApplyAffineTransform(d, ctx.state.ctm);
        const double alpha = unit(draw.fraction) * unit(ctx.state.alpha);
        if (!deviceShadow(ctx).active && ctx.state.blend == kCGBlendModeNormal &&
            paintResampled(ctx, draw, source, device, alpha)) {
            return;
        }
        withShadow(ctx, device, [&](cairo_t* c, double ox, double oy) {
            setOperator(c, ctx.state.blend);
            paintImage(c, ctx, draw, source, ox, oy, alpha);
        });
    }

    void text(const CGContext& ctx, const TextDraw& draw) override {
        const CGAffineTransform layout = CGAffineTransformConcat(layoutToUser(draw), ctx.state.ctm);
        CGRect area = CGRectApplyAffineTransform(CGRectStandardize(draw.rect), ctx.state.ctm);
        const CGFloat spill = draw.size * ctx.scale * 2; // lines may run below the rectangle
        area = CGRectInset(area, -spill, -spill);
        withShadow(ctx, area, [&](cairo_t* c, double ox, double oy) {
            cairo_save(c);
            const cairo_matrix_t m = toCairo(layout, ox, oy);
            cairo_set_matrix(c, &m);
            TextDraw faded = draw;
            faded.color.alpha *= ctx.state.alpha;
            setOperator(c, ctx.state.blend);
            drawLayout(c, faded);
            cairo_restore(c);
        });
    }

    void flush() override { cairo_surface_flush(surface_); }

private:
    void paintGradient(const CGContext& ctx, cairo_pattern_t* pattern, const CGGradientStops& stops,
                       CGGradientDrawingOptions options) {
        addStops(pattern, stops);
        if (options & (kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation)) {
            // Cairo extends both ends together.
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        }
        cairo_save(cr_);
        const cairo_matrix_t m = toCairo(ctx.state.ctm, 0, 0);
        cairo_set_matrix(cr_, &m);
        cairo_set_source(cr_, pattern);
        setOperator(cr_, ctx.state.blend);
        cairo_paint_with_alpha(cr_, unit(ctx.state.alpha));
        cairo_restore(cr_);
        cairo_pattern_destroy(pattern);
    }

    // The image part into its destination, clipped to it, with the device origin at (-ox, -oy).
    static void paintImage(cairo_t* c, const CGContext& ctx, const ImageDraw& draw,
                           cairo_surface_t* source, double ox, double oy, double alpha) {
        const CGRect d = CGRectStandardize(draw.destination);
        cairo_save(c);
        const cairo_matrix_t m = toCairo(ctx.state.ctm, ox, oy);
        cairo_set_matrix(c, &m);
        cairo_new_path(c);
        cairo_rectangle(c, d.origin.x, d.origin.y, d.size.width, d.size.height);
        cairo_clip(c);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
        const cairo_matrix_t pm = imageToUser(draw);
        cairo_pattern_set_matrix(pattern, &pm);
        cairo_pattern_set_filter(pattern, filterFor(ctx.state.interpolation));
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_set_source(c, pattern);
        cairo_paint_with_alpha(c, alpha);
        cairo_pattern_destroy(pattern);
        cairo_restore(c);
    }

    // Cairo's pattern matrix: user space to the image's pixels.
    static cairo_matrix_t imageToUser(const ImageDraw& draw) {
        const CGRect d = CGRectStandardize(draw.destination);
        const CGRect s = CGRectStandardize(draw.source);
        const double sx = s.size.width / d.size.width;
        const double sy = s.size.height / d.size.height;
        cairo_matrix_t pm;
        if (draw.topAtMinY) {
            cairo_matrix_init(&pm, sx, 0, 0, sy, s.origin.x - d.origin.x * sx,
                              s.origin.y - d.origin.y * sy);
        } else {
            cairo_matrix_init(&pm, sx, 0, 0, -sy, s.origin.x - d.origin.x * sx,
                              s.origin.y + (d.origin.y + d.size.height) * sy);
        }
        return pm;
    }

    // A small draw through the resampled pixels kept from the last identical one; false when
    // the draw is too large to keep.
    bool paintResampled(const CGContext& ctx, const ImageDraw& draw, cairo_surface_t* source,
                        CGRect device, double alpha) {
        if (CGRectIsNull(device) || source == nullptr) {
            return false;
        }
        const double x0 = std::floor(CGRectGetMinX(device));
        const double y0 = std::floor(CGRectGetMinY(device));
        const double width = std::ceil(CGRectGetMaxX(device)) - x0;
        const double height = std::ceil(CGRectGetMaxY(device)) - y0;
        if (!(width >= 1 && height >= 1 && width <= keptLargestSide && height <= keptLargestSide)) {
            return false;
        }
        const CGAffineTransform& t = ctx.state.ctm;
        const cairo_matrix_t pm = imageToUser(draw);
        const CGRect d = CGRectStandardize(draw.destination);
        ResampleKey key;
        key.image = source;
        key.userToDevice = {t.a, t.b, t.c, t.d, t.tx - x0, t.ty - y0};
        key.imageToUser = {pm.xx, pm.yx, pm.xy, pm.yy, pm.x0, pm.y0};
        key.destination = {d.origin.x, d.origin.y, d.size.width, d.size.height};
        key.filter = filterFor(ctx.state.interpolation);
        key.width = static_cast<int>(width);
        key.height = static_cast<int>(height);
        thread_local KeptSurfaces<ResampleKey> kept(keptImageBytes);
        cairo_surface_t* pixels = kept.find([&](const ResampleKey& k) {
            return k.clip == clip_ && k.image == key.image && k.userToDevice == key.userToDevice &&
                   k.imageToUser == key.imageToUser && k.destination == key.destination &&
                   k.filter == key.filter && k.width == key.width && k.height == key.height;
        });
        if (pixels == nullptr) {
            pixels = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, key.width, key.height);
            if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS) {
                cairo_surface_destroy(pixels);
                return false;
            }
            cairo_t* c = cairo_create(pixels);
            for (const ClipPath& part : clip_) {
                applyClip(c, part.path, part.evenOdd, -x0, -y0);
            }
            paintImage(c, ctx, draw, source, -x0, -y0, 1.0);
            cairo_destroy(c);
            cairo_surface_flush(pixels);
            key.clip = clip_;
            pixels = kept.keep(std::move(key), pixels, source);
        }
        // The kept pixels lie on whole device pixels and are cut with the clip already:
        // copied one to one, without cutting them again.
        cairo_save(cr_);
        cairo_reset_clip(cr_);
        cairo_identity_matrix(cr_);
        cairo_set_source_surface(cr_, pixels, x0, y0);
        cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
        setOperator(cr_, ctx.state.blend);
        cairo_paint_with_alpha(cr_, alpha);
        cairo_restore(cr_);
        return true;
    }

    // The blurred shadow mask of the shape drawn by draw over area (device pixels): kept from
    // the last identical fill, or made now.
    template <typename Draw>
    cairo_surface_t* shadowMask(CGRect area, double sigma, Draw& draw, const FilledShape& shape) {
        const int w = static_cast<int>(area.size.width);
        const int h = static_cast<int>(area.size.height);
        thread_local KeptSurfaces<ShadowKey> kept(keptShadowBytes);
        const bool keepable =
            shape.device != nullptr && w <= keptLargestSide && h <= keptLargestSide;
        if (keepable) {
            cairo_surface_t* mask = kept.find([&](const ShadowKey& key) {
                return key.matches(*shape.device, shape.evenOdd, shape.alpha, shape.blend, sigma,
                                   area);
            });
            if (mask != nullptr) {
                return cairo_surface_reference(mask);
            }
        }
        cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
        cairo_t* m = cairo_create(mask);
        draw(m, -area.origin.x, -area.origin.y);
        cairo_destroy(m);
        cairo_surface_flush(mask);
        blurAlpha(cairo_image_surface_get_data(mask), w, h, cairo_image_surface_get_stride(mask),
                  sigma);
        cairo_surface_mark_dirty(mask);
        if (keepable) {
            ShadowKey key{*shape.device, shape.evenOdd, shape.alpha, shape.blend, sigma, area};
            kept.keep(std::move(key), cairo_surface_reference(mask));
        }
        return mask;
    }

    // Draws the shape's blurred shadow (when the state has one), then the shape.
    template <typename Draw>
    void withShadow(const CGContext& ctx, CGRect deviceBounds, Draw draw,
                    const FilledShape& shape = {}) {
        const DeviceShadow shadow = deviceShadow(ctx);
        if (shadow.active && !CGRectIsNull(deviceBounds)) {
            const double sigma = shadow.blur / 2;
            const double margin = std::ceil(3 * sigma) + 2;
            const CGRect surfaceRect = CGRectMake(0, 0, cairo_image_surface_get_width(surface_),
                                                  cairo_image_surface_get_height(surface_));
            // Only the part of the shape whose shadow can land on the surface matters.
            CGRect reach = CGRectOffset(CGRectInset(surfaceRect, -margin, -margin),
                                        -shadow.offset.width, -shadow.offset.height);
            CGRect area = CGRectIntersection(CGRectInset(deviceBounds, -margin, -margin), reach);
            if (!CGRectIsNull(area)) {
                area = CGRectIntegral(area);
                if (area.size.width > 0 && area.size.height > 0) {
                    cairo_surface_t* mask = shadowMask(area, sigma, draw, shape);
                    cairo_save(cr_);
                    cairo_identity_matrix(cr_);
                    setColor(cr_, shadow.color, ctx.state.alpha);
                    cairo_mask_surface(cr_, mask, area.origin.x + shadow.offset.width,
                                       area.origin.y + shadow.offset.height);
                    cairo_restore(cr_);
                    cairo_surface_destroy(mask);
                }
            }
        }
        draw(cr_, 0, 0);
    }

    static void applyClip(cairo_t* c, const CGPathBuffer& device, bool evenOdd, double ox,
                          double oy) {
        cairo_identity_matrix(c);
        cairo_new_path(c);
        addPath(c, device, ox, oy);
        cairo_set_fill_rule(c, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        cairo_clip(c);
    }

    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::vector<ClipPath> clip_;          // the clip's paths, outermost first
    std::vector<std::size_t> clipLevels_; // clip_'s size at each save
};

CairoDevice* cairoDevice(CGContextRef context) {
    return context && context->bitmap ? static_cast<CairoDevice*>(context->device.get()) : nullptr;
}

} // namespace
} // namespace cg

CGContextRef CGBitmapContextCreateWithPointSize(CGSize size, CGFloat scale) {
    if (!(size.width > 0) || !(size.height > 0) || !(scale > 0)) {
        return nullptr;
    }
    const auto w = static_cast<std::size_t>(std::ceil(size.width * scale - 1e-9));
    const auto h = static_cast<std::size_t>(std::ceil(size.height * scale - 1e-9));
    CGContextRef context = cg::makeContext(size, scale, std::make_unique<cg::CairoDevice>(w, h));
    context->bitmap = true;
    return context;
}

std::size_t CGBitmapContextGetWidth(CGContextRef context) {
    return context && context->bitmap ? context->pixelsWide : 0;
}

std::size_t CGBitmapContextGetHeight(CGContextRef context) {
    return context && context->bitmap ? context->pixelsHigh : 0;
}

bool CGContextIsBitmap(CGContextRef context) {
    return context && context->bitmap;
}

namespace appkit {

CGRGBAColor bitmapPixel(CGContextRef context, std::size_t x, std::size_t y) {
    cg::CairoDevice* device = cg::cairoDevice(context);
    return device ? cg::surfacePixel(device->surface(), x, y) : CGRGBAColor{0, 0, 0, 0};
}

} // namespace appkit

CGImageRef CGBitmapContextCreateImage(CGContextRef context) {
    cg::CairoDevice* device = cg::cairoDevice(context);
    return device ? cg::imageCopyingSurface(device->surface()) : nullptr;
}
