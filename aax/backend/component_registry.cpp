#include "backend/component_registry.h"

#include "backend/cf_owned.h"

#include <mutex>
#include <stdexcept>
#include <vector>

namespace kelvoaax {
namespace {

constexpr OSType unitType = 'aufx';
constexpr OSType manufacturer = 'Kvlo';
constexpr UInt32 componentVersion = 0x10000; // 1.0.0

struct Entry {
    std::string path;
    AudioComponent component;
    CFBundleRef bundle; // retained for the life of the process
};

struct Registry {
    std::mutex mutex;
    std::vector<Entry> entries;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

CFOwned<CFStringRef> utf8String(const std::string& text) {
    return CFOwned<CFStringRef>(
        CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8));
}

} // namespace

AudioComponent registered(const std::string& path, const std::string& factoryName, uint32_t subtype,
                          const std::string& componentName) {
    Registry& shared = registry();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    for (const Entry& entry : shared.entries) {
        if (entry.path == path) {
            return entry.component;
        }
    }

    const CFOwned<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.data()), static_cast<CFIndex>(path.size()),
        true));
    CFOwned<CFBundleRef> bundle(url.get() != nullptr ? CFBundleCreate(nullptr, url.get())
                                                     : nullptr);
    if (bundle.get() == nullptr) {
        throw std::runtime_error("AU bundle missing");
    }
    if (!CFBundleLoadExecutable(bundle.get())) {
        throw std::runtime_error("AU executable failed to load");
    }
    const CFOwned<CFStringRef> factorySymbol = utf8String(factoryName);
    void* factory = factorySymbol.get() != nullptr
                        ? CFBundleGetFunctionPointerForName(bundle.get(), factorySymbol.get())
                        : nullptr;
    if (factory == nullptr) {
        throw std::runtime_error("AU factory missing");
    }
    const AudioComponentDescription description{unitType, subtype, manufacturer, 0, 0};
    const CFOwned<CFStringRef> name = utf8String(componentName);
    AudioComponent component =
        AudioComponentRegister(&description, name.get(), componentVersion,
                               reinterpret_cast<AudioComponentFactoryFunction>(factory));
    if (component == nullptr) {
        throw std::runtime_error("AU registration failed");
    }
    shared.entries.push_back({path, component, bundle.release()});
    return component;
}

} // namespace kelvoaax
