#include "sample_cases.h"

#include "host_error.h"
#include "hosted_unit.h"
#include "parameter_lookup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>

namespace kelvohost {
namespace {

// Each model with the two factory presets that work it hardest: the most drive or gain
// reduction, and a second that takes another road (parallel mix, shimmer, the equaliser, the
// output tap, the limiter).
struct ModelPresets {
    const char* model;
    std::array<const char*, 2> presets;
};
constexpr std::array<ModelPresets, 8> modelPresets{{
    {"tolvar", {"Tube Edge", "Analog Shimmer"}},
    {"opalin", {"Room Leveler", "Steady Bass"}},
    {"mireth", {"Room Hold", "Dense Leveler"}},
    {"vantor", {"Tight Crush", "Attack and Weight"}},
    {"elvane", {"Room Clamp", "Dense Broadcast"}},
    {"quorin", {"Pad and Drive", "Output Tap Drive"}},
    {"corvel", {"Preamp Push", "Snare Bite"}},
    {"fennic", {"Drum Crush", "All Buttons Room"}},
}};

constexpr std::array<unsigned, 2> rates{44100, 96000};
constexpr std::array<unsigned, 2> channelCounts{1, 2};
constexpr UInt32 blockFrames = 512;

std::string slug(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

std::string SampleCase::name() const {
    return model + "/" + (preset.empty() ? "default" : slug(preset)) + "/" + std::to_string(rate) +
           "/" + (channels == 1 ? "mono" : "stereo");
}

std::vector<SampleCase> sampleCases() {
    std::vector<SampleCase> cases;
    for (const ModelPresets& entry : modelPresets) {
        for (const char* preset : {"", entry.presets[0], entry.presets[1]}) {
            for (const unsigned rate : rates) {
                for (const unsigned channels : channelCounts) {
                    cases.push_back({entry.model, preset, rate, channels});
                }
            }
        }
    }
    return cases;
}

std::vector<std::string> sampleModels() {
    std::vector<std::string> models;
    for (const ModelPresets& entry : modelPresets) {
        models.emplace_back(entry.model);
    }
    return models;
}

Channels testSignal(unsigned rate, unsigned channels) {
    const unsigned frames = rate / 10;
    const unsigned loudEnd = frames * 2 / 5;
    const unsigned quietEnd = frames * 3 / 4;
    constexpr std::array<std::uint64_t, 2> frequencies{220, 331}; // Hz, one per channel
    constexpr std::array<std::uint32_t, 2> seeds{0x9E3779B9u, 0x7F4A7C15u};
    Channels out(channels, std::vector<float>(frames));
    for (unsigned c = 0; c < channels; ++c) {
        const auto step = static_cast<std::uint32_t>((frequencies[c] << 32) / rate);
        std::uint32_t phase = 0;
        std::uint32_t noise = seeds[c];
        for (unsigned i = 0; i < frames; ++i) {
            // Both in Q31: the triangle from the phase's distance to its middle, the noise from
            // xorshift32.
            const std::int64_t triangle =
                2 * std::llabs(static_cast<std::int32_t>(phase)) - (std::int64_t{1} << 31);
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const std::int64_t mix = (3 * triangle + static_cast<std::int32_t>(noise)) / 4;
            // 29/32 is -0.86 dB; a further 1/16 is 24 dB down.
            const std::int64_t value = i < loudEnd    ? mix * 29 / 32
                                       : i < quietEnd ? mix * 29 / 512
                                                      : 0;
            out[c][i] = static_cast<float>(static_cast<double>(value) * 0x1p-31);
            phase += step;
        }
    }
    return out;
}

Channels renderCase(const LoadedComponent& component, const SampleCase& sampleCase) {
    const Channels input = testSignal(sampleCase.rate, sampleCase.channels);
    const auto frames = static_cast<UInt32>(input.front().size());
    Channels output(sampleCase.channels, std::vector<float>(frames));

    HostedUnit unit(component);
    if (const OSStatus status = unit.configure(sampleCase.rate, sampleCase.channels, blockFrames);
        status != noErr) {
        throw UnitError("configuring " + sampleCase.name(), status);
    }
    if (!sampleCase.preset.empty()) {
        const std::vector<PresetDescription> presets = unit.factoryPresets();
        const PresetDescription& preset = findPreset(presets, sampleCase.preset);
        if (const OSStatus status = unit.selectPreset(preset.number, preset.name);
            status != noErr) {
            throw UnitError("selecting the preset of " + sampleCase.name(), status);
        }
    }
    if (const OSStatus status = unit.initialize(); status != noErr) {
        throw UnitError("AudioUnitInitialize for " + sampleCase.name(), status);
    }
    for (UInt32 done = 0; done < frames;) {
        const UInt32 count = std::min(blockFrames, frames - done);
        std::array<const float*, 2> in{};
        std::array<float*, 2> out{};
        for (unsigned c = 0; c < sampleCase.channels; ++c) {
            in[c] = input[c].data() + done;
            out[c] = output[c].data() + done;
        }
        if (const OSStatus status = unit.render(in.data(), out.data(), count); status != noErr) {
            throw UnitError("AudioUnitRender for " + sampleCase.name(), status);
        }
        done += count;
    }
    return output;
}

} // namespace kelvohost
