#pragma once
// NSTextView: a view that shows a text (read-only here) wrapped in a text container.
//
// Promises:
// - The text is laid out in the text container's width less a 5-point line fragment padding
//   on each side, offset by textContainerInset, in the view's font (system font 12 by
//   default) and text colour (black), over the background colour (white) when it draws one.
//   The view is flipped: the text starts at the top.
// - With widthTracksTextView the container's width is the view's width minus twice the inset
//   width, and follows frame changes.
// - When vertically resizable the view's height becomes the laid-out text's height plus twice
//   the inset height, within minSize and maxSize, after every change of text, font, inset or
//   width (what the platform's layout manager does as it lays out).
// - Editing is not supported: isEditable can be set but text only changes through setString.
// - accessibilityRole is NSAccessibilityTextAreaRole; accessibilityValue the string.

#include <AppKit/NSColor.h>
#include <AppKit/NSFont.h>
#include <AppKit/NSView.h>

class NSTextView;

class APPKIT_EXPORT NSTextContainer {
public:
    NSSize containerSize() const { return size_; }
    void setContainerSize(NSSize size);
    bool widthTracksTextView() const { return widthTracks_; }
    void setWidthTracksTextView(bool flag);
    bool heightTracksTextView() const { return heightTracks_; }
    void setHeightTracksTextView(bool flag) { heightTracks_ = flag; }
    CGFloat lineFragmentPadding() const { return padding_; }
    void setLineFragmentPadding(CGFloat padding);

private:
    friend class NSTextView;
    NSTextView* view_ = nullptr;
    NSSize size_ = {1.0e7, 1.0e7};
    bool widthTracks_ = true, heightTracks_ = false;
    CGFloat padding_ = 5;
};

class APPKIT_EXPORT NSTextView : public NSView {
public:
    NSTextView();
    explicit NSTextView(NSRect frame);
    ~NSTextView() override;

    const NSString& string() const { return string_; }
    void setString(const NSString& string);
    bool isEditable() const { return editable_; }
    void setEditable(bool flag) { editable_ = flag; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool flag) { selectable_ = flag; }
    const std::shared_ptr<NSFont>& font() const { return font_; }
    void setFont(const std::shared_ptr<NSFont>& font);
    const NSColor& textColor() const { return textColor_; }
    void setTextColor(const NSColor& color) { textColor_ = color; }
    const NSColor& backgroundColor() const { return background_; }
    void setBackgroundColor(const NSColor& color) { background_ = color; }
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool flag) { drawsBackground_ = flag; }
    NSSize textContainerInset() const { return inset_; }
    void setTextContainerInset(NSSize inset);
    NSTextContainer* textContainer() { return &container_; }
    bool isVerticallyResizable() const { return verticallyResizable_; }
    void setVerticallyResizable(bool flag);
    bool isHorizontallyResizable() const { return horizontallyResizable_; }
    void setHorizontallyResizable(bool flag) { horizontallyResizable_ = flag; }
    NSSize minSize() const { return minSize_; }
    void setMinSize(NSSize size);
    NSSize maxSize() const { return maxSize_; }
    void setMaxSize(NSSize size);
    void sizeToFit();
    // Stand-in extension: where the text is laid out, in the view's coordinates.
    NSRect textRect() const;

    bool isFlipped() const override { return true; }
    void setFrameSize(NSSize size) override;
    void resizeWithOldSuperviewSize(NSSize oldSize) override;
    void drawRect(NSRect dirtyRect) override;
    NSAccessibilityRole accessibilityRole() const override;
    NSHandle accessibilityValue() const override;

private:
    friend class NSTextContainer;
    void relayout();
    NSString string_;
    bool editable_ = true, selectable_ = true;
    std::shared_ptr<NSFont> font_;
    NSColor textColor_;
    NSColor background_;
    bool drawsBackground_ = true;
    NSSize inset_;
    NSTextContainer container_;
    bool verticallyResizable_ = true, horizontallyResizable_ = false;
    NSSize minSize_;
    NSSize maxSize_ = {1.0e7, 1.0e7};
    bool layingOut_ = false;
};
