#include "parameter_listing.h"

#include "parameter_lookup.h"
#include "parameter_values.h"
#include "text_table.h"

#include <AAX/AAX_CString.h>

#include <cmath>
#include <cstdio>

namespace kelvohost {
namespace {

constexpr uint32_t mostStepsShown = 12;

// How the taper maps: judged from its middle, as a host's automation lane would show it.
std::string taperText(const HostParameter& parameter) {
    const std::string range =
        formatNumber(parameter.minimum) + " to " + formatNumber(parameter.maximum);
    if (parameter.discrete) {
        return "linear, whole, " + range;
    }
    const double middle = parameter.real(0.5);
    const double tolerance = 1e-6 * std::max(1.0, std::fabs(parameter.maximum));
    if (std::fabs(middle - (parameter.minimum + parameter.maximum) / 2.0) < tolerance) {
        return "linear, " + range;
    }
    if (parameter.minimum > 0.0 &&
        std::fabs(middle - std::sqrt(parameter.minimum * parameter.maximum)) < 0.001) {
        return "logarithmic, " + range;
    }
    return "other, " + range;
}

std::string valuesText(const HostParameter& parameter) {
    std::string text;
    const auto add = [&](double normalized) {
        text += (text.empty() ? "" : " | ") + parameter.display(normalized);
    };
    if (parameter.discrete && parameter.steps >= 2 && parameter.steps <= mostStepsShown) {
        for (uint32_t step = 0; step < parameter.steps; ++step) {
            add(static_cast<double>(step) / (parameter.steps - 1));
        }
    } else {
        for (const double normalized : {0.0, 0.25, 0.5, 0.75, 1.0}) {
            add(normalized);
        }
    }
    return text;
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

} // namespace

std::string listParameters(const PluginSession& session, aaxhost::Instance& instance) {
    const aaxhost::ComponentDescription& component = instance.component();
    const std::vector<HostParameter> parameters = hostParameters(instance.effect());
    std::string text =
        session.effect().names.empty() ? session.location.product : session.effect().names.front();
    text += " through " + session.location.product + ": " + std::to_string(parameters.size()) +
            (parameters.size() == 1 ? " parameter" : " parameters") +
            " mirrored by an instance of the " + std::to_string(component.inputChannels()) +
            " in " + std::to_string(component.outputChannels()) + " out component (" +
            hex(component.property(AAX_eProperty_PlugInID_Native).value_or(0)) + ") at " +
            formatNumber(instance.controller().sampleRate) + " Hz\n";
    AAX_CString bypass;
    text += "  master bypass  ";
    text += instance.effect().GetMasterBypassParameter(&bypass) == AAX_SUCCESS ? bypass.Get()
                                                                               : "(none)";
    text += "\n";
    if (!instance.controller().latencies.empty()) {
        text += "  latency        " + std::to_string(instance.controller().latencies.back()) +
                " samples\n";
    }

    TextTable table;
    table.addColumn("IDENTIFIER");
    table.addColumn("NAME");
    table.addColumn("TYPE");
    table.addColumn("STEPS", TextTable::Align::right);
    table.addColumn("TAPER");
    table.addColumn("DEFAULT");
    table.addColumn("DISPLAYS (minimum to maximum)");
    for (const auto& parameter : parameters) {
        table.addRow({parameter.identifier, parameter.name,
                      parameter.discrete ? "discrete" : "continuous",
                      std::to_string(parameter.steps), taperText(parameter),
                      parameter.display(parameter.parameter->GetNormalizedDefaultValue()),
                      valuesText(parameter)});
    }
    text += "\nParameters (--set NAME=VALUE or IDENTIFIER=VALUE; a plain number is the real "
            "value):\n\n" +
            table.render();
    return text;
}

} // namespace kelvohost
