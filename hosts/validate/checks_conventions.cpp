// What every unit of the suite promises beyond the platform's contract: 16 frames of latency
// and a 0.2 s tail, the sample-rate range, the meter block, nine factory presets starting with
// "Studio Start", the normalise rule on every value, bypass as a latency-aligned dry path,
// silence in giving silence out, finite output for non-finite input, and automation queued
// before a Reset being dropped.

#include "parameter_lookup.h"
#include "render_thread.h"
#include "validation.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace kelvohost {
namespace {

constexpr double latencyFrames = 16.0;
constexpr double tailSeconds = 0.2;
constexpr unsigned factoryPresetCount = 9;

const ParameterDescription* named(const std::vector<ParameterDescription>& parameters,
                                  const std::string& name) {
    for (const auto& p : parameters) {
        if (p.name == name) {
            return &p;
        }
    }
    return nullptr;
}

std::string meterText(const Meters& m) {
    std::string text;
    for (const float v : {m.input[0], m.input[1], m.output[0], m.output[1], m.gr[0], m.gr[1],
                          m.peak[0], m.peak[1]}) {
        text += (text.empty() ? "" : ", ") + formatNumber(v);
    }
    return text;
}

void checkRatesAndLatency(Validation& validation) {
    Report& report = validation.report;
    std::string latencyFailure;
    for (const double rate : {8000.0, 44100.0, 48000.0, 96000.0, 192000.0}) {
        std::string reason;
        const auto unit = openUnit(validation, rate, 2, 512, &reason);
        if (!unit) {
            latencyFailure += formatNumber(rate) + " Hz: " + reason + "; ";
            continue;
        }
        const double frames = unit->latencySeconds() * rate;
        const double tail = unit->tailSeconds();
        if (std::fabs(frames - latencyFrames) > 1e-9 || std::fabs(tail - tailSeconds) > 1e-12) {
            latencyFailure += formatNumber(rate) + " Hz: " + formatNumber(frames) +
                              " frames, tail " + formatNumber(tail) + " s; ";
        }
    }
    report.check(latencyFailure.empty(),
                 "latency is 16 frames and the tail 0.2 s at 8000 to 192000 Hz", latencyFailure);

    std::string rangeFailure;
    for (const double rate : {7999.0, 192001.0, 4000.0}) {
        HostedUnit unit(validation.component);
        const OSStatus configured = unit.configure(rate, 2, 512);
        const OSStatus status = configured == noErr ? unit.initialize() : configured;
        if (status != kAudioUnitErr_FormatNotSupported) {
            rangeFailure += formatNumber(rate) + " Hz gave " + statusText(status) + "; ";
        }
    }
    report.check(rangeFailure.empty(),
                 "7999, 192001 and 4000 Hz are refused with -10868 (format not supported)",
                 rangeFailure);
}

void checkMetersAndPresets(Validation& validation) {
    Report& report = validation.report;
    HostedUnit unit(validation.component);
    const AudioUnitPropertyID id = unit.meterPropertyID();
    UInt32 size = 0;
    Boolean writable = true;
    const OSStatus info = id == 0
                              ? kAudioUnitErr_InvalidProperty
                              : AudioUnitGetPropertyInfo(unit.handle(), id, kAudioUnitScope_Global,
                                                         0, &size, &writable);
    report.check(info == noErr && size == 32 && !writable,
                 "the meter property ('KIRM', or 'KCRM' for the rack series) is 32 bytes, "
                 "read-only",
                 id == 0 ? "neither property answers" : statusText(info));
    const auto meters = unit.meters();
    const Meters constructed{
        {-100.0f, -100.0f}, {-100.0f, -100.0f}, {0.0f, 0.0f}, {-100.0f, -100.0f}};
    report.check(meters && std::memcmp(&*meters, &constructed, sizeof constructed) == 0,
                 "after construction the meters read -100, -100, -100, -100, 0, 0, -100, -100",
                 meters ? meterText(*meters) : "no meter block");

    const auto presets = unit.factoryPresets();
    report.check(presets.size() == factoryPresetCount &&
                     presets.front().name == "Start / Studio Start",
                 "nine factory presets, the first \"Start / Studio Start\"",
                 std::to_string(presets.size()) + " presets" +
                     (presets.empty() ? "" : ", the first '" + presets.front().name + "'"));
    const auto present = unit.presentPreset();
    report.check(present && present->number == 0 && present->name == "Studio Start",
                 "after construction the present preset is 0, \"Studio Start\"",
                 present ? std::to_string(present->number) + " '" + present->name + "'"
                         : "no present preset");
}

void checkNormalising(Validation& validation, HostedUnit& unit,
                      const std::vector<ParameterDescription>& parameters) {
    Report& report = validation.report;
    std::string failure;
    for (const auto& p : parameters) {
        float before = NAN;
        unit.getParameter(p.id, before);
        const OSStatus nan = unit.setParameter(p.id, std::numeric_limits<float>::quiet_NaN());
        const OSStatus inf = unit.setParameter(p.id, std::numeric_limits<float>::infinity());
        float after = NAN;
        unit.getParameter(p.id, after);
        if (nan != kAudioUnitErr_InvalidParameterValue ||
            inf != kAudioUnitErr_InvalidParameterValue || after != before) {
            failure += p.name + " (" + statusText(nan) + ") ";
        }
        float high = NAN;
        float low = NAN;
        unit.setParameter(p.id, p.maximum + 1000.0f);
        unit.getParameter(p.id, high);
        unit.setParameter(p.id, p.minimum - 1000.0f);
        unit.getParameter(p.id, low);
        if (high != p.maximum || low != p.minimum) {
            failure += p.name + " clamps to " + formatNumber(low) + ".." + formatNumber(high) + " ";
        }
        if (p.isStepped() && p.maximum - p.minimum >= 1.0f) {
            float rounded = NAN;
            unit.setParameter(p.id, p.minimum + 0.6f);
            unit.getParameter(p.id, rounded);
            if (rounded != p.minimum + 1.0f) {
                failure += p.name + " rounds " + formatNumber(p.minimum + 0.6f) + " to " +
                           formatNumber(rounded) + " ";
            }
        }
        unit.setParameter(p.id, p.defaultValue);
    }
    report.check(failure.empty(),
                 "non-finite values are refused with -66743; out-of-range values clamp; stepped "
                 "values round",
                 failure);
}

void checkBypassAndSilence(Validation& validation,
                           const std::vector<ParameterDescription>& parameters) {
    Report& report = validation.report;
    const ParameterDescription* bypass = named(parameters, "Bypass");
    const ParameterDescription* shimmer = named(parameters, "Analog Shimmer");
    constexpr std::size_t frames = 8192;
    const auto noise = makeSignal(Signal::noise, 2, frames, 48000.0);

    if (bypass == nullptr) {
        report.skip("bypass", "no parameter named Bypass");
    } else {
        // Bypass set before initialising: the unit starts on its dry path.
        std::string reason;
        HostedUnit unit(validation.component);
        unit.configure(48000.0, 2, 512);
        unit.setParameter(bypass->id, 1.0f);
        const OSStatus initialized = unit.initialize();
        const RenderResult result =
            initialized == noErr ? renderOnThread(unit, noise, 512, true) : RenderResult{};
        double worst = initialized == noErr && result.ok() ? 0.0 : INFINITY;
        for (unsigned c = 0; c < 2 && std::isfinite(worst); ++c) {
            for (std::size_t i = 0; i < frames; ++i) {
                const double expected = i < 16 ? 0.0 : noise[c][i - 16];
                worst = std::max(worst, std::fabs(result.output[c][i] - expected));
            }
        }
        report.check(worst <= 1e-6, "with Bypass 1 the output is the input delayed by 16 frames",
                     initialized != noErr ? statusText(initialized)
                                          : "largest difference " + formatNumber(worst));

        UInt32 on = 1;
        const OSStatus set = AudioUnitSetProperty(unit.handle(), kAudioUnitProperty_BypassEffect,
                                                  kAudioUnitScope_Global, 0, &on, sizeof on);
        UInt32 readBack = 0;
        UInt32 size = sizeof readBack;
        AudioUnitGetProperty(unit.handle(), kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global,
                             0, &readBack, &size);
        UInt32 off = 0;
        unit.setParameter(bypass->id, 0.0f);
        UInt32 readOff = 1;
        AudioUnitGetProperty(unit.handle(), kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global,
                             0, &readOff, &size);
        const OSStatus hostOn = AudioUnitSetProperty(unit.handle(), kAudioUnitProperty_BypassEffect,
                                                     kAudioUnitScope_Global, 0, &on, sizeof on);
        float parameter = 0.0f;
        unit.getParameter(bypass->id, parameter);
        AudioUnitSetProperty(unit.handle(), kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global,
                             0, &off, sizeof off);
        float parameterOff = 1.0f;
        unit.getParameter(bypass->id, parameterOff);
        report.check(set == noErr && readBack == 1 && readOff == 0 && hostOn == noErr &&
                         parameter == 1.0f && parameterOff == 0.0f,
                     "the BypassEffect property follows the Bypass parameter and sets it, also "
                     "after the parameter changed it",
                     "property " + std::to_string(readBack) + "/" + std::to_string(readOff) +
                         ", parameter " + formatNumber(parameter) + "/" +
                         formatNumber(parameterOff));
    }

    if (shimmer != nullptr && shimmer->defaultValue != 0.0f) {
        report.skip("silence in, silence out", "Analog Shimmer is not 0 by default");
    } else {
        std::string reason;
        const auto unit = openUnit(validation, 48000.0, 2, 512, &reason);
        const RenderResult result =
            unit ? renderOnThread(*unit, makeSignal(Signal::silence, 2, frames, 48000.0), 512, true)
                 : RenderResult{};
        std::size_t nonZero = 0;
        for (const auto& channel : result.output) {
            for (const float x : channel) {
                nonZero += x != 0.0f;
            }
        }
        report.check(unit && result.ok() && !result.output.empty() && nonZero == 0,
                     "silence in gives exactly 0 out at the defaults",
                     unit ? std::to_string(nonZero) + " samples not 0" : reason);
    }
}

// At every factory preset, hard inputs give finite output within a generous bound: the units'
// stages saturate, and their largest make-up and trim gains stay far below it.
void checkPresetsUnderStress(Validation& validation) {
    Report& report = validation.report;
    constexpr float bound = 32.0f; // +30 dBFS
    constexpr std::size_t frames = 16384;
    std::string reason;
    const auto unit = openUnit(validation, 48000.0, 2, 512, &reason);
    if (!unit) {
        report.check(false, "a stereo instance at 48000 Hz initialises", reason);
        return;
    }
    const std::vector<std::pair<const char*, std::vector<std::vector<float>>>> inputs = {
        {"full-scale", makeSignal(Signal::fullScale, 2, frames, 48000.0)},
        {"DC", makeSignal(Signal::dc, 2, frames, 48000.0)},
        {"NaN and infinite", makeNonFiniteSignal(2, frames)},
    };
    std::string failure;
    float loudest = 0.0f;
    for (const auto& preset : unit->factoryPresets()) {
        for (const auto& [name, input] : inputs) {
            unit->selectPreset(preset.number, preset.name);
            const RenderResult result = renderOnThread(*unit, input, 512);
            loudest = std::max(loudest, result.scan.peak);
            if (!result.ok() || result.scan.peak > bound) {
                failure +=
                    "'" + preset.name + "' with " + name + ": " +
                    (result.ok() ? "peak " + formatNumber(result.scan.peak) : result.describe()) +
                    "; ";
            }
        }
    }
    char loudestText[32];
    std::snprintf(loudestText, sizeof loudestText, "%+.1f",
                  20.0 * std::log10(std::max(loudest, 1e-10f)));
    report.check(failure.empty(),
                 "at every factory preset, full-scale, DC, NaN and infinite input give finite "
                 "output below +30 dBFS (loudest " +
                     std::string(loudestText) + " dBFS)",
                 failure);
}

void checkQueuedAutomation(Validation& validation,
                           const std::vector<ParameterDescription>& parameters) {
    Report& report = validation.report;
    std::string reason;
    const auto unit = openUnit(validation, 48000.0, 2, 512, &reason);
    if (!unit || parameters.empty()) {
        report.check(false, "a stereo instance at 48000 Hz initialises", reason);
        return;
    }
    const ParameterDescription& p = parameters.front();
    const float other = p.defaultValue == p.maximum ? p.minimum : p.maximum;
    const auto noise = makeSignal(Signal::noise, 2, 512, 48000.0);
    const auto read = [&] {
        float value = NAN;
        unit->getParameter(p.id, value);
        return value;
    };

    unit->setParameter(p.id, other, 100);
    AudioUnitReset(unit->handle(), kAudioUnitScope_Global, 0);
    renderOnThread(*unit, noise, 512);
    report.check(read() == p.defaultValue, "a value queued at an offset before Reset is dropped",
                 p.name + " reads " + formatNumber(read()));

    unit->setParameter(p.id, other, 1000);
    renderOnThread(*unit, noise, 512);
    const float afterFirst = read();
    renderOnThread(*unit, noise, 512);
    report.check(afterFirst == p.defaultValue && read() == other,
                 "a value at offset 1000 takes effect in the second 512-frame buffer",
                 formatNumber(afterFirst) + " then " + formatNumber(read()));

    float zeroFrames = NAN;
    OSStatus zero = noErr;
    runOnRenderThread([&]() noexcept { zero = unit->render(nullptr, nullptr, 0); });
    unit->getParameter(p.id, zeroFrames);
    report.check(zero == noErr, "a render of 0 frames succeeds", statusText(zero));
}

} // namespace

void checkSuiteConventions(Validation& validation) {
    Report& report = validation.report;
    report.section("Suite conventions (Kelvo units)");
    try {
        checkRatesAndLatency(validation);
        checkMetersAndPresets(validation);
        std::string reason;
        const auto unit = openUnit(validation, 48000.0, 2, 512, &reason);
        if (!unit) {
            report.check(false, "a stereo instance at 48000 Hz initialises", reason);
            return;
        }
        const auto parameters = unit->parameters();
        checkNormalising(validation, *unit, parameters);
        checkBypassAndSilence(validation, parameters);
        checkQueuedAutomation(validation, parameters);
        checkPresetsUnderStress(validation);
    } catch (const std::exception& error) {
        report.check(false, "the suite's checks run", error.what());
    }
}

} // namespace kelvohost
