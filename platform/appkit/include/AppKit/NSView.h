#pragma once
// NSView: a rectangle of a window's view tree that draws and takes events.
//
// Geometry (the platform's rules):
// - frame() is in the superview's coordinates (its bounds space); bounds() is the view's own.
//   A view whose bounds size differs from its frame size is scaled by frame/bounds: its
//   drawing and its subviews' frames are in bounds units.
// - A flipped view (isFlipped() true) has y growing downwards from the top of its bounds.
//   Whether a view's y axis turns relative to its superview's depends on both flags (the
//   window's base space is unflipped).
// - setFrameSize keeps the bounds scaling: an unscaled view's bounds size follows the frame
//   size; a scaled view's bounds keep their ratio. Subviews then resize by their autoresizing
//   masks (NSViewNotSizable: they keep their place relative to the superview's origin corner —
//   top-left in a flipped superview, bottom-left otherwise). setBoundsSize changes only the
//   bounds (and so the scaling), never subview frames.
//
// Drawing:
// - setNeedsDisplay(true) marks the view; the window redraws its whole tree on its next
//   display pass (displayIfNeeded, which hosts run every run-loop turn) and clears the marks.
// - For each view, in subview order (the first subview is drawn first, so later ones are on
//   top): save the graphics state; map the view's bounds onto its frame (translate, scale,
//   flip); clip to the bounds; call drawRect(bounds); draw each non-hidden subview; restore.
//   A hidden view and everything inside it are not drawn.
// - displayRectIgnoringOpacity(rect, context) draws the view's tree into any context (a
//   bitmap or recording context): rect (in the view's coordinates) is mapped onto the
//   context's default user space at its origin, at the view's on-screen size (scaled by
//   frame/bounds), its top edge at the top. cacheDisplayInRect does the same into a bitmap
//   image rep, which bitmapImageRepForCachingDisplayInRect sizes to fit.
//
// Events:
// - hitTest(point in the superview's coordinates): nullptr when hidden or the point lies
//   outside the frame; otherwise the deepest non-hidden subview that takes the point
//   (last subview first, each asked through its own, overridable, hitTest), else this view.
// - Mouse events go to the view the window's hit test finds; drags and the release go to the
//   view that took the mouse-down (capture).
//
// Lifetime: a superview holds its subviews strongly; superview() and window() are plain
// back pointers, cleared when the view leaves.

#include <AppKit/AppKitDefines.h>
#include <AppKit/NSAccessibility.h>
#include <AppKit/NSAppearance.h>
#include <AppKit/NSResponder.h>
#include <CoreGraphics/CGAffineTransform.h>
#include <Foundation/NSGeometry.h>
#include <Foundation/NSHandle.h>
#include <Foundation/NSString.h>

#include <vector>

class NSWindow;
class NSGraphicsContext;
class NSBitmapImageRep;

typedef NSUInteger NSAutoresizingMaskOptions;
enum : NSUInteger {
    NSViewNotSizable = 0,
    NSViewMinXMargin = 1,
    NSViewWidthSizable = 2,
    NSViewMaxXMargin = 4,
    NSViewMinYMargin = 8,
    NSViewHeightSizable = 16,
    NSViewMaxYMargin = 32,
};

class APPKIT_EXPORT NSView : public NSResponder {
public:
    NSView();
    explicit NSView(NSRect frame); // initWithFrame:
    ~NSView() override;

    // initWithFrame: for subclasses that construct first and initialise later; returns this
    // (never nil on this platform).
    NSView* initWithFrame(NSRect frame);

    NSResponder* nextResponder() const override;

    // Geometry.
    NSRect frame() const { return frame_; }
    NSRect bounds() const { return bounds_; }
    void setFrame(NSRect frame);
    void setFrameOrigin(NSPoint origin);
    virtual void setFrameSize(NSSize size);
    void setBounds(NSRect bounds);
    void setBoundsOrigin(NSPoint origin);
    void setBoundsSize(NSSize size);
    virtual bool isFlipped() const;
    NSAutoresizingMaskOptions autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(NSAutoresizingMaskOptions mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool flag) { autoresizesSubviews_ = flag; }
    virtual void resizeSubviewsWithOldSize(NSSize oldSize);
    virtual void resizeWithOldSuperviewSize(NSSize oldSize);

