#include "description_text.h"

#include "cf_handle.h"
#include "text_table.h"

#include <cstdio>

namespace kelvohost {
namespace {

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string code(uint32_t value) {
    return std::string("'")
        .append(fourCharText(value))
        .append("' (")
        .append(hex(value))
        .append(")");
}

std::string categoryText(uint32_t category) {
    switch (category) {
    case AAX_ePlugInCategory_EQ:
        return "1 (EQ)";
    case AAX_ePlugInCategory_Dynamics:
        return "2 (dynamics)";
    default:
        return std::to_string(category);
    }
}

std::string stemText(uint32_t stem) {
    const char* name = stem == AAX_eStemFormat_Mono     ? "mono"
                       : stem == AAX_eStemFormat_Stereo ? "stereo"
                                                        : "other";
    char value[24];
    std::snprintf(value, sizeof value, " (0x%X)", stem);
    return name + std::string(value);
}

std::string procedureText(int32_t id) {
    switch (id) {
    case AAX_eProcPtrID_Create_EffectParameters:
        return "creates the effect parameters";
    case AAX_eProcPtrID_Create_EffectGUI:
        return "creates the GUI";
    default:
        return "unknown";
    }
}

std::pair<std::string, std::string> propertyText(const aaxhost::PropertyDeclaration& property) {
    const uint32_t v = property.value;
    switch (property.id) {
    case AAX_eProperty_ManufacturerID:
        return {"manufacturer ID", code(v)};
    case AAX_eProperty_ProductID:
        return {"product ID", code(v)};
    case AAX_eProperty_PlugInID_Native:
        return {"native plug-in type ID", hex(v)};
    case AAX_eProperty_NativeProcessProc:
        return {"native process procedure", property.isPointer ? "(pointer)" : std::to_string(v)};
    case AAX_eProperty_InputStemFormat:
        return {"input stem format", stemText(v)};
    case AAX_eProperty_OutputStemFormat:
        return {"output stem format", stemText(v)};
    case AAX_eProperty_CanBypass:
        return {"can bypass", std::to_string(v)};
    }
    return {"property", property.isPointer ? "(pointer)" : std::to_string(v)};
}

std::string fieldDetail(const aaxhost::FieldDeclaration& field) {
    switch (field.kind) {
    case aaxhost::FieldKind::dataInPort:
        return "packet " + std::to_string(field.packetSize) + " bytes, port type " +
               std::to_string(field.portType);
    case aaxhost::FieldKind::privateData:
        return std::to_string(field.privateSize) + " bytes, options " +
               std::to_string(field.options);
    default:
        return "";
    }
}

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : ", ") + item;
    }
    return text.empty() ? "(none)" : text;
}

} // namespace

std::string describePlugin(const PluginSession& session) {
    const aaxhost::Module& module = *session.module;
    const aaxhost::ModuleDescription& description = module.description;
    std::string text = session.location.product + "  " + session.location.path.string() + "\n";
    text += "  bundle identifier  " + module.identifier + "\n";
    text += "  registration       " + std::to_string(description.result) +
            (description.result == AAX_SUCCESS ? " (success)" : "") + "\n";
    text += "  manufacturer       " + description.manufacturer + "\n";
    text += "  package            " + joined(description.packageNames);
    if (description.packageVersion) {
        text += ", version " + std::to_string(*description.packageVersion);
    }
    text += "\n";

    for (const auto& effect : description.effects) {
        std::vector<std::string> names;
        for (const auto& name : effect.names) {
            names.push_back("\"" + name + "\"");
        }
        text += "\nEffect " + joined(names) + "\n";
        text += "  identifier  " + effect.identifier + "\n";
        std::vector<std::string> categories;
        for (const uint32_t category : effect.categories) {
            categories.push_back(categoryText(category));
        }
        text += "  category    " + joined(categories) + "\n";
        std::vector<std::string> procedures;
        for (const auto& procedure : effect.procedures) {
            procedures.push_back(std::to_string(procedure.id) + " " + procedureText(procedure.id));
        }
        text += "  procedures  " + joined(procedures) + "\n";

        int number = 0;
        for (const auto& component : effect.components) {
            const auto native = component.property(AAX_eProperty_PlugInID_Native);
            text += "\n  Component " + std::to_string(++number) + ": " +
                    std::to_string(component.inputChannels()) + " in " +
                    std::to_string(component.outputChannels()) + " out" +
                    (native ? ", native ID " + hex(*native) : "") + "\n";
            TextTable properties;
            properties.addColumn("ID", TextTable::Align::right);
            properties.addColumn("PROPERTY");
            properties.addColumn("VALUE");
            for (const auto& property : component.properties) {
                const auto [name, value] = propertyText(property);
                properties.addRow({std::to_string(property.id), name, value});
            }
            text += "    Properties, in the order declared:\n" + properties.render(6);
            TextTable fields;
            fields.addColumn("INDEX", TextTable::Align::right);
            fields.addColumn("FIELD");
            fields.addColumn("DECLARED");
            for (const auto& field : component.fields) {
                fields.addRow({std::to_string(field.index), aaxhost::fieldKindName(field.kind),
                               fieldDetail(field)});
            }
            text += "    Context fields:\n" + fields.render(6);
        }
    }
    return text;
}

std::string listPlugins(const std::vector<std::filesystem::path>& folders) {
    const std::vector<BundleLocation> bundles = findBundles(folders, aaxBundles);
    if (bundles.empty()) {
        std::string text = "No AAX plug-ins found. Searched:\n";
        for (const auto& folder : folders) {
            text += "  " + folder.string() + "\n";
        }
        return text + "Build the AAX bridges, or name a folder holding .aaxplugin bundles in "
                      "KELVO_PLUGIN_PATH.\n";
    }
    TextTable table;
    table.addColumn("PLUG-IN");
    table.addColumn("PRODUCT");
    table.addColumn("BUNDLE");
    for (const auto& bundle : bundles) {
        table.addRow({bundle.model, bundle.product, bundle.path.string()});
    }
    return std::to_string(bundles.size()) + (bundles.size() == 1 ? " plug-in" : " plug-ins") +
           " found:\n\n" + table.render() +
           "\nkelvo-aax PLUGIN --describe shows what it declares; --list its parameters.\n";
}

} // namespace kelvohost
