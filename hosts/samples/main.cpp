// kelvo-samples: the same samples everywhere.
//
//     kelvo-samples --digests                 the digest of every case, as the reference file
//     kelvo-samples --check DIGEST_FILE       renders every case and names those that differ
//     kelvo-samples --raw FOLDER              writes every case's samples as raw float32
//     kelvo-samples --compare FOLDER FOLDER   the largest difference per case of two --raw runs
//
// The cases (sample_cases.h) render through the build's unit bundles, found as kelvo-render
// finds them. The reference digests (reference_digests.txt beside this file) are written on
// x86-64 with AVX2; every other build, the baseline path, clang and arm64 included, must match
// them bit for bit. Where one does not, --raw on both machines and --compare measure how far.

#include "bundle_discovery.h"
#include "component_loader.h"
#include "host_error.h"
#include "program_main.h"
#include "sample_cases.h"
#include "sample_files.h"

#include <sys/utsname.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kelvohost {
namespace {

constexpr const char* usage =
    "Usage: kelvo-samples --digests | --check DIGEST_FILE | --raw FOLDER |\n"
    "                     --compare FOLDER FOLDER\n"
    "\n"
    "Renders every model's same-samples cases (default and two presets, mono and stereo,\n"
    "44.1 and 96 kHz) and:\n"
    "  --digests          prints one digest per case (the reference file's format)\n"
    "  --check FILE       compares the digests with FILE's\n"
    "  --raw FOLDER       writes each case's samples into FOLDER as raw float32\n"
    "  --compare A B      the largest difference per case of two --raw folders; a case\n"
    "                     fails at 1e-6\n"
    "\n"
    "Exit status: 0 when everything matches, 1 when a case differs, 2 for a bad argument.\n";

// Largest difference --compare lets pass: where a machine's C library rounds a function
// differently from x86-64's, the difference must stay below this.
constexpr double allowedDifference = 1e-6;

// Renders every case, model by model, handing each render to done(case, samples).
template <class Done> void renderAll(Done&& done) {
    const auto folders = defaultSearchFolders();
    std::map<std::string, std::unique_ptr<LoadedComponent>> components;
    for (const std::string& model : sampleModels()) {
        components[model] = loadComponent(resolveModel(model, folders));
    }
    for (const SampleCase& sampleCase : sampleCases()) {
        done(sampleCase, renderCase(*components.at(sampleCase.model), sampleCase));
    }
}

std::string machine() {
    utsname name{};
    return ::uname(&name) == 0 ? name.machine : "an unknown machine";
}

int writeDigests() {
    std::printf(
        "# The digests kelvo-samples --check compares every build's renders with: FNV-1a 64\n"
        "# of each case's float32 output bits. Written on x86-64 with AVX2 (this run: %s)\n"
        "# from a Release build, by\n"
        "#     build/bin/kelvo-samples --digests > hosts/samples/reference_digests.txt\n",
        machine().c_str());
    renderAll([](const SampleCase& sampleCase, const Channels& samples) {
        std::printf("%s %s\n", sampleCase.name().c_str(),
                    digestText(sampleDigest(samples)).c_str());
    });
    return exitSuccess;
}

int check(const std::string& file) {
    const std::map<std::string, std::string> reference = readDigestFile(file);
    std::set<std::string> unrendered;
    for (const auto& entry : reference) {
        unrendered.insert(entry.first);
    }
    unsigned cases = 0, differing = 0;
    renderAll([&](const SampleCase& sampleCase, const Channels& samples) {
        const std::string name = sampleCase.name();
        const std::string digest = digestText(sampleDigest(samples));
        ++cases;
        unrendered.erase(name);
        const auto found = reference.find(name);
        if (found == reference.end()) {
            std::printf("not in %s: %s %s\n", file.c_str(), name.c_str(), digest.c_str());
            ++differing;
        } else if (found->second != digest) {
            std::printf("differs: %s %s, reference %s\n", name.c_str(), digest.c_str(),
                        found->second.c_str());
            ++differing;
        }
    });
    for (const std::string& name : unrendered) {
        std::printf("not rendered: %s\n", name.c_str());
    }
    if (differing > 0 || !unrendered.empty()) {
        std::printf("%u of %u cases differ from %s (on %s)\n", differing, cases, file.c_str(),
                    machine().c_str());
        return exitFailure;
    }
    std::printf("all %u cases match %s (on %s)\n", cases, file.c_str(), machine().c_str());
    return exitSuccess;
}

int writeRawFiles(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    renderAll([&](const SampleCase& sampleCase, const Channels& samples) {
        writeRaw(rawFile(folder, sampleCase), samples);
    });
    return exitSuccess;
}

int compareFolders(const std::filesystem::path& a, const std::filesystem::path& b) {
    unsigned identical = 0, beyond = 0;
    double largest = 0;
    for (const SampleCase& sampleCase : sampleCases()) {
        const std::vector<float> first = readRaw(rawFile(a, sampleCase));
        const std::vector<float> second = readRaw(rawFile(b, sampleCase));
        const RawDifference d = compareRaw(first, second);
        const std::string name = sampleCase.name();
        if (first.size() != second.size()) {
            std::printf("%-36s lengths differ: %zu and %zu samples\n", name.c_str(), first.size(),
                        second.size());
            ++beyond;
        } else if (d.differing == 0) {
            std::printf("%-36s identical\n", name.c_str());
            ++identical;
        } else {
            std::printf("%-36s largest difference %.3g, %zu of %zu samples differ, the first "
                        "at %zu\n",
                        name.c_str(), d.largest, d.differing, first.size(), d.firstAt);
            beyond += d.largest < allowedDifference ? 0 : 1;
            largest = d.largest > largest || d.largest != d.largest ? d.largest : largest;
        }
    }
    const auto cases = static_cast<unsigned>(sampleCases().size());
    std::printf("%u of %u cases identical; largest difference %.3g; %u at or beyond %g\n",
                identical, cases, largest, beyond, allowedDifference);
    return beyond == 0 ? exitSuccess : exitFailure;
}

int run(const std::vector<std::string>& arguments) {
    const std::size_t count = arguments.size();
    if (count == 1 && arguments[0] == "--digests") {
        return writeDigests();
    }
    if (count == 2 && arguments[0] == "--check") {
        return check(arguments[1]);
    }
    if (count == 2 && arguments[0] == "--raw") {
        return writeRawFiles(arguments[1]);
    }
    if (count == 3 && arguments[0] == "--compare") {
        return compareFolders(arguments[1], arguments[2]);
    }
    if (count == 1 && (arguments[0] == "-h" || arguments[0] == "--help")) {
        std::fputs(usage, stdout);
        return exitSuccess;
    }
    throw InputError("bad arguments (see --help)");
}

} // namespace
} // namespace kelvohost

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kelvohost::runProgram("kelvo-samples", [&] { return kelvohost::run(arguments); });
}
