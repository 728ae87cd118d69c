#pragma once
// The Tolvar unit opened from its bundle (KELVO_TOLVAR_BUNDLE) through the generic test host,
// at 48 kHz stereo unless told otherwise.

#include "testing/unit_host.h"

namespace unittest {

// The Tolvar meter block's property, 'KIRM'.
inline constexpr AudioUnitPropertyID tolvarMeters = 0x4B49524D;

// [main thread] The Tolvar component (the bundle is registered on first use).
inline AudioComponent tolvarComponent() {
    return unithost::component(KELVO_TOLVAR_BUNDLE, 0x546F6C76 /* 'Tolv' */);
}

class TolvarUnit : public unithost::Unit {
public:
    explicit TolvarUnit(double rate = 48000, UInt32 channels = 2, bool initialise = true)
        : Unit(tolvarComponent(), rate, channels, initialise) {}

    using Unit::meters;
    TelemetryBlock meters() const { return meters(tolvarMeters); }
};

} // namespace unittest
