#include "hardware.h"
#include "toolkit/needle_calibration.h"

#include <cmath>
#include <vector>

namespace artwork {

namespace {

struct Point {
    double x, y;
};

Point tipFor(double reading) {
    Point p{};
    iron::needleTip(reading, p.x, p.y);
    return p;
}

// Unit vector from the needle's root towards a point: the direction of the needle there.
Point outward(Point p) {
    const double dx = p.x - iron::needleRootX;
    const double dy = p.y - iron::needleRootY;
    const double len = std::hypot(dx, dy);
    return {dx / len, dy / len};
}

Point along(Point p, double distance) {
    const Point u = outward(p);
    return {p.x + u.x * distance, p.y + u.y * distance};
}

const Rgb inkBlack{0.08, 0.06, 0.04};
const Rgb inkRed{0.72, 0.10, 0.06};

void windowPath(cairo_t* cr) {
    roundedRect(cr, iron::meterWindowX, iron::meterWindowY, iron::meterWindowWidth,
                iron::meterWindowHeight, iron::meterWindowRadius);
}

// The scale's base line: a smooth curve through the marks, sampled densely.
void scaleCurve(cairo_t* cr, double from, double to, double offset) {
    bool first = true;
    for (double db = from; db <= to + 1e-9; db += 0.05) {
        const Point p = along(tipFor(db), offset);
        if (first) {
            cairo_move_to(cr, p.x, p.y);
            first = false;
        } else {
            cairo_line_to(cr, p.x, p.y);
        }
    }
}

void tick(cairo_t* cr, double db, double inner, double outer, double width, Rgb ink) {
    const Point a = along(tipFor(db), inner);
    const Point b = along(tipFor(db), outer);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    setColour(cr, ink);
    cairo_stroke(cr);
}

void pivotCover(cairo_t* cr) {
    // A black bakelite dome whose upper part shows above the window's lower edge.
    const double cx = 1434.5;
    const double cy = 600.5;
    const double r = 41.5;
    cairo_save(cr);
    roundShadow(cr, cx, cy, r, 9, 0.45, 0, -1);
    cairo_pattern_t* dome = cairo_pattern_create_radial(cx - 12, cy - 22, 2, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(dome, 0, 0.36, 0.33, 0.29);
    cairo_pattern_add_color_stop_rgb(dome, 0.35, 0.12, 0.11, 0.10);
    cairo_pattern_add_color_stop_rgb(dome, 1, 0.02, 0.02, 0.02);
    cairo_set_source(cr, dome);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(dome);
    cairo_set_line_width(cr, 1.2);
    cairo_arc(cr, cx, cy, r - 0.8, M_PI * 1.05, M_PI * 1.6);
    cairo_set_source_rgba(cr, 1, 0.95, 0.85, 0.35);
    cairo_stroke(cr);
    Lettering maker;
    maker.size = 8.5;
    maker.tracking = 1.6;
    letters(cr, "KELVO", cx - 30, cy - 30, 60, maker, {0.75, 0.70, 0.58}, 0.7);
    cairo_restore(cr);
}

} // namespace

void meterFace(cairo_t* cr, double needleReading) {
    cairo_save(cr);
    windowPath(cr);
    cairo_clip(cr);

    // Paper, lit warm from a lamp behind the lower middle of the scale.
    cairo_pattern_t* lamp = cairo_pattern_create_radial(1436, 520, 10, 1436, 500, 330);
    cairo_pattern_add_color_stop_rgb(lamp, 0, 1.0, 0.93, 0.70);
    cairo_pattern_add_color_stop_rgb(lamp, 0.45, 0.97, 0.84, 0.55);
    cairo_pattern_add_color_stop_rgb(lamp, 0.8, 0.85, 0.64, 0.34);
    cairo_pattern_add_color_stop_rgb(lamp, 1, 0.62, 0.42, 0.19);
    cairo_set_source(cr, lamp);
    cairo_paint(cr);
    cairo_pattern_destroy(lamp);
    // Paper fibre: faint random specks.
    Noise noise(0x5eed);
    for (int i = 0; i < 3500; ++i) {
        const double x = iron::meterWindowX + noise.uniform() * iron::meterWindowWidth;
        const double y = iron::meterWindowY + noise.uniform() * iron::meterWindowHeight;
        cairo_rectangle(cr, x, y, 0.6 + noise.uniform(), 0.5);
        cairo_set_source_rgba(cr, 0.35, 0.22, 0.08, 0.05 + 0.05 * noise.uniform());
        cairo_fill(cr);
    }

    // Red zone above the scale from 0 to +4.
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    scaleCurve(cr, 0, 4, 10);
    cairo_set_line_width(cr, 9);
    setColour(cr, inkRed, 0.92);
    cairo_stroke(cr);
    cairo_restore(cr);
    // Base line of the scale, just beyond the needle tips.
    scaleCurve(cr, -24, 0, 5.5);
    cairo_set_line_width(cr, 1.6);
    setColour(cr, inkBlack);
    cairo_stroke(cr);
    scaleCurve(cr, 0, 4, 5.5);
    cairo_set_line_width(cr, 1.6);
    setColour(cr, inkRed);
    cairo_stroke(cr);

    // Marks: the needle's tip reaches into the foot of each one.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    struct Mark {
        double db;
        const char* label;
    };
    const Mark majors[] = {{-20, "20"}, {-10, "10"}, {-7, "7"}, {-5, "5"}, {-3, "3"},
                           {-1, "1"},   {0, "0"},    {1, "1"},  {2, "2"},  {3, "3"}};
    const double minors[] = {-24, -15, -6, -4, -2, 0.5, 1.5, 2.5, 3.5, 4};
    for (double db : minors) {
        tick(cr, db, -2, 12, 1.5, db >= 0 ? inkRed : inkBlack);
    }
    Lettering numeral;
    numeral.size = 19;
    numeral.weight = 600;
    for (const Mark& m : majors) {
        const Rgb ink = m.db >= 0 ? inkRed : inkBlack;
        tick(cr, m.db, -3, 20, 2.4, ink);
        const Point at = along(tipFor(m.db), 36);
        printedAt(cr, m.label, at.x, at.y, numeral, ink);
    }
    // The legend.
    Lettering vu;
    vu.size = 46;
    vu.weight = 600;
    vu.tracking = 2;
    printedAt(cr, "VU", 1436, 482, vu, inkBlack);

