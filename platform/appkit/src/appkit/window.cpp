// NSWindow: drawing into its backing image and routing events.

#include <AppKit/AppKitHost.h>
#include <AppKit/NSApplication.h>
#include <AppKit/NSControl.h>
#include <AppKit/NSImage.h>
#include <AppKit/NSScreen.h>
#include <AppKit/NSWindow.h>

#include "drawing_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

NSInteger nextWindowNumber() {
    static NSInteger number = 0;
    return ++number;
}

bool anyNeedsDisplay(const NSView& view) {
    if (view.isHidden()) {
        return false;
    }
    if (view.needsDisplay()) {
        return true;
    }
    for (const auto& sub : view.subviews()) {
        if (anyNeedsDisplay(*sub)) {
            return true;
        }
    }
    return false;
}

void clearMarks(NSView& view) {
    view.setNeedsDisplay(false);
    for (const auto& sub : view.subviews()) {
        clearMarks(*sub);
    }
}

} // namespace

NSWindow::NSWindow(NSRect contentRect, NSWindowStyleMask style, NSBackingStoreType, bool)
    : frame_(contentRect), style_(style), number_(nextWindowNumber()),
      background_(NSColor::windowBackgroundColor()) {
    setContentView(std::make_shared<NSView>(
        NSMakeRect(0, 0, contentRect.size.width, contentRect.size.height)));
}

NSWindow::~NSWindow() {
    if (contentView_) {
        contentView_->setWindowRecursively(nullptr);
    }
    for (const auto& child : children_) {
        child->parent_ = nullptr;
    }
    NSApplication::sharedApplication()->removeWindow(this);
}

void NSWindow::setContentView(const std::shared_ptr<NSView>& view) {
    if (view == contentView_) {
        return;
    }
    if (contentView_) {
        if (firstResponder_ == contentView_.get()) {
            firstResponder_ = nullptr;
        }
        contentView_->setWindowRecursively(nullptr);
    }
    contentView_ = view;
    if (view) {
        if (view->superview()) {
            view->removeFromSuperview();
        }
        view->setFrame(NSMakeRect(0, 0, frame_.size.width, frame_.size.height));
        view->setWindowRecursively(this);
        view->setNeedsDisplay(true);
    }
}

void NSWindow::setFrame(NSRect frame, bool displayNow) {
    const NSSize old = frame_.size;
    frame_ = frame;
    if (contentView_ && !NSEqualSizes(old, frame.size)) {
        contentView_->setFrame(NSMakeRect(0, 0, frame.size.width, frame.size.height));
    }
    if (displayNow) {
        display();
    }
}

void NSWindow::setFrameOrigin(NSPoint origin) {
    frame_.origin = origin;
}

void NSWindow::setContentSize(NSSize size) {
    setFrame(NSMakeRect(frame_.origin.x, frame_.origin.y, size.width, size.height), false);
}

void NSWindow::center() {
    const NSRect screen = NSScreen::mainScreen()->visibleFrame();
    frame_.origin.x = std::floor(NSMidX(screen) - frame_.size.width / 2);
    // The platform places a centred window somewhat above the middle.
    frame_.origin.y =
        std::floor(screen.origin.y + (screen.size.height - frame_.size.height) * 2 / 3);
}

bool NSWindow::isKeyWindow() const {
    return NSApplication::sharedApplication()->keyWindow() == this;
}

void NSWindow::makeKeyAndOrderFront(NSObject* sender) {
    orderFront(sender);
    makeKeyWindow();
}

void NSWindow::makeKeyWindow() {
    if (visible_) {
        NSApplication::sharedApplication()->setKeyWindow(this);
    }
}

void NSWindow::orderFront(NSObject*) {
    visible_ = true;
    NSApplication::sharedApplication()->orderWindow(this, true);
    for (const auto& child : children_) {
        if (child->visible_) {
            NSApplication::sharedApplication()->orderWindow(child.get(), true);
        }
    }
}

void NSWindow::orderOut(NSObject*) {
    visible_ = false;
    NSApplication* app = NSApplication::sharedApplication();
    if (app->keyWindow() == this) {
        app->setKeyWindow(nullptr);
    }
    app->removeWindow(this);
}

void NSWindow::close() {
    // Keep the object alive through its own removal from parent and application.
    const std::shared_ptr<NSObject> keep = weak_from_this().lock();
    orderOut(nullptr);
    if (parent_) {
        NSWindow* parent = parent_;
        auto& siblings = parent->children_;
        siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                      [&](const auto& w) { return w.get() == this; }),
                       siblings.end());
        parent_ = nullptr;
    }
}

void NSWindow::addChildWindow(const std::shared_ptr<NSWindow>& child, NSWindowOrderingMode place) {
    if (!child || child.get() == this || place == NSWindowOut) {
        return;
    }
    if (child->parent_ && child->parent_ != this) {
        child->parent_->removeChildWindow(child);
    }
    if (std::find(children_.begin(), children_.end(), child) == children_.end()) {
        children_.push_back(child);
    }
    child->parent_ = this;
    if (visible_) {
        child->visible_ = true;
        NSApplication::sharedApplication()->orderWindow(child.get(), place == NSWindowAbove);
    }
}

void NSWindow::removeChildWindow(const std::shared_ptr<NSWindow>& child) {
    if (!child) {
        return;
    }
    auto it = std::find(children_.begin(), children_.end(), child);
    if (it != children_.end()) {
        children_.erase(it);
        child->parent_ = nullptr;
    }
}

