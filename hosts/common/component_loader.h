#pragma once
// Loading a unit bundle the way a host does: register the components its Info.plist declares
// with the platform, then find the declared component through AudioComponentFindNext.

#include "bundle_discovery.h"
#include "bundle_info.h"

#include <AudioToolbox/AudioToolbox.h>

#include <memory>

namespace kelvohost {

struct LoadedComponent {
    BundleLocation location;
    BundleInfo info;
    const ComponentDeclaration* declaration = nullptr; // the first declared component, in info
    CFBundleRef bundle = nullptr;                      // +0, owned by the bundle registry
    AudioComponent component = nullptr;
    AudioComponentDescription description{};

    LoadedComponent() = default;
    LoadedComponent(const LoadedComponent&) = delete; // declaration points into info
    LoadedComponent& operator=(const LoadedComponent&) = delete;
};

// [main thread] Throws InputError when the bundle is missing, malformed, fails to load (its
// executable does not load, or does not itself define a declared factory function: the message
// names it), or its component cannot be found after registration.
std::unique_ptr<LoadedComponent> loadComponent(const BundleLocation& location);

} // namespace kelvohost
