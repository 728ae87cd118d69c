#pragma once
// The process-wide registry of unit components the bridge has registered: one entry per
// distinct bundle path, added once and kept for the life of the process (the component stays
// registered, the bundle loaded), so every later instance of the same unit reuses them. Its
// mutex is the bridge's only lock, held while the registry is searched and a component
// registered, never on the render path.

#include <AudioToolbox/AudioToolbox.h>

#include <cstdint>
#include <string>

namespace kelvoaax {

// [main thread] The component registered for the unit bundle at path (compared byte for
// byte), registering it first when there is none: the bundle is loaded, its factory looked up
// by name and registered as type 'aufx', the given subtype, manufacturer 'Kvlo', version
// 1.0.0. Throws std::runtime_error "AU bundle missing", "AU executable failed to load",
// "AU factory missing" or "AU registration failed"; nothing is kept after a failure.
AudioComponent registered(const std::string& path, const std::string& factoryName, uint32_t subtype,
                          const std::string& componentName);

} // namespace kelvoaax
