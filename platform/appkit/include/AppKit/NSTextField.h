#pragma once
// NSTextField: a line of text (a label when not editable). Editing is not supported: this
// stand-in only shows text.
//
// Promises:
// - drawRect draws the bezel (when bezeled) or the background (when drawsBackground) and the
//   string value in its font (the system font of size 13 by default), text colour (black by
//   default) and alignment, wrapped at the bounds' width, from the top.

#include <AppKit/NSColor.h>
#include <AppKit/NSControl.h>

class APPKIT_EXPORT NSTextField : public NSControl {
public:
    NSTextField();
    explicit NSTextField(NSRect frame);
    ~NSTextField() override;
    static std::shared_ptr<NSTextField> labelWithString(const NSString& string);

    bool isEditable() const { return editable_; }
    void setEditable(bool flag) { editable_ = flag; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool flag) { selectable_ = flag; }
    bool isBezeled() const { return bezeled_; }
    void setBezeled(bool flag) { bezeled_ = flag; }
    bool isBordered() const { return bordered_; }
    void setBordered(bool flag) { bordered_ = flag; }
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool flag) { drawsBackground_ = flag; }
    const NSColor& textColor() const { return textColor_; }
    void setTextColor(const NSColor& color) { textColor_ = color; }
    const NSColor& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(const NSColor& color) { backgroundColor_ = color; }

    bool isFlipped() const override { return true; }
    void drawRect(NSRect dirtyRect) override;
    NSAccessibilityRole accessibilityRole() const override;
    NSHandle accessibilityValue() const override;

private:
    bool editable_ = true, selectable_ = true, bezeled_ = true, bordered_ = false;
    bool drawsBackground_ = false;
    NSColor textColor_;
    NSColor backgroundColor_;
};
