#pragma once
// KelvoDial (KelvoTolvarDial): the rotary knob bound to one parameter. It lives in the
// faceplate's art space: its frame is its art rectangle scaled into the view, and it draws in
// art units. It keeps its own value; every user edit goes through commit, inside a
// beginDial/endDial bracket sent to its owner (the target).

#include "classes.h"

#include <AppKit/AppKit.h>

class RackOwner;

class KelvoDial : public NSControl {
public:
    KelvoDial();
    explicit KelvoDial(NSRect frame);

    bool isFlipped() const override { return true; }
    bool acceptsFirstResponder() const override { return true; }

    // The value lives here, not in a cell; storing it does not redraw.
    double doubleValue() const override { return rawValue; }
    void setDoubleValue(double value) override { rawValue = value; }
    float floatValue() const override { return static_cast<float>(rawValue); }
    void setFloatValue(float value) override { rawValue = value; }

    // The single way a user edit changes the value: clamp, round when stepped, redraw, send
    // the action (also when nothing changed). [main thread]
    void commit(double x);
    // Ends a drag that is cut short, with its endDial. [main thread]
    void finish();

    void mouseDown(NSEvent* event) override;
    void mouseDragged(NSEvent* event) override;
    void mouseUp(NSEvent* event) override;
    void scrollWheel(NSEvent* event) override;
    void keyDown(NSEvent* event) override;
    NSView* hitTest(NSPoint point) override;

    NSAccessibilityRole accessibilityRole() const override;
    NSHandle accessibilityValue() const override;
    void setAccessibilityValue(const NSHandle& value) override;

    void drawRect(NSRect dirtyRect) override;

    bool isDragging() const { return dragging; }

    // Properties.
    double minimum = 0;
    double maximum = 1;
    bool stepped = false;
    bool ring = false;
    CGRect artRect{};
    CGPoint pointerCenter{};
    double pointerRadius = 0;
    NSArray markings; // read by the rack editor's dials; nil here

private:
    RackOwner* owner() const;
    void begin();
    void end();
    // A wheel, key or accessibility edit: its own bracket, or inside the drag's when one is
    // open.
    void edit(double x);

    CGPoint origin{};
    double start = 0;
    double rawValue = 0;
    bool dragging = false;
};
