#include "actions.h"

#include "host_error.h"

#include <cstdlib>
#include <sstream>

using kelvohost::InputError;

const char* const editorActionsUsage =
    "  --set NAME=VALUE        set a parameter as the host does: a plain number is its\n"
    "                          value itself, other text a caption (\"Recovery=6 \xC2\xB7 Slow\")\n"
    "  --input FILE            render a sound file through the unit (the meters move)\n"
    "  --click X,Y             click at view point (X, Y) of the faceplate at 100 %\n"
    "  --double-click X,Y\n"
    "  --drag X,Y,DX,DY        drag from (X, Y) by (DX, DY); y grows downwards\n"
    "  --shift                 hold Shift during the next click or drag\n"
    "  --wheel X,Y,DY          scroll the wheel by DY over (X, Y)\n"
    "  --key X,Y,up|down|left|right   an arrow key to the control at (X, Y)\n"
    "  --detail                press DETAIL\n"
    "  --scale 75|85|100       choose the interface size\n"
    "  --ticks N               advance the 30 Hz poll N times\n"
    "  --preset-menu PATH      click PRESETS and choose PATH (\"Vocals/Warm Body\",\n"
    "                          \"User Presets/Folder/Name\", \"Save Preset\u2026\")\n"
    "  --answer FILE|cancel    the file for the panel the last --preset-menu opened\n"
    "  --help-mode             click ? (help mode on or off)\n"
    "  --hover X,Y             move the mouse to (X, Y); the next poll follows it\n"
    "  --guide                 click GUIDE; the guide window is written as OUT-guide.png\n";

std::string editorUsage() {
    return std::string("usage: kelvo-editor MODEL --png OUT.png [actions...]\n"
                       "actions, performed in order:\n") +
           editorActionsUsage +
           "  --time N                report the time of N refreshes with a full redraw\n"
           "  --home DIR              the home folder (user presets: "
           "DIR/Library/Audio/Presets)\n";
}

namespace {

bool numbers(const std::string& text, std::size_t count, double* out) {
    std::stringstream stream(text);
    std::string item;
    std::size_t n = 0;
    while (std::getline(stream, item, ',')) {
        if (n == count) {
            return false;
        }
        char* end = nullptr;
        out[n] = std::strtod(item.c_str(), &end);
        if (end == item.c_str() || *end != 0) {
            return false;
        }
        ++n;
    }
    return n == count;
}

// "X,Y" and the like; throws with the option's own wording.
void coordinates(const std::string& value, std::size_t count, double* out, const char* wants) {
    if (!numbers(value, count, out)) {
        throw InputError(wants);
    }
}

int wholeNumber(const std::string& option, const std::string& value) {
    char* end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (end == value.c_str() || *end != 0 || n < 0 || n > 1000000) {
        throw InputError(option + " wants a whole number");
    }
    return static_cast<int>(n);
}

} // namespace

bool EditorActionReader::read(kelvohost::OptionScanner& scanner, const std::string& name) {
    using Kind = EditorAction::Kind;
    EditorAction action{};
    double v[4] = {};
    if (name == "--shift") {
        scanner.noValue();
        shift_ = true;
        return true;
    }
    if (name == "--answer") {
        const std::string value = scanner.value();
        if (actions.empty() || actions.back().kind != Kind::presetMenu ||
            !actions.back().answer.empty() || value.empty()) {
            throw InputError("--answer FILE|cancel follows a --preset-menu");
        }
        actions.back().answer = value;
        return true;
    }
    if (name == "--detail" || name == "--help-mode" || name == "--guide") {
        scanner.noValue();
        action.kind = name == "--detail"  ? Kind::detail
                      : name == "--guide" ? Kind::guide
                                          : Kind::helpMode;
    } else if (name == "--preset-menu") {
        action.kind = Kind::presetMenu;
        action.text = scanner.value();
        if (action.text.empty()) {
            throw InputError("--preset-menu wants a menu path");
        }
    } else if (name == "--hover") {
        coordinates(scanner.value(), 2, v, "--hover wants X,Y");
        action.kind = Kind::hover;
        action.x = v[0];
        action.y = v[1];
    } else if (name == "--set" || name == "--input") {
        action.kind = name == "--set" ? Kind::set : Kind::input;
        action.text = scanner.value();
    } else if (name == "--click" || name == "--double-click") {
        coordinates(scanner.value(), 2, v,
                    name == "--click" ? "--click wants X,Y" : "--double-click wants X,Y");
        action.kind = name == "--click" ? Kind::click : Kind::doubleClick;
        action.x = v[0];
        action.y = v[1];
        action.shift = shift_;
        shift_ = false;
    } else if (name == "--drag") {
        coordinates(scanner.value(), 4, v, "--drag wants X,Y,DX,DY");
        action = {Kind::drag, {}, v[0], v[1], v[2], v[3], shift_, 0};
        shift_ = false;
    } else if (name == "--wheel") {
        coordinates(scanner.value(), 3, v, "--wheel wants X,Y,DY");
        action = {Kind::wheel, {}, v[0], v[1], 0, v[2], false, 0};
    } else if (name == "--key") {
        const std::string value = scanner.value();
        const std::size_t comma = value.rfind(',');
        const std::string key = comma == std::string::npos ? "" : value.substr(comma + 1);
        if (!numbers(value.substr(0, comma), 2, v) ||
            (key != "up" && key != "down" && key != "left" && key != "right")) {
            throw InputError("--key wants X,Y,up|down|left|right");
        }
        action = {Kind::key, key, v[0], v[1], 0, 0, false, 0};
    } else if (name == "--scale") {
        action.kind = Kind::scale;
        action.count = wholeNumber(name, scanner.value());
        if (action.count != 75 && action.count != 85 && action.count != 100) {
            throw InputError("--scale wants 75, 85 or 100");
        }
    } else if (name == "--ticks") {
        action.kind = Kind::ticks;
        action.count = wholeNumber(name, scanner.value());
    } else {
        return false;
    }
    actions.push_back(action);
    return true;
}

bool parseCommand(int argc, char** argv, EditorCommand& command, std::string& error) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        kelvohost::OptionScanner scanner(arguments);
        EditorActionReader reader;
        std::string name;
        while (scanner.next(name)) {
            if (name == "--png") {
                command.png = scanner.value();
            } else if (name == "--home") {
                command.home = scanner.value();
            } else if (name == "--time") {
                command.timingRuns = wholeNumber(name, scanner.value());
            } else if (!reader.read(scanner, name)) {
                throw InputError("unknown option " + name);
            }
        }
        command.actions = std::move(reader.actions);
        const std::vector<std::string>& operands = scanner.operands();
        if (operands.size() > 1) {
            throw InputError("unexpected argument " + operands[1]);
        }
        if (!operands.empty()) {
            command.model = operands[0];
        }
    } catch (const InputError& refused) {
        error = refused.what();
        return false;
    }
    if (command.model.empty() || command.png.empty()) {
        error = "a MODEL and --png OUT.png are needed";
        return false;
    }
    return true;
}