bool NSWindow::makeFirstResponder(NSResponder* responder) {
    if (responder == firstResponder_) {
        return true;
    }
    if (responder && !responder->acceptsFirstResponder()) {
        return false;
    }
    if (firstResponder_ && !firstResponder_->resignFirstResponder()) {
        return false;
    }
    firstResponder_ = nullptr;
    if (responder && !responder->becomeFirstResponder()) {
        return false;
    }
    firstResponder_ = responder;
    return true;
}

NSPoint NSWindow::convertPointFromScreen(NSPoint p) const {
    return {p.x - frame_.origin.x, p.y - frame_.origin.y};
}

NSPoint NSWindow::convertPointToScreen(NSPoint p) const {
    return {p.x + frame_.origin.x, p.y + frame_.origin.y};
}

NSRect NSWindow::convertRectFromScreen(NSRect r) const {
    return NSOffsetRect(r, -frame_.origin.x, -frame_.origin.y);
}

NSRect NSWindow::convertRectToScreen(NSRect r) const {
    return NSOffsetRect(r, frame_.origin.x, frame_.origin.y);
}

NSPoint NSWindow::mouseLocationOutsideOfEventStream() const {
    return convertPointFromScreen(NSEvent::mouseLocation());
}

void NSWindow::sendEvent(NSEvent* event) {
    if (!event) {
        return;
    }
    event->setWindow(this);
    const std::shared_ptr<NSObject> keep = weak_from_this().lock();
    appkit::setModifierFlags(event->modifierFlags());
    const NSEventType type = event->type();
    if (type != NSEventTypeKeyDown && type != NSEventTypeKeyUp && type != NSEventTypeFlagsChanged) {
        appkit::setMouseLocation(convertPointToScreen(event->locationInWindow()));
    }
    // The view under the mouse, held while it handles the event.
    const auto viewAt = [&]() -> std::shared_ptr<NSView> {
        if (!contentView_) {
            return nullptr;
        }
        NSView* hit = contentView_->hitTest(event->locationInWindow());
        if (!hit) {
            return nullptr;
        }
        auto* control = dynamic_cast<NSControl*>(hit);
        if (control && !control->isEnabled()) {
            return nullptr;
        }
        return std::static_pointer_cast<NSView>(hit->shared_from_this());
    };
    switch (type) {
    case NSEventTypeLeftMouseDown: {
        std::shared_ptr<NSView> view = viewAt();
        mouseView_ = view;
        if (view) {
            if (view->acceptsFirstResponder()) {
                makeFirstResponder(view.get());
            }
            view->mouseDown(event);
        }
        break;
    }
    case NSEventTypeLeftMouseDragged:
        if (auto view = mouseView_.lock()) {
            view->mouseDragged(event);
        }
        break;
    case NSEventTypeLeftMouseUp: {
        std::shared_ptr<NSView> view = mouseView_.lock();
        mouseView_.reset();
        if (view) {
            view->mouseUp(event);
        }
        break;
    }
    case NSEventTypeRightMouseDown:
        if (auto view = viewAt()) {
            view->rightMouseDown(event);
        }
        break;
    case NSEventTypeRightMouseUp:
        if (auto view = viewAt()) {
            view->rightMouseUp(event);
        }
        break;
    case NSEventTypeMouseMoved:
        break; // the mouse location is all a move changes here
    case NSEventTypeScrollWheel:
        if (auto view = viewAt()) {
            view->scrollWheel(event);
        }
        break;
    case NSEventTypeKeyDown:
        (firstResponder_ ? firstResponder_ : this)->keyDown(event);
        break;
    case NSEventTypeKeyUp:
        (firstResponder_ ? firstResponder_ : this)->keyUp(event);
        break;
    case NSEventTypeFlagsChanged:
        break;
    }
}

void NSWindow::keyDown(NSEvent*) {
    // The end of the responder chain: the platform beeps.
}

bool NSWindow::viewsNeedDisplay() const {
    return contentView_ && anyNeedsDisplay(*contentView_);
}

void NSWindow::drawIntoContext(CGContextRef context) {
    if (context) {
        drawInto(NSGraphicsContext::graphicsContextWithCGContext(context, false));
    }
}

void NSWindow::drawInto(const std::shared_ptr<NSGraphicsContext>& graphics) {
    CGContextRef context = graphics->CGContext();
    appkit::CurrentContextScope scope(graphics);
    CGContextSaveGState(context);
    CGContextSetFillRGBA(context, background_.rgba());
    CGContextFillRect(context, NSMakeRect(0, 0, frame_.size.width, frame_.size.height));
    if (contentView_) {
        contentView_->drawHierarchy();
    }
    CGContextRestoreGState(context);
}

void NSWindow::display() {
    const CGFloat scale = scale_ > 0 ? scale_ : NSScreen::mainScreen()->backingScaleFactor();
    if (!(frame_.size.width > 0) || !(frame_.size.height > 0)) {
        return;
    }
    if (!backing_ || !NSEqualSizes(backing_->size(), frame_.size) ||
        backing_->pixelsWide() != NSInteger(std::ceil(frame_.size.width * scale - 1e-9))) {
        backing_ = std::make_shared<NSBitmapImageRep>(frame_.size, scale);
        backingContext_ = NSGraphicsContext::graphicsContextWithBitmapImageRep(backing_);
    }
    // The backing and its context are kept between frames: a redraw allocates nothing here.
    CGContextRef context = backing_->drawingContext();
    CGContextClearRect(context, NSMakeRect(0, 0, frame_.size.width, frame_.size.height));
    drawInto(backingContext_);
    CGContextFlush(context);
    if (contentView_) {
        clearMarks(*contentView_);
    }
}

void NSWindow::displayIfNeeded() {
    if (!backing_ || viewsNeedDisplay()) {
        display();
    }
}
