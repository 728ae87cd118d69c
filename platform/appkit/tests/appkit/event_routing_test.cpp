// Windows route events as the platform does: hit test, mouse capture, first responder, chain.

#include <AppKit/AppKit.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Probe : public NSView {
public:
    Probe(NSRect frame, std::vector<std::string>& log, std::string name, bool takesKeys = false)
        : NSView(frame), log_(log), name_(std::move(name)), takesKeys_(takesKeys) {}
    bool isFlipped() const override { return true; }
    bool acceptsFirstResponder() const override { return takesKeys_; }
    void mouseDown(NSEvent* e) override {
        log_.push_back(name_ + " down " + std::to_string(e->clickCount()));
        lastLocal = convertPointFromView(e->locationInWindow(), nullptr);
    }
    void mouseDragged(NSEvent*) override { log_.push_back(name_ + " dragged"); }
    void mouseUp(NSEvent*) override { log_.push_back(name_ + " up"); }
    void scrollWheel(NSEvent* e) override {
        log_.push_back(name_ + " wheel " + std::to_string(int(e->scrollingDeltaY())));
    }
    void keyDown(NSEvent* e) override {
        if (e->keyCode() == 126) {
            log_.push_back(name_ + " key up-arrow");
        } else {
            NSView::keyDown(e); // other keys go on up the chain
        }
    }
    NSPoint lastLocal;

private:
    std::vector<std::string>& log_;
    std::string name_;
    bool takesKeys_;
};

class Routing : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_shared<NSWindow>(NSMakeRect(100, 200, 400, 300), 11,
                                            NSBackingStoreBuffered, false);
        content = std::make_shared<Probe>(NSMakeRect(0, 0, 400, 300), log, "content");
        window->setContentView(content);
        left = std::make_shared<Probe>(NSMakeRect(0, 0, 200, 300), log, "left", true);
        right = std::make_shared<Probe>(NSMakeRect(200, 0, 200, 300), log, "right");
        content->addSubview(left);
        content->addSubview(right);
    }
    void send(NSEventType type, NSPoint p, NSInteger clicks = 1, NSEventModifierFlags flags = 0) {
        NSEvent e = NSEvent::mouseEventWithType(type, p, flags, 0, window->windowNumber(), clicks);
        window->sendEvent(&e);
    }
    void key(unsigned short code) {
        NSEvent e = NSEvent::keyEventWithType(NSEventTypeKeyDown, {}, 0, 0, 0, "", "", false, code);
        window->sendEvent(&e);
    }
    std::vector<std::string> log;
    std::shared_ptr<NSWindow> window;
    std::shared_ptr<Probe> content, left, right;
};

TEST_F(Routing, TheViewTakingTheMouseDownGetsTheDragsAndTheUp) {
    send(NSEventTypeLeftMouseDown, {50, 250});
    send(NSEventTypeLeftMouseDragged, {350, 250}); // over the right view now
    send(NSEventTypeLeftMouseUp, {350, 250});
    send(NSEventTypeLeftMouseDragged, {50, 250}); // no button held: nobody
    EXPECT_EQ(log, (std::vector<std::string>{"left down 1", "left dragged", "left up"}));
    // Window y 250 is 50 points below the top of the flipped view.
    EXPECT_EQ(left->lastLocal.x, 50);
    EXPECT_EQ(left->lastLocal.y, 50);
}

TEST_F(Routing, ClickCountAndModifierFlagsArriveAndAreCurrent) {
    send(NSEventTypeLeftMouseDown, {250, 100}, 2, NSEventModifierFlagShift);
    EXPECT_EQ(log.back(), "right down 2");
    EXPECT_EQ(NSEvent::currentModifierFlags(), NSEventModifierFlagShift);
    EXPECT_EQ(NSEvent::mouseLocation().x, 350); // window origin (100, 200) + (250, 100)
    EXPECT_EQ(NSEvent::mouseLocation().y, 300);
    EXPECT_EQ(window->mouseLocationOutsideOfEventStream().x, 250);
}

TEST_F(Routing, ScrollWheelGoesToTheViewUnderTheMouse) {
    NSEvent e = NSEvent::scrollWheelEvent({300, 10}, 0, 3);
    window->sendEvent(&e);
    EXPECT_EQ(log, (std::vector<std::string>{"right wheel 3"}));
}

TEST_F(Routing, KeysGoToTheFirstResponderAndUpTheChain) {
    key(126);
    EXPECT_TRUE(log.empty());                 // no first responder yet: the window drops it
    send(NSEventTypeLeftMouseDown, {50, 50}); // left accepts first responder
    send(NSEventTypeLeftMouseUp, {50, 50});
    EXPECT_EQ(window->firstResponder(), left.get());
    key(126);
    EXPECT_EQ(log.back(), "left key up-arrow");
    log.clear();
    key(0); // passed to the superview, then the window
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(window->makeFirstResponder(right.get())); // does not accept
    EXPECT_EQ(window->firstResponder(), left.get());
}

TEST_F(Routing, RemovingTheFirstResponderClearsIt) {
    window->makeFirstResponder(left.get());
    left->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(left->window(), nullptr);
}

TEST_F(Routing, HiddenViewsAndDisabledControlsTakeNoClicks) {
    right->setHidden(true);
    send(NSEventTypeLeftMouseDown, {300, 100});
    EXPECT_EQ(log.back(), "content down 1");
    auto button = std::make_shared<NSButton>(NSMakeRect(0, 0, 50, 50));
    int clicks = 0;
    struct Target : NSObject {
        int* clicks;
        void act(NSObject*) { ++*clicks; }
    };
    auto target = std::make_shared<Target>();
    target->clicks = &clicks;
    button->setTarget(target);
    button->setAction(SELECTOR(Target, act));
    left->addSubview(button);
    button->setEnabled(false);
    send(NSEventTypeLeftMouseDown, {10, 290});
    send(NSEventTypeLeftMouseUp, {10, 290});
    EXPECT_EQ(clicks, 0);
    button->setEnabled(true);
    send(NSEventTypeLeftMouseDown, {10, 290});
    send(NSEventTypeLeftMouseUp, {10, 290});
    EXPECT_EQ(clicks, 1);
}

TEST_F(Routing, AViewThatPassesTheMouseDownOnLetsItsSuperviewHandleIt) {
    auto plain = std::make_shared<NSView>(NSMakeRect(10, 10, 20, 20));
    right->addSubview(plain);
    send(NSEventTypeLeftMouseDown, {215, 275});
    EXPECT_EQ(log.back(), "right down 1");
}

} // namespace
