// kelvo-validate: checks a unit bundle through the Audio Unit calls only, as a host's own
// validator would, and prints a PASS or FAIL line per check.
//
//     kelvo-validate [--verbose] [--no-suite] BUNDLE|MODEL

#include "bundle_discovery.h"
#include "component_loader.h"
#include "host_error.h"
#include "printable_text.h"
#include "program_main.h"
#include "validation.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace kelvohost {
namespace {

constexpr const char* usage =
    "Usage: kelvo-validate [--verbose] [--no-suite] BUNDLE|MODEL\n"
    "\n"
    "Validates a unit bundle through the Audio Unit calls: its component and Info.plist codes,\n"
    "lifecycle, channel configurations, rendering at 8000 to 192000 Hz in blocks of 1 to 4096\n"
    "frames, maximum frames, parameters and value strings, parameter changes during render,\n"
    "saved state, Reset, factory presets and allocation on the render path; Kelvo units also\n"
    "against the suite's own conventions. Prints a PASS or FAIL line per check.\n"
    "\n"
    "  BUNDLE   the path of a .component bundle\n"
    "  MODEL    a model or product name, looked up like kelvo-render does\n"
    "  --verbose   show the details of passing checks too\n"
    "  --no-suite  check only the platform's contract, not the suite's own conventions\n"
    "              (for units that are not Kelvo models, such as test fixtures)\n"
    "\n"
    "Exit status: 0 when every check passes, 1 when any fails, 2 for a bad argument.\n";

constexpr UInt32 kelvoManufacturer = 'Kvlo';

int run(int argc, char** argv) {
    bool verbose = false;
    bool suite = true;
    std::string target;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(usage, stdout);
            return exitSuccess;
        }
        if (argument == "--verbose" || argument == "-v") {
            verbose = true;
        } else if (argument == "--no-suite") {
            suite = false;
        } else if (argument.starts_with("-")) {
            throw InputError("unknown option " + argument + " (see --help)");
        } else if (!target.empty()) {
            throw InputError("one BUNDLE or MODEL at a time, not also '" + argument + "'");
        } else {
            target = argument;
        }
    }
    if (target.empty()) {
        throw InputError("missing BUNDLE or MODEL (see --help)");
    }
    const BundleLocation location = resolveModel(target, defaultSearchFolders());

    Report report;
    report.setVerbose(verbose);
    std::printf("kelvo-validate: %s (%s)\n  %s\n", location.product.c_str(), location.model.c_str(),
                printableText(location.path.string()).c_str());

    std::unique_ptr<LoadedComponent> component;
    try {
        component = loadComponent(location);
    } catch (const InputError& error) {
        report.section("Loading");
        report.check(false, "the bundle registers its component", printableText(error.what()));
        report.summary();
        return exitFailure;
    }

    Validation validation{*component, report,
                          suite &&
                              component->description.componentManufacturer == kelvoManufacturer};
    const auto checks = {checkComponent,      checkLifecycle,        checkChannelConfigurations,
                         checkRatesAndBlocks, checkMaximumFrames,    checkParameters,
                         checkAutomation,     checkClassInfo,        checkReset,
                         checkFactoryPresets, checkRenderAllocations};
    for (const auto check : checks) {
        try {
            check(validation);
        } catch (const std::exception& error) {
            report.check(false, "the checks of this section run to the end", error.what());
        }
    }
    if (validation.kelvo) {
        checkSuiteConventions(validation);
    }
    report.summary();
    return report.failed() == 0 ? exitSuccess : exitFailure;
}

} // namespace
} // namespace kelvohost

int main(int argc, char** argv) {
    return kelvohost::runProgram("kelvo-validate", [&] { return kelvohost::run(argc, argv); });
}
