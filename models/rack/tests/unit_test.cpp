// A model's unit through the Audio Unit calls, built once per model (the bundle's path is
// KELVO_UNIT_BUNDLE; the model's own tables and engine, linked in, are what the unit must
// answer with): registration, the meter block ('KCRM' for the rack models, 'KIRM' otherwise),
// the view factory (the rack one for the rack models), the bypass property on the model's
// Bypass ID, value strings, factory presets, state, and audio and meters equal to the
// engine's, allocation-free, bounded under hostile input.

#include "engine.h"
#include "model.h"
#include "presets/factory_preset.h"
#include "testing/allocation_counter.h"
#include "testing/unit_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

using unithost::Channels;
using unithost::Unit;

constexpr AudioUnitPropertyID kcrm = 0x4B43524D; // 'KCRM'
constexpr AudioUnitPropertyID kirm = 0x4B49524D; // 'KIRM'
constexpr bool rack = classic::model.subtype == classic::fourCharCode("Corv") ||
                      classic::model.subtype == classic::fourCharCode("Fenn");
constexpr bool compressor = classic::model.subtype == classic::fourCharCode("Fenn");
// The preamplifiers have no gain cell: their gain-reduction slots always read 0.
constexpr bool preamplifier = classic::model.subtype == classic::fourCharCode("Corv") ||
                              classic::model.subtype == classic::fourCharCode("Quor") ||
                              classic::model.subtype == classic::fourCharCode("Tolv");
// The model's meter property, and the one it must not answer.
constexpr AudioUnitPropertyID meterProperty = rack ? kcrm : kirm;
constexpr AudioUnitPropertyID otherMeterProperty = rack ? kirm : kcrm;
static_assert(classic::model.meterProperty == meterProperty);

AudioComponent modelComponent() {
    return unithost::component(KELVO_UNIT_BUNDLE, classic::model.subtype);
}

std::unique_ptr<Unit> open(double rate = 48000, UInt32 channels = 2) {
    return std::make_unique<Unit>(modelComponent(), rate, channels);
}

Channels programme(UInt32 channels, UInt32 frames, double level) {
    return unithost::signal(channels, frames, [level](UInt32 c, UInt32 i) {
        const double t = static_cast<double>(i) / 48000.0;
        const double burst = (i / 4800) % 2 ? 1.0 : 0.1;
        return level * burst *
               (std::sin(2 * M_PI * (220 + 110 * c) * t) + 0.3 * std::sin(2 * M_PI * 3100 * t));
    });
}

TEST(ModelUnit, RegistersItsComponentFromTheBundle) {
    ASSERT_NE(modelComponent(), nullptr);
    AudioComponentDescription description{};
    ASSERT_EQ(AudioComponentGetDescription(modelComponent(), &description), noErr);
    EXPECT_EQ(description.componentType, 0x61756678u); // 'aufx'
    EXPECT_EQ(description.componentSubType, classic::model.subtype);
    EXPECT_EQ(description.componentManufacturer, 0x4B766C6Fu); // 'Kvlo'
    auto unit = open(44100);
    Float64 latency = 0;
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_Latency, &latency, sizeof latency), noErr);
    EXPECT_DOUBLE_EQ(latency, 16.0 / 44100.0);
}

TEST(ModelUnit, MeterBlockIsServedUnderTheModelsPropertyOnly) {
    auto unit = open();
    UInt32 size = 0;
    Boolean writable = true;
    ASSERT_EQ(AudioUnitGetPropertyInfo(unit->unit(), meterProperty, kAudioUnitScope_Global, 0,
                                       &size, &writable),
              noErr);
    EXPECT_EQ(size, 32u);
    EXPECT_FALSE(writable);
    EXPECT_NE(AudioUnitGetPropertyInfo(unit->unit(), otherMeterProperty, kAudioUnitScope_Global, 0,
                                       &size, &writable),
              noErr);
    EXPECT_NE(AudioUnitGetPropertyInfo(unit->unit(), meterProperty, kAudioUnitScope_Input, 0, &size,
                                       &writable),
              noErr);
    const TelemetryBlock fresh = unit->meters(meterProperty);
    for (unsigned c = 0; c < 2; ++c) {
        EXPECT_EQ(fresh.input[c], -100.0f);
        EXPECT_EQ(fresh.output[c], -100.0f);
        EXPECT_EQ(fresh.gr[c], 0.0f);
        EXPECT_EQ(fresh.peak[c], -100.0f);
    }
}

