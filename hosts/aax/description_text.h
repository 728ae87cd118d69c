#pragma once
// kelvo-aax PLUGIN --describe: the module as the host saw it when it asked it to describe
// itself: the collection's texts, the effect, its procedures, and each component's property
// map and context fields in the order they were declared.

#include "plugin_session.h"

#include <string>

namespace kelvohost {

std::string describePlugin(const PluginSession& session);

// --list without a PLUGIN: the plug-ins found in the folders.
std::string listPlugins(const std::vector<std::filesystem::path>& folders);

} // namespace kelvohost
