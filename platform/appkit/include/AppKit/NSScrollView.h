#pragma once
// NSScrollView and NSClipView: a scrolled view onto a document view.
//
// Promises:
// - The scroll view's content view is an NSClipView filling it (less a 15-point vertical
//   scroller at the right when hasVerticalScroller); the document view is its only subview.
//   The clip view is flipped when the document view is, so a flipped document shows from its
//   top.
// - The document view is made at least as wide as the clip view when set, and follows the
//   clip view's width when its autoresizing mask has NSViewWidthSizable.
// - scrollWheel scrolls the document by 10 points per unit of scrollingDeltaY, within range;
//   documentVisibleRect() is the part shown, in the document's coordinates.
// - The scroller is drawn as a track with a knob sized by the visible fraction.

#include <AppKit/NSView.h>

class APPKIT_EXPORT NSClipView : public NSView {
public:
    NSClipView();
    explicit NSClipView(NSRect frame);
    ~NSClipView() override;

    const std::shared_ptr<NSView>& documentView() const { return document_; }
    void setDocumentView(const std::shared_ptr<NSView>& view);
    NSRect documentVisibleRect() const;
    void scrollToPoint(NSPoint point); // the document point shown at the clip's top-left
    bool isFlipped() const override;
    void resizeSubviewsWithOldSize(NSSize oldSize) override;
    void drawRect(NSRect dirtyRect) override;

private:
    std::shared_ptr<NSView> document_;
};

class APPKIT_EXPORT NSScrollView : public NSView {
public:
    static constexpr CGFloat kScrollerWidth = 15;

    NSScrollView();
    explicit NSScrollView(NSRect frame);
    ~NSScrollView() override;

    bool hasVerticalScroller() const { return vertical_; }
    void setHasVerticalScroller(bool flag);
    bool hasHorizontalScroller() const { return horizontal_; }
    void setHasHorizontalScroller(bool flag) { horizontal_ = flag; }
    std::shared_ptr<NSView> documentView() const;
    void setDocumentView(const std::shared_ptr<NSView>& view);
    const std::shared_ptr<NSClipView>& contentView() const { return clip_; }
    NSSize contentSize() const;
    NSRect documentVisibleRect() const;

    void resizeSubviewsWithOldSize(NSSize oldSize) override;
    void scrollWheel(NSEvent* event) override;
    void drawRect(NSRect dirtyRect) override;
    NSAccessibilityRole accessibilityRole() const override;

private:
    void tile();
    std::shared_ptr<NSClipView> clip_;
    bool vertical_ = false, horizontal_ = false;
};
