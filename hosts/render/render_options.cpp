#include "render_options.h"

#include "host_error.h"

#include <charconv>

namespace kelvohost {
namespace {

unsigned parseBlock(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 ||
        value > maximumBlockFrames) {
        throw InputError("--block takes a whole number of frames from 1 to " +
                         std::to_string(maximumBlockFrames) + ", not '" + text + "'");
    }
    return value;
}

void setOnce(std::optional<std::string>& slot, const std::string& option,
             const std::string& value) {
    if (slot) {
        throw InputError(option + " given twice");
    }
    slot = value;
}

} // namespace

RenderOptions parseRenderOptions(const std::vector<std::string>& arguments) {
    RenderOptions options;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    bool blockGiven = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            return options;
        }

        // --name=value or --name value
        std::string name = argument;
        std::optional<std::string> attached;
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string::npos) {
            name = argument.substr(0, equals);
            attached = argument.substr(equals + 1);
        }
        const auto value = [&]() -> std::string {
            if (attached) {
                return *attached;
            }
            if (i + 1 >= arguments.size()) {
                throw InputError(name + " needs a value (see --help)");
            }
            return arguments[++i];
        };
        const auto noValue = [&] {
            if (attached) {
                throw InputError(name + " takes no value");
            }
        };

        if (name == "--list") {
            noValue();
            options.list = true;
        } else if (name == "--json") {
            noValue();
            options.json = true;
        } else if (name == "--preset") {
            setOnce(options.preset, name, value());
        } else if (name == "--state") {
            setOnce(options.state, name, value());
        } else if (name == "--set") {
            options.sets.push_back(value());
        } else if (name == "--bits") {
            if (options.bits) {
                throw InputError("--bits given twice");
            }
            options.bits = parseSampleFormat(value());
        } else if (name == "--block") {
            if (blockGiven) {
                throw InputError("--block given twice");
            }
            blockGiven = true;
            options.block = parseBlock(value());
        } else {
            throw InputError("unknown option " + name + " (see --help)");
        }
    }

    if (options.list) {
        if (options.preset || options.state || !options.sets.empty() || options.json ||
            blockGiven || options.bits) {
            throw InputError("--list takes no other option, only an optional MODEL");
        }
        if (operands.size() > 1) {
            throw InputError("--list takes at most one MODEL, not '" + operands[1] + "'");
        }
        if (!operands.empty()) {
            options.model = operands[0];
        }
        return options;
    }

    switch (operands.size()) {
    case 0:
        throw InputError("missing MODEL and OUTPUT (see --help)");
    case 1:
        throw InputError("missing OUTPUT after MODEL '" + operands[0] + "' (see --help)");
    case 2:
        options.model = operands[0];
        options.output = operands[1];
        break;
    case 3:
        options.model = operands[0];
        options.input = operands[1];
        options.output = operands[2];
        break;
    default:
        throw InputError("too many operands: '" + operands[3] +
                         "' (expected MODEL [INPUT] OUTPUT)");
    }
    if (options.model.empty() || options.output.empty() ||
        (options.input && options.input->empty())) {
        throw InputError("empty operand (expected MODEL [INPUT] OUTPUT)");
    }
    return options;
}

std::string renderUsage(const std::vector<std::string>& folders) {
    std::string text =
        "Usage: kelvo-render [options] MODEL [INPUT] OUTPUT\n"
        "       kelvo-render --list [MODEL]\n"
        "\n"
        "Renders INPUT through a Kelvo unit into OUTPUT, with the input's sample rate,\n"
        "channel count and length (the unit's latency is kept, not trimmed). Without INPUT,\n"
        "a built-in six-second stereo demo at 48 kHz is rendered.\n"
        "\n"
        "  MODEL   a model name (tolvar, opalin, ...), a product name (KelvoTolvar), in any\n"
        "          case, or the path of a .component bundle\n"
        "  INPUT   any audio file libsndfile reads (WAV, AIFF, FLAC, Ogg, ...), mono or stereo\n"
        "  OUTPUT  the file to write, in the format its extension names: .wav (or none),\n"
        "          .aiff, .aif, .caf, .flac, .ogg. A file is replaced only when the render\n"
        "          succeeded (a symlink's target, a hard-linked file in place); a device, a\n"
        "          FIFO or /dev/stdout is written as the audio comes\n"
        "\n"
        "Options:\n"
        "  --preset N|NAME    select a factory preset by number, by name, or by\n"
        "                     \"Group / Name\" as --list shows it\n"
        "  --set NAME=VALUE   set a parameter, by name (any case) or ID; a plain number is the\n"
        "                     value itself, as --list shows the range (Level=4, Recovery=3),\n"
        "                     other text a caption or a value with its unit (\"Gain=+5 dB\",\n"
        "                     \"Recovery=6 \xC2\xB7 Slow\", \"Input Trim=-6 dB\");\n"
        "                     repeatable, applied in order\n"
        "  --state FILE       restore a saved state or .aupreset file (XML or binary plist)\n"
        "  --bits 16|24|32|float  the output's samples, without dither (default: float,\n"
        "                     24 for FLAC; Ogg Vorbis takes none)\n"
        "  --block N          frames per render call, 1 to 65536 (default 512)\n"
        "  --json             print the unit's meters after rendering, as JSON on stdout\n"
        "  --list             without MODEL: the models found; with MODEL: its parameters,\n"
        "                     captions and factory presets\n"
        "  -h, --help         show this help\n"
        "\n"
        "The state is restored first, then the preset selected, then each --set applied.\n"
        "\n"
        "Models are looked up in these folders, in order (the build's bundles, then those of\n"
        "KELVO_PLUGIN_PATH, colon-separated):\n";
    for (const auto& folder : folders) {
        text += "  " + folder + "\n";
    }
    if (folders.empty()) {
        text += "  (no folder)\n";
    }
    text +=
        "\n"
        "Examples:\n"
        "  kelvo-render tolvar in.wav out.wav --preset \"Tube Edge\" --json\n"
        "  kelvo-render tolvar demo.flac --set \"Gain=+5 dB\" --set Level=4\n"
        "  kelvo-render mireth in.wav /dev/stdout --set Recovery=3 | sox -t wav - -n stats\n"
        "  kelvo-render --list\n"
        "  kelvo-render tolvar --list\n"
        "\n"
        "Exit status: 0 on success; 2 when an argument, file, model, parameter, preset or value\n"
        "is refused (nothing is written then); 1 when the unit itself fails.\n";
    return text;
}

} // namespace kelvohost
