#pragma once
// Where the editor view puts its controls, in art units (1983 by 793, y down), decided by
// the flags of the model's parameter rows: the view is one class for every model, and the
// differences between models are their tables.

#include "parameters/definition.h"

#include <CoreGraphics/CGGeometry.h>

#include <array>
#include <cstddef>

struct ViewLayout {
    // Art units to view points: 1500 / 1983.
    static constexpr double artScale = 0.75642965204236;
    static constexpr double boundsWidth = 1500;
    static constexpr double boundsHeight = 599.8487140695914; // 793 * artScale
    static constexpr double artWidth = 1983;
    static constexpr double artHeight = 793;

    // The art space holds two rows of three dials, two rows of toggles of four and seven
    // slider rows inside the DETAIL panel; a model with more would spill off the faceplate.
    static constexpr unsigned maximumMainDials = 6;
    static constexpr unsigned maximumToggles = 4;
    static constexpr unsigned maximumSliders = 7;
    static constexpr unsigned maximumRows = 32;

    struct Dial {
        CGPoint centre;
        double hit;    // side of the square the dial answers clicks in
        double radius; // pointer radius
    };

    // Which rows become which controls. The Meter and Bypass rows have buttons of their own.
    struct Plan {
        std::array<unsigned, maximumRows> mainDials{};
        std::array<unsigned, maximumRows> toggles{};
        std::array<unsigned, maximumRows> sliders{};
        std::size_t mainDialCount = 0;
        std::size_t toggleCount = 0;
        std::size_t sliderCount = 0;
    };

    // [any thread]
    static Plan plan(const classic::Definition* rows, unsigned count, unsigned meterId,
                     unsigned bypassId);
    // Dial i of n main dials. [any thread]
    static Dial mainDial(std::size_t count, std::size_t index);
    // Toggle k; toggles move to the upper row when the dials need the lower one. [any thread]
    static CGRect toggle(std::size_t mainDialCount, std::size_t index);
    // DETAIL slider k. [any thread]
    static CGRect slider(std::size_t index);
    // An art rectangle in view points. [any thread]
    static CGRect scaled(CGRect art);
    // Whether a plan fits the faceplate. [any thread]
    static bool fits(const Plan& plan);
};
