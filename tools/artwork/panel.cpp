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

void rackPlate(Canvas& canvas) {
    cairo_t* cr = canvas.cr;
    // One sheet's grain under every photograph.
    brushedMetal(canvas, 0, 0, artWidth, artHeight, anodised, 0.09, 0x7011);
    studioLight(cr, 0, 0, artWidth, artHeight, 1.0);
    bevel(cr, 0, 0, artWidth, artHeight, 0, 4, 0.5, 0.8);
    bevel(cr, 4, 4, artWidth - 8, artHeight - 8, 0, 2, 0.12, 0.3);
    rackEar(cr, 0);
    rackEar(cr, artWidth - earWidth);
}

} // namespace

void plateWithTopRow(Canvas& canvas) {
    rackPlate(canvas);
    cairo_t* cr = canvas.cr;
    pushButton(cr, 95, 18, 121, 44, "INIT", false);
    pushButton(cr, 244, 18, 134, 44, "BYPASS", false);
    pushButton(cr, 1518, 18, 132, 44, "DETAIL", false);
    pushButton(cr, 1674, 18, 174, 44, "GUIDE", false);
    // The top row of buttons sits on a strip divided from the controls by a cut line.
    engravedLine(cr, 82, 76, artWidth - 82, 76, 1.3);
}

void controlField(cairo_t* cr) {
    // As wide as the plate between the ears allows, the same margin on either side.
    const double x = 80, y = 146, w = artWidth - 2 * x, h = 586;
    recess(cr, x, y, w, h, 10);
    engravedRect(cr, x, y, w, h, 10);
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
    plateWithTopRow(canvas);
    // One field for the controls, the badge and the meter; the editor prints inside it.
    controlField(cr);
    // The meter assembly the framework pastes in at (1380, 319, 505, 336.667) sits in a
    // shallow recess; its shadow falls on this plate.
    softShadow(cr, 1380, 319, 505, 336.667, 17, 12, 0.55, 2, 6);
    roundedRect(cr, 1374, 313, 517, 348.667, 21);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    // The badge the editor draws casts its own shadow: the plate around it stays plain, so that
    // the Corvel title printed below the badge's place lies on the field itself.
    makersLine(cr);
    Lettering serial;
    serial.family = "DejaVu Sans Mono";
    serial.size = 10;
    serial.tracking = 2;
    serial.align = Align::left;
    engraved(cr, "SERIES ORVELLA \u00b7 HAND WIRED", 412, 746, 500, serial, {0.50, 0.47, 0.39});
}

} // namespace artwork
