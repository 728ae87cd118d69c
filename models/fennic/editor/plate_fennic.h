#pragma once
// The Fennic faceplate is the FET photograph itself: the approved photograph with the clean
// one's patches where the editor draws what moves (the knobs' pointers, the needle, the
// readouts and the lamps), and the VU needle over the photograph's own meter.

#include <AppKit/AppKit.h>

namespace iron {

// The FET composite, built on the first call and kept for the life of the process like the
// toolkit's other composites; a missing photograph leaves its patches empty. [main thread]
std::shared_ptr<NSImage> plateFennic();
// The VU needle for a reading in VU dB over the photograph's own meter, where the FET
// composite shows it; dim darkens the meter window. [main thread]
void needleFennic(double reading, bool dim);

} // namespace iron
