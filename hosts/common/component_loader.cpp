#include "component_loader.h"

#include "cf_handle.h"
#include "host_error.h"

#include <memory>

namespace kelvohost {
namespace {

// Why registration failed, in words a user can act on: the platform answers only that the
// bundle is invalid. A factory the executable does not define is asked of the bundle through
// the same look-up the registration made; anything else keeps the platform's status.
std::string registrationFailure(CFURLRef url, const BundleInfo& info, OSStatus status) {
    const CFHandle<CFBundleRef> bundle(CFBundleCreate(kCFAllocatorDefault, url));
    if (bundle && CFBundleLoadExecutable(bundle.get())) {
        for (const ComponentDeclaration& declaration : info.components) {
            const CFHandle<CFStringRef> name = makeCFString(declaration.factoryFunction);
            if (!declaration.factoryFunction.empty() &&
                CFBundleGetFunctionPointerForName(bundle.get(), name.get()) == nullptr) {
                return "the bundle's executable does not define its factory function '" +
                       declaration.factoryFunction + "'";
            }
        }
    }
    return "the bundle does not load (status " + std::to_string(status) + ")";
}

} // namespace

std::unique_ptr<LoadedComponent> loadComponent(const BundleLocation& location) {
    auto loaded = std::make_unique<LoadedComponent>();
    loaded->location = location;
    loaded->info = readBundleInfo(location.path);
    const std::string where = location.path.string() + ": ";
    if (loaded->info.components.empty()) {
        throw InputError(where + "the bundle declares no audio component");
    }
    loaded->declaration = &loaded->info.components.front();
    const ComponentDeclaration& declaration = *loaded->declaration;
    if (declaration.type.size() != 4 || declaration.subtype.size() != 4 ||
        declaration.manufacturer.size() != 4) {
        throw InputError(where + "the bundle's component codes are malformed");
    }

    const std::string path = location.path.string();
    const CFHandle<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
        kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.data()),
        static_cast<CFIndex>(path.size()), true));
    UInt32 count = 0;
    const OSStatus status = AudioComponentRegisterFromBundle(url.get(), &loaded->bundle, &count);
    if (status != noErr) {
        throw InputError(where + registrationFailure(url.get(), loaded->info, status));
    }

    AudioComponentDescription wanted{};
    wanted.componentType = declaration.typeCode;
    wanted.componentSubType = declaration.subtypeCode;
    wanted.componentManufacturer = declaration.manufacturerCode;
    loaded->component = AudioComponentFindNext(nullptr, &wanted);
    if (loaded->component == nullptr) {
        throw InputError(where + "component " + declaration.type + " " + declaration.subtype + " " +
                         declaration.manufacturer + " not found after registration");
    }
    AudioComponentGetDescription(loaded->component, &loaded->description);
    return loaded;
}

} // namespace kelvohost
