#pragma once
// NSControl: a view with a value, a tag, and a target and action.
//
// Promises:
// - The target is held weakly (the platform's targets are not retained): a target that is
//   gone makes sendAction do nothing.
// - sendAction(action, target) performs the action on target (this control's target when
//   target is nullptr) with this control as the sender; false when there is no action, no
//   target, or the target is not of the selector's class.
// - The value: doubleValue/floatValue/intValue/integerValue read one stored double and
//   stringValue a stored string; subclasses override the double accessors (a dial keeps its
//   own value). Setting a value marks the control for redraw.
// - A disabled control takes no mouse events (they are dropped) and is still drawn.

#include <AppKit/NSView.h>
#include <Foundation/NSObject.h>

class NSFont;

enum NSTextAlignment : NSInteger {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentRight = 1,
    NSTextAlignmentCenter = 2,
    NSTextAlignmentJustified = 3,
    NSTextAlignmentNatural = 4,
};

typedef NSInteger NSControlStateValue;
inline constexpr NSControlStateValue NSControlStateValueMixed = -1;
inline constexpr NSControlStateValue NSControlStateValueOff = 0;
inline constexpr NSControlStateValue NSControlStateValueOn = 1;

class APPKIT_EXPORT NSControl : public NSView {
public:
    NSControl();
    explicit NSControl(NSRect frame);
    ~NSControl() override;

    NSInteger tag() const override { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }

    std::shared_ptr<NSObject> target() const { return target_.lock(); }
    void setTarget(const std::weak_ptr<NSObject>& target) { target_ = target; }
    SEL action() const { return action_; }
    void setAction(SEL action) { action_ = action; }
    virtual bool sendAction(SEL action, NSObject* target);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    virtual double doubleValue() const;
    virtual void setDoubleValue(double value);
    virtual float floatValue() const;
    virtual void setFloatValue(float value);
    int intValue() const;
    void setIntValue(int value);
    NSInteger integerValue() const;
    void setIntegerValue(NSInteger value);
    virtual NSString stringValue() const;
    virtual void setStringValue(const NSString& value);

    const std::shared_ptr<NSFont>& font() const { return font_; }
    void setFont(const std::shared_ptr<NSFont>& font);
    NSTextAlignment alignment() const { return alignment_; }
    void setAlignment(NSTextAlignment alignment) { alignment_ = alignment; }

    NSView* hitTest(NSPoint point) override;

private:
    NSInteger tag_ = 0;
    std::weak_ptr<NSObject> target_;
    SEL action_;
    bool enabled_ = true;
    bool continuous_ = false;
    double value_ = 0;
    NSString string_;
    std::shared_ptr<NSFont> font_;
    NSTextAlignment alignment_ = NSTextAlignmentNatural;
};
