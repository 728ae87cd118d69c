#pragma once
// NSColor: an RGBA colour value (components 0 to 1, one RGB colour space).
//
// Promises:
// - set() sets both the fill and the stroke colour of the current graphics context;
//   setFill()/setStroke() one of them. Without a current context they do nothing.
// - colorWithRed, colorWithSRGBRed, colorWithCalibratedRed and colorWithDeviceRed are the same
//   colour (the stand-in has one colour space).
// - A default-constructed colour is opaque black.

#include <AppKit/AppKitDefines.h>
#include <CoreGraphics/CGColor.h>

class APPKIT_EXPORT NSColor {
public:
    NSColor() = default;
    explicit NSColor(CGRGBAColor rgba) : rgba_(rgba) {}

    static NSColor colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColor colorWithSRGBRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColor colorWithCalibratedRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColor colorWithDeviceRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColor colorWithWhite(CGFloat white, CGFloat alpha);
    static NSColor blackColor();
    static NSColor whiteColor();
    static NSColor grayColor();
    static NSColor clearColor();
    static NSColor redColor();
    static NSColor windowBackgroundColor(); // (0.93, 0.93, 0.93)
    static NSColor textColor();             // black
    static NSColor textBackgroundColor();   // white
    static NSColor controlColor();          // (0.85, 0.85, 0.85)

    CGFloat redComponent() const { return rgba_.red; }
    CGFloat greenComponent() const { return rgba_.green; }
    CGFloat blueComponent() const { return rgba_.blue; }
    CGFloat alphaComponent() const { return rgba_.alpha; }
    NSColor colorWithAlphaComponent(CGFloat alpha) const;
    CGRGBAColor rgba() const { return rgba_; } // stand-in extension

    void set() const;
    void setFill() const;
    void setStroke() const;

    friend bool operator==(const NSColor&, const NSColor&) = default;

private:
    CGRGBAColor rgba_;
};
