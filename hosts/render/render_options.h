#pragma once
// The command line of kelvo-render:
//     kelvo-render [options] MODEL [INPUT] OUTPUT
//     kelvo-render --list [MODEL]
// Options and operands may come in any order; "--" ends the options.

#include "output_format.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvohost {

inline constexpr unsigned defaultBlockFrames = 512;
inline constexpr unsigned maximumBlockFrames = 65536;

struct RenderOptions {
    bool help = false;
    bool list = false;
    bool json = false;
    std::optional<std::string> preset;
    std::vector<std::string> sets; // "NAME=VALUE", in the order given
    std::optional<std::string> state;
    unsigned block = defaultBlockFrames;
    std::optional<SampleFormat> bits; // none: the output container's default

    std::string model;                // empty only for --list without a model, or --help
    std::optional<std::string> input; // none: the built-in demo
    std::string output;
};

// Throws InputError with a one-line message for anything it cannot make sense of. With -h or
// --help anywhere, returns at once with help set.
RenderOptions parseRenderOptions(const std::vector<std::string>& arguments);

// The --help text; folders are where models are looked up.
std::string renderUsage(const std::vector<std::string>& folders);

} // namespace kelvohost
