#include "hardware.h"

#include <cmath>
#include <functional>

namespace artwork {

namespace {

// The key light comes from the upper left (y down: -135 degrees).
constexpr double lightAngle = -3 * M_PI / 4;

// Fills the ring between r0 and r1 with a colour that depends only on the angle: the look of
// a spun (concentrically brushed) surface under a single light.
void conicRing(cairo_t* cr, double cx, double cy, double r0, double r1,
               const std::function<Rgb(double)>& colourAt) {
    const int segments = 240;
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    for (int i = 0; i < segments; ++i) {
        const double a0 = 2 * M_PI * i / segments;
        const double a1 = 2 * M_PI * (i + 1) / segments;
        const Rgb c0 = colourAt(a0);
        const Rgb c1 = colourAt(a1);
        cairo_mesh_pattern_begin_patch(mesh);
        cairo_mesh_pattern_move_to(mesh, cx + r0 * std::cos(a0), cy + r0 * std::sin(a0));
        cairo_mesh_pattern_line_to(mesh, cx + r1 * std::cos(a0), cy + r1 * std::sin(a0));
        cairo_mesh_pattern_line_to(mesh, cx + r1 * std::cos(a1), cy + r1 * std::sin(a1));
        cairo_mesh_pattern_line_to(mesh, cx + r0 * std::cos(a1), cy + r0 * std::sin(a1));
        cairo_mesh_pattern_set_corner_color_rgb(mesh, 0, c0.r, c0.g, c0.b);
        cairo_mesh_pattern_set_corner_color_rgb(mesh, 1, c0.r, c0.g, c0.b);
        cairo_mesh_pattern_set_corner_color_rgb(mesh, 2, c1.r, c1.g, c1.b);
        cairo_mesh_pattern_set_corner_color_rgb(mesh, 3, c1.r, c1.g, c1.b);
        cairo_mesh_pattern_end_patch(mesh);
    }
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r1, 0, 2 * M_PI);
    if (r0 > 0) {
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, cx, cy, r0, 2 * M_PI, 0);
    }
    cairo_set_source(cr, mesh);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(mesh);
}

// Anisotropic highlight of concentric brushing: two bright lobes along the light's axis.
double spunLobe(double angle, double sharpness) {
    return std::pow(std::fabs(std::cos(angle - lightAngle)), sharpness);
}

// Plain diffuse facing towards the light, 0 to 1.
double facing(double angle) {
    return 0.5 + 0.5 * std::cos(angle - lightAngle);
}

} // namespace

