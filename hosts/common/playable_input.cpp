#include "playable_input.h"

#include "host_error.h"
#include "parameter_lookup.h"

namespace kelvohost {
namespace {

bool supports(const std::vector<AUChannelInfo>& configurations, unsigned channels) {
    for (const auto& configuration : configurations) {
        const auto matches = [channels](SInt16 count) {
            return count < 0 || static_cast<unsigned>(count) == channels;
        };
        if (matches(configuration.inChannels) && matches(configuration.outChannels)) {
            return true;
        }
    }
    return configurations.empty();
}

} // namespace

std::string channelWord(unsigned channels) {
    return channels == 1   ? "mono"
           : channels == 2 ? "stereo"
                           : std::to_string(channels) + " channels";
}

std::string channelText(const std::vector<AUChannelInfo>& configurations) {
    std::string text;
    for (const auto& configuration : configurations) {
        const auto side = [](SInt16 count) {
            return count < 0 ? std::string("any") : std::to_string(count);
        };
        text += (text.empty() ? "" : ", ") + side(configuration.inChannels) + " in " +
                side(configuration.outChannels) + " out";
    }
    return text.empty() ? "not declared" : text;
}

void configureForInput(HostedUnit& unit, const std::string& product, const std::string& inputName,
                       double sampleRate, unsigned channels, UInt32 maximumFrames) {
    if (channels > 2) {
        throw InputError(inputName + " has " + std::to_string(channels) +
                         " channels; the units take mono or stereo");
    }
    if (!supports(unit.supportedChannels(), channels)) {
        throw InputError(product + " does not take " + channelWord(channels) + " audio (it takes " +
                         channelText(unit.supportedChannels()) + ")");
    }
    if (const OSStatus status = unit.configure(sampleRate, channels, maximumFrames);
        status != noErr) {
        throw InputError(product + " refuses " + channelWord(channels) + " audio at " +
                         formatNumber(sampleRate) + " Hz (status " + std::to_string(status) + ")");
    }
}

void initializeForInput(HostedUnit& unit, const std::string& product) {
    if (const OSStatus status = unit.initialize(); status != noErr) {
        throw InputError(product + " refuses a sample rate of " + formatNumber(unit.sampleRate()) +
                         " Hz with " + channelWord(unit.channels()) + " audio (status " +
                         std::to_string(status) + ")");
    }
}

} // namespace kelvohost
