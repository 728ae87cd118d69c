// CFBundle: bundle directories, the process-wide registry, resources and executables.

#include "object.h"

#include "error_impl.h"
#include "string_impl.h"
#include "url_impl.h"

#include <CoreFoundation/CFBundle.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFPropertyList.h>

#include <dirent.h>
#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

struct __CFBundle final : cf::CFObject {
    __CFBundle(std::string path, CFDictionaryRef info, bool immortal = false)
        : CFObject(immortal), path(std::move(path)), info(info) {
        const void* id = CFDictionaryGetValue(info, kCFBundleIdentifierKey);
        identifier = id != nullptr && CFGetTypeID(id) == cf::kStringTypeID
                         ? static_cast<CFStringRef>(id)
                         : nullptr;
    }
    ~__CFBundle() override { CFRelease(info); }
    CFTypeID typeID() const override { return cf::kBundleTypeID; }
    std::string describe() const override { return "CFBundle " + path; }

    const std::string path; // the bundle directory, absolute and resolved
    CFDictionaryRef info;   // never NULL
    CFStringRef identifier = nullptr;
    std::recursive_mutex loadMutex;
    void* handle = nullptr; // guarded by loadMutex; never closed
};

extern "C" {
const CFStringRef kCFBundleInfoDictionaryVersionKey = CFSTR("CFBundleInfoDictionaryVersion");
const CFStringRef kCFBundleExecutableKey = CFSTR("CFBundleExecutable");
const CFStringRef kCFBundleIdentifierKey = CFSTR("CFBundleIdentifier");
const CFStringRef kCFBundleVersionKey = CFSTR("CFBundleVersion");
const CFStringRef kCFBundleNameKey = CFSTR("CFBundleName");
const CFStringRef kCFBundleDevelopmentRegionKey = CFSTR("CFBundleDevelopmentRegion");
}

namespace {

// The folder inside Contents that holds the executable, named after the processor as other
// Linux plug-in bundles do; the build names it (KELVO_BUNDLE_ARCH_FOLDER, cmake/Bundle.cmake).
constexpr const char* kExecutableFolder = KELVO_BUNDLE_ARCH_FOLDER;

struct Registry {
    std::mutex mutex;
    std::vector<__CFBundle*> bundles; // each holds one reference, for the process
    CFArrayRef snapshot = nullptr;
};

Registry& registry() {
    static auto* r = new Registry();
    return *r;
}

bool exists(const std::string& path, bool* isDirectory = nullptr) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    if (isDirectory != nullptr) {
        *isDirectory = S_ISDIR(info.st_mode);
    }
    return true;
}

std::string resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : std::string();
}

CFDictionaryRef readInfo(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return nullptr;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                  static_cast<CFIndex>(bytes.size()));
    CFPropertyListRef list =
        CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
    CFRelease(data);
    if (list != nullptr && CFGetTypeID(list) != cf::kDictionaryTypeID) {
        CFRelease(list);
        return nullptr;
    }
    return static_cast<CFDictionaryRef>(list);
}

CFDictionaryRef emptyDictionary() {
    return CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                              &kCFTypeDictionaryValueCallBacks);
}

std::string executablePath(const __CFBundle* b) {
    const void* name = CFDictionaryGetValue(b->info, kCFBundleExecutableKey);
    if (name == nullptr || CFGetTypeID(name) != cf::kStringTypeID) {
        return {};
    }
    std::string file = cf::utf8(static_cast<CFStringRef>(name));
    if (file.empty() || file.find('/') != std::string::npos) {
        return {};
    }
    if (!file.ends_with(".so")) {
        file += ".so";
    }
    return b->path + "/Contents/" + kExecutableFolder + "/" + file;
}

std::string resourcesPath(const __CFBundle* b) {
    return b->path + "/Contents/Resources";
}

bool load(__CFBundle* b, CFErrorRef* error) {
    std::lock_guard lock(b->loadMutex);
    if (b->handle != nullptr) {
        return true;
    }
    const std::string file = executablePath(b);
    if (file.empty() || !exists(file)) {
        cf::setError(error, kCFErrorDomainCocoa, 4,
                     "The bundle's executable was not found: " + (file.empty() ? b->path : file));
        return false;
    }
    // Local binding: each bundle's symbols stay its own, however many define the same names.
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        cf::setError(error, kCFErrorDomainCocoa, 3587, reason != nullptr ? reason : file);
        return false;
    }
    b->handle = handle;
    return true;
}