void knob(cairo_t* cr, double cx, double cy, double radius) {
    const double R = radius;
    cairo_save(cr);
    // Contact shadow on the plate, longer towards the lower right.
    roundShadow(cr, cx, cy, R, R * 0.16, 0.75, R * 0.035, R * 0.07);
    roundShadow(cr, cx, cy, R, R * 0.06, 0.6, 0, R * 0.02);

    // Skirt: black, knurled with fine flutes that catch the light on the lit side.
    cairo_arc(cr, cx, cy, R, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.022, 0.020, 0.018);
    cairo_fill(cr);
    const int flutes = 132;
    for (int i = 0; i < flutes; ++i) {
        const double a = 2 * M_PI * (i + 0.5) / flutes;
        const double half = M_PI / flutes * 0.42;
        const double lit = std::pow(facing(a), 2.2);
        const Rgb c = mix({0.03, 0.028, 0.026}, {0.40, 0.39, 0.37}, lit * 0.75);
        cairo_move_to(cr, cx + 0.79 * R * std::cos(a - half), cy + 0.79 * R * std::sin(a - half));
        cairo_line_to(cr, cx + 0.985 * R * std::cos(a - half), cy + 0.985 * R * std::sin(a - half));
        cairo_line_to(cr, cx + 0.985 * R * std::cos(a + half), cy + 0.985 * R * std::sin(a + half));
        cairo_line_to(cr, cx + 0.79 * R * std::cos(a + half), cy + 0.79 * R * std::sin(a + half));
        cairo_close_path(cr);
        setColour(cr, c);
        cairo_fill(cr);
    }
    // The skirt falls away at its foot: darken the outer edge, most on the shaded side.
    cairo_pattern_t* foot = cairo_pattern_create_radial(cx, cy, 0.80 * R, cx, cy, R);
    cairo_pattern_add_color_stop_rgba(foot, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(foot, 0.7, 0, 0, 0, 0.15);
    cairo_pattern_add_color_stop_rgba(foot, 1, 0, 0, 0, 0.75);
    cairo_set_source(cr, foot);
    cairo_arc(cr, cx, cy, R, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(foot);
    // Rim light along the upper left edge of the skirt.
    cairo_set_line_width(cr, R * 0.012);
    for (int i = 0; i < 72; ++i) {
        const double a0 = 2 * M_PI * i / 72;
        cairo_arc(cr, cx, cy, R * 0.99, a0, a0 + 2 * M_PI / 72 + 0.01);
        cairo_set_source_rgba(cr, 1, 0.96, 0.88, 0.4 * std::pow(facing(a0), 4));
        cairo_stroke(cr);
    }

    // Chamfer between skirt and top: glossy black with a bright band towards the light.
    conicRing(cr, cx, cy, 0.70 * R, 0.80 * R, [](double a) {
        const double k = 0.03 + 0.42 * std::pow(facing(a), 5) + 0.05 * spunLobe(a, 2);
        return Rgb{k * 1.02, k, k * 0.96};
    });
    // Top face: satin black with the two bow-tie lobes of spun finish.
    conicRing(cr, cx, cy, 0.30 * R, 0.70 * R, [](double a) {
        const double k = 0.045 + 0.20 * spunLobe(a, 14) + 0.05 * spunLobe(a, 3);
        return Rgb{k * 1.03, k, k * 0.95};
    });
    // Fine concentric grooves of the spinning, a few lighter, most darker.
    Noise noise(static_cast<std::uint32_t>(cx * 7 + cy * 13));
    cairo_set_line_width(cr, R * 0.004);
    for (double r = 0.31 * R; r < 0.695 * R; r += R * 0.0055) {
        cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        const double v = noise.centred();
        if (v > 0) {
            cairo_set_source_rgba(cr, 1, 1, 1, 0.035 * v);
        } else {
            cairo_set_source_rgba(cr, 0, 0, 0, -0.12 * v);
        }
        cairo_stroke(cr);
    }
    // A soft sheen over the upper left of the top face.
    cairo_pattern_t* sheen = cairo_pattern_create_radial(cx - 0.3 * R, cy - 0.35 * R, 0,
                                                         cx - 0.3 * R, cy - 0.35 * R, 0.7 * R);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 0.97, 0.9, 0.10);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 0.97, 0.9, 0);
    cairo_set_source(cr, sheen);
    cairo_arc(cr, cx, cy, 0.70 * R, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(sheen);

    // Aluminium centre insert, spun, with a dark seat ring.
    cairo_arc(cr, cx, cy, 0.305 * R, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.01, 0.01, 0.01);
    cairo_fill(cr);
    conicRing(cr, cx, cy, 0, 0.285 * R, [](double a) {
        const double k = 0.42 + 0.45 * spunLobe(a, 10) + 0.12 * facing(a);
        return Rgb{k, k * 0.985, k * 0.95};
    });
    cairo_set_line_width(cr, R * 0.01);
    cairo_arc(cr, cx, cy, 0.28 * R, lightAngle + M_PI - 1.2, lightAngle + M_PI + 1.2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.3);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, 0.04 * R, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    cairo_restore(cr);
}

void knobPointer(cairo_t* cr, double cx, double cy, double pointerRadius, double fraction) {
    // The same sweep and proportions as the editor's own pointer, so a photographed pointer
    // and a drawn one look alike.
    const double a = (fraction * 270.0 - 225.0) * M_PI / 180.0;
    const double ri = pointerRadius * 0.43;
    const double ro = pointerRadius * 0.93;
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 7);
    cairo_move_to(cr, cx + ri * std::cos(a) + 0.8, cy + ri * std::sin(a) + 0.8);
    cairo_line_to(cr, cx + ro * std::cos(a) + 0.8, cy + ro * std::sin(a) + 0.8);
    cairo_set_source_rgba(cr, 0.05, 0.035, 0.018, 0.6);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 5.4);
    cairo_move_to(cr, cx + ri * std::cos(a), cy + ri * std::sin(a));
    cairo_line_to(cr, cx + ro * std::cos(a), cy + ro * std::sin(a));
    cairo_set_source_rgb(cr, 0.94, 0.88, 0.69);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void knobScale(cairo_t* cr, double cx, double cy, double inner, double outer, int ticks,
               const char* const* numerals, int numeralCount, double numeralRadius,
               double numeralSize, Rgb ink) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < ticks; ++i) {
        const double f = ticks > 1 ? double(i) / (ticks - 1) : 0;
        const double a = (f * 270.0 - 225.0) * M_PI / 180.0;
        const bool major = numeralCount > 1 && (i * (numeralCount - 1)) % (ticks - 1) == 0;
        const double o = major ? outer : inner + (outer - inner) * 0.6;
        cairo_set_line_width(cr, major ? 2.2 : 1.4);
        cairo_move_to(cr, cx + inner * std::cos(a) + 0.4, cy + inner * std::sin(a) + 0.8);
        cairo_line_to(cr, cx + o * std::cos(a) + 0.4, cy + o * std::sin(a) + 0.8);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
        cairo_stroke(cr);
        cairo_move_to(cr, cx + inner * std::cos(a), cy + inner * std::sin(a));
        cairo_line_to(cr, cx + o * std::cos(a), cy + o * std::sin(a));
        setColour(cr, ink);
        cairo_stroke(cr);
    }
    Lettering style;
    style.size = numeralSize;
    for (int i = 0; i < numeralCount; ++i) {
        const double f = numeralCount > 1 ? double(i) / (numeralCount - 1) : 0;
        const double a = (f * 270.0 - 225.0) * M_PI / 180.0;
        printedAt(cr, numerals[i], cx + numeralRadius * std::cos(a),
                  cy + numeralRadius * std::sin(a), style, ink);
    }
    cairo_restore(cr);
}

} // namespace artwork
