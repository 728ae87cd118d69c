#pragma once
// KelvoButton (KelvoTolvarButton): a push or toggle button drawn with the faceplate toolkit.
// Clicking, state and the action are NSButton's; this class only draws.

#include "classes.h"

#include <AppKit/AppKit.h>

class KelvoButton : public NSButton {
public:
    KelvoButton();
    explicit KelvoButton(NSRect frame);

    bool isFlipped() const override { return true; }
    void drawRect(NSRect dirtyRect) override;

    // Whether the lamp is lit: the state while persistentIndicator, else the press.
    bool lit() const;

    bool customFace = false;          // a full face with the title; otherwise only a lamp
    bool persistentIndicator = false; // lit while on, rather than while pressed
    CGRect artRect{};
};
