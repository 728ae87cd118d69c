#include "faceplates.h"
#include "hardware.h"

namespace artwork {

namespace {

// The name plate's own metal: a lighter, cooler aluminium than the anodised panel, so that
// it reads as a separate piece screwed onto the plate.
const Rgb plateMetal{0.205, 0.196, 0.178};

// A blank engraved name plate: its own brushed metal, a bevelled edge, an engraved border
// and two small screws. The editor prints the model's title and rules below it.
void namePlate(Canvas& canvas, double x, double y, double w, double h) {
    cairo_t* cr = canvas.cr;
    softShadow(cr, x, y, w, h, 12, 6, 0.6, 1, 3);
    // Brushed on a canvas of its own (the grain is written into the pixels), then laid in
    // with its rounded corners.
    Canvas metal(w, h, canvas.pixelsPerUnit);
    brushedMetal(metal, 0, 0, w, h, plateMetal, 0.12, 0xC0A7);
    cairo_save(cr);
    roundedRect(cr, x, y, w, h, 12);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.0 / canvas.pixelsPerUnit, 1.0 / canvas.pixelsPerUnit);
    cairo_set_source_surface(cr, metal.surface, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    studioLight(cr, x, y, w, h, 1.4);
    bevel(cr, x, y, w, h, 12, 2.5, 0.45, 0.7);
    engravedRect(cr, x + 9, y + 8, w - 18, h - 16, 6);
    screw(cr, x + 24, y + h / 2, 5.5, 0.6);
    screw(cr, x + w - 24, y + h / 2, 5.5, 1.3);
}

} // namespace

void corvelPhotograph(Canvas& canvas) {
    cairo_t* cr = canvas.cr;
    plateWithTopRow(canvas);
    controlField(cr);
    namePlate(canvas, 1277, 174, 345, 60);
    makersLine(cr);
}

} // namespace artwork
