#pragma once
// Turning what the user typed into a parameter, a value or a factory preset of the unit. Every
// function throws InputError with a one-line message naming what would have matched.

#include "unit_description.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvohost {

// By ID (decimal digits) or by name (compared as text_match.h compares).
const ParameterDescription& findParameter(const std::vector<ParameterDescription>& parameters,
                                          std::string_view text);

// A value in the parameter's units ("4", "-6", "-6 dB", "50%", "2.5 kHz") or one of its value
// strings ("+5 dB", "−10 dB", "7 kHz"); switches also take on/off. The value must lie within
// the parameter's range, and stepped parameters take whole steps only.
float parseParameterValue(const ParameterDescription& parameter, std::string_view text);

// By number, by "Group / Name" or by the name alone when only one preset has it.
const PresetDescription& findPreset(const std::vector<PresetDescription>& presets,
                                    std::string_view text);

// Splits "NAME=VALUE" at the first '='; throws when there is none or either side is empty.
std::pair<std::string, std::string> splitAssignment(std::string_view text);

// A float written as briefly as it reads back: 2.8 rather than 2.79999995.
std::string formatNumber(double value);

// The value as the unit would caption it: its value string when it has one, else the number
// with the unit symbol ("−6 dB" style minus is not used here: numbers print with ASCII '-').
std::string formatValue(const ParameterDescription& parameter, float value);

} // namespace kelvohost
