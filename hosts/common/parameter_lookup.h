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

// A plain number ("3", "-6", "2.5") is the parameter's value itself, as --list shows the
// range and a state file stores it, also where a caption reads as a number. Any other text is
// one of its captions ("+5 dB", "−10 dB", "7 kHz", "6 · Slow"), on/off for switches, or a
// number with the parameter's unit ("-6 dB", "50%", "2.5 kHz"). The value must lie within the
// parameter's range, and stepped parameters take whole steps only.
float parseParameterValue(const ParameterDescription& parameter, std::string_view text);

// Whether parseParameterValue takes text as a plain number (the value itself).
bool readsAsNumber(std::string_view text);

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
