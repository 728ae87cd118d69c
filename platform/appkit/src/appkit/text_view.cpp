// NSTextView: laid-out, read-only text.

#include <AppKit/NSBezierPath.h>
#include <AppKit/NSStringDrawing.h>
#include <AppKit/NSTextView.h>

#include <algorithm>
#include <cmath>

void NSTextContainer::setContainerSize(NSSize size) {
    size_ = size;
    if (view_) {
        view_->relayout();
    }
}

void NSTextContainer::setWidthTracksTextView(bool flag) {
    widthTracks_ = flag;
    if (view_) {
        view_->relayout();
    }
}

void NSTextContainer::setLineFragmentPadding(CGFloat padding) {
    padding_ = padding;
    if (view_) {
        view_->relayout();
    }
}

NSTextView::NSTextView() : NSTextView(NSZeroRect) {}

NSTextView::NSTextView(NSRect frame)
    : NSView(frame), string_(""), font_(NSFont::systemFontOfSize(12)),
      textColor_(NSColor::textColor()), background_(NSColor::textBackgroundColor()) {
    container_.view_ = this;
    container_.size_ = {frame.size.width, 1.0e7};
}

NSTextView::~NSTextView() {
    container_.view_ = nullptr;
}

void NSTextView::setString(const NSString& string) {
    string_ = string ? string : NSString("");
    relayout();
}

void NSTextView::setFont(const std::shared_ptr<NSFont>& font) {
    font_ = font ? font : NSFont::systemFontOfSize(12);
    relayout();
}

void NSTextView::setTextContainerInset(NSSize inset) {
    inset_ = inset;
    relayout();
}

void NSTextView::setVerticallyResizable(bool flag) {
    verticallyResizable_ = flag;
    relayout();
}

void NSTextView::setMinSize(NSSize size) {
    minSize_ = size;
    relayout();
}

void NSTextView::setMaxSize(NSSize size) {
    maxSize_ = size;
    relayout();
}

void NSTextView::sizeToFit() {
    relayout();
}

NSRect NSTextView::textRect() const {
    const CGFloat containerWidth =
        container_.widthTracks_ ? bounds().size.width - 2 * inset_.width : container_.size_.width;
    return NSMakeRect(inset_.width + container_.padding_, inset_.height,
                      std::max(CGFloat(1), containerWidth - 2 * container_.padding_),
                      std::max(CGFloat(0), bounds().size.height - 2 * inset_.height));
}

void NSTextView::setFrameSize(NSSize size) {
    NSView::setFrameSize(size);
    if (!layingOut_) {
        relayout();
    }
}

void NSTextView::relayout() {
    if (layingOut_) {
        return;
    }
    layingOut_ = true;
    if (container_.widthTracks_) {
        container_.size_.width = std::max(CGFloat(0), bounds().size.width - 2 * inset_.width);
    }
    if (verticallyResizable_) {
        const NSRect r = textRect();
        const CGFloat textHeight =
            string_.length() ? string_
                                   .boundingRectWithSize(NSMakeSize(r.size.width, 0),
                                                         NSStringDrawingUsesLineFragmentOrigin,
                                                         {font_, textColor_, {}})
                                   .size.height
                             : 0;
        const CGFloat height =
            std::clamp(std::ceil(textHeight + 2 * inset_.height), minSize_.height,
                       std::max(minSize_.height, maxSize_.height));
        if (height != frame().size.height) {
            setFrameSize(NSMakeSize(frame().size.width, height));
        }
    }
    layingOut_ = false;
    setNeedsDisplay(true);
}

void NSTextView::resizeWithOldSuperviewSize(NSSize oldSize) {
    NSView::resizeWithOldSuperviewSize(oldSize); // ends in setFrameSize, which lays out
}

void NSTextView::drawRect(NSRect) {
    if (drawsBackground_) {
        background_.setFill();
        NSRectFill(bounds());
    }
    if (string_.length()) {
        string_.drawInRect(textRect(), {font_, textColor_, {}});
    }
}

NSAccessibilityRole NSTextView::accessibilityRole() const {
    return NSAccessibilityTextAreaRole;
}

NSHandle NSTextView::accessibilityValue() const {
    return string_;
}
