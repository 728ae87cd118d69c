#pragma once
// Shared pieces of the validation checks: the unit under test, test signals, and rendering a
// signal through a unit on a render thread while scanning the output.

#include "component_loader.h"
#include "hosted_unit.h"
#include "report.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kelvohost {

struct Validation {
    const LoadedComponent& component;
    Report& report;
    bool kelvo = false; // the unit is one of ours: also check the suite's own conventions
};

enum class Signal { noise, fullScale, dc, silence };
inline constexpr Signal allSignals[] = {Signal::noise, Signal::fullScale, Signal::dc,
                                        Signal::silence};
const char* signalName(Signal signal);

// channels × frames of the signal (deterministic).
std::vector<std::vector<float>> makeSignal(Signal signal, unsigned channels, std::size_t frames,
                                           double sampleRate);

// Noise with NaN and infinite samples strewn through it.
std::vector<std::vector<float>> makeNonFiniteSignal(unsigned channels, std::size_t frames);

// Counts of samples a unit must never produce.
struct SampleScan {
    std::size_t nonFinite = 0;
    std::size_t subnormal = 0;
    float firstBad = 0.0f;
    float peak = 0.0f; // largest magnitude among the finite samples

    void scan(const float* samples, std::size_t count) noexcept;
    bool clean() const { return nonFinite == 0 && subnormal == 0; }
    std::string describe() const;
};

// A new instance configured for rate and channels with maximumFrames, initialised. Reports a
// failure and returns null when any step fails.
std::unique_ptr<HostedUnit> openUnit(Validation& validation, double sampleRate, unsigned channels,
                                     UInt32 maximumFrames, std::string* failure = nullptr);

struct RenderResult {
    OSStatus status = noErr;
    std::size_t failedAt = 0;
    SampleScan scan;
    std::vector<std::vector<float>> output; // kept when asked for
    bool ok() const { return status == noErr && scan.clean(); }
    std::string describe() const;
};

// Renders input (channels × frames) through the unit in blocks of block frames on a render
// thread of its own, scanning every output sample.
// [main thread]
RenderResult renderOnThread(HostedUnit& unit, const std::vector<std::vector<float>>& input,
                            UInt32 block, bool keepOutput = false);

std::string statusText(OSStatus status);

// Channel counts the configuration checks try on each side.
inline constexpr unsigned mostChannelsTried = 8;

// The channel configurations the unit declares, as (in, out) pairs with counts from 1 to
// mostChannelsTried.
std::vector<std::pair<unsigned, unsigned>> declaredConfigurations(const HostedUnit& unit);

// Check groups, in the order the report shows them.
void checkComponent(Validation& validation);
void checkLifecycle(Validation& validation);
void checkChannelConfigurations(Validation& validation);
void checkRatesAndBlocks(Validation& validation);
void checkMaximumFrames(Validation& validation);
void checkParameters(Validation& validation);
void checkAutomation(Validation& validation);
void checkClassInfo(Validation& validation);
void checkReset(Validation& validation);
void checkFactoryPresets(Validation& validation);
void checkRenderAllocations(Validation& validation);
void checkSuiteConventions(Validation& validation);

} // namespace kelvohost
