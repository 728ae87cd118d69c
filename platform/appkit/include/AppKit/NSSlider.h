#pragma once
// NSSlider: a horizontal linear slider.
//
// Promises:
// - The value is kept within [minValue, maxValue] (setDoubleValue clamps; a minimum above
//   the maximum pins the value to the minimum). Defaults: 0 to 1, value 0, no tick marks,
//   continuous.
// - Tick marks: n ≥ 2 marks lie at min + i·(max − min)/(n − 1); one mark lies at the middle.
//   With allowsTickMarkValuesOnly, values set by the user (mouse, accessibility) snap to the
//   nearest mark; setDoubleValue from code does not snap.
// - Mouse: the knob's centre travels from minX + 10 to maxX − 10 of the bounds (a knob 20
//   points wide); a mouse-down sets the value under the mouse, drags follow it (horizontal
//   only). A continuous slider sends its action on every change, else once on mouse-up.
// - accessibilityRole is NSAccessibilitySliderRole; accessibilityValue the value as a number;
//   setAccessibilityValue with a finite number sets the value (snapped) and sends the action.

#include <AppKit/NSControl.h>

class APPKIT_EXPORT NSSlider : public NSControl {
public:
    NSSlider();
    explicit NSSlider(NSRect frame);
    ~NSSlider() override;

    double minValue() const { return min_; }
    void setMinValue(double value);
    double maxValue() const { return max_; }
    void setMaxValue(double value);
    NSInteger numberOfTickMarks() const { return ticks_; }
    void setNumberOfTickMarks(NSInteger count);
    bool allowsTickMarkValuesOnly() const { return tickValuesOnly_; }
    void setAllowsTickMarkValuesOnly(bool flag) { tickValuesOnly_ = flag; }
    double tickMarkValueAtIndex(NSInteger index) const;
    double closestTickMarkValueToValue(double value) const;

    double doubleValue() const override;
    void setDoubleValue(double value) override;

    void mouseDown(NSEvent* event) override;
    void mouseDragged(NSEvent* event) override;
    void mouseUp(NSEvent* event) override;
    void drawRect(NSRect dirtyRect) override;

    NSAccessibilityRole accessibilityRole() const override;
    NSHandle accessibilityValue() const override;
    void setAccessibilityValue(const NSHandle& value) override;

    static constexpr CGFloat kKnobWidth = 20;

private:
    double valueAt(NSPoint pointInView) const;
    void userSet(double value);
    double min_ = 0, max_ = 1, value_ = 0;
    NSInteger ticks_ = 0;
    bool tickValuesOnly_ = false;
    bool tracking_ = false;
};
