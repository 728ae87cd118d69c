#pragma once
// What a user types for an AAX parameter, turned into the normalised value the host sends
// (UpdateParameterNormalizedValue). A parameter is named by its identifier (au_3,
// MasterBypassID) or its name, in any case. A value that reads as a plain number is the real
// value, converted through the parameter's taper; any other text is one of the parameter's
// captions (the display of each step of a stepped parameter, compared as text_match.h compares)
// or what its display delegate reads from it ("12.5 dB"). The real value must lie within the
// parameter's range, and a stepped parameter takes whole steps only. Every refusal is an
// InputError with a one-line message.

#include <AAX/AAX_IEffectParameters.h>
#include <AAX/AAX_IParameter.h>

#include <string>
#include <string_view>
#include <vector>

namespace kelvohost {

struct HostParameter {
    const AAX_IParameter* parameter = nullptr;
    std::string identifier;
    std::string name;
    double minimum = 0.0; // the real values at normalised 0 and 1
    double maximum = 0.0;
    bool discrete = false;
    uint32_t steps = 0;

    double real(double normalized) const { return parameter->NormalizedToReal(normalized); }
    // The display delegate's text at a normalised value ("?" when it has none).
    std::string display(double normalized) const;
    // The real value of each step of a stepped parameter (none for a continuous one, or one
    // of more than 1000 steps).
    std::vector<double> stepValues() const;
};

// [main thread] The effect's parameters, in its order.
std::vector<HostParameter> hostParameters(const AAX_IEffectParameters& effect);

const HostParameter& findHostParameter(const std::vector<HostParameter>& parameters,
                                       std::string_view text);

double normalizedValue(const HostParameter& parameter, std::string_view text);

// "NAME=VALUE" into the parameter's identifier and normalised value.
std::pair<std::string, double> parameterAssignment(const std::vector<HostParameter>& parameters,
                                                   std::string_view assignment);

} // namespace kelvohost
