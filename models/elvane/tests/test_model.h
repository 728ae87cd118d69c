#pragma once
// What the shared dynamics engine checks need to know about the Elvane model.

#include "dynamics_reference.h"

#include <limits>

namespace testmodel {

inline constexpr reference::Model referenceModel = reference::Model::elvane;

// Target moves during the reference run: host frame, parameter ID, value (out-of-range and
// NaN values included; the engine and the reference both normalise them).
struct Change {
    unsigned frame;
    unsigned id;
    float value;
};
inline constexpr float nan = std::numeric_limits<float>::quiet_NaN();
inline constexpr Change changes[] = {
    {2000, 3, 3},    {3000, 2, 0},    {4000, 5, 0},     {5000, 3, 0},
    {6000, 2, 1},    {7000, 0, 30},   {9000, 5, 60},    {10000, 3, 2},
    {12000, 7, 1},   {12500, 7, 0},   {13000, 8, 50},   {14000, 0, 99},
    {14500, 2, nan}, {16000, 1, -10}, {17000, 2, 0.4f}, {19000, 3, 1},
};

} // namespace testmodel