    if (needleReading == needleReading) {
        // The needle as the editor draws it, for the photograph with its printed markings.
        const Point tip = tipFor(needleReading);
        cairo_set_line_width(cr, 3);
        cairo_move_to(cr, iron::needleShadowRootX, iron::needleShadowRootY);
        cairo_line_to(cr, tip.x + 1.2, tip.y + 1.2);
        cairo_set_source_rgba(cr, 0.22, 0.13, 0.055, 0.28);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 1.8);
        cairo_move_to(cr, iron::needleRootX, iron::needleRootY);
        cairo_line_to(cr, tip.x, tip.y);
        cairo_set_source_rgb(cr, 0.055, 0.04, 0.025);
        cairo_stroke(cr);
    }
    pivotCover(cr);

    // Depth: the bezel's shadow falls into the window from the top, and the glass catches
    // a faint reflection across its upper left.
    cairo_pattern_t* depth =
        cairo_pattern_create_linear(0, iron::meterWindowY, 0, iron::meterWindowY + 60);
    cairo_pattern_add_color_stop_rgba(depth, 0, 0, 0, 0, 0.55);
    cairo_pattern_add_color_stop_rgba(depth, 1, 0, 0, 0, 0);
    cairo_set_source(cr, depth);
    cairo_paint(cr);
    cairo_pattern_destroy(depth);
    cairo_set_line_width(cr, 10);
    windowPath(cr);
    cairo_set_source_rgba(cr, 0.1, 0.05, 0, 0.35);
    cairo_stroke(cr);
    cairo_pattern_t* glass = cairo_pattern_create_linear(1198, 322, 1420, 560);
    cairo_pattern_add_color_stop_rgba(glass, 0, 1, 1, 1, 0.16);
    cairo_pattern_add_color_stop_rgba(glass, 0.45, 1, 1, 1, 0.04);
    cairo_pattern_add_color_stop_rgba(glass, 0.46, 1, 1, 1, 0);
    cairo_set_source(cr, glass);
    cairo_paint(cr);
    cairo_pattern_destroy(glass);
    cairo_restore(cr);
}

