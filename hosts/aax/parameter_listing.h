#pragma once
// kelvo-aax PLUGIN --list: an instance's mirrored parameters as the host holds them:
// identifier, name, type, steps, taper, default and the display of a few values.

#include "plugin_session.h"

#include <string>

namespace kelvohost {

std::string listParameters(const PluginSession& session, aaxhost::Instance& instance);

} // namespace kelvohost
