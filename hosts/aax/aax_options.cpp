#include "aax_options.h"

#include "host_error.h"
#include "option_scanner.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kelvohost {
namespace {

template <typename Number> bool readWhole(const std::string& text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

template <typename Number>
Number whole(const std::string& option, const std::string& text, Number minimum, Number maximum,
             const char* what) {
    Number value{};
    if (!readWhole(text, value) || value < minimum || value > maximum) {
        throw InputError(option + " takes " + what + " from " + std::to_string(minimum) + " to " +
                         std::to_string(maximum) + ", not '" + text + "'");
    }
    return value;
}

double tempo(const std::string& text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value <= 0.0 || value > 999.0) {
        throw InputError("--tempo takes beats per minute above 0 and up to 999, not '" + text +
                         "'");
    }
    return value;
}

constexpr int64_t lastSample = std::numeric_limits<int64_t>::max() / 2;

std::pair<int64_t, int64_t> loop(const std::string& text) {
    const std::size_t colon = text.find(':');
    int64_t start = 0;
    int64_t end = 0;
    if (colon == std::string::npos || !readWhole(text.substr(0, colon), start) ||
        !readWhole(text.substr(colon + 1), end) || start < 0 || end <= start || end > lastSample) {
        throw InputError("--loop takes START:END, timeline samples with START below END, not '" +
                         text + "'");
    }
    return {start, end};
}

AutomationOption automation(const std::string& text) {
    const std::size_t colon = text.find(':');
    AutomationOption point;
    if (colon == std::string::npos || !readWhole(text.substr(0, colon), point.frame) ||
        text.find('=', colon) == std::string::npos) {
        throw InputError("--automate takes FRAME:NAME=VALUE (a frame of the input), not '" + text +
                         "'");
    }
    point.assignment = text.substr(colon + 1);
    return point;
}

// The editor's command line: one PLUGIN, the image, the actions; nothing of a render.
void checkEditorCommand(AaxOptions& options, const std::vector<std::string>& operands,
                        const std::string& renderOption) {
    if (options.describe || options.list) {
        throw InputError(std::string(options.describe ? "--describe" : "--list") +
                         " and --png do not go together");
    }
    if (!renderOption.empty()) {
        throw InputError(renderOption + " is for rendering; --png shows the editor");
    }
    if (operands.empty()) {
        throw InputError("--png needs a PLUGIN (see --help)");
    }
    if (operands.size() > 1) {
        throw InputError("--png takes one PLUGIN, not '" + operands[1] + "' as well");
    }
    options.plugin = operands[0];
    if (options.plugin.empty() || options.png->empty()) {
        throw InputError("empty operand (expected PLUGIN --png OUT.png)");
    }
}

} // namespace

