#include "faceplates.h"
#include "hardware.h"

#include <cmath>

namespace artwork {

namespace {

const Rgb anodised{0.135, 0.124, 0.108}; // warm black anodising over brushed aluminium
constexpr double earWidth = 64;

void rackEar(cairo_t* cr, double x) {
    // The ear is part of the plate; a fold line and two slotted mounting holes show it.
    engravedLine(cr, x < 100 ? x + earWidth : x, 10, x < 100 ? x + earWidth : x, artHeight - 10,
                 1.2);
    const double cx = x + earWidth / 2;
    for (double cy : {118.0, artHeight - 118.0}) {
        roundedRect(cr, cx - 12, cy - 27, 24, 54, 12);
        cairo_set_source_rgb(cr, 0.008, 0.007, 0.006);
        cairo_fill(cr);
        bevel(cr, cx - 13.5, cy - 28.5, 27, 57, 13.5, 2, 0.0, 0.0);
        cairo_save(cr);
        roundedRect(cr, cx - 12, cy - 27, 24, 54, 12);
        cairo_clip(cr);
        cairo_pattern_t* inner = cairo_pattern_create_linear(0, cy - 27, 0, cy + 27);
        cairo_pattern_add_color_stop_rgba(inner, 0, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(inner, 1, 0.3, 0.28, 0.25, 0.5);
        cairo_set_source(cr, inner);
        cairo_paint(cr);
        cairo_pattern_destroy(inner);
        cairo_restore(cr);
        // The rack screw sits a little off centre in its slot, as screws do.
        screw(cr, cx, cy + (cy < 400 ? 6 : -5), 11.5, cy < 400 ? 0.35 : 1.05);
    }
}

// A shallow milled recess: slightly darker, shaded under its upper lip, lit on its lower.
void recess(cairo_t* cr, double x, double y, double w, double h, double radius) {
    cairo_save(cr);
    roundedRect(cr, x, y, w, h, radius);
    cairo_clip(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.10);
    cairo_paint(cr);
    cairo_pattern_t* lip = cairo_pattern_create_linear(0, y, 0, y + 26);
    cairo_pattern_add_color_stop_rgba(lip, 0, 0, 0, 0, 0.35);
    cairo_pattern_add_color_stop_rgba(lip, 1, 0, 0, 0, 0);
    cairo_set_source(cr, lip);
    cairo_paint(cr);
    cairo_pattern_destroy(lip);
    cairo_pattern_t* foot = cairo_pattern_create_linear(0, y + h - 10, 0, y + h);
    cairo_pattern_add_color_stop_rgba(foot, 0, 1, 0.95, 0.85, 0);
    cairo_pattern_add_color_stop_rgba(foot, 1, 1, 0.95, 0.85, 0.06);
    cairo_set_source(cr, foot);
    cairo_paint(cr);
    cairo_pattern_destroy(foot);
    cairo_restore(cr);
}

void rackPlate(Canvas& canvas, std::uint32_t seed) {
    cairo_t* cr = canvas.cr;
    brushedMetal(canvas, 0, 0, artWidth, artHeight, anodised, 0.09, seed);
    studioLight(cr, 0, 0, artWidth, artHeight, 1.0);
    bevel(cr, 0, 0, artWidth, artHeight, 0, 4, 0.5, 0.8);
    bevel(cr, 4, 4, artWidth - 8, artHeight - 8, 0, 2, 0.12, 0.3);
    rackEar(cr, 0);
    rackEar(cr, artWidth - earWidth);
}

} // namespace

void plateWithTopRow(Canvas& canvas, std::uint32_t seed) {
    rackPlate(canvas, seed);
    cairo_t* cr = canvas.cr;
    pushButton(cr, 95, 18, 121, 44, "INIT", false);
    pushButton(cr, 244, 18, 134, 44, "BYPASS", false);
    pushButton(cr, 1518, 18, 132, 44, "DETAIL", false);
    pushButton(cr, 1674, 18, 174, 44, "GUIDE", false);
    // The top row of buttons sits on a strip divided from the controls by a cut line.
    engravedLine(cr, 82, 76, artWidth - 82, 76, 1.3);
}

void makersLine(cairo_t* cr) {
    Lettering maker;
    maker.size = 13;
    maker.tracking = 5;
    maker.align = Align::left;
    engraved(cr, "KELVO AUDIO LAB", 132, 744, 500, maker, {0.62, 0.58, 0.47});
    screw(cr, 96, 760, 7, 0.8);
    screw(cr, 1887, 760, 7, 0.1);
}

void blankPanel(Canvas& canvas) {
    cairo_t* cr = canvas.cr;
    plateWithTopRow(canvas, 0x7011);
    // Control field on the left, meter field on the right; the editor prints inside them.
    recess(cr, 112, 146, 1180, 586, 10);
    recess(cr, 1318, 146, 600, 586, 10);
    engravedRect(cr, 112, 146, 1180, 586, 10);
    engravedRect(cr, 1318, 146, 600, 586, 10);
    // The meter assembly the framework pastes in at (1380, 319, 505, 336.667) sits in a
    // shallow recess; its shadow falls on this plate.
    softShadow(cr, 1380, 319, 505, 336.667, 17, 12, 0.55, 2, 6);
    roundedRect(cr, 1374, 313, 517, 348.667, 21);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    // Badge seat: a darker recess under the octagon the editor draws at (1460, 174, 345, 78).
    cairo_save(cr);
    cairo_move_to(cr, 1470, 166);
    cairo_line_to(cr, 1795, 166);
    cairo_line_to(cr, 1813, 184);
    cairo_line_to(cr, 1813, 242);
    cairo_line_to(cr, 1795, 260);
    cairo_line_to(cr, 1470, 260);
    cairo_line_to(cr, 1452, 242);
    cairo_line_to(cr, 1452, 184);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.22);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 1, 0.95, 0.85, 0.08);
    cairo_stroke(cr);
    cairo_restore(cr);
    makersLine(cr);
    Lettering serial;
    serial.family = "DejaVu Sans Mono";
    serial.size = 10;
    serial.tracking = 2;
    serial.align = Align::left;
    engraved(cr, "SERIES ORVELLA \u00b7 HAND WIRED", 412, 746, 500, serial, {0.50, 0.47, 0.39});
    // Two more plate screws between the fields.
    screw(cr, 1305, 160, 7, 0.5);
    screw(cr, 1305, 718, 7, 1.2);
}

} // namespace artwork
