#pragma once
// The probe unit's own entry points (configuration and report) in one copy of its bundle: the
// bundle at that path opened through Core Foundation (the same loaded executable its backend
// runs) and the symbol looked up. Throws when the bundle or the symbol is missing.

#include "probe/probe_interface.h"

#include <CoreFoundation/CoreFoundation.h>

#include <map>
#include <stdexcept>
#include <string>

namespace probe {

inline void* symbolIn(const std::string& bundlePath, const char* name) {
    static std::map<std::string, CFBundleRef>
        bundles; // kept for the process, as backends keep them
    CFBundleRef& bundle = bundles[bundlePath];
    if (bundle == nullptr) {
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(bundlePath.c_str()),
            static_cast<CFIndex>(bundlePath.size()), true);
        bundle = CFBundleCreate(nullptr, url);
        CFRelease(url);
        if (bundle == nullptr || !CFBundleLoadExecutable(bundle)) {
            throw std::runtime_error("no probe unit at " + bundlePath);
        }
    }
    CFStringRef symbol = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    void* pointer = CFBundleGetFunctionPointerForName(bundle, symbol);
    CFRelease(symbol);
    if (pointer == nullptr) {
        throw std::runtime_error(std::string("the probe unit exports no ") + name);
    }
    return pointer;
}

inline void configureIn(const std::string& bundlePath, const Configuration& configuration) {
    reinterpret_cast<KelvoProbeConfigureProc>(symbolIn(bundlePath, "KelvoProbeConfigure"))(
        &configuration);
}

inline const Report& reportIn(const std::string& bundlePath) {
    return *reinterpret_cast<KelvoProbeReportProc>(symbolIn(bundlePath, "KelvoProbeReport"))();
}

} // namespace probe
