#pragma once
// The command line of kelvo-editor: the model, the output image and the actions in order.

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

struct EditorCommand {
    std::string model;
    std::string png;
    std::vector<EditorAction> actions;
    int timingRuns = 0; // --time N: measure N refreshes with a full redraw
    std::string home;   // --home DIR: the home folder (the user preset folder lies under it)
};

// Parses argv; on failure returns false with a message in error.
bool parseCommand(int argc, char** argv, EditorCommand& command, std::string& error);

extern const char* const editorUsage;
