#include "controls/dial.h"

#include "controls/rack_owner.h"
#include "toolkit/iron.h"

#include "model/editor_model.h"

#include <algorithm>
#include <cmath>

namespace {

// Key codes of the arrow keys.
constexpr unsigned short leftArrow = 123;
constexpr unsigned short rightArrow = 124;
constexpr unsigned short downArrow = 125;
constexpr unsigned short upArrow = 126;

// The full range spans 210 points of vertical travel, 1750 with Shift (0.12 of the speed).
constexpr double dragTravel = 210;
constexpr double fineFactor = 0.12;

} // namespace

KelvoDial::KelvoDial() = default;

KelvoDial::KelvoDial(NSRect frame) : NSControl(frame) {}

RackOwner* KelvoDial::owner() const {
    return dynamic_cast<RackOwner*>(target().get());
}

void KelvoDial::begin() {
    if (RackOwner* o = owner()) {
        o->beginDial(this);
    }
}

void KelvoDial::end() {
    if (RackOwner* o = owner()) {
        o->endDial(this);
    }
}

void KelvoDial::commit(double x) {
    setDoubleValue(std::clamp(x, minimum, std::max(minimum, maximum)));
    if (stepped) {
        setDoubleValue(std::round(doubleValue())); // halves away from zero
    }
    setNeedsDisplay(true);
    sendAction(action(), nullptr);
}

void KelvoDial::finish() {
    if (dragging) {
        dragging = false;
        end();
    }
}

void KelvoDial::mouseDown(NSEvent* event) {
    if (NSWindow* w = window()) {
        w->makeFirstResponder(this);
    }
    begin();
    if (event->clickCount() < 2) {
        origin = event->locationInWindow();
        start = doubleValue();
        dragging = true;
        return;
    }
    const NSInteger id = tag();
    if (id >= 0 && static_cast<unsigned>(id) < classic::parameterCount) {
        commit(classic::definitions[id].defaultValue);
    }
    end();
}

void KelvoDial::mouseDragged(NSEvent* event) {
    if (!dragging) {
        return;
    }
    // Window coordinates grow upwards, so moving up raises the value; the distance is in
    // window points whatever the interface size.
    const double dy = event->locationInWindow().y - origin.y;
    const double k = (event->modifierFlags() & NSEventModifierFlagShift) ? fineFactor : 1.0;
    commit(start + dy * (maximum - minimum) / dragTravel * k);
}

void KelvoDial::mouseUp(NSEvent*) {
    finish();
}

void KelvoDial::edit(double x) {
    // During a drag the drag's bracket is open: a second one inside it would leave the host
    // with unbalanced gestures. The edit goes into the open bracket, and the drag carries on
    // from the edited value.
    if (dragging) {
        const double before = doubleValue();
        commit(x);
        start += doubleValue() - before;
        return;
    }
    begin();
    commit(x);
    end();
}

void KelvoDial::scrollWheel(NSEvent* event) {
    const double unit = stepped ? 1.0 : (maximum - minimum) / 150;
    edit(doubleValue() + event->scrollingDeltaY() * unit);
}

void KelvoDial::keyDown(NSEvent* event) {
    double direction = 0;
    switch (event->keyCode()) {
    case leftArrow:
    case downArrow:
        direction = -1;
        break;
    case rightArrow:
    case upArrow:
        direction = 1;
        break;
    default:
        NSControl::keyDown(event);
        return;
    }
    const double unit = stepped ? 1.0 : (maximum - minimum) / 100;
    edit(doubleValue() + direction * unit);
}

NSView* KelvoDial::hitTest(NSPoint point) {
    if (ring && superview() != nullptr) {
        const NSPoint local = convertPointFromView(point, superview());
        const NSRect b = bounds();
        const double dx = local.x - (b.origin.x + b.size.width / 2);
        const double dy = local.y - (b.origin.y + b.size.height / 2);
        // The middle of a ring lets clicks through to the control beneath.
        if (std::hypot(dx, dy) < 0.29 * b.size.width) {
            return nullptr;
        }
    }
    return NSControl::hitTest(point);
}

NSAccessibilityRole KelvoDial::accessibilityRole() const {
    return NSAccessibilitySliderRole;
}

NSHandle KelvoDial::accessibilityValue() const {
    return NSNumber::numberWithDouble(doubleValue());
}

void KelvoDial::setAccessibilityValue(const NSHandle& value) {
    // Only a finite number is a value; anything else would commit garbage inside a gesture.
    const NSNumber number = NSNumber::cast(value);
    if (!number || !std::isfinite(number.doubleValue())) {
        return;
    }
    edit(number.doubleValue());
}

void KelvoDial::drawRect(NSRect) {
    NSGraphicsContext::saveGraphicsState();
    // A knob of the photograph itself stays still under its pointer: the dial repaints the
    // faceplate instead of drawing a body.
    const bool body = classic::editorModel.knobBodies;
    iron::controlBackground(bounds(), artRect, !body);
    if (body) {
        iron::knobBody(pointerCenter, pointerRadius / 0.88, static_cast<unsigned>(tag()));
    }
    const double fraction = (doubleValue() - minimum) / std::max(maximum - minimum, 0.001);
    iron::marker(pointerCenter, pointerRadius, fraction, ring);
    NSGraphicsContext::restoreGraphicsState();
}
