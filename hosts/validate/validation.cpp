#include "validation.h"

#include "render_thread.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace kelvohost {

const char* signalName(Signal signal) {
    switch (signal) {
    case Signal::noise:
        return "noise";
    case Signal::fullScale:
        return "full-scale";
    case Signal::dc:
        return "DC";
    case Signal::silence:
        return "silence";
    }
    return "?";
}

std::vector<std::vector<float>> makeSignal(Signal signal, unsigned channels, std::size_t frames,
                                           double sampleRate) {
    std::vector<std::vector<float>> samples(channels, std::vector<float>(frames, 0.0f));
    std::uint32_t state = 0x9E3779B9u;
    for (unsigned c = 0; c < channels; ++c) {
        for (std::size_t i = 0; i < frames; ++i) {
            float value = 0.0f;
            switch (signal) {
            case Signal::noise:
                state = state * 1664525u + 1013904223u;
                value = static_cast<float>(static_cast<double>(state) / 4294967296.0 * 2.0 - 1.0);
                break;
            case Signal::fullScale: {
                // A full-scale square wave near 1 kHz (kept below Nyquist at every rate).
                const double period = std::max(2.0, std::round(sampleRate / 1000.0));
                value = std::fmod(static_cast<double>(i), period) < period / 2.0 ? 1.0f : -1.0f;
                break;
            }
            case Signal::dc:
                value = c == 0 ? 1.0f : -1.0f;
                break;
            case Signal::silence:
                break;
            }
            samples[c][i] = value;
        }
    }
    return samples;
}

std::vector<std::vector<float>> makeNonFiniteSignal(unsigned channels, std::size_t frames) {
    auto samples = makeSignal(Signal::noise, channels, frames, 48000.0);
    constexpr std::size_t spacing = 97; // prime, so the bad samples fall anywhere in a block
    for (unsigned c = 0; c < channels; ++c) {
        for (std::size_t i = c; i < frames; i += spacing) {
            const std::size_t k = i / spacing + c;
            samples[c][i] = k % 3 == 0   ? std::numeric_limits<float>::quiet_NaN()
                            : k % 3 == 1 ? std::numeric_limits<float>::infinity()
                                         : -std::numeric_limits<float>::infinity();
        }
    }
    return samples;
}

void SampleScan::scan(const float* samples, std::size_t count) noexcept {
    for (std::size_t i = 0; i < count; ++i) {
        const float x = samples[i];
        const int kind = std::fpclassify(x);
        if (kind == FP_NAN || kind == FP_INFINITE) {
            if (clean()) {
                firstBad = x;
            }
            ++nonFinite;
        } else {
            peak = std::max(peak, std::fabs(x));
            if (kind == FP_SUBNORMAL) {
                if (clean()) {
                    firstBad = x;
                }
                ++subnormal;
            }
        }
    }
}

std::string SampleScan::describe() const {
    if (clean()) {
        return "all samples finite and normal";
    }
    return std::to_string(nonFinite) + " non-finite and " + std::to_string(subnormal) +
           " subnormal samples (first " + std::to_string(firstBad) + ")";
}

std::string statusText(OSStatus status) {
    return "status " + std::to_string(status);
}

std::string RenderResult::describe() const {
    if (status != noErr) {
        return "AudioUnitRender failed at frame " + std::to_string(failedAt) + " with " +
               statusText(status);
    }
    return scan.describe();
}

std::unique_ptr<HostedUnit> openUnit(Validation& validation, double sampleRate, unsigned channels,
                                     UInt32 maximumFrames, std::string* failure) {
    std::string reason;
    std::unique_ptr<HostedUnit> unit;
    try {
        unit = std::make_unique<HostedUnit>(validation.component);
        if (const OSStatus status = unit->configure(sampleRate, channels, maximumFrames);
            status != noErr) {
            reason = "configuring formats failed with " + statusText(status);
        } else if (const OSStatus initialized = unit->initialize(); initialized != noErr) {
            reason = "AudioUnitInitialize failed with " + statusText(initialized);
        }
    } catch (const std::exception& error) {
        reason = error.what();
    }
    if (reason.empty()) {
        return unit;
    }
    if (failure != nullptr) {
        *failure = reason;
    }
    return nullptr;
}

RenderResult renderOnThread(HostedUnit& unit, const std::vector<std::vector<float>>& input,
                            UInt32 block, bool keepOutput) {
    RenderResult result;
    const unsigned channels = unit.channels();
    const std::size_t frames = input.empty() ? 0 : input.front().size();
    std::vector<std::vector<float>> output(channels, std::vector<float>(frames, 0.0f));

    runOnRenderThread([&]() noexcept {
        std::array<const float*, 8> in{};
        std::array<float*, 8> out{};
        for (std::size_t start = 0; start < frames; start += block) {
            const auto count = static_cast<UInt32>(std::min<std::size_t>(block, frames - start));
            for (unsigned c = 0; c < channels && c < in.size(); ++c) {
                in[c] = c < input.size() ? input[c].data() + start : nullptr;
                out[c] = output[c].data() + start;
            }
            const OSStatus status = unit.render(in.data(), out.data(), count);
            if (status != noErr) {
                result.status = status;
                result.failedAt = start;
                return;
            }
            for (unsigned c = 0; c < channels; ++c) {
                result.scan.scan(out[c], count);
            }
        }
    });
    if (keepOutput) {
        result.output = std::move(output);
    }
    return result;
}

std::vector<std::pair<unsigned, unsigned>> declaredConfigurations(const HostedUnit& unit) {
    // Negative counts are wildcards: -1 on both sides means any count, the same on both; any
    // other negative side takes any count up to the most the checks try.
    std::vector<std::pair<unsigned, unsigned>> pairs;
    const auto add = [&pairs](unsigned in, unsigned out) {
        if (std::find(pairs.begin(), pairs.end(), std::pair{in, out}) == pairs.end()) {
            pairs.emplace_back(in, out);
        }
    };
    for (const AUChannelInfo& info : unit.supportedChannels()) {
        const SInt16 in = info.inChannels;
        const SInt16 out = info.outChannels;
        for (unsigned a = 1; a <= mostChannelsTried; ++a) {
            for (unsigned b = 1; b <= mostChannelsTried; ++b) {
                const bool inMatches = in < 0 || static_cast<unsigned>(in) == a;
                const bool outMatches = out < 0 || static_cast<unsigned>(out) == b;
                const bool sameRequired = in == -1 && out == -1;
                if (inMatches && outMatches && (!sameRequired || a == b)) {
                    add(a, b);
                }
            }
        }
    }
    return pairs;
}

} // namespace kelvohost
