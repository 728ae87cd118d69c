#include "unit_listing.h"

#include "cf_handle.h"
#include "parameter_lookup.h"
#include "playable_input.h"
#include "text_table.h"

#include <cmath>

namespace kelvohost {
namespace {

std::string defaultText(const ParameterDescription& parameter) {
    std::string text = formatNumber(parameter.defaultValue);
    const std::string caption = formatValue(parameter, parameter.defaultValue);
    if (!parameter.valueStrings.empty() && caption != text) {
        text += " (" + caption + ")";
    }
    return text;
}

// Each step's value beside its caption, so a caption that reads as a number ("3") is seen to
// be another value (2), which is what --set takes a plain number as.
std::string captionListing(const std::vector<ParameterDescription>& parameters) {
    TextTable table;
    table.addColumn("ID", TextTable::Align::right);
    table.addColumn("NAME");
    table.addColumn("VALUE", TextTable::Align::right);
    table.addColumn("CAPTION");
    for (const auto& parameter : parameters) {
        for (std::size_t i = 0; i < parameter.valueStrings.size(); ++i) {
            table.addRow({i == 0 ? std::to_string(parameter.id) : "", i == 0 ? parameter.name : "",
                          formatNumber(parameter.minimum + static_cast<float>(i)),
                          parameter.valueStrings[i]});
        }
    }
    return table.render();
}

} // namespace

std::string listModels(const std::vector<std::filesystem::path>& folders) {
    const std::vector<BundleLocation> bundles = findBundles(folders);
    std::string text;
    if (bundles.empty()) {
        text = "No unit bundles found. Searched:\n";
        for (const auto& folder : folders) {
            text += "  " + folder.string() + "\n";
        }
        text += "Build the units, or name a folder holding .component bundles in "
                "KELVO_PLUGIN_PATH.\n";
        return text;
    }

    TextTable table;
    table.addColumn("MODEL");
    table.addColumn("PRODUCT");
    table.addColumn("CODE");
    table.addColumn("VERSION");
    table.addColumn("BUNDLE");
    for (const auto& bundle : bundles) {
        std::string code = "?";
        std::string version = "?";
        try {
            const BundleInfo info = readBundleInfo(bundle.path);
            if (!info.components.empty()) {
                code = info.components.front().subtype;
                version = versionText(info.components.front().version);
            }
        } catch (const std::exception&) {
            code = "(unreadable Info.plist)";
        }
        table.addRow({bundle.model, bundle.product, code, version, bundle.path.string()});
    }
    text = std::to_string(bundles.size()) + (bundles.size() == 1 ? " model" : " models") +
           " found:\n\n" + table.render();
    text += "\nkelvo-render MODEL --list shows a model's parameters and presets.\n";
    return text;
}

std::string listUnit(const LoadedComponent& component, const HostedUnit& unit) {
    const ComponentDeclaration& declaration = *component.declaration;
    std::string text = component.location.product + " (" + component.location.model + ")";
    if (!declaration.name.empty()) {
        text += " \xC2\xB7 " + declaration.name; // U+00B7 middle dot
    }
    text += "\n  " + declaration.type + " " + declaration.subtype + " " + declaration.manufacturer +
            ", version " + versionText(declaration.version) + ", " +
            component.location.path.string() + "\n";

    const double latency = unit.latencySeconds();
    const double rate = unit.sampleRate();
    text += "  latency " + formatNumber(std::round(latency * rate)) + " frames at " +
            formatNumber(rate) + " Hz, tail " + formatNumber(unit.tailSeconds()) + " s, channels " +
            channelText(unit.supportedChannels()) + "\n";

    const std::vector<ParameterDescription> parameters = unit.parameters();
    TextTable table;
    table.addColumn("ID", TextTable::Align::right);
    table.addColumn("NAME");
    table.addColumn("RANGE");
    table.addColumn("DEFAULT");
    table.addColumn("UNIT");
    bool captioned = false;
    for (const auto& parameter : parameters) {
        table.addRow({std::to_string(parameter.id), parameter.name,
                      formatNumber(parameter.minimum) + " to " + formatNumber(parameter.maximum),
                      defaultText(parameter), unitLabel(parameter.unit)});
        captioned = captioned || !parameter.valueStrings.empty();
    }
    text += "\nParameters (--set NAME=VALUE or ID=VALUE):\n\n" + table.render();
    if (captioned) {
        text += "\nCaptions (--set takes a plain number as the VALUE, any other text as a "
                "CAPTION):\n\n" +
                captionListing(parameters);
    }

    const std::vector<PresetDescription> presets = unit.factoryPresets();
    TextTable presetTable;
    presetTable.addColumn("#", TextTable::Align::right);
    presetTable.addColumn("GROUP");
    presetTable.addColumn("NAME");
    for (const auto& preset : presets) {
        const std::size_t slash = preset.name.find(" / ");
        if (slash == std::string::npos) {
            presetTable.addRow({std::to_string(preset.number), "", preset.name});
        } else {
            presetTable.addRow({std::to_string(preset.number), preset.name.substr(0, slash),
                                preset.name.substr(slash + 3)});
        }
    }
    text += "\nFactory presets (--preset N, NAME or \"GROUP / NAME\"):\n\n";
    text += presets.empty() ? "  (none)\n" : presetTable.render();
    return text;
}

} // namespace kelvohost
