#pragma once
// NSButton: a push or toggle button with the platform's click tracking.
//
// Promises:
// - Click tracking: mouse-down highlights the button; while dragging, the highlight follows
//   whether the mouse is inside the bounds; mouse-up removes the highlight and, when inside,
//   toggles the state (push-on/push-off, toggle, switch, radio and on-off types; momentary
//   types keep it) and then sends the action. Each highlight change marks it for redraw.
// - The default type is momentary push-in (NSButtonTypeMomentaryPushIn), state off.
// - doubleValue is the state (1 on, 0 off, −1 mixed); setDoubleValue sets the state to the
//   value's integer part.
// - performClick does the same as a click inside (toggle, then action), without highlight.
// - drawRect draws a plain rounded bezel with the title; subclasses replace it entirely.
// - accessibilityRole is NSAccessibilityButtonRole; accessibilityValue the state for toggling
//   types, nil otherwise.

#include <AppKit/NSControl.h>

enum NSButtonType : NSUInteger {
    NSButtonTypeMomentaryLight = 0,
    NSButtonTypePushOnPushOff = 1,
    NSButtonTypeToggle = 2,
    NSButtonTypeSwitch = 3,
    NSButtonTypeRadio = 4,
    NSButtonTypeMomentaryChange = 5,
    NSButtonTypeOnOff = 6,
    NSButtonTypeMomentaryPushIn = 7,
};

class APPKIT_EXPORT NSButton : public NSControl {
public:
    NSButton();
    explicit NSButton(NSRect frame);
    ~NSButton() override;

    const NSString& title() const { return title_; }
    void setTitle(const NSString& title);
    void setButtonType(NSButtonType type) { type_ = type; }
    NSButtonType buttonType() const { return type_; } // stand-in extension (no getter there)
    NSControlStateValue state() const { return state_; }
    void setState(NSControlStateValue state);
    bool isHighlighted() const { return highlighted_; }
    void highlight(bool flag);
    void setHighlighted(bool flag) { highlight(flag); }
    bool togglesState() const; // stand-in: the type changes the state on a click

    double doubleValue() const override;
    void setDoubleValue(double value) override;

    void performClick(NSObject* sender);

    void mouseDown(NSEvent* event) override;
    void mouseDragged(NSEvent* event) override;
    void mouseUp(NSEvent* event) override;
    void drawRect(NSRect dirtyRect) override;

    NSAccessibilityRole accessibilityRole() const override;
    NSHandle accessibilityValue() const override;

private:
    bool inside(NSEvent* event) const;
    NSString title_;
    NSButtonType type_ = NSButtonTypeMomentaryPushIn;
    NSControlStateValue state_ = NSControlStateValueOff;
    bool highlighted_ = false;
    bool tracking_ = false;
};