void meterBezel(cairo_t* cr) {
    // A black chrome frame filling the region the framework faceplates borrow
    // (1174, 292, 525, 350), with the window cut into it.
    const double x = 1175, y = 293, w = 523, h = 348;
    cairo_save(cr);
    softShadow(cr, x, y, w, h, 18, 10, 0.5, 2, 5);
    roundedRect(cr, x, y, w, h, 18);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(face, 0, 0.23, 0.22, 0.20);
    cairo_pattern_add_color_stop_rgb(face, 0.12, 0.11, 0.105, 0.10);
    cairo_pattern_add_color_stop_rgb(face, 0.8, 0.06, 0.058, 0.055);
    cairo_pattern_add_color_stop_rgb(face, 1, 0.03, 0.03, 0.028);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);
    bevel(cr, x, y, w, h, 18, 3, 0.35, 0.7);
    // The window's lip: a chamfer lit on its lower edge, shaded on its upper.
    const double lip = 7;
    roundedRect(cr, iron::meterWindowX - lip, iron::meterWindowY - lip,
                iron::meterWindowWidth + 2 * lip, iron::meterWindowHeight + 2 * lip,
                iron::meterWindowRadius + lip);
    cairo_pattern_t* chamfer =
        cairo_pattern_create_linear(0, iron::meterWindowY - lip, 0, iron::meterWindowY + 290);
    cairo_pattern_add_color_stop_rgb(chamfer, 0, 0.01, 0.01, 0.01);
    cairo_pattern_add_color_stop_rgb(chamfer, 0.7, 0.12, 0.11, 0.10);
    cairo_pattern_add_color_stop_rgb(chamfer, 1, 0.42, 0.40, 0.36);
    cairo_set_source(cr, chamfer);
    cairo_fill(cr);
    cairo_pattern_destroy(chamfer);
    screw(cr, 1192, 310, 6.5, 0.4);
    screw(cr, 1681, 310, 6.5, 1.1);
    screw(cr, 1192, 624, 6.5, 0.9);
    screw(cr, 1681, 624, 6.5, 0.2);
    cairo_restore(cr);
}

