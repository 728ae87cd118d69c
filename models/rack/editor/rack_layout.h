#pragma once
// What a rack faceplate (Corvel, Fennic) is made of: its dials, buttons and DETAIL sliders at
// the fixed places of its own photograph, in art units (1983 by 793, y down), as plain tables
// of the model's editor data. The rack editor (rack_faceplate.cpp) builds the view from them.

#include "model.h"

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSObjCRuntime.h>

#include <span>

namespace classic {

struct RackDial {
    unsigned id;
    CGPoint centre;
    double hit;    // side of the square the dial answers clicks in
    double radius; // pointer radius
    bool ring;     // an outer selector ring around another dial; its middle lets clicks through
    std::span<const char* const> markings; // printed around the dial, minimum first; or none
};

// What a button does when clicked.
enum class RackAction {
    changed,     // sets the parameter of its tag (a switch)
    toggleMeter, // switches the VU between input and output, in the view only
    ratio,       // selects the ratio of its tag (All Buttons with Shift)
    meter,       // selects the meter mode of its tag
};

// Where the view keeps a button besides its subviews.
enum class RackGroup {
    none,
    parameter, // the controls, under its tag
    ratio,     // the ratio column
    meter,     // the meter-mode column
};

struct RackButton {
    const char* title;
    CGRect art;
    NSInteger tag;
    RackAction action;
    bool pushOnPushOff;       // else momentary
    bool persistentIndicator; // lit while on, rather than while pressed
    bool customFace;          // a full face with the title; otherwise only a lamp
    RackGroup group;
    const char* toolTip; // or nullptr
};

struct RackLayout {
    std::span<const RackDial> dials;     // in creation order: a ring before its inner dial
    std::span<const RackButton> buttons; // besides the top row, in creation order
    std::span<const unsigned> sliders;   // DETAIL slider IDs, in creation order
    // The ratio column's parameter and the value its Shift-click selects, which lights every
    // ratio lamp (Fennic's All Buttons); unused without ratio buttons.
    unsigned ratioId;
    float allRatios;
};

// [any thread]
extern const RackLayout rackLayout;

} // namespace classic
