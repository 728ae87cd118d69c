#pragma once
// Pieces of hardware photographed onto the faceplates: knobs, push buttons, the VU meter and
// its bezel, the name badges.

#include "studio.h"

#include <string>

namespace artwork {

// A black knurled knob with a spun top and an aluminium centre, lit from the upper left.
// With a pointer fraction (0 to 1 over the 270 degree sweep, 0.5 straight up) a cream
// pointer line is painted on it at the given pointer radius, as the editor draws its own.
void knob(cairo_t* cr, double cx, double cy, double radius);
void knobPointer(cairo_t* cr, double cx, double cy, double pointerRadius, double fraction);

// Scale around a knob: ticks on the 270 degree sweep and numerals outside them.
void knobScale(cairo_t* cr, double cx, double cy, double inner, double outer, int ticks,
               const char* const* numerals, int numeralCount, double numeralRadius,
               double numeralSize, Rgb ink);

// A push button in its bezel, the lamp lens at 0.19 of the width from the left (where the
// editor lights it), the title printed on the face right of the lamp.
void pushButton(cairo_t* cr, double x, double y, double w, double h, const std::string& title,
                bool lit);

// The VU meter window, its printed scale in register with the editor's needle table, and
// the needle at a reading (NaN for none) under the pivot cover. Coordinates are those of
// the FET photograph.
void meterFace(cairo_t* cr, double needleReading);
void meterBezel(cairo_t* cr);

// The readout window under a knob, with a value printed in it or empty.
void readout(cairo_t* cr, double x, double y, double w, double h, const char* value);

} // namespace artwork