void pushButton(cairo_t* cr, double x, double y, double w, double h, const std::string& title,
                bool lit) {
    cairo_save(cr);
    softShadow(cr, x, y, w, h, 6, 4, 0.55, 1, 2.5);
    // Nickel bezel.
    roundedRect(cr, x, y, w, h, 6);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(rim, 0, 0.70, 0.67, 0.60);
    cairo_pattern_add_color_stop_rgb(rim, 0.45, 0.36, 0.34, 0.30);
    cairo_pattern_add_color_stop_rgb(rim, 1, 0.12, 0.11, 0.10);
    cairo_set_source(cr, rim);
    cairo_fill(cr);
    cairo_pattern_destroy(rim);
    // The cap: black, slightly domed.
    roundedRect(cr, x + 3.5, y + 3.5, w - 7, h - 7, 4);
    cairo_pattern_t* cap = cairo_pattern_create_linear(0, y + 3.5, 0, y + h - 3.5);
    cairo_pattern_add_color_stop_rgb(cap, 0, 0.16, 0.15, 0.13);
    cairo_pattern_add_color_stop_rgb(cap, 0.5, 0.06, 0.058, 0.05);
    cairo_pattern_add_color_stop_rgb(cap, 1, 0.025, 0.024, 0.02);
    cairo_set_source(cr, cap);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);
    cairo_set_line_width(cr, 0.8);
    roundedRect(cr, x + 4, y + 4, w - 8, h - 8, 4);
    cairo_set_source_rgba(cr, 1, 0.95, 0.85, 0.12);
    cairo_stroke(cr);
    // Lamp lens where the editor lights it.
    const double lx = x + 0.19 * w;
    const double ly = y + h / 2;
    if (lit) {
        cairo_pattern_t* halo = cairo_pattern_create_radial(lx, ly, 2, lx, ly, 20);
        cairo_pattern_add_color_stop_rgba(halo, 0, 1, 0.7, 0.2, 0.5);
        cairo_pattern_add_color_stop_rgba(halo, 1, 1, 0.6, 0.1, 0);
        cairo_set_source(cr, halo);
        cairo_arc(cr, lx, ly, 20, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(halo);
    }
    cairo_pattern_t* lens = cairo_pattern_create_radial(lx - 2.5, ly - 2.8, 0.5, lx, ly, 7);
    if (lit) {
        cairo_pattern_add_color_stop_rgb(lens, 0, 1.0, 0.96, 0.57);
        cairo_pattern_add_color_stop_rgb(lens, 0.5, 1.0, 0.68, 0.05);
        cairo_pattern_add_color_stop_rgb(lens, 1, 0.49, 0.24, 0.015);
    } else {
        cairo_pattern_add_color_stop_rgb(lens, 0, 0.55, 0.36, 0.16);
        cairo_pattern_add_color_stop_rgb(lens, 0.4, 0.22, 0.11, 0.03);
        cairo_pattern_add_color_stop_rgb(lens, 1, 0.08, 0.04, 0.01);
    }
    cairo_set_source(cr, lens);
    cairo_arc(cr, lx, ly, 7, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(lens);
    cairo_set_line_width(cr, 1);
    cairo_arc(cr, lx, ly, 7.4, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_stroke(cr);
    if (!title.empty()) {
        Lettering style;
        style.size = std::min(22.0, h * 0.42);
        style.weight = 600;
        style.tracking = 0.8;
        const double left = lx + 10;
        printed(cr, title, left, y + h / 2 - style.size * 0.62, x + w - 6 - left, style,
                {0.91, 0.88, 0.76});
    }
    cairo_restore(cr);
}

void readout(cairo_t* cr, double x, double y, double w, double h, const char* value) {
    cairo_save(cr);
    roundedRect(cr, x, y, w, h, 5);
    cairo_set_source_rgb(cr, 0.012, 0.012, 0.011);
    cairo_fill(cr);
    bevel(cr, x - 2, y - 2, w + 4, h + 4, 7, 2.5, 0.0, 0.0);
    roundedRect(cr, x, y, w, h, 5);
    cairo_clip(cr);
    cairo_pattern_t* inner = cairo_pattern_create_linear(0, y, 0, y + 12);
    cairo_pattern_add_color_stop_rgba(inner, 0, 0, 0, 0, 0.9);
    cairo_pattern_add_color_stop_rgba(inner, 1, 0, 0, 0, 0);
    cairo_set_source(cr, inner);
    cairo_paint(cr);
    cairo_pattern_destroy(inner);
    if (value != nullptr) {
        Lettering style;
        style.size = 29;
        letters(cr, value, x, y + 3, w, style, {0.91, 0.88, 0.76});
    }
    cairo_restore(cr);
    cairo_save(cr);
    cairo_set_line_width(cr, 1.2);
    roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 1, 5.5);
    cairo_pattern_t* lip = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(lip, 0, 0, 0, 0, 0.9);
    cairo_pattern_add_color_stop_rgba(lip, 1, 1, 0.95, 0.85, 0.3);
    cairo_set_source(cr, lip);
    cairo_stroke(cr);
    cairo_pattern_destroy(lip);
    cairo_restore(cr);
}

} // namespace artwork
