#include "actions.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

const char* const editorUsage =
    "usage: kelvo-editor MODEL --png OUT.png [actions...]\n"
    "actions, performed in order:\n"
    "  --set NAME=VALUE        set a parameter through the unit: a plain number is its\n"
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
    "  --time N                report the time of N refreshes with a full redraw\n"
    "  --preset-menu PATH      click PRESETS and choose PATH (\"Vocals/Warm Body\",\n"
    "                          \"User Presets/Folder/Name\", \"Save Preset\u2026\")\n"
    "  --answer FILE|cancel    the file for the panel the last --preset-menu opened\n"
    "  --help-mode             click ? (help mode on or off)\n"
    "  --hover X,Y             move the mouse to (X, Y); the next poll follows it\n"
    "  --guide                 click GUIDE; the guide window is written as OUT-guide.png\n"
    "  --home DIR              the home folder (user presets: DIR/Library/Audio/Presets)\n";

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

} // namespace

bool parseCommand(int argc, char** argv, EditorCommand& command, std::string& error) {
    bool shift = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&](std::string& value) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        std::string value;
        EditorAction action{};
        double v[4] = {};
        if (arg == "--png") {
            if (!next(command.png)) {
                return false;
            }
            continue;
        }
        if (arg == "--shift") {
            shift = true;
            continue;
        }
        if (arg == "--home") {
            if (!next(command.home)) {
                return false;
            }
            continue;
        }
        if (arg == "--answer") {
            if (command.actions.empty() ||
                command.actions.back().kind != EditorAction::Kind::presetMenu ||
                !command.actions.back().answer.empty() || !next(value) || value.empty()) {
                error = "--answer FILE|cancel follows a --preset-menu";
                return false;
            }
            command.actions.back().answer = value;
            continue;
        }
        if (arg == "--detail") {
            action.kind = EditorAction::Kind::detail;
        } else if (arg == "--help-mode" || arg == "--guide") {
            action.kind =
                arg == "--guide" ? EditorAction::Kind::guide : EditorAction::Kind::helpMode;
        } else if (arg == "--preset-menu") {
            if (!next(value) || value.empty()) {
                error = "--preset-menu wants a menu path";
                return false;
            }
            action.kind = EditorAction::Kind::presetMenu;
            action.text = value;
        } else if (arg == "--hover") {
            if (!next(value) || !numbers(value, 2, v)) {
                error = "--hover wants X,Y";
                return false;
            }
            action.kind = EditorAction::Kind::hover;
            action.x = v[0];
            action.y = v[1];
        } else if (arg == "--set" || arg == "--input") {
            if (!next(value)) {
                return false;
            }
            action.kind = arg == "--set" ? EditorAction::Kind::set : EditorAction::Kind::input;
            action.text = value;
        } else if (arg == "--click" || arg == "--double-click") {
            if (!next(value) || !numbers(value, 2, v)) {
                error = arg + " wants X,Y";
                return false;
            }
            action.kind =
                arg == "--click" ? EditorAction::Kind::click : EditorAction::Kind::doubleClick;
            action.x = v[0];
            action.y = v[1];
            action.shift = shift;
            shift = false;
        } else if (arg == "--drag") {
            if (!next(value) || !numbers(value, 4, v)) {
                error = "--drag wants X,Y,DX,DY";
                return false;
            }
            action = {EditorAction::Kind::drag, {}, v[0], v[1], v[2], v[3], shift, 0};
            shift = false;
        } else if (arg == "--wheel") {
            if (!next(value) || !numbers(value, 3, v)) {
                error = "--wheel wants X,Y,DY";
                return false;
            }
            action = {EditorAction::Kind::wheel, {}, v[0], v[1], 0, v[2], false, 0};
        } else if (arg == "--key") {
            if (!next(value)) {
                return false;
            }
            const std::size_t comma = value.rfind(',');
            const std::string key = comma == std::string::npos ? "" : value.substr(comma + 1);
            if (!numbers(value.substr(0, comma), 2, v) ||
                (key != "up" && key != "down" && key != "left" && key != "right")) {
                error = "--key wants X,Y,up|down|left|right";
                return false;
            }
            action = {EditorAction::Kind::key, key, v[0], v[1], 0, 0, false, 0};
        } else if (arg == "--scale" || arg == "--ticks" || arg == "--time") {
            if (!next(value)) {
                return false;
            }
            char* end = nullptr;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (end == value.c_str() || *end != 0 || n < 0) {
                error = arg + " wants a whole number";
                return false;
            }
            if (arg == "--time") {
                command.timingRuns = static_cast<int>(n);
                continue;
            }
            if (arg == "--scale" && n != 75 && n != 85 && n != 100) {
                error = "--scale wants 75, 85 or 100";
                return false;
            }
            action.kind = arg == "--scale" ? EditorAction::Kind::scale : EditorAction::Kind::ticks;
            action.count = static_cast<int>(n);
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (command.model.empty()) {
            command.model = arg;
            continue;
        } else {
            error = "unexpected argument " + arg;
            return false;
        }
        command.actions.push_back(action);
    }
    if (command.model.empty() || command.png.empty()) {
        error = "a MODEL and --png OUT.png are needed";
        return false;
    }
    return true;
}
