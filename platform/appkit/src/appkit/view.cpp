// NSView: geometry, the view tree, drawing and hit testing.

#include <AppKit/NSImage.h>
#include <AppKit/NSView.h>
#include <AppKit/NSWindow.h>

#include "drawing_internal.h"

#include <algorithm>

namespace {

CGFloat ratio(CGFloat frame, CGFloat bounds) {
    return bounds != 0 ? frame / bounds : 1;
}

} // namespace

bool NSMouseInRect(NSPoint p, NSRect r, bool flipped) {
    r = CGRectStandardize(r);
    if (p.x < NSMinX(r) || p.x >= NSMaxX(r)) {
        return false;
    }
    return flipped ? p.y >= NSMinY(r) && p.y < NSMaxY(r) : p.y > NSMinY(r) && p.y <= NSMaxY(r);
}

NSView::NSView() = default;

NSView::NSView(NSRect frame)
    : frame_(frame), bounds_(NSMakeRect(0, 0, frame.size.width, frame.size.height)) {}

NSView::~NSView() {
    for (const auto& sub : subviews_) {
        sub->superview_ = nullptr;
    }
}

NSView* NSView::initWithFrame(NSRect frame) {
    frame_ = frame;
    bounds_ = NSMakeRect(0, 0, frame.size.width, frame.size.height);
    return this;
}

NSResponder* NSView::nextResponder() const {
    if (superview_) {
        return superview_;
    }
    return window_;
}

void NSView::setFrame(NSRect frame) {
    frame_.origin = frame.origin;
    if (!NSEqualSizes(frame.size, frame_.size)) {
        setFrameSize(frame.size);
    }
    setNeedsDisplay(true);
}

void NSView::setFrameOrigin(NSPoint origin) {
    frame_.origin = origin;
    setNeedsDisplay(true);
}

void NSView::setFrameSize(NSSize size) {
    if (!NSEqualSizes(size, frame_.size)) {
        applyFrameSize(size);
    }
    setNeedsDisplay(true);
}

void NSView::applyFrameSize(NSSize size) {
    const NSSize oldBounds = bounds_.size;
    // An unscaled view's bounds follow its frame; a scaled view keeps its scale.
    if (NSEqualSizes(bounds_.size, frame_.size)) {
        bounds_.size = size;
    } else {
        bounds_.size.width = size.width / ratio(frame_.size.width, bounds_.size.width);
        bounds_.size.height = size.height / ratio(frame_.size.height, bounds_.size.height);
    }
    frame_.size = size;
    if (autoresizesSubviews_) {
        resizeSubviewsWithOldSize(oldBounds);
    }
}

void NSView::setBounds(NSRect bounds) {
    bounds_ = bounds;
    setNeedsDisplay(true);
}

void NSView::setBoundsOrigin(NSPoint origin) {
    bounds_.origin = origin;
    setNeedsDisplay(true);
}

void NSView::setBoundsSize(NSSize size) {
    bounds_.size = size;
    setNeedsDisplay(true);
}

bool NSView::isFlipped() const {
    return false;
}

void NSView::resizeSubviewsWithOldSize(NSSize oldSize) {
    for (std::size_t i = 0; i < subviews_.size(); ++i) {
        const std::shared_ptr<NSView> sub = subviews_[i];
        sub->resizeWithOldSuperviewSize(oldSize);
    }
}

void NSView::resizeWithOldSuperviewSize(NSSize oldSize) {
    if (!superview_ || autoresizingMask_ == NSViewNotSizable) {
        return;
    }
    const NSSize now = superview_->bounds_.size;
    NSRect f = frame_;
    // The change is shared equally by the flexible parts of each axis.
    const auto share = [](CGFloat delta, bool a, bool b, bool c, CGFloat& first, CGFloat& size) {
        const int n = int(a) + int(b) + int(c);
        if (n == 0) {
            return;
        }
        const CGFloat part = delta / n;
        if (a) {
            first += part;
        }
        if (b) {
            size += part;
        }
    };
    const NSAutoresizingMaskOptions m = autoresizingMask_;
    share(now.width - oldSize.width, m & NSViewMinXMargin, m & NSViewWidthSizable,
          m & NSViewMaxXMargin, f.origin.x, f.size.width);
    share(now.height - oldSize.height, m & NSViewMinYMargin, m & NSViewHeightSizable,
          m & NSViewMaxYMargin, f.origin.y, f.size.height);
    f.size.width = std::max(CGFloat(0), f.size.width);
    f.size.height = std::max(CGFloat(0), f.size.height);
    setFrame(f);
}

