#pragma once
// The command line of kelvo-aax, which reads as kelvo-render's does:
//     kelvo-aax [options] PLUGIN [INPUT] OUTPUT
//     kelvo-aax PLUGIN --describe
//     kelvo-aax PLUGIN --list
//     kelvo-aax --list
//     kelvo-aax PLUGIN --png OUT.png [actions...]
// Options and operands may come in any order; "--" ends the options.

#include "actions.h"
#include "output_format.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvohost {

inline constexpr unsigned aaxDefaultBlock = 512;
inline constexpr unsigned aaxMaximumBlock = 65536; // the bridge prepares its unit for this

// --automate FRAME:NAME=VALUE
struct AutomationOption {
    std::size_t frame = 0;
    std::string assignment; // NAME=VALUE
};

// The host's transport while it renders.
struct TransportOptions {
    double tempo = 120.0;
    uint32_t ticksPerQuarter = 960000;
    std::optional<int64_t> playFrom;                 // the timeline sample the first frame plays at
    std::optional<std::pair<int64_t, int64_t>> loop; // timeline samples, start before end
};

struct AaxOptions {
    bool help = false;
    bool describe = false;
    bool list = false;
    bool json = false;
    std::vector<std::string> sets; // NAME=VALUE, in the order given
    std::optional<std::string> state;
    std::optional<std::string> chunk;
    std::optional<std::string> saveChunk;
    unsigned block = aaxDefaultBlock;
    std::optional<SampleFormat> bits; // none: the output container's default
    TransportOptions transport;
    std::vector<AutomationOption> automation; // in the order given

    std::string plugin;               // empty only for --list alone, or --help
    std::optional<std::string> input; // none: the built-in demo
    std::string output;

    // The editor: --png OUT.png and the actions performed on it, in order (--set among them).
    std::optional<std::string> png;
    std::vector<EditorAction> editorActions;
    std::optional<std::string> home; // the home folder, where user presets lie
    bool otherProcess = false;       // the GUI runs apart from the data model
};

// Throws InputError with a one-line message for anything it cannot make sense of. With -h or
// --help anywhere, returns at once with help set.
AaxOptions parseAaxOptions(const std::vector<std::string>& arguments);

// The --help text; folders are where plug-ins are looked up.
std::string aaxUsage(const std::vector<std::string>& folders);

} // namespace kelvohost