AaxOptions parseAaxOptions(const std::vector<std::string>& arguments) {
    AaxOptions options;
    OptionScanner scanner(arguments);
    EditorActionReader editor;
    bool blockGiven = false;
    bool renderOption = false; // any option that only a render takes
    std::string firstRender;   // the first of them, for the editor's refusal
    std::string firstEditor;   // the first option that only the editor takes
    std::string name;
    while (scanner.next(name)) {
        if (name == "-h" || name == "--help") {
            options.help = true;
            return options;
        }
        if (name == "--set") {
            // The render's automation before the first block, or the editor's action in turn.
            editor.read(scanner, name);
            options.sets.push_back(editor.actions.back().text);
            continue;
        }
        if (name == "--png" || name == "--home" || name == "--other-process" ||
            editor.read(scanner, name)) {
            if (name == "--png") {
                setOnce(options.png, name, scanner.value());
            } else if (name == "--home") {
                setOnce(options.home, name, scanner.value());
            } else if (name == "--other-process") {
                scanner.noValue();
                options.otherProcess = true;
            }
            if (firstEditor.empty() && name != "--png") {
                firstEditor = name;
            }
            continue;
        }
        if (name == "--describe") {
            scanner.noValue();
            options.describe = true;
            continue;
        }
        if (name == "--list") {
            scanner.noValue();
            options.list = true;
            continue;
        }
        renderOption = true;
        if (firstRender.empty()) {
            firstRender = name;
        }
        if (name == "--json") {
            scanner.noValue();
            options.json = true;
        } else if (name == "--state") {
            setOnce(options.state, name, scanner.value());
        } else if (name == "--chunk") {
            setOnce(options.chunk, name, scanner.value());
        } else if (name == "--save-chunk") {
            setOnce(options.saveChunk, name, scanner.value());
        } else if (name == "--bits") {
            if (options.bits) {
                throw InputError("--bits given twice");
            }
            options.bits = parseSampleFormat(scanner.value());
        } else if (name == "--block") {
            if (blockGiven) {
                throw InputError("--block given twice");
            }
            blockGiven = true;
            options.block = whole<unsigned>(name, scanner.value(), 1, aaxMaximumBlock,
                                            "a whole number of frames");
        } else if (name == "--tempo") {
            options.transport.tempo = tempo(scanner.value());
        } else if (name == "--ticks-per-quarter") {
            options.transport.ticksPerQuarter =
                whole<uint32_t>(name, scanner.value(), 1, 1u << 30, "a whole number of ticks");
        } else if (name == "--play") {
            options.transport.playFrom =
                whole<int64_t>(name, scanner.value(), 0, lastSample, "a timeline sample");
        } else if (name == "--loop") {
            options.transport.loop = loop(scanner.value());
        } else if (name == "--automate") {
            options.automation.push_back(automation(scanner.value()));
        } else {
            scanner.unknown();
        }
    }
    const std::vector<std::string>& operands = scanner.operands();
    options.editorActions = std::move(editor.actions);
    if (options.png) {
        checkEditorCommand(options, operands, renderOption ? firstRender : std::string());
        return options;
    }
    if (!firstEditor.empty()) {
        throw InputError(firstEditor + " acts on the editor: it needs --png OUT.png");
    }
    renderOption = renderOption || !options.sets.empty();

    if (options.describe && options.list) {
        throw InputError("--describe and --list do not go together");
    }
    if (options.describe || options.list) {
        const std::string option = options.describe ? "--describe" : "--list";
        if (renderOption) {
            throw InputError(option + " takes no other option, only the PLUGIN");
        }
        if (operands.size() > 1) {
            throw InputError(option + " takes one PLUGIN, not '" + operands[1] + "' as well");
        }
        if (operands.empty() && options.describe) {
            throw InputError("--describe needs a PLUGIN (see --help)");
        }
        if (!operands.empty()) {
            options.plugin = operands[0];
        }
        return options;
    }

    switch (operands.size()) {
    case 0:
        throw InputError("missing PLUGIN and OUTPUT (see --help)");
    case 1:
        throw InputError("missing OUTPUT after PLUGIN '" + operands[0] + "' (see --help)");
    case 2:
        options.plugin = operands[0];
        options.output = operands[1];
        break;
    case 3:
        options.plugin = operands[0];
        options.input = operands[1];
        options.output = operands[2];
        break;
    default:
        throw InputError("too many operands: '" + operands[3] +
                         "' (expected PLUGIN [INPUT] OUTPUT)");
    }
    if (options.plugin.empty() || options.output.empty() ||
        (options.input && options.input->empty())) {
        throw InputError("empty operand (expected PLUGIN [INPUT] OUTPUT)");
    }
    if (options.state && options.chunk) {
        throw InputError("--state and --chunk both restore the state; give one");
    }
    if (options.saveChunk && (*options.saveChunk == options.output ||
                              (options.input && *options.saveChunk == *options.input))) {
        throw InputError("--save-chunk " + *options.saveChunk + " would overwrite an audio file");
    }
    return options;
}