// The address of name as the executable behind handle itself defines it, or NULL. A look-up
// through a handle searches the object's dependencies too, so a name the bundle does not define
// (say malloc) would be found in another library and called as the bundle's own: the address
// found must lie in the handle's own image.
void* symbolInOwnImage(void* handle, const std::string& name) {
    void* address = ::dlsym(handle, name.c_str());
    if (address == nullptr) {
        return nullptr;
    }
    link_map* own = nullptr;
    link_map* holder = nullptr;
    Dl_info where{};
    if (::dlinfo(handle, RTLD_DI_LINKMAP, &own) != 0 ||
        ::dladdr1(address, &where, reinterpret_cast<void**>(&holder), RTLD_DL_LINKMAP) == 0) {
        return nullptr;
    }
    return own != nullptr && holder == own ? address : nullptr;
}

} // namespace

extern "C" {

CFTypeID CFBundleGetTypeID(void) {
    return cf::kBundleTypeID;
}

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL) {
    if (bundleURL == nullptr) {
        return nullptr;
    }
    const std::string path = resolved(cf::path(bundleURL));
    bool isDirectory = false;
    if (path.empty() || !exists(path, &isDirectory) || !isDirectory) {
        return nullptr;
    }
    Registry& r = registry();
    {
        std::lock_guard lock(r.mutex);
        for (__CFBundle* b : r.bundles) {
            if (b->path == path) {
                return static_cast<CFBundleRef>(const_cast<void*>(CFRetain(b)));
            }
        }
    }
    // Read the Info.plist outside the lock: reading may be slow and must not block look-ups.
    CFDictionaryRef info = readInfo(path + "/Contents/Info.plist");
    if (info == nullptr) {
        return nullptr;
    }
    auto* created = new __CFBundle(path, info);
    std::lock_guard lock(r.mutex);
    for (__CFBundle* b : r.bundles) {
        if (b->path == path) { // made by another thread meanwhile
            CFRelease(created);
            return static_cast<CFBundleRef>(const_cast<void*>(CFRetain(b)));
        }
    }
    r.bundles.push_back(created); // the registry's reference
    return static_cast<CFBundleRef>(const_cast<void*>(CFRetain(created)));
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
    if (bundleID == nullptr) {
        return nullptr;
    }
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (__CFBundle* b : r.bundles) {
        if (b->identifier != nullptr && CFEqual(b->identifier, bundleID)) {
            return b;
        }
    }
    return nullptr;
}

CFArrayRef CFBundleGetAllBundles(void) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    CFRelease(r.snapshot);
    std::vector<const void*> values(r.bundles.begin(), r.bundles.end());
    r.snapshot = CFArrayCreate(nullptr, values.data(), static_cast<CFIndex>(values.size()),
                               &kCFTypeArrayCallBacks);
    return r.snapshot;
}

CFBundleRef CFBundleGetMainBundle(void) {
    static __CFBundle* main = [] {
        // The program's folder stands for the main bundle.
        char exe[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
        std::string folder = n > 0 ? std::string(exe, static_cast<size_t>(n)) : std::string("/");
        folder = folder.substr(0, std::max<size_t>(folder.rfind('/'), 1));
        CFDictionaryRef info = readInfo(folder + "/Contents/Info.plist");
        auto* b = new __CFBundle(folder, info != nullptr ? info : emptyDictionary(), true);
        b->handle = ::dlopen(nullptr, RTLD_NOW);
        return b;
    }();
    return main;
}

CFStringRef CFBundleGetIdentifier(CFBundleRef b) {
    return b != nullptr ? b->identifier : nullptr;
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef b) {
    return b != nullptr ? b->info : nullptr;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef b, CFStringRef key) {
    return b != nullptr && key != nullptr ? CFDictionaryGetValue(b->info, key) : nullptr;
}

UInt32 CFBundleGetVersionNumber(CFBundleRef b) {
    // "major.minor.bugfix" packed as the platform does: major 8 bits, minor 4, bugfix 4, and
    // the low 16 bits left for the (unused here) release stage.
    const void* v = b != nullptr ? CFDictionaryGetValue(b->info, kCFBundleVersionKey) : nullptr;
    if (v == nullptr || CFGetTypeID(v) != cf::kStringTypeID) {
        return 0;
    }
    unsigned major = 0, minor = 0, bugfix = 0;
    std::sscanf(cf::utf8(static_cast<CFStringRef>(v)).c_str(), "%u.%u.%u", &major, &minor, &bugfix);
    return (major & 0xFF) << 24 | (minor & 0xF) << 20 | (bugfix & 0xF) << 16;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef b) {
    return b != nullptr ? cf::makeFileURL(b->path, true) : nullptr;
}

CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef b) {
    return b != nullptr ? cf::makeFileURL(resourcesPath(b), true) : nullptr;
}

