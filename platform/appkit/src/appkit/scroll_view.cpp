// NSScrollView and NSClipView.

#include <AppKit/NSBezierPath.h>
#include <AppKit/NSColor.h>
#include <AppKit/NSScrollView.h>

#include <algorithm>

NSClipView::NSClipView() = default;
NSClipView::NSClipView(NSRect frame) : NSView(frame) {}
NSClipView::~NSClipView() = default;

void NSClipView::setDocumentView(const std::shared_ptr<NSView>& view) {
    if (document_) {
        document_->removeFromSuperview();
    }
    document_ = view;
    if (view) {
        NSRect f = view->frame();
        f.origin = NSZeroPoint;
        f.size.width = std::max(f.size.width, bounds().size.width);
        view->setFrame(f);
        addSubview(view);
        scrollToPoint(NSZeroPoint);
    }
}

bool NSClipView::isFlipped() const {
    return document_ ? document_->isFlipped() : false;
}

NSRect NSClipView::documentVisibleRect() const {
    return document_ ? convertRectToView(bounds(), document_.get()) : NSZeroRect;
}

void NSClipView::scrollToPoint(NSPoint point) {
    if (!document_) {
        return;
    }
    const NSRect doc = document_->frame();
    const NSSize size = bounds().size;
    // Scrolling moves the bounds origin over the document; keep it within the document.
    CGFloat x = std::clamp(point.x, doc.origin.x, std::max(doc.origin.x, NSMaxX(doc) - size.width));
    CGFloat y = 0;
    if (isFlipped()) {
        y = std::clamp(point.y, doc.origin.y, std::max(doc.origin.y, NSMaxY(doc) - size.height));
    } else {
        // An unflipped document shows its top first: the origin sits at its top minus the height.
        const CGFloat top = std::max(doc.origin.y, NSMaxY(doc) - size.height);
        y = std::clamp(top - point.y, doc.origin.y, top);
    }
    setBoundsOrigin(NSMakePoint(x, y));
}

void NSClipView::resizeSubviewsWithOldSize(NSSize oldSize) {
    NSView::resizeSubviewsWithOldSize(oldSize);
    if (document_ && (document_->autoresizingMask() & NSViewWidthSizable)) {
        NSRect f = document_->frame();
        f.size.width = bounds().size.width;
        document_->setFrame(f);
    }
}

void NSClipView::drawRect(NSRect) {}

NSScrollView::NSScrollView() : NSScrollView(NSZeroRect) {}

NSScrollView::NSScrollView(NSRect frame) : NSView(frame) {
    clip_ = std::make_shared<NSClipView>(NSMakeRect(0, 0, frame.size.width, frame.size.height));
    clip_->setAutoresizingMask(NSViewNotSizable);
    addSubview(clip_);
}

NSScrollView::~NSScrollView() = default;

void NSScrollView::setHasVerticalScroller(bool flag) {
    vertical_ = flag;
    tile();
}

std::shared_ptr<NSView> NSScrollView::documentView() const {
    return clip_->documentView();
}

void NSScrollView::setDocumentView(const std::shared_ptr<NSView>& view) {
    clip_->setDocumentView(view);
    tile();
}

NSSize NSScrollView::contentSize() const {
    return clip_->frame().size;
}

NSRect NSScrollView::documentVisibleRect() const {
    return clip_->documentVisibleRect();
}

void NSScrollView::tile() {
    const NSRect b = bounds();
    const CGFloat width = std::max(CGFloat(0), b.size.width - (vertical_ ? kScrollerWidth : 0));
    clip_->setFrame(NSMakeRect(b.origin.x, b.origin.y, width, b.size.height));
    if (auto doc = clip_->documentView()) {
        if (doc->autoresizingMask() & NSViewWidthSizable) {
            NSRect f = doc->frame();
            f.size.width = width;
            doc->setFrame(f);
        }
    }
    setNeedsDisplay(true);
}

void NSScrollView::resizeSubviewsWithOldSize(NSSize) {
    tile();
}

void NSScrollView::scrollWheel(NSEvent* event) {
    const NSRect visible = documentVisibleRect();
    if (auto doc = clip_->documentView(); doc && doc->isFlipped()) {
        clip_->scrollToPoint(
            NSMakePoint(visible.origin.x, visible.origin.y - 10 * event->scrollingDeltaY()));
    } else if (doc) {
        const CGFloat fromTop = NSMaxY(doc->frame()) - NSMaxY(visible);
        clip_->scrollToPoint(
            NSMakePoint(visible.origin.x, fromTop - 10 * event->scrollingDeltaY()));
    }
    setNeedsDisplay(true);
}

void NSScrollView::drawRect(NSRect) {
    if (!vertical_) {
        return;
    }
    const NSRect b = bounds();
    const NSRect track =
        NSMakeRect(NSMaxX(b) - kScrollerWidth, b.origin.y, kScrollerWidth, b.size.height);
    NSColor::colorWithWhite(0.96, 1).setFill();
    NSRectFill(track);
    auto doc = clip_->documentView();
    if (!doc || doc->frame().size.height <= 0) {
        return;
    }
    const NSRect visible = documentVisibleRect();
    const CGFloat total = doc->frame().size.height;
    const CGFloat fraction = std::min(CGFloat(1), visible.size.height / total);
    if (fraction >= 1) {
        return;
    }
    const CGFloat fromTop = doc->isFlipped() ? visible.origin.y - doc->frame().origin.y
                                             : NSMaxY(doc->frame()) - NSMaxY(visible);
    const CGFloat knobHeight = std::max(CGFloat(20), fraction * (b.size.height - 4));
    const CGFloat travel = b.size.height - 4 - knobHeight;
    const CGFloat offset =
        total > visible.size.height ? fromTop / (total - visible.size.height) * travel : 0;
    // The scroll view is unflipped: the top of the track is its maxY.
    const NSRect knob = NSMakeRect(track.origin.x + 3, NSMaxY(b) - 2 - offset - knobHeight,
                                   kScrollerWidth - 6, knobHeight);
    NSColor::colorWithWhite(0.6, 1).setFill();
    NSBezierPath::bezierPathWithRoundedRect(knob, 4.5, 4.5).fill();
}

NSAccessibilityRole NSScrollView::accessibilityRole() const {
    return NSAccessibilityScrollAreaRole;
}
