#pragma once
// The editor actions of a host's command line, in the order given: what kelvo-editor and
// kelvo-aax --png perform on an editor (action_player.h). kelvo-editor's own command line is
// the model, the output image and these actions.

#include "option_scanner.h"

#include <string>
#include <vector>

struct EditorAction {
    enum class Kind {
        set,
        input,
        click,
        doubleClick,
        drag,
        wheel,
        key,
        detail,
        scale,
        ticks,
        presetMenu, // text: the menu item's title path; answer: the panel it opens
        helpMode,
        hover,
        guide,
    };
    Kind kind;
    std::string text;      // set: NAME=VALUE; input: the file; key: up|down|left|right
    double x = 0, y = 0;   // view points of the flipped view at 100 %
    double dx = 0, dy = 0; // drag distance; dy also the wheel delta
    bool shift = false;    // click or drag with Shift held
    int count = 0;         // ticks; scale percent
    std::string answer{};  // presetMenu: the file (or "cancel") for the panel that follows
};

// Reads the action options of a command line as the scanner meets them.
class EditorActionReader {
public:
    // The option the scanner stands at, with its value, when it is an action (or --shift,
    // which holds Shift for the next click or drag); false for any other option. Throws
    // InputError for a malformed value.
    bool read(kelvohost::OptionScanner& scanner, const std::string& name);

    std::vector<EditorAction> actions;

private:
    bool shift_ = false;
};

// The actions' lines of a --help text.
extern const char* const editorActionsUsage;

struct EditorCommand {
    std::string model;
    std::string png;
    std::vector<EditorAction> actions;
    int timingRuns = 0; // --time N: measure N refreshes with a full redraw
    std::string home;   // --home DIR: the home folder (the user preset folder lies under it)
};

// kelvo-editor's command line (argv as main has it); on failure returns false with a message
// in error.
bool parseCommand(int argc, char** argv, EditorCommand& command, std::string& error);

// kelvo-editor's --help text.
std::string editorUsage();
