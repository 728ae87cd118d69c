// Window ordering, key status, child windows and closing without release.

#include <AppKit/AppKit.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::shared_ptr<NSWindow> makeWindow(NSRect frame = NSMakeRect(0, 0, 740, 600)) {
    auto w = std::make_shared<NSWindow>(
        frame, NSWindowStyleMaskTitled | NSWindowStyleMaskClosable | NSWindowStyleMaskResizable,
        NSBackingStoreBuffered, false);
    w->setReleasedWhenClosed(false);
    return w;
}

TEST(Windows, StyleMaskElevenIsTitledClosableResizable) {
    EXPECT_EQ(NSWindowStyleMaskTitled | NSWindowStyleMaskClosable | NSWindowStyleMaskResizable,
              11u);
    auto w = makeWindow();
    EXPECT_EQ(w->styleMask(), 11u);
    EXPECT_FALSE(w->isVisible());
    w->setTitle("KelvoTolvar \u00B7 User Guide");
    EXPECT_EQ(w->title(), NSString("KelvoTolvar \u00B7 User Guide"));
}

TEST(Windows, ChildWindowsSitAboveTheirParentAndComeForward) {
    auto host = makeWindow(NSMakeRect(100, 100, 1500, 600));
    host->makeKeyAndOrderFront(nullptr);
    auto guide = makeWindow();
    guide->center();
    EXPECT_EQ(guide->frame().origin.x, std::floor((1920 - 740) / 2.0));
    guide->setLevel(host->level());
    host->addChildWindow(guide, NSWindowAbove);
    guide->makeKeyAndOrderFront(nullptr);
    auto ordered = NSApplication::sharedApplication()->orderedWindows();
    ASSERT_GE(ordered.size(), 2u);
    EXPECT_EQ(ordered[0], guide);
    EXPECT_EQ(ordered[1], host);
    EXPECT_TRUE(guide->isKeyWindow());
    EXPECT_EQ(guide->parentWindow(), host.get());
    // A second time brings the same window forward; it is not added twice.
    host->makeKeyAndOrderFront(nullptr);
    host->addChildWindow(guide, NSWindowAbove);
    guide->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(host->childWindows().size(), 1u);
    EXPECT_EQ(NSApplication::sharedApplication()->orderedWindows()[0], guide);
}

TEST(Windows, ClosingKeepsTheObjectAndItCanBeShownAgain) {
    auto host = makeWindow();
    host->makeKeyAndOrderFront(nullptr);
    auto guide = makeWindow();
    host->addChildWindow(guide, NSWindowAbove);
    guide->makeKeyAndOrderFront(nullptr);
    std::weak_ptr<NSWindow> weak = guide;
    guide->close();
    EXPECT_FALSE(guide->isVisible());
    EXPECT_FALSE(guide->isKeyWindow());
    EXPECT_EQ(guide->parentWindow(), nullptr);
    EXPECT_TRUE(host->childWindows().empty());
    guide.reset();
    EXPECT_TRUE(weak.expired()); // only its owner kept it
    auto again = makeWindow();
    host->addChildWindow(again, NSWindowAbove);
    again->makeKeyAndOrderFront(nullptr);
    again->close();
    host->addChildWindow(again, NSWindowAbove);
    again->makeKeyAndOrderFront(nullptr);
    EXPECT_TRUE(again->isVisible());
}

TEST(Windows, HigherLevelsOrderInFront) {
    auto normal = makeWindow();
    auto floating = makeWindow();
    floating->setLevel(NSFloatingWindowLevel);
    floating->orderFront(nullptr);
    normal->makeKeyAndOrderFront(nullptr);
    auto ordered = NSApplication::sharedApplication()->orderedWindows();
    ASSERT_GE(ordered.size(), 2u);
    EXPECT_EQ(ordered[0], floating);
}

TEST(Windows, ScreenConversionsUseTheFrameOrigin) {
    auto w = makeWindow(NSMakeRect(300, 200, 100, 100));
    EXPECT_EQ(w->convertPointFromScreen({310, 250}).x, 10);
    EXPECT_EQ(w->convertPointFromScreen({310, 250}).y, 50);
    EXPECT_EQ(w->convertPointToScreen({0, 0}).x, 300);
}

class Watcher : public NSView {
public:
    using NSView::NSView;
    void viewWillMoveToWindow(NSWindow* window) override { moves.push_back(window); }
    std::vector<NSWindow*> moves;
};

TEST(Windows, ViewsHearWhenTheyMoveToAndLeaveAWindow) {
    auto w = makeWindow();
    auto view = std::make_shared<Watcher>(NSMakeRect(0, 0, 10, 10));
    w->contentView()->addSubview(view);
    EXPECT_EQ(view->window(), w.get());
    view->removeFromSuperview();
    ASSERT_EQ(view->moves.size(), 2u);
    EXPECT_EQ(view->moves[0], w.get());
    EXPECT_EQ(view->moves[1], nullptr);
}

} // namespace