    // Converting points and rectangles; a nullptr view means the window's base coordinates.
    NSPoint convertPointFromView(NSPoint point, const NSView* view) const; // convertPoint:fromView:
    NSPoint convertPointToView(NSPoint point, const NSView* view) const;   // convertPoint:toView:
    NSRect convertRectFromView(NSRect rect, const NSView* view) const;
    NSRect convertRectToView(NSRect rect, const NSView* view) const;
    // Stand-in extension: the map from this view's bounds space to the window's base space.
    CGAffineTransform transformToWindow() const;

    // The view tree.
    void addSubview(const std::shared_ptr<NSView>& view);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<NSView>>& subviews() const { return subviews_; }
    NSView* superview() const { return superview_; }
    NSWindow* window() const { return window_; }
    bool isDescendantOf(const NSView* view) const;
    virtual void viewWillMoveToWindow(NSWindow* newWindow);
    virtual void viewDidMoveToWindow();
    virtual void viewWillMoveToSuperview(NSView* newSuperview);
    virtual void viewDidMoveToSuperview();

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    bool isHiddenOrHasHiddenAncestor() const;
    virtual NSInteger tag() const; // -1 for plain views

    // Drawing.
    bool needsDisplay() const { return needsDisplay_; }
    void setNeedsDisplay(bool flag);
    virtual void drawRect(NSRect dirtyRect);
    void display(); // draws the window now when the view is in one
    void displayRectIgnoringOpacity(NSRect rect, NSGraphicsContext* context);
    std::shared_ptr<NSBitmapImageRep> bitmapImageRepForCachingDisplayInRect(NSRect rect) const;
    void cacheDisplayInRect(NSRect rect, NSBitmapImageRep* rep);
    // Stand-in: draws this view's tree into the current graphics context, whose CTM must map
    // the superview's bounds space (the drawing machinery and hosts use it).
    void drawHierarchy();

    // Events.
    virtual NSView* hitTest(NSPoint point);
    virtual bool acceptsFirstMouse(NSEvent* event);

    // Appearance and decoration.
    void setAppearance(const std::shared_ptr<NSAppearance>& appearance) {
        appearance_ = appearance;
    }
    const std::shared_ptr<NSAppearance>& appearance() const { return appearance_; }
    void setToolTip(const NSString& toolTip) { toolTip_ = toolTip; }
    const NSString& toolTip() const { return toolTip_; }

    // Accessibility.
    void setAccessibilityLabel(const NSString& label) { accessibilityLabel_ = label; }
    const NSString& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityHelp(const NSString& help) { accessibilityHelp_ = help; }
    const NSString& accessibilityHelp() const { return accessibilityHelp_; }
    virtual NSAccessibilityRole accessibilityRole() const;     // NSAccessibilityGroupRole
    virtual NSHandle accessibilityValue() const;               // nil
    virtual void setAccessibilityValue(const NSHandle& value); // ignored by plain views

protected:
    // [host] the window sets itself on its content view's tree.
    friend class NSWindow;
    void setWindowRecursively(NSWindow* window);

private:
    void applyFrameSize(NSSize size);
    void drawContents(NSGraphicsContext& context);
    CGAffineTransform transformToSuperview() const;

    NSRect frame_;
    NSRect bounds_;
    std::vector<std::shared_ptr<NSView>> subviews_;
    NSView* superview_ = nullptr;
    NSWindow* window_ = nullptr;
    bool hidden_ = false;
    bool needsDisplay_ = true;
    bool autoresizesSubviews_ = true;
    NSAutoresizingMaskOptions autoresizingMask_ = NSViewNotSizable;
    std::shared_ptr<NSAppearance> appearance_;
    NSString toolTip_;
    NSString accessibilityLabel_;
    NSString accessibilityHelp_;
};
