#include "plugin_session.h"

#include "host_error.h"
#include "parameter_lookup.h"

#include <AppKit/AppKitHost.h>

namespace kelvohost {
namespace {

std::string channelPair(const aaxhost::ComponentDescription& component) {
    return std::to_string(component.inputChannels()) + " in " +
           std::to_string(component.outputChannels()) + " out";
}

// What the plug-in logs while it initialises, kept for the message when it refuses.
class LogLines {
public:
    LogLines() {
        appkit::setLogSink([this](const char* line) { lines_.emplace_back(line); });
    }
    ~LogLines() { appkit::setLogSink(nullptr); }
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;
    std::string joined() const {
        std::string text;
        for (const auto& line : lines_) {
            text += (text.empty() ? "" : "; ") + line;
        }
        return text;
    }

private:
    std::vector<std::string> lines_;
};

} // namespace

const aaxhost::ComponentDescription* PluginSession::componentFor(unsigned channels) const {
    for (const auto& component : effect().components) {
        if (component.inputChannels() == channels && component.outputChannels() == channels) {
            return &component;
        }
    }
    return nullptr;
}

const aaxhost::ComponentDescription& PluginSession::componentForInput(const std::string& inputName,
                                                                      unsigned channels) const {
    const aaxhost::ComponentDescription* component = componentFor(channels);
    if (component == nullptr) {
        throw InputError(inputName + " has " + std::to_string(channels) + " channels; " +
                         location.product + " has components for " + componentList());
    }
    return *component;
}

std::string PluginSession::componentList() const {
    std::string text;
    for (const auto& component : effect().components) {
        text += (text.empty() ? "" : ", ") + channelPair(component);
    }
    return text.empty() ? "none" : text;
}

PluginSession openPlugin(const std::string& plugin,
                         const std::vector<std::filesystem::path>& folders) {
    PluginSession session;
    session.location = resolveModel(plugin, folders, aaxBundles);
    const std::string path = std::filesystem::absolute(session.location.path).string();
    try {
        session.module = aaxhost::loadModule(path);
    } catch (const aaxhost::LoadError& error) {
        throw InputError(session.location.path.string() + ": " + error.what());
    }
    const aaxhost::ModuleDescription& description = session.module->description;
    if (description.result != AAX_SUCCESS) {
        throw InputError(session.location.product + " refused to describe itself (AAX result " +
                         std::to_string(description.result) + ")");
    }
    if (description.effects.empty()) {
        throw InputError(session.location.product + " describes no effect");
    }
    return session;
}

std::unique_ptr<aaxhost::Instance> startInstance(const PluginSession& session,
                                                 const aaxhost::ComponentDescription& component,
                                                 double sampleRate) {
    std::unique_ptr<aaxhost::Instance> instance;
    try {
        instance = std::make_unique<aaxhost::Instance>(session.effect(), component);
    } catch (const aaxhost::LoadError& error) {
        throw InputError(session.location.product + ": " + error.what());
    }
    instance->controller().sampleRate = static_cast<AAX_CSampleRate>(sampleRate);
    const LogLines log;
    if (const AAX_Result result = instance->initialize(); result != AAX_SUCCESS) {
        const std::string said = log.joined();
        throw InputError(session.location.product + " refused " + channelPair(component) + " at " +
                         formatNumber(sampleRate) + " Hz (AAX result " + std::to_string(result) +
                         (said.empty() ? "" : ": " + said) + ")");
    }
    return instance;
}

} // namespace kelvohost
