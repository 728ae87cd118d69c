#pragma once
// The artwork generator's studio: surfaces at twice the art resolution, procedural metal,
// lighting, screws, engraving and printed lettering. Every routine draws in art units (the
// 1983 by 793 faceplate grid, y down) on a context already scaled to the pixel density.

#include <cairo.h>

#include <cstdint>
#include <string>

namespace artwork {

// Pixels per art unit: the photographs are made at twice the art resolution so that they
// stay sharp when the editor is shown on a dense screen or scaled to 100 %.
inline constexpr int density = 2;
inline constexpr double artWidth = 1983;
inline constexpr double artHeight = 793;

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t);
Rgb scale(Rgb c, double k);

// A deterministic generator, so that every build writes the same pixels.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    double uniform();  // 0 to 1
    double centred();  // -1 to 1
    double gaussian(); // mean 0, deviation 1

private:
    std::uint32_t state_;
};

// An image surface of width by height art units at the studio density, with a context
// scaled so that drawing is in art units.
struct Canvas {
    // density: pixels per unit (the photographs use the studio density; the badge atlas is
    // addressed in its own pixels and uses 1).
    Canvas(double width, double height, int density = artwork::density);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_surface_t* surface;
    cairo_t* cr;
    int pixelWidth;
    int pixelHeight;
    int pixelsPerUnit;

    bool writePng(const std::string& path) const;
};

void setColour(cairo_t* cr, Rgb c, double alpha = 1);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);

// Fills the rectangle with brushed metal: the base colour, fine horizontal grain and longer
// streaks, written straight into the pixels for a grain finer than a path could draw.
void brushedMetal(Canvas& canvas, double x, double y, double w, double h, Rgb base, double grain,
                  std::uint32_t seed);

// A broad light from the upper left: brightens the top and darkens the lower edge.
void studioLight(cairo_t* cr, double x, double y, double w, double h, double strength);

// A soft shadow under a rounded shape, approximated by stacked translucent outlines.
void softShadow(cairo_t* cr, double x, double y, double w, double h, double radius, double spread,
                double alpha, double dx, double dy);

// A radial shadow under a round object.
void roundShadow(cairo_t* cr, double cx, double cy, double radius, double spread, double alpha,
                 double dx, double dy);

// Countersunk cross-head screw of the given head radius.
void screw(cairo_t* cr, double cx, double cy, double radius, double slotAngle);

// An engraved line: a dark cut with a light lower lip.
void engravedLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width);
void engravedRect(cairo_t* cr, double x, double y, double w, double h, double radius);

// A panel edge bevel: a light upper and left lip and a dark lower and right one.
void bevel(cairo_t* cr, double x, double y, double w, double h, double radius, double width,
           double light, double dark);

enum class Align { left, centre, right };

struct Lettering {
    const char* family = "Liberation Serif";
    double size = 20;    // art units
    int weight = 400;    // CSS-style weight
    double tracking = 0; // extra space between letters, in art units
    Align align = Align::centre;
    bool italic = false;
};

// Text laid out from (x, y) as the top of the line box, across width w.
void letters(cairo_t* cr, const std::string& text, double x, double y, double w,
             const Lettering& style, Rgb colour, double alpha = 1);

// Engraved lettering filled with paint: a dark cut above, a light lip below, the fill.
void engraved(cairo_t* cr, const std::string& text, double x, double y, double w,
              const Lettering& style, Rgb fill);

// Printed (silk-screened) lettering with a faint ink shadow.
void printed(cairo_t* cr, const std::string& text, double x, double y, double w,
             const Lettering& style, Rgb ink);

// Text centred on a point (for scale numerals).
void printedAt(cairo_t* cr, const std::string& text, double cx, double cy, const Lettering& style,
               Rgb ink);

} // namespace artwork
