// NSSlider: a horizontal slider with tick marks.

#include <AppKit/NSBezierPath.h>
#include <AppKit/NSColor.h>
#include <AppKit/NSSlider.h>
#include <Foundation/NSValue.h>

#include <algorithm>
#include <cmath>

NSSlider::NSSlider() {
    setContinuous(true);
}
NSSlider::NSSlider(NSRect frame) : NSControl(frame) {
    setContinuous(true);
}
NSSlider::~NSSlider() = default;

void NSSlider::setMinValue(double value) {
    min_ = value;
    setDoubleValue(value_);
}

void NSSlider::setMaxValue(double value) {
    max_ = value;
    setDoubleValue(value_);
}

void NSSlider::setNumberOfTickMarks(NSInteger count) {
    ticks_ = std::max<NSInteger>(0, count);
    setNeedsDisplay(true);
}

double NSSlider::tickMarkValueAtIndex(NSInteger index) const {
    if (ticks_ <= 0 || index < 0 || index >= ticks_) {
        return min_;
    }
    if (ticks_ == 1) {
        return (min_ + max_) / 2;
    }
    return min_ + double(index) * (max_ - min_) / double(ticks_ - 1);
}

double NSSlider::closestTickMarkValueToValue(double value) const {
    if (ticks_ <= 0) {
        return value;
    }
    if (ticks_ == 1 || max_ <= min_) {
        return tickMarkValueAtIndex(0);
    }
    const double step = (max_ - min_) / double(ticks_ - 1);
    const double index = std::clamp(std::round((value - min_) / step), 0.0, double(ticks_ - 1));
    return tickMarkValueAtIndex(static_cast<NSInteger>(index));
}

double NSSlider::doubleValue() const {
    return value_;
}

void NSSlider::setDoubleValue(double value) {
    if (std::isnan(value)) {
        value = min_;
    }
    value_ = max_ >= min_ ? std::clamp(value, min_, max_) : min_;
    setNeedsDisplay(true);
}

double NSSlider::valueAt(NSPoint p) const {
    const NSRect b = bounds();
    const CGFloat travel = b.size.width - kKnobWidth;
    if (travel <= 0) {
        return min_;
    }
    const double t = std::clamp((p.x - (b.origin.x + kKnobWidth / 2)) / travel, 0.0, 1.0);
    return min_ + t * (max_ - min_);
}

void NSSlider::userSet(double value) {
    const double before = value_;
    setDoubleValue(tickValuesOnly_ ? closestTickMarkValueToValue(value) : value);
    if (isContinuous() && value_ != before) {
        sendAction(action(), nullptr);
    }
}

void NSSlider::mouseDown(NSEvent* event) {
    tracking_ = true;
    userSet(valueAt(convertPointFromView(event->locationInWindow(), nullptr)));
}

void NSSlider::mouseDragged(NSEvent* event) {
    if (tracking_) {
        userSet(valueAt(convertPointFromView(event->locationInWindow(), nullptr)));
    }
}

void NSSlider::mouseUp(NSEvent* event) {
    if (!tracking_) {
        return;
    }
    userSet(valueAt(convertPointFromView(event->locationInWindow(), nullptr)));
    tracking_ = false;
    if (!isContinuous()) {
        sendAction(action(), nullptr);
    }
}

void NSSlider::drawRect(NSRect) {
    const NSRect b = bounds();
    const CGFloat mid = NSMidY(b);
    const CGFloat left = b.origin.x + kKnobWidth / 2, right = NSMaxX(b) - kKnobWidth / 2;
    NSColor::colorWithWhite(0.35, 1).setFill();
    NSBezierPath::bezierPathWithRoundedRect(
        NSMakeRect(left, mid - 2, std::max(0.0, right - left), 4), 2, 2)
        .fill();
    if (ticks_ > 0) {
        NSColor::colorWithWhite(0.55, 1).setStroke();
        for (NSInteger i = 0; i < ticks_; ++i) {
            const double v = tickMarkValueAtIndex(i);
            const CGFloat x =
                max_ > min_ ? left + (v - min_) / (max_ - min_) * (right - left) : left;
            NSBezierPath tick;
            tick.moveToPoint({x, isFlipped() ? mid + 5 : mid - 5});
            tick.lineToPoint({x, isFlipped() ? mid + 9 : mid - 9});
            tick.stroke();
        }
    }
    const double t = max_ > min_ ? (value_ - min_) / (max_ - min_) : 0;
    const CGFloat x = left + t * (right - left);
    const CGFloat r = std::min(kKnobWidth / 2, b.size.height / 2);
    NSColor::colorWithWhite(0.92, 1).setFill();
    const NSBezierPath knob =
        NSBezierPath::bezierPathWithOvalInRect(NSMakeRect(x - r, mid - r, 2 * r, 2 * r));
    knob.fill();
    NSColor::colorWithWhite(0.3, 1).setStroke();
    knob.stroke();
}

NSAccessibilityRole NSSlider::accessibilityRole() const {
    return NSAccessibilitySliderRole;
}

NSHandle NSSlider::accessibilityValue() const {
    return NSNumber::numberWithDouble(value_);
}

void NSSlider::setAccessibilityValue(const NSHandle& value) {
    const NSNumber number = NSNumber::cast(value);
    if (!number || !std::isfinite(number.doubleValue())) {
        return;
    }
    setDoubleValue(tickValuesOnly_ ? closestTickMarkValueToValue(number.doubleValue())
                                   : number.doubleValue());
    sendAction(action(), nullptr);
}
