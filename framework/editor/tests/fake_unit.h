#pragma once
// A unit for the editor's tests: a registered component that stores the model's parameters
// (clamped and rounded as the real unit does) and serves a meter block the test sets, so
// the editor can be driven through the same Audio Unit calls a host gives it.

#include "model.h"

#include <AudioUnit/AudioUnit.h>

#include <array>

struct FakeUnitState {
    std::array<float, classic::parameterCount> values{};
    // Parameters whose reads fail (the unit's error status, a garbage value left behind).
    std::array<bool, classic::parameterCount> unreadable{};
    std::array<float, 8> meter{-100, -100, -100, -100, 0, 0, -100, -100};
    bool serveMeter = true;
    unsigned meterReads = 0;
};

// Creates an instance of the fake component (registered on first use). [main thread]
AudioUnit makeFakeUnit();
// The state behind an instance made by makeFakeUnit. [main thread]
FakeUnitState& fakeUnitState(AudioUnit unit);
void disposeFakeUnit(AudioUnit unit);