CGAffineTransform NSView::transformToSuperview() const {
    const bool parentFlipped = superview_ ? superview_->isFlipped() : false;
    const CGFloat sx = ratio(frame_.size.width, bounds_.size.width);
    const CGFloat sy = ratio(frame_.size.height, bounds_.size.height);
    CGAffineTransform t;
    t.a = sx;
    t.tx = frame_.origin.x - bounds_.origin.x * sx;
    if (isFlipped() == parentFlipped) {
        t.d = sy;
        t.ty = frame_.origin.y - bounds_.origin.y * sy;
    } else {
        t.d = -sy;
        t.ty = frame_.origin.y + frame_.size.height + bounds_.origin.y * sy;
    }
    return t;
}

CGAffineTransform NSView::transformToWindow() const {
    CGAffineTransform t = CGAffineTransformIdentity;
    for (const NSView* v = this; v; v = v->superview_) {
        t = CGAffineTransformConcat(t, v->transformToSuperview());
    }
    return t;
}

NSPoint NSView::convertPointFromView(NSPoint point, const NSView* view) const {
    const NSPoint inWindow =
        view ? CGPointApplyAffineTransform(point, view->transformToWindow()) : point;
    return CGPointApplyAffineTransform(inWindow, CGAffineTransformInvert(transformToWindow()));
}

NSPoint NSView::convertPointToView(NSPoint point, const NSView* view) const {
    const NSPoint inWindow = CGPointApplyAffineTransform(point, transformToWindow());
    return view ? CGPointApplyAffineTransform(inWindow,
                                              CGAffineTransformInvert(view->transformToWindow()))
                : inWindow;
}

NSRect NSView::convertRectFromView(NSRect rect, const NSView* view) const {
    const NSRect inWindow =
        view ? CGRectApplyAffineTransform(rect, view->transformToWindow()) : rect;
    return CGRectApplyAffineTransform(inWindow, CGAffineTransformInvert(transformToWindow()));
}

NSRect NSView::convertRectToView(NSRect rect, const NSView* view) const {
    const NSRect inWindow = CGRectApplyAffineTransform(rect, transformToWindow());
    return view ? CGRectApplyAffineTransform(inWindow,
                                             CGAffineTransformInvert(view->transformToWindow()))
                : inWindow;
}

void NSView::addSubview(const std::shared_ptr<NSView>& view) {
    if (!view || view.get() == this) {
        return;
    }
    const std::shared_ptr<NSView> keep = view;
    if (view->superview_) {
        view->removeFromSuperview();
    }
    view->viewWillMoveToSuperview(this);
    if (view->window_ != window_) {
        view->setWindowRecursively(window_);
    }
    view->superview_ = this;
    subviews_.push_back(view);
    view->viewDidMoveToSuperview();
    setNeedsDisplay(true);
}

void NSView::removeFromSuperview() {
    NSView* parent = superview_;
    if (!parent) {
        return;
    }
    // The superview's reference may be the last one: hold the view until this returns.
    const std::shared_ptr<NSObject> keep = weak_from_this().lock();
    viewWillMoveToSuperview(nullptr);
    if (window_) {
        setWindowRecursively(nullptr);
    }
    auto& siblings = parent->subviews_;
    siblings.erase(
        std::remove_if(siblings.begin(), siblings.end(),
                       [&](const std::shared_ptr<NSView>& v) { return v.get() == this; }),
        siblings.end());
    superview_ = nullptr;
    viewDidMoveToSuperview();
    parent->setNeedsDisplay(true);
}

void NSView::setWindowRecursively(NSWindow* window) {
    if (window_ == window) {
        return;
    }
    viewWillMoveToWindow(window);
    NSWindow* old = window_;
    if (old && old->firstResponder() == this) {
        old->makeFirstResponder(nullptr);
    }
    window_ = window;
    for (std::size_t i = 0; i < subviews_.size(); ++i) {
        subviews_[i]->setWindowRecursively(window);
    }
    viewDidMoveToWindow();
}

bool NSView::isDescendantOf(const NSView* view) const {
    for (const NSView* v = this; v; v = v->superview_) {
        if (v == view) {
            return true;
        }
    }
    return false;
}

void NSView::viewWillMoveToWindow(NSWindow*) {}
void NSView::viewDidMoveToWindow() {}
void NSView::viewWillMoveToSuperview(NSView*) {}
void NSView::viewDidMoveToSuperview() {}

void NSView::setHidden(bool hidden) {
    if (hidden_ != hidden) {
        hidden_ = hidden;
        if (superview_) {
            superview_->setNeedsDisplay(true);
        }
        setNeedsDisplay(true);
    }
}

bool NSView::isHiddenOrHasHiddenAncestor() const {
    for (const NSView* v = this; v; v = v->superview_) {
        if (v->hidden_) {
            return true;
        }
    }
    return false;
}

NSInteger NSView::tag() const {
    return -1;
}

void NSView::setNeedsDisplay(bool flag) {
    needsDisplay_ = flag;
}

