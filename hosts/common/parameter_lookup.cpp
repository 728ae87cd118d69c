#include "parameter_lookup.h"

#include "host_error.h"
#include "text_match.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace kelvohost {
namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::optional<double> parseNumber(std::string_view key) {
    if (key.starts_with('+')) {
        key.remove_prefix(1);
        if (key.starts_with('-') || key.starts_with('+')) {
            return std::nullopt;
        }
    }
    if (key.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), value);
    if (error != std::errc() || end != key.data() + key.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

struct Suffix {
    std::string_view text; // as matchKey writes it
    double scale;
};

// Unit suffixes a user may write after a number, longest first so "khz" wins over "hz".
std::vector<Suffix> suffixesFor(ParameterUnit unit) {
    switch (unit) {
    case ParameterUnit::decibels:
        return {{"db", 1.0}};
    case ParameterUnit::percent:
        return {{"%", 1.0}};
    case ParameterUnit::hertz:
        return {{"khz", 1000.0}, {"hz", 1.0}};
    case ParameterUnit::milliseconds:
        return {{"ms", 1.0}, {"s", 1000.0}};
    default:
        return {};
    }
}

// A number followed by one of the parameter's unit suffixes ("-6dB", "2.5khz").
std::optional<double> parseWithUnitSuffix(const ParameterDescription& parameter,
                                          std::string_view key) {
    for (const Suffix& suffix : suffixesFor(parameter.unit)) {
        if (key.size() > suffix.text.size() && key.ends_with(suffix.text)) {
            if (auto number = parseNumber(key.substr(0, key.size() - suffix.text.size()))) {
                return *number * suffix.scale;
            }
        }
    }
    return std::nullopt;
}

std::string rangeText(const ParameterDescription& parameter) {
    std::string text = formatNumber(parameter.minimum) + " to " + formatNumber(parameter.maximum);
    if (const char* symbol = unitSymbol(parameter.unit); *symbol != '\0') {
        text += std::string(" ") + symbol;
    }
    return text;
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text;
}

// Each step's value beside its caption: 0 "1 · Fast", 1 "2", ...
std::string captionTable(const ParameterDescription& parameter) {
    std::string text;
    for (std::size_t i = 0; i < parameter.valueStrings.size(); ++i) {
        text += (text.empty() ? "" : ", ") +
                formatNumber(parameter.minimum + static_cast<float>(i)) + " \"" +
                parameter.valueStrings[i] + "\"";
    }
    return text;
}

} // namespace

const ParameterDescription& findParameter(const std::vector<ParameterDescription>& parameters,
                                          std::string_view text) {
    const std::string_view wanted = trim(text);
    if (allDigits(wanted)) {
        for (const auto& parameter : parameters) {
            if (std::to_string(parameter.id) == std::string(wanted)) {
                return parameter;
            }
        }
    }
    const std::string key = matchKey(wanted);
    for (const auto& parameter : parameters) {
        if (!key.empty() && matchKey(parameter.name) == key) {
            return parameter;
        }
    }
    std::vector<std::string> names;
    for (const auto& parameter : parameters) {
        names.push_back(parameter.name);
    }
    throw InputError("unknown parameter '" + std::string(wanted) +
                     "' (parameters: " + joined(names) + ")");
}

float parseParameterValue(const ParameterDescription& parameter, std::string_view text) {
    const std::string key = matchKey(text);
    const std::string what = parameter.name + ": ";
    if (key.empty()) {
        throw InputError(what + "no value given");
    }

    // A plain number is always the value itself, as a state file stores it, even where a
    // caption reads as a number too (Recovery's caption "3" is the value 2): one rule for
    // every parameter, so the same text never means a value here and a caption there.
    std::optional<double> number = parseNumber(key);
    if (!number) {
        for (std::size_t i = 0; i < parameter.valueStrings.size(); ++i) {
            if (matchKey(parameter.valueStrings[i]) == key) {
                return parameter.minimum + static_cast<float>(i);
            }
        }
        if (parameter.unit == ParameterUnit::boolean) {
            if (key == "on" || key == "true" || key == "yes") {
                return parameter.maximum;
            }
            if (key == "off" || key == "false" || key == "no") {
                return parameter.minimum;
            }
        }
        number = parseWithUnitSuffix(parameter, key);
    }

    if (!number) {
        std::string message = what + "unknown value '" + std::string(trim(text)) + "' (";
        if (!parameter.valueStrings.empty()) {
            message += "one of " + joined(parameter.valueStrings) + ", or ";
        } else if (parameter.unit == ParameterUnit::boolean) {
            message += "on, off, or ";
        }
        message += "a number from " + rangeText(parameter) + ")";
        throw InputError(message);
    }
    // Where captions exist, a refused number most likely meant one of them.
    const std::string captions =
        parameter.valueStrings.empty()
            ? std::string()
            : "; a number is the value itself, the captions are " + captionTable(parameter);
    const auto value = static_cast<float>(*number);
    if (!(value >= parameter.minimum && value <= parameter.maximum)) {
        throw InputError(what + formatNumber(*number) + " is outside " + rangeText(parameter) +
                         captions);
    }
    if (parameter.isStepped() && value != std::round(value)) {
        throw InputError(what + formatNumber(*number) + " is not a whole step (" +
                         rangeText(parameter) + ")" + captions);
    }
    return value;
}

