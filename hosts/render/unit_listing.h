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

} // namespace kelvohost