void NSView::drawRect(NSRect) {}

void NSView::display() {
    if (window_) {
        window_->display();
    }
}

void NSView::drawHierarchy() {
    if (hidden_) {
        return;
    }
    NSGraphicsContext* context = NSGraphicsContext::currentContext();
    if (!context) {
        return;
    }
    CGContextRef c = context->CGContext();
    const bool wasFlipped = context->isFlipped();
    CGContextSaveGState(c);
    CGContextConcatCTM(c, transformToSuperview());
    CGContextClipToRect(c, bounds_);
    drawContents(*context);
    context->setFlipped(wasFlipped);
    CGContextRestoreGState(c);
    needsDisplay_ = false;
}

void NSView::drawContents(NSGraphicsContext& context) {
    context.setFlipped(isFlipped());
    drawRect(bounds_);
    // By index, holding each subview: a drawRect should not change the tree, but a careless
    // one must not crash the drawing.
    for (std::size_t i = 0; i < subviews_.size(); ++i) {
        const std::shared_ptr<NSView> sub = subviews_[i];
        sub->drawHierarchy();
    }
}

void NSView::displayRectIgnoringOpacity(NSRect rect, NSGraphicsContext* context) {
    if (!context) {
        return;
    }
    const std::shared_ptr<NSGraphicsContext> owned =
        std::static_pointer_cast<NSGraphicsContext>(context->shared_from_this());
    appkit::CurrentContextScope scope(owned);
    CGContextRef c = context->CGContext();
    const bool wasFlipped = context->isFlipped();
    CGContextSaveGState(c);
    // rect's origin at the context's origin, at the view's on-screen size (its frame/bounds
    // scale), y as the view's flip demands.
    rect = CGRectStandardize(rect);
    const CGFloat sx = ratio(frame_.size.width, bounds_.size.width);
    const CGFloat sy = ratio(frame_.size.height, bounds_.size.height);
    if (isFlipped()) {
        CGContextConcatCTM(
            c, CGAffineTransform{sx, 0, 0, -sy, -rect.origin.x * sx, NSMaxY(rect) * sy});
    } else {
        CGContextConcatCTM(
            c, CGAffineTransform{sx, 0, 0, sy, -rect.origin.x * sx, -rect.origin.y * sy});
    }
    // Draw as the view's own tree would, without the hidden flag of the view itself.
    CGContextClipToRect(c, NSIntersectionRect(rect, bounds_));
    drawContents(*context);
    context->setFlipped(wasFlipped);
    CGContextRestoreGState(c);
}

std::shared_ptr<NSBitmapImageRep> NSView::bitmapImageRepForCachingDisplayInRect(NSRect rect) const {
    const CGFloat scale =
        window_ && window_->backingScaleFactor() > 0 ? window_->backingScaleFactor() : 1;
    rect = CGRectStandardize(rect);
    const NSSize size = {rect.size.width * ratio(frame_.size.width, bounds_.size.width),
                         rect.size.height * ratio(frame_.size.height, bounds_.size.height)};
    if (size.width <= 0 || size.height <= 0) {
        return nullptr;
    }
    return std::make_shared<NSBitmapImageRep>(size, scale);
}

void NSView::cacheDisplayInRect(NSRect rect, NSBitmapImageRep* rep) {
    if (!rep || !rep->drawingContext()) {
        return;
    }
    const std::shared_ptr<NSBitmapImageRep> owned =
        std::static_pointer_cast<NSBitmapImageRep>(rep->shared_from_this());
    std::shared_ptr<NSGraphicsContext> context =
        NSGraphicsContext::graphicsContextWithBitmapImageRep(owned);
    CGContextRef c = context->CGContext();
    CGContextClearRect(c, NSMakeRect(0, 0, rep->size().width, rep->size().height));
    displayRectIgnoringOpacity(rect, context.get());
}

NSView* NSView::hitTest(NSPoint point) {
    if (hidden_) {
        return nullptr;
    }
    const bool parentFlipped = superview_ ? superview_->isFlipped() : false;
    if (!NSMouseInRect(point, frame_, parentFlipped)) {
        return nullptr;
    }
    const NSPoint local =
        CGPointApplyAffineTransform(point, CGAffineTransformInvert(transformToSuperview()));
    for (std::size_t i = subviews_.size(); i-- > 0;) {
        const std::shared_ptr<NSView> sub = subviews_[i];
        if (NSView* hit = sub->hitTest(local)) {
            return hit;
        }
    }
    return this;
}

bool NSView::acceptsFirstMouse(NSEvent*) {
    return true;
}

NSAccessibilityRole NSView::accessibilityRole() const {
    return NSAccessibilityGroupRole;
}
NSHandle NSView::accessibilityValue() const {
    return NSHandle();
}
void NSView::setAccessibilityValue(const NSHandle&) {}
