// Help mode as the user meets it: "?" clicked through the window shows its own text at once,
// the banner follows the mouse at the poll, is drawn across the top and goes with help off.

#include "editor_harness.h"
#include "help/help_texts.h"

#include <AppKit/AppKitHost.h>
#include <CoreGraphics/CGRecordingContext.h>

#include <gtest/gtest.h>

namespace {

constexpr double s = 0.75642965204236; // view points per art unit

// The texts drawn by one drawRect of the view.
std::vector<CGRecordedOperation> drawnTexts(KelvoView& view) {
    const CGSize size{1500, 599.8487140695914};
    CGContextRef context = CGRecordingContextCreate(size, 1);
    CGContextTranslateCTM(context, 0, size.height);
    CGContextScaleCTM(context, 1, -1);
    NSGraphicsContext::saveGraphicsState();
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithCGContext(context, true));
    view.drawRect(view.bounds());
    NSGraphicsContext::restoreGraphicsState();
    std::vector<CGRecordedOperation> texts;
    for (const CGRecordedOperation& op : CGRecordingContextGetOperations(context)) {
        if (op.kind == CGRecordedKind::text) {
            texts.push_back(op);
        }
    }
    CGContextRelease(context);
    return texts;
}

const CGRecordedOperation* drawn(const std::vector<CGRecordedOperation>& texts, const char* text) {
    for (const CGRecordedOperation& op : texts) {
        if (op.text == text) {
            return &op;
        }
    }
    return nullptr;
}

class HelpBanner : public ::testing::Test {
protected:
    EditorHarness editor;

    NSPoint art(double x, double y) const { return NSPoint{x * s, y * s}; }
    // The mouse moves to a view point without a click; the next poll follows it.
    void moveTo(NSPoint viewPoint) {
        placeMouse(viewPoint);
        editor.view->refresh();
    }
    void clickHelp() {
        editor.mouse(NSEventTypeLeftMouseDown, art(1887, 40));
        editor.mouse(NSEventTypeLeftMouseUp, art(1887, 40));
    }
    std::string banner() const { return editor.view->helpBanner().stdString(); }
    NSButton* helpButton() const {
        for (const std::shared_ptr<NSView>& subview : editor.view->subviews()) {
            auto* button = dynamic_cast<NSButton*>(subview.get());
            if (button != nullptr && button->title() == NSString("?")) {
                return button;
            }
        }
        return nullptr;
    }
    void placeMouse(NSPoint viewPoint) {
        appkit::setMouseLocation(editor.window->convertPointToScreen(
            editor.view->convertPointToView(viewPoint, nullptr)));
    }
};

TEST_F(HelpBanner, QuestionMarkShowsItsOwnTextThenFollowsTheMouse) {
    clickHelp();
    ASSERT_TRUE(editor.view->isHelpOn());
    EXPECT_EQ(helpButton()->state(), NSControlStateValueOn);
    // The mouse is still over "?": its own text, without waiting for a poll.
    EXPECT_EQ(banner(), actionHelpText("help:"));

    moveTo(art(311, 40)); // BYPASS, a parameter control in the top row
    EXPECT_EQ(banner(), parameterHelpText(12));
    moveTo(art(155, 40)); // INIT, beside it, an action
    EXPECT_EQ(banner(), actionHelpText("initialize:"));
    moveTo(art(1120, 40)); // PRESETS
    EXPECT_EQ(banner(), actionHelpText("presets:"));
    moveTo(art(1761, 40)); // GUIDE
    EXPECT_EQ(banner(), actionHelpText("guide:"));
    moveTo(art(1630, 678)); // METER
    EXPECT_EQ(banner(), parameterHelpText(11));
    moveTo(art(60, 760)); // bare faceplate
    EXPECT_EQ(banner(), helpBannerText);

    clickHelp();
    EXPECT_FALSE(editor.view->isHelpOn());
    EXPECT_EQ(helpButton()->state(), NSControlStateValueOff);
    EXPECT_EQ(banner(), "");
    // Off, the banner no longer follows the mouse.
    moveTo(art(311, 40));
    EXPECT_EQ(banner(), "");
}

TEST_F(HelpBanner, HiddenControlsAreNeverChosen) {
    editor.view->help(nullptr);
    // Over the Input Trim slider's place: in normal mode the Level dial is the visible
    // control there; in DETAIL mode the dial hides and the slider answers.
    const NSPoint sliderPlace = art(700, 323);
    moveTo(sliderPlace);
    EXPECT_EQ(banner(), parameterHelpText(1));
    editor.view->detail(nullptr);
    editor.view->refresh();
    EXPECT_EQ(banner(), parameterHelpText(8));
    // The UI size pop-up shows only in DETAIL mode and has no parameter.
    moveTo(art(1110, 671));
    EXPECT_EQ(banner(), actionHelpText("resizeUI:"));
    editor.view->detail(nullptr);
    editor.view->refresh();
    EXPECT_EQ(banner(), helpBannerText);
}

TEST_F(HelpBanner, BannerIsDrawnOnlyWhileHelpIsOn) {
    EXPECT_EQ(drawn(drawnTexts(*editor.view), helpBannerText), nullptr);
    moveTo(art(60, 760));
    editor.view->help(nullptr);
    const std::vector<CGRecordedOperation> on = drawnTexts(*editor.view);
    const CGRecordedOperation* text = drawn(on, helpBannerText);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->fontSize, 17);
    EXPECT_EQ(text->alignment, CGRecordedTextAlignment::left);
    // Inside the banner, across the top of the faceplate (art units).
    EXPECT_NEAR(text->bounds.origin.x, 419, 1e-9);
    EXPECT_NEAR(text->bounds.origin.y, 89, 1e-9);
    EXPECT_NEAR(text->bounds.size.width, 1462, 1e-9);
    EXPECT_NEAR(text->bounds.size.height, 43, 1e-9);
    // It is drawn last, over everything else.
    EXPECT_EQ(&on.back(), text);

    editor.view->help(nullptr);
    EXPECT_EQ(drawn(drawnTexts(*editor.view), helpBannerText), nullptr);
}

TEST_F(HelpBanner, PollRedrawsOnlyWhenTheTextChanges) {
    editor.view->help(nullptr);
    placeMouse(art(680, 350)); // Level
    editor.view->updateHelp();
    EXPECT_EQ(banner(), parameterHelpText(1));
    EXPECT_TRUE(editor.view->needsDisplay());
    editor.window->display();
    placeMouse(art(700, 370)); // still Level
    editor.view->updateHelp();
    EXPECT_FALSE(editor.view->needsDisplay());
    placeMouse(art(1090, 350)); // Low EQ
    editor.view->updateHelp();
    EXPECT_EQ(banner(), parameterHelpText(2));
    EXPECT_TRUE(editor.view->needsDisplay());
}

} // namespace
