#pragma once
// What kelvo-render --list prints: the models found, or one unit's parameters, value strings
// and factory presets.

#include "bundle_discovery.h"
#include "component_loader.h"
#include "hosted_unit.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvohost {

// [main thread]
std::string listModels(const std::vector<std::filesystem::path>& folders);

// [main thread]
std::string listUnit(const LoadedComponent& component, const HostedUnit& unit);

// "1 in 1 out, 2 in 2 out"
std::string channelText(const std::vector<AUChannelInfo>& configurations);

} // namespace kelvohost
