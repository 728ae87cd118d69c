#pragma once
// What the shared dynamics engine checks need to know about the Vantor model.

#include "dynamics_reference.h"

#include <limits>

namespace testmodel {

inline constexpr reference::Model referenceModel = reference::Model::vantor;

// Target moves during the reference run: host frame, parameter ID, value (out-of-range and
// NaN values included; the engine and the reference both normalise them).
struct Change {
    unsigned frame;
    unsigned id;
    float value;
};
inline constexpr float nan = std::numeric_limits<float>::quiet_NaN();
inline constexpr Change changes[] = {
    {2000, 2, 0},   {3000, 3, 0},     {4000, 4, 2},    {5000, 5, 4},   {6000, 7, 0},
    {7000, 0, -35}, {8000, 3, 4},     {9000, 5, 0},    {10000, 9, 10}, {11000, 2, 5},
    {12000, 10, 1}, {12500, 10, 0},   {13000, 11, 60}, {14000, 4, -3}, {14500, 1, nan},
    {16000, 4, 0},  {17000, 3, 3.6f}, {19000, 5, 1},
};

} // namespace testmodel
