#pragma once
// The backend's tests host the probe unit from its own bundle (not the bridge's copy): a
// backend over it, and the probe's configuration and report.

#include "backend/au_backend.h"
#include "probe/probe_interface.h"
#include "probe/probe_loader.h"

#include <memory>
#include <string>

namespace backendtest {

inline std::string probePath() {
    return std::string(KELVO_AAX_TEST_BUNDLE_DIR) + "/KelvoProbe.component";
}

inline void configure(const probe::Configuration& configuration) {
    probe::configureIn(probePath(), configuration);
}

inline const probe::Report& report() {
    return probe::reportIn(probePath());
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
