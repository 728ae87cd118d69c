#include "studio.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace artwork {

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}

double Noise::uniform() {
    // xorshift32: plenty for texture grain, and identical on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ >> 8) * (1.0 / 16777216.0);
}

double Noise::centred() {
    return uniform() * 2 - 1;
}

double Noise::gaussian() {
    // Sum of four uniforms: close enough to a bell for grain, and cheap.
    return (uniform() + uniform() + uniform() + uniform() - 2) * 1.7320508075688772;
}

Canvas::Canvas(double width, double height, int unitPixels)
    : pixelWidth(static_cast<int>(std::lround(width * unitPixels))),
      pixelHeight(static_cast<int>(std::lround(height * unitPixels))), pixelsPerUnit(unitPixels) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelWidth, pixelHeight);
    cr = cairo_create(surface);
    cairo_scale(cr, unitPixels, unitPixels);
}

Canvas::~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

bool Canvas::writePng(const std::string& path) const {
    cairo_surface_flush(surface);
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void setColour(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    radius = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

namespace {

// Box blur of one line, in place, radius r, edges clamped.
void blurLine(std::vector<double>& line, int r) {
    const int n = static_cast<int>(line.size());
    std::vector<double> sum(n + 1, 0.0);
    for (int i = 0; i < n; ++i) {
        sum[i + 1] = sum[i] + line[i];
    }
    std::vector<double> out(n);
    for (int i = 0; i < n; ++i) {
        const int a = std::max(0, i - r);
        const int b = std::min(n, i + r + 1);
        out[i] = (sum[b] - sum[a]) / (b - a);
    }
    line.swap(out);
}

std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5);
}

} // namespace

void brushedMetal(Canvas& canvas, double x, double y, double w, double h, Rgb base, double grain,
                  std::uint32_t seed) {
    cairo_surface_flush(canvas.surface);
    unsigned char* data = cairo_image_surface_get_data(canvas.surface);
    const int stride = cairo_image_surface_get_stride(canvas.surface);
    const int x0 = std::max(0, static_cast<int>(x * canvas.pixelsPerUnit));
    const int y0 = std::max(0, static_cast<int>(y * canvas.pixelsPerUnit));
    const int x1 = std::min(canvas.pixelWidth, static_cast<int>((x + w) * canvas.pixelsPerUnit));
    const int y1 = std::min(canvas.pixelHeight, static_cast<int>((y + h) * canvas.pixelsPerUnit));
    const int width = x1 - x0;
    if (width <= 0) {
        return;
    }
    Noise noise(seed);
    std::vector<double> streak(width);
    std::vector<double> fine(width);
    double drift = 0;
    for (int py = y0; py < y1; ++py) {
        // Rows differ a little (the brush pressure) and drift slowly down the plate.
        drift = drift * 0.97 + noise.gaussian() * 0.03;
        const double row = noise.gaussian() * 0.45 + drift * 2.0;
        for (int i = 0; i < width; ++i) {
            streak[i] = noise.centred();
            fine[i] = noise.centred();
        }
        blurLine(streak, 38);
        blurLine(streak, 38);
        // A box-blurred uniform line loses spread by about sqrt(width); give it back.
        for (double& s : streak) {
            s *= 9.0;
        }
        blurLine(fine, 1);
        auto* pixel = reinterpret_cast<std::uint32_t*>(data + py * stride) + x0;
        for (int i = 0; i < width; ++i) {
            const double k = 1 + grain * (0.55 * row + 0.9 * streak[i] + 0.35 * fine[i]);
            const std::uint32_t a = 255;
            pixel[i] = (a << 24) | (std::uint32_t(channel(base.r * k)) << 16) |
                       (std::uint32_t(channel(base.g * k)) << 8) | channel(base.b * k);
        }
    }
    cairo_surface_mark_dirty(canvas.surface);
}