std::string aaxUsage(const std::vector<std::string>& folders) {
    std::string text =
        "Usage: kelvo-aax [options] PLUGIN [INPUT] OUTPUT\n"
        "       kelvo-aax PLUGIN --describe\n"
        "       kelvo-aax PLUGIN --list\n"
        "       kelvo-aax --list\n"
        "       kelvo-aax PLUGIN --png OUT.png [actions...]\n"
        "\n"
        "Plays the AAX host for a Kelvo AAX plug-in: describes it as the host sees it at a\n"
        "scan, lists an instance's parameters, or renders INPUT through an instance into\n"
        "OUTPUT, with the input's sample rate, channel count and length. The component is\n"
        "the one for the input's channel count; the host's rate is the input's. Without\n"
        "INPUT, a built-in six-second stereo demo at 48 kHz is rendered.\n"
        "\n"
        "  PLUGIN  a plug-in name (fennic, corvel), a product name (KelvoFennicAAX), in any\n"
        "          case, or the path of an .aaxplugin bundle\n"
        "  INPUT   any audio file libsndfile reads (WAV, AIFF, FLAC, Ogg, ...), mono or stereo\n"
        "  OUTPUT  the file to write, in the format its extension names: .wav (or none),\n"
        "          .aiff, .aif, .caf, .flac, .ogg. A file is replaced only when everything\n"
        "          succeeded (a symlink's target, a hard-linked file in place); a device, a\n"
        "          FIFO or /dev/stdout is written as the audio comes\n"
        "\n"
        "Options:\n"
        "  --set NAME=VALUE      set a parameter by name (any case) or identifier (au_3,\n"
        "                        MasterBypassID) through the host's automation: a plain number\n"
        "                        is the real value (Input=30), other text is read as the\n"
        "                        plug-in displays it (\"Ratio=8:1\", Bypass=On); repeatable\n"
        "  --state FILE          restore a saved unit state or .aupreset file (XML or binary\n"
        "                        plist), handed to the plug-in as its state chunk\n"
        "  --chunk FILE          restore a state chunk saved with --save-chunk\n"
        "  --save-chunk FILE     save the plug-in's state chunk after rendering, written as\n"
        "                        OUTPUT is and put in place with it\n"
        "  --bits 16|24|32|float the output's samples, without dither (default: float, 24\n"
        "                        for FLAC; Ogg Vorbis takes none)\n"
        "  --block N             frames per process call, 1 to 65536 (default 512)\n"
        "  --automate FRAME:NAME=VALUE\n"
        "                        set a parameter as the render reaches that input frame (the\n"
        "                        block is split there); repeatable\n"
        "  --play SAMPLE         the transport plays, the first frame at that timeline sample\n"
        "                        (without it the transport is stopped at 0)\n"
        "  --loop START:END      the host loops the timeline samples START to END\n"
        "  --tempo BPM           the host's tempo (default 120)\n"
        "  --ticks-per-quarter N the host's ticks per quarter note (default 960000)\n"
        "  --json                print the unit's meters and the reported latency after\n"
        "                        rendering, as JSON on stdout\n"
        "  --describe            the effect, its components, property maps, context fields and\n"
        "                        procedures as the host saw them\n"
        "  --list                without PLUGIN: the plug-ins found; with PLUGIN: an instance's\n"
        "                        parameters with their steps, types, tapers and displays\n"
        "  -h, --help            show this help\n"
        "\n"
        "The state is restored first, then each --set applied; --set values reach the unit\n"
        "through the first block's parameter snapshot, as a host's automation does.\n"
        "\n"
        "With --png, opens an instance's editor (the unit's own, or a field saying why there\n"
        "is none) in the host's window through the plug-in's GUI object, performs the\n"
        "actions in order with the host's periodic call and run loop going, writes the window\n"
        "as OUT.png and prints what the host received: parameter touches, values and\n"
        "releases by AAX identifier, and each size the editor asked its window to take. The\n"
        "first --input decides the component and the rate (without one, stereo at 48 kHz).\n"
        "Actions, performed in order:\n";
    text += editorActionsUsage;
    text +=
        "  --home DIR              the home folder (user presets: DIR/Library/Audio/Presets)\n"
        "  --other-process         the host runs the editor in another process than the\n"
        "                          plug-in's data model, as a host that is no AAX Native host\n"
        "\n"
        "Plug-ins are looked up in these folders, in order (the build's bundles, then those of\n"
        "KELVO_PLUGIN_PATH, colon-separated):\n";
    for (const auto& folder : folders) {
        text += "  " + folder + "\n";
    }
    if (folders.empty()) {
        text += "  (no folder)\n";
    }
    text += "\n"
            "Examples:\n"
            "  kelvo-aax fennic --describe\n"
            "  kelvo-aax fennic --list\n"
            "  kelvo-aax fennic in.wav out.wav --set Ratio=8:1 --set Input=30 --json\n"
            "  kelvo-aax corvel in.wav out.wav --play 0 --tempo 96 --automate 48000:Bypass=On\n"
            "  kelvo-aax fennic in.wav out.wav --state song.aupreset --save-chunk song.kau1\n"
            "  kelvo-aax corvel in.flac out.flac --bits 16\n"
            "  kelvo-aax fennic --png fennic.png --drag 191.4,348,0,-60 --ticks 3\n"
            "  kelvo-aax corvel --png remote.png --other-process\n"
            "\n"
            "Exit status: 0 on success; 2 when an argument, file, plug-in, parameter or value is\n"
            "refused (nothing is written then); 1 when the plug-in itself fails.\n";
    return text;
}

} // namespace kelvohost
