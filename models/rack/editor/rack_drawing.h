#pragma once
// What a rack faceplate draws over its composite, in art units. The rack editor's drawRect
// (rack_drawing.cpp) draws the DETAIL panel, the version line and the help banner; the model's
// editor folder defines the two functions of its own below.

#include "view/editor_view.h"

namespace rackface {

// The colours of the rack faceplates' print.
NSColor cream();
NSColor amber();

// The model's own print over its composite: scales, titles, readouts. [main thread]
void drawPrint(KelvoView& view);
// The model's VU meter: the needle at the view's position, and a caption where it has one.
// [main thread]
void drawMeter(KelvoView& view);

} // namespace rackface