void studioLight(cairo_t* cr, double x, double y, double w, double h, double strength) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_pattern_t* vertical = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(vertical, 0, 1, 0.97, 0.9, 0.10 * strength);
    cairo_pattern_add_color_stop_rgba(vertical, 0.35, 1, 0.97, 0.9, 0.025 * strength);
    cairo_pattern_add_color_stop_rgba(vertical, 0.7, 0, 0, 0, 0.05 * strength);
    cairo_pattern_add_color_stop_rgba(vertical, 1, 0, 0, 0, 0.22 * strength);
    cairo_set_source(cr, vertical);
    cairo_paint(cr);
    cairo_pattern_destroy(vertical);
    // Brushed metal throws the light back in a soft band across the grain.
    cairo_pattern_t* band = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(band, 0.05, 1, 0.97, 0.9, 0);
    cairo_pattern_add_color_stop_rgba(band, 0.2, 1, 0.97, 0.9, 0.05 * strength);
    cairo_pattern_add_color_stop_rgba(band, 0.38, 1, 0.97, 0.9, 0);
    cairo_set_source(cr, band);
    cairo_paint(cr);
    cairo_pattern_destroy(band);
    // The lamp sits above the upper left: a wide, faint pool of light.
    cairo_pattern_t* pool = cairo_pattern_create_radial(x + w * 0.3, y - h * 0.2, 0, x + w * 0.3,
                                                        y - h * 0.2, w * 0.75);
    cairo_pattern_add_color_stop_rgba(pool, 0, 1, 0.95, 0.85, 0.09 * strength);
    cairo_pattern_add_color_stop_rgba(pool, 1, 1, 0.95, 0.85, 0);
    cairo_set_source(cr, pool);
    cairo_paint(cr);
    cairo_pattern_destroy(pool);
    cairo_restore(cr);
}

