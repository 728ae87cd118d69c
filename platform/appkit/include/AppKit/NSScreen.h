#pragma once
// NSScreen: the display. One main screen, 1920 × 1080 points at scale 1 unless a host says
// otherwise (<AppKit/AppKitHost.h>). Screen coordinates have the origin at the bottom-left,
// y up.

#include <AppKit/AppKitDefines.h>
#include <Foundation/NSGeometry.h>

class APPKIT_EXPORT NSScreen {
public:
    static NSScreen* mainScreen();
    NSRect frame() const { return frame_; }
    NSRect visibleFrame() const { return frame_; }
    CGFloat backingScaleFactor() const { return scale_; }
    void setFrame(NSRect frame, CGFloat backingScaleFactor); // [host]

private:
    NSScreen() = default;
    NSRect frame_ = {{0, 0}, {1920, 1080}};
    CGFloat scale_ = 1;
};
