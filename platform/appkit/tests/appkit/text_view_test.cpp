// The guide window's scroll and text views: wrapping, insets, growth and drawing.

#include <AppKit/AppKit.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace {

std::shared_ptr<NSTextView> guideTextView(const NSString& text) {
    auto view = std::make_shared<NSTextView>(NSMakeRect(0, 0, 710, 1000));
    view->setEditable(false);
    view->setVerticallyResizable(true);
    view->setHorizontallyResizable(false);
    view->setMinSize(NSMakeSize(0, 600));
    view->setMaxSize(NSMakeSize(DBL_MAX, DBL_MAX));
    view->textContainer()->setContainerSize(NSMakeSize(710, DBL_MAX));
    view->textContainer()->setWidthTracksTextView(true);
    view->setFont(NSFont::systemFontOfSize(15));
    view->setTextContainerInset(NSMakeSize(22, 22));
    view->setAutoresizingMask(NSViewWidthSizable);
    view->setString(text);
    return view;
}

TEST(TextView, ShortTextKeepsTheMinimumHeight) {
    auto view = guideTextView("KELVO ORVELLA. Drag knobs vertically; Shift for fine control.");
    EXPECT_EQ(view->frame().size.height, 600);
    const NSRect text = view->textRect();
    EXPECT_EQ(text.origin.x, 27); // inset 22 + line fragment padding 5
    EXPECT_EQ(text.origin.y, 22);
    EXPECT_EQ(text.size.width, 710 - 44 - 10);
    EXPECT_EQ(view->accessibilityRole(), NSAccessibilityTextAreaRole);
    EXPECT_FALSE(view->isEditable());
}

TEST(TextView, LongTextGrowsTheViewAndNarrowingWrapsMore) {
    std::string text;
    for (int i = 0; i < 80; ++i) {
        text += "The stage drives a tube model; the shelf adds body. ";
    }
    auto view = guideTextView(NSString(std::string_view(text)));
    const CGFloat tall = view->frame().size.height;
    EXPECT_GT(tall, 600);
    view->setFrameSize(NSMakeSize(400, tall));
    EXPECT_GT(view->frame().size.height, tall);
}

TEST(ScrollView, DocumentShowsFromTheTopAndFollowsTheWindowWidth) {
    auto window =
        std::make_shared<NSWindow>(NSMakeRect(0, 0, 740, 600), 11, NSBackingStoreBuffered, false);
    auto scroll = std::make_shared<NSScrollView>(NSMakeRect(0, 0, 740, 600));
    scroll->setHasVerticalScroller(true);
    scroll->setAutoresizingMask(NSViewWidthSizable | NSViewHeightSizable);
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "Line of the user guide, long enough to wrap at least once in the window. ";
    }
    auto document = guideTextView(NSString(std::string_view(text)));
    scroll->setDocumentView(document);
    window->setContentView(scroll);
    EXPECT_EQ(scroll->contentSize().width, 740 - NSScrollView::kScrollerWidth);
    EXPECT_EQ(document->frame().size.width, 740 - NSScrollView::kScrollerWidth);
    EXPECT_EQ(scroll->documentVisibleRect().origin.y, 0); // the top of the text
    window->setContentSize(NSMakeSize(900, 500));
    EXPECT_EQ(document->frame().size.width, 900 - NSScrollView::kScrollerWidth);
    NSEvent wheel = NSEvent::scrollWheelEvent({100, 100}, 0, -5);
    window->sendEvent(&wheel);
    EXPECT_EQ(scroll->documentVisibleRect().origin.y, 50);
    window->display();
    // The first line's text is dark on the white page near the top-left.
    const auto rep = window->backingImageRep();
    int dark = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 20; x < 400; ++x) {
            const CGRGBAColor c = rep->colorAtX(x, y);
            dark += c.red < 0.4 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 100);
    EXPECT_TRUE(writeWindowPNG(*window, std::string(APPKIT_TEST_OUTPUT_DIR) + "/guide.png"));
}

} // namespace
