// The GUIDE window: one window per view, brought forward on every click, above the host's
// window; its text from the bundle, or the fallback; and the guide Tolvar ships.

#include "editor_harness.h"
#include "guide/user_guide.h"
#include "guide_coverage.h"
#include "presets_unit_editor.h"

#include "model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr double s = 0.75642965204236; // view points per art unit

NSTextView* guideText(const NSWindow& window) {
    auto* scroll = dynamic_cast<NSScrollView*>(window.contentView().get());
    return scroll != nullptr ? dynamic_cast<NSTextView*>(scroll->documentView().get()) : nullptr;
}

class GuideWindow : public ::testing::Test {
protected:
    EditorHarness editor;

    void SetUp() override { editor.window->makeKeyAndOrderFront(nullptr); }
    void clickGuide() {
        editor.mouse(NSEventTypeLeftMouseDown, NSPoint{1761 * s, 40 * s});
        editor.mouse(NSEventTypeLeftMouseUp, NSPoint{1761 * s, 40 * s});
    }
};

TEST_F(GuideWindow, OneWindowAboveTheHostBroughtForwardOnEveryClick) {
    editor.window->setLevel(NSFloatingWindowLevel);
    clickGuide();
    const std::shared_ptr<NSWindow> guide = editor.view->userGuideWindow();
    ASSERT_TRUE(guide);
    EXPECT_EQ(guide->title(), NSString("KelvoTolvar \u00b7 User Guide"));
    EXPECT_EQ(guide->styleMask(),
              NSWindowStyleMaskTitled | NSWindowStyleMaskClosable | NSWindowStyleMaskResizable);
    EXPECT_FALSE(guide->isReleasedWhenClosed());
    EXPECT_EQ(guide->level(), NSFloatingWindowLevel);
    EXPECT_EQ(guide->parentWindow(), editor.window.get());
    EXPECT_TRUE(guide->isVisible());
    EXPECT_TRUE(guide->isKeyWindow());
    EXPECT_EQ(NSApplication::sharedApplication()->orderedWindows().front(), guide);

    // Back to the editor, then GUIDE again: the same window, in front again, not a second.
    editor.window->makeKeyAndOrderFront(nullptr);
    clickGuide();
    EXPECT_EQ(editor.view->userGuideWindow(), guide);
    EXPECT_EQ(editor.window->childWindows().size(), 1u);
    EXPECT_TRUE(guide->isKeyWindow());

    // Closed by the user, shown again by the next click.
    guide->close();
    EXPECT_FALSE(guide->isVisible());
    EXPECT_TRUE(editor.window->childWindows().empty());
    clickGuide();
    EXPECT_EQ(editor.view->userGuideWindow(), guide);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->parentWindow(), editor.window.get());
}

TEST_F(GuideWindow, ClosesWhenTheViewLeavesItsWindow) {
    clickGuide();
    const std::shared_ptr<NSWindow> guide = editor.view->userGuideWindow();
    ASSERT_TRUE(guide && guide->isVisible());
    editor.view->removeFromSuperview();
    EXPECT_FALSE(guide->isVisible());
}

TEST_F(GuideWindow, ReadOnlyWrappingTextWithTheFallbackWithoutAGuide) {
    // The test's resource bundle has the Tolvar identifier but no guide.
    clickGuide();
    const std::shared_ptr<NSWindow> guide = editor.view->userGuideWindow();
    ASSERT_TRUE(guide);
    EXPECT_EQ(guide->frame().size.width, 740);
    EXPECT_EQ(guide->frame().size.height, 600);
    auto* scroll = dynamic_cast<NSScrollView*>(guide->contentView().get());
    ASSERT_NE(scroll, nullptr);
    EXPECT_TRUE(scroll->hasVerticalScroller());
    EXPECT_EQ(scroll->autoresizingMask(), NSViewWidthSizable | NSViewHeightSizable);
    NSTextView* text = guideText(*guide);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->string(), NSString(userguide::fallbackText));
    EXPECT_EQ(text->string(),
              NSString("KELVO ORVELLA. Drag knobs vertically; Shift for fine control. "
                       "Double-click resets. Fixed screen-space lighting remains still."));
    EXPECT_FALSE(text->isEditable());
    EXPECT_TRUE(text->isVerticallyResizable());
    EXPECT_FALSE(text->isHorizontallyResizable());
    EXPECT_TRUE(text->textContainer()->widthTracksTextView());
    EXPECT_EQ(text->font()->pointSize(), 15);
    EXPECT_EQ(text->textContainerInset().width, 22);
    EXPECT_EQ(text->textContainerInset().height, 22);
    EXPECT_EQ(text->minSize().height, 600);
    EXPECT_EQ(text->autoresizingMask(), NSViewWidthSizable);

    // Resizing the window rewraps the text to the new width.
    const CGFloat narrow = text->textRect().size.width;
    guide->setContentSize(NSSize{1000, 600});
    EXPECT_GT(text->textRect().size.width, narrow);
}

// A bundle folder of its own with the given guide bytes (none when empty).
class GuideBundle {
public:
    GuideBundle(const std::string& guide, const char* identifier) {
        const std::filesystem::path root = folder_.path();
        std::filesystem::create_directories(root / "Contents/Resources");
        std::ofstream(root / "Contents/Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
               "<key>CFBundleIdentifier</key><string>"
            << identifier
            << "</string>\n<key>CFBundlePackageType</key><string>BNDL</string>\n"
               "</dict>\n</plist>\n";
        if (!guide.empty()) {
            std::ofstream(root / "Contents/Resources/USER-GUIDE.txt", std::ios::binary) << guide;
        }
        bundle = NSBundle::bundleWithPath(root.c_str());
    }
    std::shared_ptr<NSBundle> bundle;

private:
    TemporaryFolder folder_;
};

TEST(UserGuideText, TheBundlesGuideOrTheFallback) {
    const GuideBundle good("TOLVAR \u00b7 a guide\nwith two lines\n", "com.kelvo.test.GuideGood");
    ASSERT_TRUE(good.bundle);
    EXPECT_EQ(userguide::text(good.bundle.get()),
              NSString("TOLVAR \u00b7 a guide\nwith two lines\n"));

    const GuideBundle latin1("caf\xe9 au lait\n", "com.kelvo.test.GuideLatin1");
    EXPECT_EQ(userguide::text(latin1.bundle.get()), NSString(userguide::fallbackText));

    const GuideBundle none("", "com.kelvo.test.GuideNone");
    EXPECT_EQ(userguide::text(none.bundle.get()), NSString(userguide::fallbackText));
    EXPECT_EQ(userguide::text(nullptr), NSString(userguide::fallbackText));
}

TEST(UserGuideText, TolvarsGuideCoversEveryControl) {
    editortest::expectGuideCoversEveryControl(editortest::readGuide(KELVO_TOLVAR_USER_GUIDE),
                                              "TOLVAR");
}

} // namespace
