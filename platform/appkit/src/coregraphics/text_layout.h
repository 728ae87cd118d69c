#pragma once
// Text layout with Pango on Cairo: one shared Pango context with fixed font options (no
// hinting, no metric rounding), so a layout measures the same whatever it is drawn into.

#include "context_internal.h"

#include <cairo.h>

namespace cg {

// Draws the text with its first line's top-left at the origin of the cairo context's current
// user space (x right, y down), wrapped at draw.rect's width when draw.wrap.
void drawLayout(cairo_t* cr, const TextDraw& draw);
// The laid-out size (points): width of the widest line, height of all lines.
CGSize measureLayout(const TextDraw& draw);
// Ascent, descent (positive) and line height of a font (points).
struct FontMetrics {
    CGFloat ascent = 0, descent = 0, lineHeight = 0;
};
FontMetrics fontMetrics(std::string_view families, CGFloat size, CGFloat weight);

} // namespace cg
