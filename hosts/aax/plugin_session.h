#pragma once
// An AAX plug-in as kelvo-aax uses it: the bundle found as kelvo-render finds unit bundles,
// loaded and described as a host does at a scan, and instances of its one effect started for
// a channel count and a rate. Whatever the plug-in refuses becomes an InputError that says why,
// with what the plug-in logged.

#include "bundle_discovery.h"

#include <AAXHost/Instance.h>
#include <AAXHost/Module.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kelvohost {

struct PluginSession {
    BundleLocation location;
    std::unique_ptr<aaxhost::Module> module;

    // The module's one effect (a module that describes none is refused when loaded).
    const aaxhost::EffectDescription& effect() const { return module->description.effects[0]; }
    // The component for that channel count, or null.
    const aaxhost::ComponentDescription* componentFor(unsigned channels) const;
    // The component that plays an input of that channel count. Throws InputError when there is
    // none.
    const aaxhost::ComponentDescription& componentForInput(const std::string& inputName,
                                                           unsigned channels) const;
    // "1 in 1 out, 2 in 2 out"
    std::string componentList() const;
};

// [main thread] Throws InputError when the plug-in is not found, does not load, or describes
// no effect.
PluginSession openPlugin(const std::string& plugin,
                         const std::vector<std::filesystem::path>& folders);

// [main thread] An initialised instance of the component, the host at that rate. Throws
// InputError when the plug-in refuses to initialise (with its log line when it wrote one).
std::unique_ptr<aaxhost::Instance> startInstance(const PluginSession& session,
                                                 const aaxhost::ComponentDescription& component,
                                                 double sampleRate);

} // namespace kelvohost
