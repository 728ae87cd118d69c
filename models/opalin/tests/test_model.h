#pragma once
// What the shared dynamics engine checks need to know about the Opalin model.

#include "dynamics_reference.h"

#include <limits>

namespace testmodel {

inline constexpr reference::Model referenceModel = reference::Model::opalin;

// Target moves during the reference run: host frame, parameter ID, value (out-of-range and
// NaN values included; the engine and the reference both normalise them).
struct Change {
    unsigned frame;
    unsigned id;
    float value;
};
inline constexpr float nan = std::numeric_limits<float>::quiet_NaN();
inline constexpr Change changes[] = {
    {2000, 2, 1},    {3000, 6, 0},  {4500, 1, 0},    {6000, 1, 70},
    {8000, 0, 80},   {9000, 5, 50}, {10000, 3, 12},  {10500, 0, 150},
    {11000, 6, 100}, {12000, 8, 1}, {13000, 8, 0},   {14000, 9, 40},
    {14500, 4, nan}, {16000, 2, 0}, {17000, 1, 100}, {19000, 2, 0.6f},
};

} // namespace testmodel