TEST(ModelUnit, CocoaViewNamesTheViewFactoryInTheUnitsOwnBundle) {
    auto unit = open();
    AudioUnitCocoaViewInfo info{};
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_CocoaUI, &info, sizeof info), noErr);
    const std::string name = unithost::text(info.mCocoaAUViewClass[0]);
    EXPECT_EQ(name, classic::model.viewFactoryClass);
    const std::string model = classic::model.product + 5; // after "Kelvo"
    EXPECT_EQ(name, rack ? "KelvoRack" + model + "Factory" : "Kelvo" + model + "ViewFactory");
    ASSERT_NE(info.mCocoaAUViewBundleLocation, nullptr);
    UInt8 path[4096];
    ASSERT_TRUE(
        CFURLGetFileSystemRepresentation(info.mCocoaAUViewBundleLocation, true, path, sizeof path));
    std::string location(reinterpret_cast<const char*>(path));
    while (!location.empty() && location.back() == '/') {
        location.pop_back();
    }
    EXPECT_EQ(location.substr(location.rfind('/') + 1),
              std::string(classic::model.product) + ".component");
    CFRelease(info.mCocoaAUViewBundleLocation);
    CFRelease(info.mCocoaAUViewClass[0]);
}

TEST(ModelUnit, BypassPropertyFollowsTheModelsBypassParameter) {
    auto unit = open();
    const unsigned bypass = classic::model.bypassId;
    const UInt32 on = 1, off = 0;
    ASSERT_EQ(unit->setProperty(kAudioUnitProperty_BypassEffect, &on, sizeof on), noErr);
    EXPECT_EQ(unit->parameter(bypass), 1.0f);
    UInt32 state = 7;
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_BypassEffect, &state, sizeof state), noErr);
    EXPECT_EQ(state, 1u);
    ASSERT_EQ(unit->setParameter(bypass, 0), noErr);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_BypassEffect, &state, sizeof state), noErr);
    EXPECT_EQ(state, 0u);
    ASSERT_EQ(unit->setProperty(kAudioUnitProperty_BypassEffect, &off, sizeof off), noErr);
    EXPECT_EQ(unit->parameter(bypass), 0.0f);
}

// Captions exactly for the stepped selectors the model lists; every other ID is refused,
// also when only the size is asked for (no array is made then).
TEST(ModelUnit, ValueStringsOnlyForTheCaptionedSelectors) {
    auto unit = open();
    for (unsigned id = 0; id <= classic::parameterCount; ++id) {
        SCOPED_TRACE(id);
        unsigned count = 0;
        const char* const* captions =
            id < classic::parameterCount ? classic::choices(id, count) : nullptr;
        UInt32 size = 0;
        Boolean writable = false;
        const OSStatus info =
            AudioUnitGetPropertyInfo(unit->unit(), kAudioUnitProperty_ParameterValueStrings,
                                     kAudioUnitScope_Global, id, &size, &writable);
        CFArrayRef strings = nullptr;
        const OSStatus got = unit->getProperty(kAudioUnitProperty_ParameterValueStrings, &strings,
                                               sizeof strings, kAudioUnitScope_Global, id);
        if (captions == nullptr) {
            EXPECT_EQ(info, kAudioUnitErr_InvalidParameter);
            EXPECT_EQ(got, kAudioUnitErr_InvalidParameter);
            continue;
        }
        EXPECT_EQ(info, noErr);
        ASSERT_EQ(got, noErr);
        ASSERT_NE(strings, nullptr);
        ASSERT_EQ(CFArrayGetCount(strings), static_cast<CFIndex>(count));
        for (unsigned i = 0; i < count; ++i) {
            EXPECT_EQ(unithost::text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(strings, i))),
                      captions[i]);
        }
        CFRelease(strings);
        EXPECT_EQ(unit->getProperty(kAudioUnitProperty_ParameterValueStrings, &strings,
                                    sizeof strings, kAudioUnitScope_Input, id),
                  kAudioUnitErr_InvalidParameter);
    }
}

