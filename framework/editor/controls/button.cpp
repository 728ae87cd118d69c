#include "controls/button.h"

#include "toolkit/iron.h"

KelvoButton::KelvoButton() = default;

KelvoButton::KelvoButton(NSRect frame) : NSButton(frame) {}

bool KelvoButton::lit() const {
    return persistentIndicator ? state() == NSControlStateValueOn : isHighlighted();
}

void KelvoButton::drawRect(NSRect) {
    const bool on = lit();
    NSGraphicsContext::saveGraphicsState();
    iron::controlBackground(bounds(), artRect, true);
    if (customFace) {
        iron::newButton(artRect, title(), on);
    } else {
        iron::buttonLight(artRect, on);
    }
    NSGraphicsContext::restoreGraphicsState();
}
