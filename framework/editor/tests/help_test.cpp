// Help mode's look-up: the control under the mouse gives its parameter's text or, for a
// control without a parameter, its action's text.

#include "editor_harness.h"
#include "help/help_texts.h"

#include <AppKit/AppKitHost.h>

#include <gtest/gtest.h>

namespace {

class HelpTest : public ::testing::Test {
protected:
    EditorHarness editor;

    // Moves the mouse over a point of the view (points at 100 %) and polls.
    NSString hover(double artX, double artY) {
        const NSPoint inView{artX * 0.75642965204236, artY * 0.75642965204236};
        appkit::setMouseLocation(
            editor.window->convertPointToScreen(editor.view->convertPointToView(inView, nullptr)));
        editor.view->refresh();
        return editor.view->helpAtPoint(inView);
    }
};

TEST_F(HelpTest, ParameterControlsAndActions) {
    editor.view->help(nullptr);
    EXPECT_TRUE(editor.view->isHelpOn());
    EXPECT_EQ(hover(311, 40), NSString(parameterHelpText(12)));         // BYPASS
    EXPECT_EQ(hover(155, 40), NSString(actionHelpText("initialize:"))); // INIT
    EXPECT_EQ(hover(680, 350), NSString(parameterHelpText(1)));         // Level
    EXPECT_EQ(hover(1887, 40), NSString(actionHelpText("help:")));      // "?"
    EXPECT_EQ(hover(1300, 730), NSString(helpBannerText));              // nothing there
    // A hidden DETAIL slider is never chosen.
    EXPECT_EQ(hover(700, 525), NSString(helpBannerText));
    editor.view->help(nullptr);
    EXPECT_FALSE(editor.view->isHelpOn());
}

TEST(HelpTexts, FallBackForUnknownIdsAndActions) {
    EXPECT_STREQ(parameterHelpText(14), generalHelpText);
    EXPECT_STREQ(actionHelpText("ratio:"),
                 "Choose the FET ratio. Shift-click selects All Buttons for a more aggressive "
                 "compression character.");
    EXPECT_STREQ(actionHelpText("resizeUI:"),
                 "Scale the interface to 75%, 85% or 100%. This does not change sound or "
                 "processing quality.");
    EXPECT_STREQ(actionHelpText("nonsense:"),
                 "Hover a control to read a short explanation. Drag knobs vertically, hold Shift "
                 "for fine changes, and double-click to reset.");
}

} // namespace