TEST(ModelUnit, FactoryPresetsListedAndApplied) {
    auto unit = open();
    CFArrayRef presets = nullptr;
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_FactoryPresets, &presets, sizeof presets),
              noErr);
    ASSERT_NE(presets, nullptr);
    ASSERT_EQ(CFArrayGetCount(presets), 9);
    const auto& table = classic::factoryPresets();
    for (CFIndex i = 0; i < 9; ++i) {
        const auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, i));
        EXPECT_EQ(preset->presetNumber, i);
        EXPECT_EQ(unithost::text(preset->presetName),
                  std::string(table[i].group) + " / " + table[i].name);
    }
    CFRelease(presets);
    for (SInt32 number : {5, 8}) {
        const AUPreset chosen{number, nullptr};
        ASSERT_EQ(unit->setProperty(kAudioUnitProperty_PresentPreset, &chosen, sizeof chosen),
                  noErr);
        for (unsigned id = 0; id < classic::parameterCount; ++id) {
            EXPECT_EQ(unit->parameter(id), table[number].values[id]) << number << " " << id;
        }
    }
    const AUPreset outside{9, nullptr};
    EXPECT_EQ(unit->setProperty(kAudioUnitProperty_PresentPreset, &outside, sizeof outside),
              kAudioUnitErr_InvalidPropertyValue);
}

TEST(ModelUnit, StateRoundTripsAndAnotherModelsStateIsRefused) {
    auto unit = open();
    const classic::Values& preset = classic::factoryPresets()[6].values;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        ASSERT_EQ(unit->setParameter(id, preset[id]), noErr);
    }
    CFPropertyListRef state = nullptr;
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_ClassInfo, &state, sizeof state), noErr);
    ASSERT_NE(state, nullptr);

    auto fresh = open();
    ASSERT_EQ(fresh->setProperty(kAudioUnitProperty_ClassInfo, &state, sizeof state), noErr);
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        EXPECT_EQ(fresh->parameter(id), preset[id]) << id;
    }

    // The same dictionary under another subtype: refused, nothing changed.
    const CFMutableDictionaryRef other =
        CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(state));
    const SInt32 tolvar = 0x546F6C76; // 'Tolv'
    const CFNumberRef number = CFNumberCreate(nullptr, kCFNumberSInt32Type, &tolvar);
    CFDictionarySetValue(other, CFSTR("subtype"), number);
    CFRelease(number);
    auto untouched = open();
    CFPropertyListRef otherState = other;
    EXPECT_EQ(untouched->setProperty(kAudioUnitProperty_ClassInfo, &otherState, sizeof otherState),
              kAudioUnitErr_InvalidPropertyValue);
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        EXPECT_EQ(untouched->parameter(id), classic::definitions[id].defaultValue) << id;
    }
    CFRelease(other);
    CFRelease(state);
}