CFURLRef CFBundleCopyExecutableURL(CFBundleRef b) {
    if (b == nullptr) {
        return nullptr;
    }
    const std::string file = executablePath(b);
    return file.empty() || !exists(file) ? nullptr : cf::makeFileURL(file, false);
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef b, CFStringRef name, CFStringRef type,
                                 CFStringRef subDirName) {
    if (b == nullptr || name == nullptr) {
        return nullptr;
    }
    std::string file = cf::utf8(name);
    std::string extension = cf::utf8(type);
    if (extension.starts_with(".")) {
        extension.erase(0, 1);
    }
    if (!extension.empty()) {
        file += "." + extension;
    }
    std::string folder = resourcesPath(b);
    const std::string sub = cf::utf8(subDirName);
    if (!sub.empty()) {
        folder += "/" + sub;
    }
    if (file.empty() || file.find("..") != std::string::npos) {
        return nullptr;
    }
    const std::string path = folder + "/" + file;
    bool isDirectory = false;
    if (!exists(path, &isDirectory)) {
        return nullptr;
    }
    return cf::makeFileURL(path, isDirectory);
}

CFArrayRef CFBundleCopyResourceURLsOfType(CFBundleRef b, CFStringRef type, CFStringRef subDirName) {
    if (b == nullptr) {
        return nullptr;
    }
    std::string folder = resourcesPath(b);
    const std::string sub = cf::utf8(subDirName);
    if (!sub.empty()) {
        folder += "/" + sub;
    }
    std::string extension = cf::utf8(type);
    if (extension.starts_with(".")) {
        extension.erase(0, 1);
    }
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string n = entry->d_name;
            if (n == "." || n == "..") {
                continue;
            }
            if (extension.empty() || n.ends_with("." + extension)) {
                names.push_back(n);
            }
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    CFMutableArrayRef urls = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    for (const std::string& n : names) {
        bool isDirectory = false;
        exists(folder + "/" + n, &isDirectory);
        CFURLRef url = cf::makeFileURL(folder + "/" + n, isDirectory);
        CFArrayAppendValue(urls, url);
        CFRelease(url);
    }
    return urls;
}

Boolean CFBundleLoadExecutable(CFBundleRef b) {
    return b != nullptr && load(b, nullptr);
}

Boolean CFBundleLoadExecutableAndReturnError(CFBundleRef b, CFErrorRef* error) {
    if (error != nullptr) {
        *error = nullptr;
    }
    return b != nullptr && load(b, error);
}

Boolean CFBundleIsExecutableLoaded(CFBundleRef b) {
    if (b == nullptr) {
        return false;
    }
    std::lock_guard lock(b->loadMutex);
    return b->handle != nullptr;
}

void CFBundleUnloadExecutable(CFBundleRef) {
    // Code from a bundle may still be referenced (objects, static destructors, listeners);
    // unloading is never safe here, so bundles stay loaded.
}

void* CFBundleGetFunctionPointerForName(CFBundleRef b, CFStringRef functionName) {
    if (b == nullptr || functionName == nullptr || !load(b, nullptr)) {
        return nullptr;
    }
    std::lock_guard lock(b->loadMutex);
    return symbolInOwnImage(b->handle, cf::utf8(functionName));
}

void* CFBundleGetDataPointerForName(CFBundleRef b, CFStringRef symbolName) {
    return CFBundleGetFunctionPointerForName(b, symbolName);
}

} // extern "C"
