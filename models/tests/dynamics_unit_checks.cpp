// What a dynamics unit adds to the checks every model's unit passes, through the Audio Unit
// calls on its bundle (KELVO_UNIT_BUNDLE): the gain cell's reduction reaches the `gr` pair of
// the meter block, 0 on silence and positive on a loud input at every preset that levels,
// equal for both slots in mono.

#include "engine.h"
#include "model.h"
#include "presets/factory_preset.h"
#include "testing/unit_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr AudioUnitPropertyID kirm = 0x4B49524D; // 'KIRM'

std::unique_ptr<unithost::Unit> openAt(unsigned preset, UInt32 channels) {
    auto unit = std::make_unique<unithost::Unit>(
        unithost::component(KELVO_UNIT_BUNDLE, classic::model.subtype), 48000, channels);
    const classic::Values& values = classic::factoryPresets()[preset].values;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        EXPECT_EQ(unit->setParameter(id, values[id]), noErr);
    }
    return unit;
}

unithost::Channels sine(UInt32 channels, double dBFS, double seconds) {
    const double a = std::pow(10.0, dBFS / 20.0);
    return unithost::signal(channels, static_cast<UInt32>(seconds * 48000), [a](UInt32, UInt32 i) {
        return a * std::sin(2 * M_PI * 1000 * i / 48000.0);
    });
}

// Presets that by design never reduce: Peak Reduction 0 (Opalin "Shimmer Air") or a
// threshold above anything the stages pass (Vantor "Subtle Shimmer").
bool levels(unsigned preset) {
    classic::Engine engine;
    engine.prepare(48000, classic::factoryPresets()[preset].values.data());
    for (unsigned i = 0; i < 24000; ++i) {
        const double x = std::sin(2 * M_PI * 1000 * i / 48000.0);
        engine.tick(x, x, 2);
    }
    return engine.frame.gainReduction[0] > 0;
}

TEST(DynamicsUnit, GainReductionInTheMeterBlock) {
    for (unsigned preset = 0; preset < classic::factoryPresetCount; ++preset) {
        auto unit = openAt(preset, 2);
        unit->render(sine(2, -200, 0.25));
        TelemetryBlock meters = unit->meters(kirm);
        EXPECT_EQ(meters.gr[0], 0.0f) << preset;
        EXPECT_EQ(meters.gr[1], 0.0f) << preset;
        unit->render(sine(2, 0, 0.5));
        meters = unit->meters(kirm);
        if (levels(preset)) {
            EXPECT_GT(meters.gr[0], 0.5f) << classic::factoryPresets()[preset].name;
            EXPECT_EQ(meters.gr[1], meters.gr[0]) << "linked, same signal";
            EXPECT_LE(meters.gr[0], 48.0f);
        } else {
            EXPECT_EQ(meters.gr[0], 0.0f) << classic::factoryPresets()[preset].name;
        }
    }
}

TEST(DynamicsUnit, MonoPublishesEqualReductions) {
    auto unit = openAt(0, 1);
    unit->render(sine(1, -3, 0.5));
    const TelemetryBlock meters = unit->meters(kirm);
    EXPECT_GT(meters.gr[0], 0.5f);
    EXPECT_EQ(meters.gr[0], meters.gr[1]);
}

} // namespace