// The unit renders exactly the engine's samples and publishes its meters, gain reduction
// included (the compressor's G, 0 for the preamp); in stereo and mono, in odd block sizes.
TEST(ModelUnit, AudioAndMetersAreTheEnginesInStereoAndMono) {
    for (UInt32 channels : {2u, 1u}) {
        for (unsigned p : {0u, 5u, 6u}) {
            SCOPED_TRACE(std::to_string(channels) + " channels, preset " + std::to_string(p));
            const classic::Values& values = classic::factoryPresets()[p].values;
            auto unit = open(48000, channels);
            for (unsigned id = 0; id < classic::parameterCount; ++id) {
                ASSERT_EQ(unit->setParameter(id, values[id]), noErr);
            }
            ASSERT_EQ(AudioUnitReset(unit->unit(), kAudioUnitScope_Global, 0), noErr);
            const Channels input = programme(channels, 9600, 0.8);
            const Channels output = unit->render(input, 333);
            ASSERT_EQ(unit->lastStatus(), noErr);

            auto engine = std::make_unique<classic::Engine>();
            engine->prepare(48000, values.data());
            for (UInt32 i = 0; i < 9600; ++i) {
                const double right = channels == 2 ? input[1][i] : input[0][i];
                const classic::Stereo y = engine->tick(input[0][i], right, channels);
                ASSERT_EQ(output[0][i], static_cast<float>(y.first)) << i;
                if (channels == 2) {
                    ASSERT_EQ(output[1][i], static_cast<float>(y.second)) << i;
                }
            }
            const TelemetryBlock meters = unit->meters(meterProperty);
            for (unsigned c = 0; c < 2; ++c) {
                EXPECT_EQ(meters.gr[c], static_cast<float>(engine->frame.gainReduction[c]));
                EXPECT_NEAR(meters.output[c],
                            10 * std::log10(std::max(engine->frame.outputMeanSquare[c], 1e-24)),
                            1e-3);
            }
            if (compressor) {
                EXPECT_GT(meters.gr[0], 1.0f);
            } else if (preamplifier) {
                EXPECT_EQ(meters.gr[0], 0.0f);
                EXPECT_EQ(meters.gr[1], 0.0f);
            }
        }
    }
}

TEST(ModelUnit, RenderAllocatesNothing) {
    auto unit = open();
    const Channels input = programme(2, 4096, 0.5);
    Channels output = unit->render(input, 512); // the first render outside the scope
    kelvo::testing::AllocationScope scope;
    unit->renderInto(input, output, 512);
    unit->renderInto(input, output, 100);
    EXPECT_EQ(scope.count(), 0u);
    EXPECT_EQ(unit->lastStatus(), noErr);
}

TEST(ModelUnit, BoundedAndFiniteForHostileInputsAtEveryPreset) {
    const UInt32 frames = 4800;
    const Channels inputs[] = {
        unithost::signal(2, frames, [](UInt32, UInt32 i) { return (i / 37) % 2 ? 1.0 : -1.0; }),
        unithost::signal(2, frames, [](UInt32, UInt32) { return 1.0; }),
        unithost::signal(2, frames, [](UInt32, UInt32 i) { return i % 3 ? 0.9 : NAN; }),
        unithost::signal(
            2, frames,
            [](UInt32 c, UInt32 i) { return i % 5 ? -0.9 : (c ? -INFINITY : INFINITY); }),
    };
    for (unsigned p = 0; p < 9; ++p) {
        auto unit = open();
        const AUPreset chosen{static_cast<SInt32>(p), nullptr};
        ASSERT_EQ(unit->setProperty(kAudioUnitProperty_PresentPreset, &chosen, sizeof chosen),
                  noErr);
        for (const Channels& input : inputs) {
            const Channels output = unit->render(input);
            ASSERT_EQ(unit->lastStatus(), noErr);
            for (const auto& channel : output) {
                for (float s : channel) {
                    ASSERT_TRUE(std::isfinite(s)) << p;
                    ASSERT_LT(std::fabs(s), 16.0f) << p;
                }
            }
            const TelemetryBlock meters = unit->meters(meterProperty);
            for (unsigned c = 0; c < 2; ++c) {
                EXPECT_TRUE(std::isfinite(meters.output[c]) && std::isfinite(meters.peak[c]));
                EXPECT_GE(meters.gr[c], 0.0f);
            }
        }
    }
}

} // namespace
