#pragma once
// What the shared dynamics engine checks need to know about the Mireth model.

#include "dynamics_reference.h"

#include <limits>

namespace testmodel {

inline constexpr reference::Model referenceModel = reference::Model::mireth;

// Target moves during the reference run: host frame, parameter ID, value (out-of-range and
// NaN values included; the engine and the reference both normalise them).
struct Change {
    unsigned frame;
    unsigned id;
    float value;
};
inline constexpr float nan = std::numeric_limits<float>::quiet_NaN();
inline constexpr Change changes[] = {
    {2000, 4, 3},    {3000, 3, 2},     {4000, 2, 0},   {5000, 4, 0},  {6000, 3, 0},
    {7000, 6, 0},    {8000, 0, 30},    {9000, 3, 1},   {10000, 4, 1}, {11000, 2, 5},
    {12000, 8, 1},   {12500, 8, 0},    {13000, 9, 50}, {14000, 3, 7}, {14500, 2, nan},
    {16000, 1, -20}, {17000, 3, 1.4f}, {19000, 4, 2},
};

} // namespace testmodel
