// Pango layouts.

#include "text_layout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace cg {
namespace {

// The platform's weight scale (−1 … 1) to CSS-style weights, through the named steps.
int pangoWeight(CGFloat weight) {
    static const CGFloat scale[] = {-0.8, -0.6, -0.4, 0.0, 0.23, 0.3, 0.4, 0.56, 0.62};
    static const int css[] = {100, 200, 300, 400, 500, 600, 700, 800, 900};
    if (weight <= scale[0]) {
        return css[0];
    }
    for (int i = 1; i < 9; ++i) {
        if (weight <= scale[i]) {
            const CGFloat t = (weight - scale[i - 1]) / (scale[i] - scale[i - 1]);
            return static_cast<int>(std::lround(css[i - 1] + t * (css[i] - css[i - 1])));
        }
    }
    return css[8];
}

struct FontState {
    PangoContext* context = nullptr;
    struct Entry {
        std::string families;
        CGFloat size;
        int weight;
        PangoFontDescription* description;
    };
    std::vector<Entry> descriptions;

    // At exit the font machinery's process-wide caches are handed back, so leak checkers see
    // only real leaks. Nothing draws text after the library's own statics are gone.
    ~FontState() {
        for (Entry& e : descriptions) {
            pango_font_description_free(e.description);
        }
        if (context) {
            g_object_unref(context);
        }
        pango_cairo_font_map_set_default(nullptr);
    }
};

FontState& fonts() {
    static FontState state;
    return state;
}

PangoContext* sharedContext() {
    static PangoContext* context = fonts().context = [] {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        PangoContext* c = pango_font_map_create_context(map);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(c, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(c, 72); // sizes are in points = user units
        return c;
    }();
    return context;
}

// Font descriptions are kept by (families, size, weight): faceplate text asks for the same
// few fonts every frame.
PangoFontDescription* description(std::string_view families, CGFloat size, CGFloat weight) {
    std::vector<FontState::Entry>& cache = fonts().descriptions;
    const int w = pangoWeight(weight);
    for (const FontState::Entry& e : cache) {
        if (e.size == size && e.weight == w && e.families == families) {
            return e.description;
        }
    }
    PangoFontDescription* d = pango_font_description_new();
    const std::string f(families);
    pango_font_description_set_family(d, f.c_str());
    pango_font_description_set_absolute_size(d, size * PANGO_SCALE);
    pango_font_description_set_weight(d, static_cast<PangoWeight>(w));
    cache.push_back({f, size, w, d});
    return d;
}

PangoLayout* makeLayout(const TextDraw& draw) {
    PangoLayout* layout = pango_layout_new(sharedContext());
    pango_layout_set_font_description(layout, description(draw.families, draw.size, draw.weight));
    pango_layout_set_text(layout, draw.text.data(), static_cast<int>(draw.text.size()));
    const CGFloat width = std::fabs(draw.rect.size.width);
    if (draw.wrap && width > 0) {
        pango_layout_set_width(layout, static_cast<int>(std::lround(width * PANGO_SCALE)));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    }
    PangoAlignment alignment = PANGO_ALIGN_LEFT;
    switch (draw.alignment) {
    case CGRecordedTextAlignment::center:
        alignment = PANGO_ALIGN_CENTER;
        break;
    case CGRecordedTextAlignment::right:
        alignment = PANGO_ALIGN_RIGHT;
        break;
    case CGRecordedTextAlignment::justified:
        pango_layout_set_justify(layout, TRUE);
        break;
    case CGRecordedTextAlignment::left:
    case CGRecordedTextAlignment::natural:
        break;
    }
    pango_layout_set_alignment(layout, alignment);
    return layout;
}

} // namespace

void drawLayout(cairo_t* cr, const TextDraw& draw) {
    PangoLayout* layout = makeLayout(draw);
    const CGFloat width = std::fabs(draw.rect.size.width);
    if (!draw.wrap && width > 0 && draw.alignment != CGRecordedTextAlignment::left &&
        draw.alignment != CGRecordedTextAlignment::natural) {
        // Unwrapped but aligned in a width: place the single layout by hand.
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        const double w = double(logical.width) / PANGO_SCALE;
        const double dx =
            draw.alignment == CGRecordedTextAlignment::right ? width - w : (width - w) / 2;
        cairo_translate(cr, dx, 0);
    }
    cairo_set_source_rgba(
        cr, std::clamp(draw.color.red, 0.0, 1.0), std::clamp(draw.color.green, 0.0, 1.0),
        std::clamp(draw.color.blue, 0.0, 1.0), std::clamp(draw.color.alpha, 0.0, 1.0));
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

CGSize measureLayout(const TextDraw& draw) {
    PangoLayout* layout = makeLayout(draw);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return {double(logical.width) / PANGO_SCALE, double(logical.height) / PANGO_SCALE};
}

FontMetrics fontMetrics(std::string_view families, CGFloat size, CGFloat weight) {
    PangoFontMetrics* metrics =
        pango_context_get_metrics(sharedContext(), description(families, size, weight), nullptr);
    FontMetrics result;
    result.ascent = double(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE;
    result.descent = double(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);
    TextDraw probe;
    probe.text = "Hg";
    probe.families = families;
    probe.size = size;
    probe.weight = weight;
    probe.wrap = false;
    result.lineHeight = measureLayout(probe).height;
    return result;
}

} // namespace cg
