#pragma once
// The editor actions performed as kelvo-editor and kelvo-aax --png perform them, on an editor
// view in its window: the user's hand (editor_input.h), the poll's ticks, the preset menu and
// its panels answered from the command line, help mode, the guide and the interface size.
// What differs between the two hosts, setting a parameter, rendering audio and following the
// editor's size, is the host's own (EditorHostActions).

#include "actions.h"
#include "editor_input.h"

#include <memory>
#include <string>
#include <vector>

class EditorHostActions {
public:
    virtual ~EditorHostActions() = default;
    // --set NAME=VALUE, as this host sets a parameter. Throws InputError for a refused one.
    virtual void set(const std::string& assignment) = 0;
    // --input FILE: the file rendered through the unit, so that its meters move.
    virtual void input(const std::string& path) = 0;
    // After --scale: the host's window follows the editor's frame.
    virtual void followSize() = 0;
};

class ActionPlayer {
public:
    // Answers for the user from the command line while the player lives. [main thread]
    ActionPlayer(EditorInput& input, EditorHostActions& host);
    ~ActionPlayer();
    ActionPlayer(const ActionPlayer&) = delete;
    ActionPlayer& operator=(const ActionPlayer&) = delete;

    // One action, then a turn of the main run loop. Throws InputError when the preset menu
    // has no item of the path given. [main thread]
    void perform(const EditorAction& action);
    // The poll, as the editor's timer runs it (the clock moves on by one interval). [main
    // thread]
    void poll();
    // The window as png, and the guide window as png's "-guide" sibling when GUIDE was
    // clicked, both put in place together as every output file is. A window shows what its
    // editor's poll last read, so unless a poll has run since the last action, one runs
    // first: the picture after --set X is the one after --set X --ticks 1. Throws InputError
    // when one cannot be written, or would go to stdout, where the host prints its lines.
    // [main thread]
    void writeImages(const std::string& png);
    // What the preset commands showed: the alerts ("alert MESSAGE: DETAIL"), then the
    // PRESETS title ("title ...") when the preset menu was used.
    std::vector<std::string> presetLines() const;

private:
    class CommandLineAnswers;

    EditorInput& input_;
    EditorHostActions& host_;
    std::shared_ptr<CommandLineAnswers> answers_;
    bool presetsUsed_ = false;
    bool guideShown_ = false;
    bool pollDue_ = false; // an action happened since the last poll
};
