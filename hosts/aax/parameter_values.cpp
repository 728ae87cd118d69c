#include "parameter_values.h"

#include "host_error.h"
#include "parameter_lookup.h"
#include "text_match.h"

#include <AAX/AAX_CString.h>

#include <charconv>
#include <cmath>

namespace kelvohost {
namespace {

constexpr uint32_t mostStepsListed = 1000;
constexpr std::string_view unicodeMinus = "\xE2\x88\x92";

// A plain number: digits with an optional sign (ASCII or U+2212), point and exponent, and
// nothing else.
bool plainNumber(std::string_view text, double& value) {
    std::string ascii(trim(text));
    if (ascii.starts_with(unicodeMinus)) {
        ascii.replace(0, unicodeMinus.size(), "-");
    }
    if (ascii.starts_with('+')) {
        ascii.erase(0, 1);
    }
    if (ascii.empty() || ascii.find_first_not_of("0123456789.eE+-") != std::string::npos ||
        ascii.find_first_of("0123456789") == std::string::npos) {
        return false;
    }
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return error == std::errc() && end == ascii.data() + ascii.size();
}

std::string rangeText(const HostParameter& parameter) {
    return formatNumber(parameter.minimum) + " to " + formatNumber(parameter.maximum) +
           (parameter.discrete ? ", whole steps" : "");
}

std::string captionList(const HostParameter& parameter) {
    std::string text;
    for (const double step : parameter.stepValues()) {
        text += (text.empty() ? "" : ", ") +
                parameter.display(parameter.parameter->RealToNormalized(step));
    }
    return text;
}

double checkedReal(const HostParameter& parameter, double real, std::string_view text) {
    // The range as the taper gives it, allowing for the rounding of its two ends.
    const double slack = 1e-9 * std::max(1.0, std::fabs(parameter.maximum - parameter.minimum));
    if (!std::isfinite(real) || real < parameter.minimum - slack ||
        real > parameter.maximum + slack) {
        throw InputError(parameter.name + ": " + std::string(trim(text)) + " is outside " +
                         rangeText(parameter));
    }
    if (parameter.discrete && real != std::round(real)) {
        throw InputError(parameter.name + ": " + std::string(trim(text)) +
                         " is not one of its steps (" + rangeText(parameter) + ")");
    }
    return parameter.parameter->RealToNormalized(real);
}

} // namespace

std::string HostParameter::display(double normalized) const {
    AAX_CString text;
    return parameter->NormalizedToString(normalized, -1, &text) ? text.Get() : "?";
}

std::vector<double> HostParameter::stepValues() const {
    std::vector<double> values;
    if (!discrete || steps < 2 || steps > mostStepsListed) {
        return values;
    }
    for (uint32_t step = 0; step < steps; ++step) {
        values.push_back(real(static_cast<double>(step) / (steps - 1)));
    }
    return values;
}

std::vector<HostParameter> hostParameters(const AAX_IEffectParameters& effect) {
    std::vector<HostParameter> parameters;
    int32_t count = 0;
    effect.GetNumberOfParameters(&count);
    for (int32_t i = 0; i < count; ++i) {
        const AAX_IParameter* parameter = effect.GetParameterAtIndex(i);
        if (parameter == nullptr) {
            continue;
        }
        HostParameter host;
        host.parameter = parameter;
        host.identifier = parameter->Identifier();
        host.name = parameter->Name().Get();
        host.minimum = parameter->NormalizedToReal(0.0);
        host.maximum = parameter->NormalizedToReal(1.0);
        host.discrete = parameter->GetType() == AAX_eParameterType_Discrete;
        host.steps = parameter->GetNumberOfSteps();
        parameters.push_back(std::move(host));
    }
    return parameters;
}

const HostParameter& findHostParameter(const std::vector<HostParameter>& parameters,
                                       std::string_view text) {
    for (const auto& parameter : parameters) {
        if (asciiLower(parameter.identifier) == asciiLower(trim(text))) {
            return parameter;
        }
    }
    for (const auto& parameter : parameters) {
        if (textMatches(text, parameter.name)) {
            return parameter;
        }
    }
    std::string known;
    for (const auto& parameter : parameters) {
        known += (known.empty() ? "" : ", ") + parameter.name + " (" + parameter.identifier + ")";
    }
    throw InputError("no parameter '" + std::string(text) + "' (parameters: " + known + ")");
}

double normalizedValue(const HostParameter& parameter, std::string_view text) {
    double real = 0.0;
    if (plainNumber(text, real)) {
        return checkedReal(parameter, real, text);
    }
    for (const double step : parameter.stepValues()) {
        if (textMatches(text, parameter.display(parameter.parameter->RealToNormalized(step)))) {
            return parameter.parameter->RealToNormalized(step);
        }
    }
    const std::string typed(trim(text));
    if (parameter.parameter->StringToReal(AAX_CString(typed.c_str()), &real)) {
        return checkedReal(parameter, real, text);
    }
    const std::string captions = captionList(parameter);
    throw InputError(
        parameter.name + ": '" + typed + "' is not a value of it (" +
        (captions.empty() ? "a number from " + rangeText(parameter) : "one of " + captions) + ")");
}

std::pair<std::string, double> parameterAssignment(const std::vector<HostParameter>& parameters,
                                                   std::string_view assignment) {
    const auto [name, value] = splitAssignment(assignment);
    const HostParameter& parameter = findHostParameter(parameters, name);
    return {parameter.identifier, normalizedValue(parameter, value)};
}

} // namespace kelvohost
