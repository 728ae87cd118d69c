#pragma once
// Whether a unit can play an input: the checks every program makes as it opens a unit for a
// sound file, each refusal an InputError whose one line says why.

#include "hosted_unit.h"

#include <string>
#include <vector>

namespace kelvohost {

// "mono", "stereo", "8 channels"
std::string channelWord(unsigned channels);

// "1 in 1 out, 2 in 2 out"
std::string channelText(const std::vector<AUChannelInfo>& configurations);

// [main thread] Configures the unit (HostedUnit::configure) for an input of that rate and
// channel count. Throws InputError when the input has more than two channels, when the unit's
// channel configurations leave its count out, or when the unit refuses the format.
void configureForInput(HostedUnit& unit, const std::string& product, const std::string& inputName,
                       double sampleRate, unsigned channels, UInt32 maximumFrames);

// [main thread] Initialises a unit configured for an input. Throws InputError when the unit
// refuses the input's rate.
void initializeForInput(HostedUnit& unit, const std::string& product);

} // namespace kelvohost
