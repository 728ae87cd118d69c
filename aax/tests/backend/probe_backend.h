#pragma once
// The backend's tests host the probe unit from its own bundle (not the bridge's copy): a
// backend over it, and the probe's configuration and report.

#include "backend/au_backend.h"
#include "probe/probe_interface.h"

#include <CoreFoundation/CoreFoundation.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace backendtest {

inline std::string probePath() {
    return std::string(KELVO_AAX_TEST_BUNDLE_DIR) + "/KelvoProbe.component";
}

inline void* probeSymbol(const char* name) {
    static CFBundleRef bundle = [] {
        const std::string path = probePath();
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
            static_cast<CFIndex>(path.size()), true);
        CFBundleRef made = CFBundleCreate(nullptr, url);
        CFRelease(url);
        if (made == nullptr || !CFBundleLoadExecutable(made)) {
            throw std::runtime_error("no probe unit at " + path);
        }
        return made;
    }();
    CFStringRef symbol = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    void* pointer = CFBundleGetFunctionPointerForName(bundle, symbol);
    CFRelease(symbol);
    return pointer;
}

inline void configure(const probe::Configuration& configuration) {
    reinterpret_cast<KelvoProbeConfigureProc>(probeSymbol("KelvoProbeConfigure"))(&configuration);
}

inline const probe::Report& report() {
    return *reinterpret_cast<KelvoProbeReportProc>(probeSymbol("KelvoProbeReport"))();
}

// A backend over the probe, made with the configuration.
inline std::unique_ptr<kelvoaax::AUBackend> probeBackend(const probe::Configuration& setup = {}) {
    configure(setup);
    auto backend = std::make_unique<kelvoaax::AUBackend>(probePath(), "KelvoProbeFactory", 'Prob',
                                                         "Kelvo Tests: Probe");
    configure({});
    return backend;
}

} // namespace backendtest
