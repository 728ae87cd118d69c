#include "faceplates.h"

#include <pango/pangocairo.h>

#include <cmath>

namespace artwork {

namespace {

constexpr double tileWidth = 674;
constexpr double tileHeight = 153;

void octagon(cairo_t* cr, double x, double y, double w, double h, double cut) {
    cairo_move_to(cr, x + cut, y);
    cairo_line_to(cr, x + w - cut, y);
    cairo_line_to(cr, x + w, y + cut);
    cairo_line_to(cr, x + w, y + h - cut);
    cairo_line_to(cr, x + w - cut, y + h);
    cairo_line_to(cr, x + cut, y + h);
    cairo_line_to(cr, x, y + h - cut);
    cairo_line_to(cr, x, y + cut);
    cairo_close_path(cr);
}

cairo_pattern_t* brass(double y0, double y1) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.98, 0.88, 0.62);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 0.80, 0.62, 0.33);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.62, 0.45, 0.20);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.88, 0.72, 0.42);
    return p;
}

void nameText(cairo_t* cr, const char* name, double x, double y) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("Liberation Serif Bold");
    pango_font_description_set_absolute_size(font, 76 * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_letter_spacing_new(22 * PANGO_SCALE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_text(layout, name, -1);
    PangoRectangle ink{};
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    // Centre the letters themselves (ink), not the box with its trailing spacing.
    const double left = x + (tileWidth - ink.width) / 2 - ink.x;
    const double top = y + (tileHeight - ink.height) / 2 - ink.y;
    cairo_save(cr);
    // Die-struck: a dark recess around the letters, then raised brass.
    cairo_move_to(cr, left + 1.5, top + 2.5);
    pango_cairo_layout_path(cr, layout);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.85);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_move_to(cr, left, top);
    pango_cairo_layout_path(cr, layout);
    cairo_pattern_t* fill = brass(top + ink.y, top + ink.y + ink.height);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_line_width(cr, 0.9);
    cairo_set_source_rgba(cr, 0.25, 0.15, 0.05, 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
    g_object_unref(layout);
}

void tile(cairo_t* cr, double x, double y, const char* name) {
    cairo_save(cr);
    // The octagon the editor clips to cuts 14 of 345 units, about 27 points of the tile.
    octagon(cr, x, y, tileWidth, tileHeight, 27.5);
    cairo_clip(cr);
    cairo_pattern_t* enamel = cairo_pattern_create_linear(0, y, 0, y + tileHeight);
    cairo_pattern_add_color_stop_rgb(enamel, 0, 0.10, 0.075, 0.045);
    cairo_pattern_add_color_stop_rgb(enamel, 0.5, 0.045, 0.032, 0.02);
    cairo_pattern_add_color_stop_rgb(enamel, 1, 0.02, 0.015, 0.01);
    cairo_set_source(cr, enamel);
    cairo_paint(cr);
    cairo_pattern_destroy(enamel);
    // Stipple of the enamel.
    Noise noise(static_cast<std::uint32_t>(x * 3 + y));
    for (int i = 0; i < 2500; ++i) {
        cairo_rectangle(cr, x + noise.uniform() * tileWidth, y + noise.uniform() * tileHeight, 1,
                        1);
        cairo_set_source_rgba(cr, 1, 0.9, 0.7, 0.03 * noise.uniform());
        cairo_fill(cr);
    }
    // Brass border, doubled, following the plate's octagon.
    cairo_pattern_t* rim = brass(y, y + tileHeight);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 5);
    octagon(cr, x + 11, y + 11, tileWidth - 22, tileHeight - 22, 21);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.5);
    octagon(cr, x + 19, y + 19, tileWidth - 38, tileHeight - 38, 17);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
    // Diamonds either side of the name.
    for (double cx : {x + 62.0, x + tileWidth - 62.0}) {
        const double cy = y + tileHeight / 2;
        cairo_move_to(cr, cx, cy - 11);
        cairo_line_to(cr, cx + 8, cy);
        cairo_line_to(cr, cx, cy + 11);
        cairo_line_to(cr, cx - 8, cy);
        cairo_close_path(cr);
        cairo_pattern_t* d = brass(cy - 11, cy + 11);
        cairo_set_source(cr, d);
        cairo_fill(cr);
        cairo_pattern_destroy(d);
    }
    nameText(cr, name, x, y);
    // Glaze: the upper half of the enamel catches the light.
    cairo_pattern_t* glaze = cairo_pattern_create_linear(0, y, 0, y + tileHeight * 0.55);
    cairo_pattern_add_color_stop_rgba(glaze, 0, 1, 0.97, 0.9, 0.12);
    cairo_pattern_add_color_stop_rgba(glaze, 1, 1, 0.97, 0.9, 0.0);
    cairo_set_source(cr, glaze);
    cairo_rectangle(cr, x, y, tileWidth, tileHeight * 0.55);
    cairo_fill(cr);
    cairo_pattern_destroy(glaze);
    cairo_restore(cr);
}

} // namespace

void badgeAtlas(Canvas& canvas) {
    cairo_t* cr = canvas.cr;
    // Two columns by three rows, left column first: the tile origins the editors use.
    struct Badge {
        double x, y;
        const char* name;
    };
    const Badge badges[] = {{64, 140, "OPALIN"},  {800, 140, "VANTOR"}, {64, 422, "QUORIN"},
                            {800, 422, "TOLVAR"}, {64, 704, "ELVANE"},  {800, 704, "MIRETH"}};
    for (const Badge& b : badges) {
        tile(cr, b.x, b.y, b.name);
    }
}

} // namespace artwork
