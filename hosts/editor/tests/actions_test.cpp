// kelvo-editor's command line: actions keep their order, Shift belongs to the next click or
// drag, and malformed actions are refused with a message.

#include "actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<std::string> words, EditorCommand& command, std::string& error) {
    std::vector<char*> argv{const_cast<char*>("kelvo-editor")};
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    return parseCommand(static_cast<int>(argv.size()), argv.data(), command, error);
}

TEST(EditorCommandLine, ActionsInOrder) {
    EditorCommand command;
    std::string error;
    ASSERT_TRUE(parse({"tolvar", "--png", "face.png", "--set", "Level=7", "--shift", "--drag",
                       "514,264,0,-105", "--drag", "10,20,1,2", "--wheel", "1,2,-3", "--key",
                       "5,6,left", "--detail", "--scale", "75", "--ticks", "30"},
                      command, error))
        << error;
    EXPECT_EQ(command.model, "tolvar");
    EXPECT_EQ(command.png, "face.png");
    using Kind = EditorAction::Kind;
    const std::vector<Kind> kinds{Kind::set, Kind::drag,   Kind::drag,  Kind::wheel,
                                  Kind::key, Kind::detail, Kind::scale, Kind::ticks};
    ASSERT_EQ(command.actions.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(command.actions[i].kind, kinds[i]) << i;
    }
    EXPECT_EQ(command.actions[0].text, "Level=7");
    EXPECT_TRUE(command.actions[1].shift);
    EXPECT_EQ(command.actions[1].dy, -105);
    EXPECT_FALSE(command.actions[2].shift);
    EXPECT_EQ(command.actions[3].dy, -3);
    EXPECT_EQ(command.actions[4].text, "left");
    EXPECT_EQ(command.actions[6].count, 75);
    EXPECT_EQ(command.actions[7].count, 30);
}

TEST(EditorCommandLine, ShiftHoldsForTheNextClickOrDragOnly) {
    EditorCommand command;
    std::string error;
    ASSERT_TRUE(
        parse({"fennic", "--png", "f.png", "--shift", "--ticks", "1", "--click", "801,249",
               "--click", "801,249", "--shift", "--double-click", "1,2", "--drag", "1,2,3,4"},
              command, error))
        << error;
    ASSERT_EQ(command.actions.size(), 5u);
    EXPECT_TRUE(command.actions[1].shift) << "the click after --shift, past other actions";
    EXPECT_FALSE(command.actions[2].shift);
    EXPECT_TRUE(command.actions[3].shift);
    EXPECT_FALSE(command.actions[4].shift) << "the double click took it";
}

TEST(EditorCommandLine, RefusesMalformedInput) {
    const std::vector<std::vector<std::string>> cases{
        {"tolvar"},                                        // no --png
        {"--png", "a.png"},                                // no model
        {"tolvar", "--png", "a.png", "--click", "1"},      // one coordinate
        {"tolvar", "--png", "a.png", "--drag", "1,2,3"},   // three numbers
        {"tolvar", "--png", "a.png", "--key", "1,2,home"}, // not an arrow
        {"tolvar", "--png", "a.png", "--scale", "50"},     // not a size
        {"tolvar", "--png", "a.png", "--ticks", "-1"},     // negative
        {"tolvar", "--png", "a.png", "--bogus"},           // unknown
        {"tolvar", "--png"},                               // missing value
    };
    for (const auto& words : cases) {
        EditorCommand command;
        std::string error;
        EXPECT_FALSE(parse(words, command, error)) << words.back();
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