void softShadow(cairo_t* cr, double x, double y, double w, double h, double radius, double spread,
                double alpha, double dx, double dy) {
    cairo_save(cr);
    const int steps = 14;
    for (int i = steps; i >= 1; --i) {
        const double grow = spread * i / steps;
        roundedRect(cr, x + dx - grow, y + dy - grow, w + 2 * grow, h + 2 * grow, radius + grow);
        cairo_set_source_rgba(cr, 0, 0, 0, alpha / steps * 1.6);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void roundShadow(cairo_t* cr, double cx, double cy, double radius, double spread, double alpha,
                 double dx, double dy) {
    cairo_save(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx + dx, cy + dy, radius * 0.6, cx + dx,
                                                     cy + dy, radius + spread);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.55, 0, 0, 0, alpha * 0.55);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx + dx, cy + dy, radius + spread, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void screw(cairo_t* cr, double cx, double cy, double radius, double slotAngle) {
    cairo_save(cr);
    // Countersink: a dark ring cut into the plate, lit on its lower lip.
    cairo_pattern_t* sink =
        cairo_pattern_create_linear(cx, cy - radius * 1.3, cx, cy + radius * 1.3);
    cairo_pattern_add_color_stop_rgba(sink, 0, 0, 0, 0, 0.75);
    cairo_pattern_add_color_stop_rgba(sink, 1, 0.9, 0.85, 0.75, 0.35);
    cairo_set_source(cr, sink);
    cairo_arc(cr, cx, cy, radius * 1.28, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(sink);
    cairo_arc(cr, cx, cy, radius * 1.14, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.02, 0.018, 0.015, 0.9);
    cairo_fill(cr);
    // The domed head: nickel, lit from the upper left.
    cairo_pattern_t* head = cairo_pattern_create_radial(cx - radius * 0.35, cy - radius * 0.4,
                                                        radius * 0.05, cx, cy, radius * 1.05);
    cairo_pattern_add_color_stop_rgb(head, 0, 0.93, 0.91, 0.86);
    cairo_pattern_add_color_stop_rgb(head, 0.45, 0.62, 0.60, 0.56);
    cairo_pattern_add_color_stop_rgb(head, 0.85, 0.30, 0.29, 0.27);
    cairo_pattern_add_color_stop_rgb(head, 1, 0.16, 0.15, 0.14);
    cairo_set_source(cr, head);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(head);
    // Cross recess: a dark cut with a bright lower edge where the light catches it.
    for (int arm = 0; arm < 2; ++arm) {
        const double a = slotAngle + arm * M_PI / 2;
        const double ux = std::cos(a) * radius * 0.68;
        const double uy = std::sin(a) * radius * 0.68;
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, radius * 0.26);
        cairo_move_to(cr, cx - ux + 0.35, cy - uy + radius * 0.09);
        cairo_line_to(cr, cx + ux + 0.35, cy + uy + radius * 0.09);
        cairo_set_source_rgba(cr, 1, 0.98, 0.92, 0.35);
        cairo_stroke(cr);
        cairo_move_to(cr, cx - ux, cy - uy);
        cairo_line_to(cr, cx + ux, cy + uy);
        cairo_set_source_rgba(cr, 0.05, 0.045, 0.04, 0.95);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void engravedLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width) {
    cairo_save(cr);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, x0, y0 + width * 0.8);
    cairo_line_to(cr, x1, y1 + width * 0.8);
    cairo_set_source_rgba(cr, 1, 0.95, 0.85, 0.10);
    cairo_stroke(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void engravedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    cairo_save(cr);
    cairo_set_line_width(cr, 1.4);
    roundedRect(cr, x + 0.9, y + 0.9, w, h, radius);
    cairo_set_source_rgba(cr, 1, 0.95, 0.85, 0.10);
    cairo_stroke(cr);
    roundedRect(cr, x, y, w, h, radius);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void bevel(cairo_t* cr, double x, double y, double w, double h, double radius, double width,
           double light, double dark) {
    cairo_save(cr);
    roundedRect(cr, x, y, w, h, radius);
    roundedRect(cr, x + width, y + width, w - 2 * width, h - 2 * width,
                std::max(0.0, radius - width));
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    // Four faces meeting at the mitres: the top catches most light, the left some, the
    // bottom and right fall into shade.
    const double cx = x + w / 2;
    const double cy = y + h / 2;
    const double inset = std::min(w, h) / 2;
    struct Face {
        double ax, ay, bx, by;
        double r, g, b, a;
    };
    const Face faces[] = {
        {x, y, x + w, y, 1, 0.97, 0.9, light},
        {x, y + h, x, y, 1, 0.97, 0.9, light * 0.55},
        {x + w, y + h, x, y + h, 0, 0, 0, dark},
        {x + w, y, x + w, y + h, 0, 0, 0, dark * 0.75},
    };
    for (const Face& f : faces) {
        cairo_move_to(cr, f.ax, f.ay);
        cairo_line_to(cr, f.bx, f.by);
        cairo_line_to(cr, f.bx + (f.bx < cx ? inset : -inset), f.by + (f.by < cy ? inset : -inset));
        cairo_line_to(cr, f.ax + (f.ax < cx ? inset : -inset), f.ay + (f.ay < cy ? inset : -inset));
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, f.r, f.g, f.b, f.a);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

namespace {

PangoLayout* layoutFor(cairo_t* cr, const std::string& text, double w, const Lettering& style) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, style.family);
    pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
    pango_font_description_set_weight(font, static_cast<PangoWeight>(style.weight));
    pango_font_description_set_style(font, style.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    if (style.tracking != 0) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(
                                               static_cast<int>(style.tracking * PANGO_SCALE)));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_text(layout, text.c_str(), -1);
    if (w > 0) {
        pango_layout_set_width(layout, static_cast<int>(w * PANGO_SCALE));
    }
    pango_layout_set_alignment(layout, style.align == Align::centre  ? PANGO_ALIGN_CENTER
                                       : style.align == Align::right ? PANGO_ALIGN_RIGHT
                                                                     : PANGO_ALIGN_LEFT);
    return layout;
}

} // namespace

void letters(cairo_t* cr, const std::string& text, double x, double y, double w,
             const Lettering& style, Rgb colour, double alpha) {
    cairo_save(cr);
    PangoLayout* layout = layoutFor(cr, text, w, style);
    // Letter spacing adds space after the last letter too; shift centred text back by half.
    double shift = style.align == Align::centre ? style.tracking / 2 : 0;
    cairo_move_to(cr, x + shift, y);
    setColour(cr, colour, alpha);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    cairo_restore(cr);
}

void engraved(cairo_t* cr, const std::string& text, double x, double y, double w,
              const Lettering& style, Rgb fill) {
    letters(cr, text, x, y - 0.7, w, style, {0.0, 0.0, 0.0}, 0.85);
    letters(cr, text, x, y + 0.7, w, style, {1.0, 0.95, 0.82}, 0.22);
    letters(cr, text, x, y, w, style, fill);
}

void printed(cairo_t* cr, const std::string& text, double x, double y, double w,
             const Lettering& style, Rgb ink) {
    letters(cr, text, x + 0.4, y + 0.8, w, style, {0.0, 0.0, 0.0}, 0.55);
    letters(cr, text, x, y, w, style, ink);
}

void printedAt(cairo_t* cr, const std::string& text, double cx, double cy, const Lettering& style,
               Rgb ink) {
    PangoLayout* layout = layoutFor(cr, text, 0, style);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout, &width, &height);
    g_object_unref(layout);
    Lettering left = style;
    left.align = Align::left;
    const double w = double(width) / PANGO_SCALE;
    const double h = double(height) / PANGO_SCALE;
    printed(cr, text, cx - w / 2 + style.tracking / 2, cy - h / 2, 0, left, ink);
}

} // namespace artwork