bool readsAsNumber(std::string_view text) {
    return parseNumber(matchKey(text)).has_value();
}

const PresetDescription& findPreset(const std::vector<PresetDescription>& presets,
                                    std::string_view text) {
    const std::string_view wanted = trim(text);
    if (allDigits(wanted)) {
        for (const auto& preset : presets) {
            if (std::to_string(preset.number) == std::string(wanted)) {
                return preset;
            }
        }
        throw InputError("no factory preset number " + std::string(wanted) + " (the unit has " +
                         std::to_string(presets.size()) + ", numbered from 0)");
    }

    const std::string key = matchKey(wanted);
    for (const auto& preset : presets) {
        if (matchKey(preset.name) == key) {
            return preset;
        }
    }
    // The name alone, without its group: the part after the last " / ".
    const PresetDescription* match = nullptr;
    std::vector<std::string> names;
    for (const auto& preset : presets) {
        names.push_back(preset.name);
        const std::size_t slash = preset.name.rfind(" / ");
        const std::string_view bare = slash == std::string::npos
                                          ? std::string_view(preset.name)
                                          : std::string_view(preset.name).substr(slash + 3);
        if (matchKey(bare) == key) {
            if (match != nullptr) {
                throw InputError("preset name '" + std::string(wanted) +
                                 "' is ambiguous; give it as \"Group / Name\"");
            }
            match = &preset;
        }
    }
    if (match == nullptr) {
        throw InputError("unknown preset '" + std::string(wanted) + "' (presets: " + joined(names) +
                         ")");
    }
    return *match;
}

std::pair<std::string, std::string> splitAssignment(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        throw InputError("--set takes NAME=VALUE, not '" + std::string(text) + "'");
    }
    const std::string_view name = trim(text.substr(0, equals));
    const std::string_view value = trim(text.substr(equals + 1));
    if (name.empty() || value.empty()) {
        throw InputError("--set takes NAME=VALUE, not '" + std::string(text) + "'");
    }
    return {std::string(name), std::string(value)};
}

std::string formatNumber(double value) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
    }
    const auto single = static_cast<float>(value);
    char buffer[48];
    // Whole numbers print whole ("50", not "5e+01"); others take the fewest digits that
    // read back as the same float.
    if (single == std::round(single) && std::fabs(single) < 1e9f) {
        std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(single));
        return buffer;
    }
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, static_cast<double>(single));
        if (std::strtof(buffer, nullptr) == single) {
            break;
        }
    }
    return buffer;
}

std::string formatValue(const ParameterDescription& parameter, float value) {
    const double step = std::round(value - parameter.minimum);
    if (!parameter.valueStrings.empty() && step >= 0 &&
        step < static_cast<double>(parameter.valueStrings.size()) &&
        value == parameter.minimum + static_cast<float>(step)) {
        return parameter.valueStrings[static_cast<std::size_t>(step)];
    }
    if (parameter.unit == ParameterUnit::boolean) {
        return value > 0.5f ? "on" : "off";
    }
    std::string text = formatNumber(value);
    if (const char* symbol = unitSymbol(parameter.unit); *symbol != '\0') {
        text += std::string(parameter.unit == ParameterUnit::percent ? "" : " ") + symbol;
    }
    return text;
}

} // namespace kelvohost
