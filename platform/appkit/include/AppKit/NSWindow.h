#pragma once
// NSWindow: a window that draws its view tree into an image and routes events to it.
//
// Geometry: frame() is in screen coordinates (origin bottom-left, y up). The stand-in draws no
// title bar, so the content rectangle is the frame and window base coordinates are the
// content view's superview space: (0, 0) is the content's bottom-left corner.
//
// Promises:
// - Events (sendEvent): mouse-down goes to the content view's hitTest result (made first
//   responder first when it accepts), which then captures the mouse: drags and the mouse-up
//   go to it wherever the mouse is. Scroll-wheel events go to the view under the mouse, key
//   events to the first responder (the window when there is none). Each event goes through
//   the responder chain when the view passes it on. The class mouse location and modifier
//   flags (NSEvent) follow the routed events.
// - Drawing: display() draws the whole tree into the window's backing image (content size ×
//   backingScaleFactor pixels, window background colour under it) and clears the views'
//   needs-display marks; displayIfNeeded() does so only when some view is marked.
//   backingImageRep() is the last drawn image (a host takes it as a PNG through
//   representationUsingType).
// - Ordering: makeKeyAndOrderFront makes the window visible, frontmost and key; orderOut and
//   close take it off screen (close also removes it from its parent). A closed window object
//   stays usable and can be shown again. Child windows are kept by their parent and are
//   ordered above it. NSApplication lists the visible windows front to back.
// - Sheets begun on a window ask the host interface for their answer (<AppKit/AppKitHost.h>);
//   their completion handlers run on the main run loop's next turn.
// - [main thread]

#include <AppKit/NSColor.h>
#include <AppKit/NSGraphicsContext.h>
#include <AppKit/NSResponder.h>
#include <AppKit/NSView.h>
#include <CoreGraphics/CGContext.h>
#include <Foundation/NSString.h>

#include <vector>

class NSBitmapImageRep;

typedef NSUInteger NSWindowStyleMask;
enum : NSUInteger {
    NSWindowStyleMaskBorderless = 0,
    NSWindowStyleMaskTitled = 1u << 0,
    NSWindowStyleMaskClosable = 1u << 1,
    NSWindowStyleMaskMiniaturizable = 1u << 2,
    NSWindowStyleMaskResizable = 1u << 3,
};

enum NSBackingStoreType : NSUInteger {
    NSBackingStoreRetained = 0,
    NSBackingStoreNonretained = 1,
    NSBackingStoreBuffered = 2,
};

enum NSWindowOrderingMode : NSInteger {
    NSWindowBelow = -1,
    NSWindowOut = 0,
    NSWindowAbove = 1,
};

typedef NSInteger NSWindowLevel;
inline constexpr NSWindowLevel NSNormalWindowLevel = 0;
inline constexpr NSWindowLevel NSFloatingWindowLevel = 3;
inline constexpr NSWindowLevel NSModalPanelWindowLevel = 8;

class APPKIT_EXPORT NSWindow : public NSResponder {
public:
    // initWithContentRect:styleMask:backing:defer:
    NSWindow(NSRect contentRect, NSWindowStyleMask style, NSBackingStoreType backing, bool defer);
    ~NSWindow() override;

    const std::shared_ptr<NSView>& contentView() const { return contentView_; }
    void setContentView(const std::shared_ptr<NSView>& view);

    const NSString& title() const { return title_; }
    void setTitle(const NSString& title) { title_ = title; }
    NSWindowStyleMask styleMask() const { return style_; }
    NSInteger windowNumber() const { return number_; }
    NSColor backgroundColor() const { return background_; }
    void setBackgroundColor(const NSColor& color) { background_ = color; }

    NSRect frame() const { return frame_; }
    void setFrame(NSRect frame, bool display);
    void setFrameOrigin(NSPoint origin);
    void setContentSize(NSSize size);
    NSRect contentRectForFrameRect(NSRect frame) const { return frame; }
    void center(); // centres on the main screen's visible frame

    NSWindowLevel level() const { return level_; }
    void setLevel(NSWindowLevel level) { level_ = level; }
    bool isVisible() const { return visible_; }
    bool isKeyWindow() const;
    void makeKeyAndOrderFront(NSObject* sender);
    void makeKeyWindow();
    void orderFront(NSObject* sender);
    void orderOut(NSObject* sender);
    void close();
    bool isReleasedWhenClosed() const { return releasedWhenClosed_; }
    void setReleasedWhenClosed(bool flag) { releasedWhenClosed_ = flag; }

    void addChildWindow(const std::shared_ptr<NSWindow>& child, NSWindowOrderingMode place);
    void removeChildWindow(const std::shared_ptr<NSWindow>& child);
    const std::vector<std::shared_ptr<NSWindow>>& childWindows() const { return children_; }
    NSWindow* parentWindow() const { return parent_; }

    NSResponder* firstResponder() const { return firstResponder_; }
    bool makeFirstResponder(NSResponder* responder);

    NSPoint convertPointFromScreen(NSPoint point) const;
    NSPoint convertPointToScreen(NSPoint point) const;
    NSRect convertRectFromScreen(NSRect rect) const;
    NSRect convertRectToScreen(NSRect rect) const;
    NSPoint mouseLocationOutsideOfEventStream() const;

    CGFloat backingScaleFactor() const { return scale_; }
    void setBackingScaleFactor(CGFloat scale) { scale_ = scale; } // [host]

    virtual void sendEvent(NSEvent* event);
    void display();
    void displayIfNeeded();
    bool viewsNeedDisplay() const;
    const std::shared_ptr<NSBitmapImageRep>& backingImageRep() const { return backing_; }
    // Stand-in: draws the window (background and view tree) into a context whose default
    // user space is the window's base coordinates (for recording contexts in tests).
    void drawIntoContext(CGContextRef context);

    NSResponder* nextResponder() const override { return nullptr; }
    void keyDown(NSEvent* event) override;

private:
    friend class NSApplication;
    void drawInto(const std::shared_ptr<NSGraphicsContext>& context);
    NSRect frame_;
    NSWindowStyleMask style_;
    NSInteger number_;
    NSString title_;
    NSColor background_;
    std::shared_ptr<NSView> contentView_;
    NSWindowLevel level_ = NSNormalWindowLevel;
    bool visible_ = false;
    bool releasedWhenClosed_ = true;
    std::vector<std::shared_ptr<NSWindow>> children_;
    NSWindow* parent_ = nullptr;
    NSResponder* firstResponder_ = nullptr;
    std::weak_ptr<NSView> mouseView_; // the view that took the mouse-down
    CGFloat scale_ = 0;               // 0: the main screen's scale
    std::shared_ptr<NSBitmapImageRep> backing_;
    std::shared_ptr<NSGraphicsContext> backingContext_;
};
