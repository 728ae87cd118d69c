// Registering the components a bundle declares in its Info.plist.

#include <AudioToolbox/AudioComponentBundle.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Registered {
    CFBundleRef bundle; // kept for the life of the process
    UInt32 count;
};

struct BundleRegistry {
    std::mutex mutex;
    std::map<std::string, Registered> bundles; // by canonical bundle path
};

BundleRegistry& registry() {
    static BundleRegistry* instance = new BundleRegistry;
    return *instance;
}

std::string pathOf(CFURLRef url) {
    char path[4096] = {};
    if (!CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path),
                                          sizeof(path))) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error ? std::string(path) : canonical.string();
}

bool utf8(CFTypeRef value, std::string& out) {
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) {
        return false;
    }
    char buffer[1024] = {};
    if (!CFStringGetCString(static_cast<CFStringRef>(value), buffer, sizeof(buffer),
                            kCFStringEncodingUTF8)) {
        return false;
    }
    out = buffer;
    return true;
}

// A four-character code string, first character in the most significant byte.
bool fourCharCode(CFTypeRef value, OSType& out) {
    std::string text;
    if (!utf8(value, text) || text.size() != 4) {
        return false;
    }
    out = 0;
    for (char c : text) {
        out = (out << 8) | static_cast<UInt8>(c);
    }
    return true;
}

struct Declared {
    AudioComponentDescription description;
    CFStringRef name; // borrowed from the Info dictionary
    UInt32 version;
    AudioComponentFactoryFunction factory;
};

bool readDeclaration(CFBundleRef bundle, CFTypeRef entry, Declared& out) {
    if (entry == nullptr || CFGetTypeID(entry) != CFDictionaryGetTypeID()) {
        return false;
    }
    const auto dictionary = static_cast<CFDictionaryRef>(entry);
    out.description = {};
    if (!fourCharCode(CFDictionaryGetValue(dictionary, CFSTR("type")),
                      out.description.componentType) ||
        !fourCharCode(CFDictionaryGetValue(dictionary, CFSTR("subtype")),
                      out.description.componentSubType) ||
        !fourCharCode(CFDictionaryGetValue(dictionary, CFSTR("manufacturer")),
                      out.description.componentManufacturer)) {
        return false;
    }
    CFTypeRef name = CFDictionaryGetValue(dictionary, CFSTR("name"));
    if (name == nullptr || CFGetTypeID(name) != CFStringGetTypeID()) {
        return false;
    }
    out.name = static_cast<CFStringRef>(name);
    CFTypeRef version = CFDictionaryGetValue(dictionary, CFSTR("version"));
    SInt64 versionValue = 0;
    if (version == nullptr || CFGetTypeID(version) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(version), kCFNumberSInt64Type, &versionValue) ||
        versionValue < 0 || versionValue > 0xFFFFFFFFLL) {
        return false;
    }
    out.version = static_cast<UInt32>(versionValue);
    CFTypeRef factoryName = CFDictionaryGetValue(dictionary, CFSTR("factoryFunction"));
    if (factoryName == nullptr || CFGetTypeID(factoryName) != CFStringGetTypeID()) {
        return false;
    }
    void* symbol = CFBundleGetFunctionPointerForName(bundle, static_cast<CFStringRef>(factoryName));
    // The exported factory returns the plug-in interface as void*; the platform's function type
    // names the same pointer.
    out.factory = reinterpret_cast<AudioComponentFactoryFunction>(symbol);
    return out.factory != nullptr;
}

} // namespace

extern "C" OSStatus AudioComponentRegisterFromBundle(CFURLRef bundleURL, CFBundleRef* outBundle,
                                                     UInt32* outCount) {
    if (bundleURL == nullptr) {
        return kAudio_ParamError;
    }
    const std::string path = pathOf(bundleURL);
    BundleRegistry& r = registry();
    std::lock_guard lock(r.mutex);
    if (auto found = r.bundles.find(path); found != r.bundles.end()) {
        if (outBundle != nullptr) {
            *outBundle = found->second.bundle;
        }
        if (outCount != nullptr) {
            *outCount = found->second.count;
        }
        return noErr;
    }

    CFBundleRef bundle = CFBundleCreate(kCFAllocatorDefault, bundleURL);
    if (bundle == nullptr) {
        return kAudio_FileNotFoundError;
    }
    auto fail = [bundle](OSStatus status) {
        CFRelease(bundle);
        return status;
    };
    if (!CFBundleLoadExecutable(bundle)) {
        return fail(kAudioUnitErr_InvalidFile);
    }
    CFTypeRef list = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("AudioComponents"));
    if (list == nullptr || CFGetTypeID(list) != CFArrayGetTypeID()) {
        return fail(kAudioUnitErr_InvalidFile);
    }
    const auto array = static_cast<CFArrayRef>(list);
    std::vector<Declared> declared(static_cast<std::size_t>(CFArrayGetCount(array)));
    if (declared.empty()) {
        return fail(kAudioUnitErr_InvalidFile);
    }
    // Every entry is checked before any is registered.
    for (std::size_t i = 0; i < declared.size(); ++i) {
        if (!readDeclaration(bundle, CFArrayGetValueAtIndex(array, static_cast<CFIndex>(i)),
                             declared[i])) {
            return fail(kAudioUnitErr_InvalidFile);
        }
    }
    for (const Declared& component : declared) {
        if (AudioComponentRegister(&component.description, component.name, component.version,
                                   component.factory) == nullptr) {
            return fail(kAudio_ParamError);
        }
    }
    const auto count = static_cast<UInt32>(declared.size());
    r.bundles.emplace(path, Registered{bundle, count});
    if (outBundle != nullptr) {
        *outBundle = bundle;
    }
    if (outCount != nullptr) {
        *outCount = count;
    }
    return noErr;
}
