#pragma once
// The faceplate drawing toolkit. `iron` knows the bundle photographs and the art space
// (1983 by 793 units, y down); `rackdraw` holds three generic routines for text and
// gradients. Every routine draws into the current graphics context. The image cache and the
// composites are process-wide, made on first use and kept for the life of the process. All
// of it runs on the main thread, inside view and control drawing. A model with a faceplate of
// its own builds its composite from these routines in its editor folder.

#include <AppKit/AppKit.h>

#include <functional>
#include <span>
#include <string_view>

namespace iron {

// The art space: the pixel grid of the faceplate photographs, whatever their pixel size.
inline constexpr double artWidth = 1983;
inline constexpr double artHeight = 793;

// The bundle image of that name (PNG in the bundle's Resources), loaded once and kept;
// nullptr when it cannot be loaded (tried again on the next call). [main thread]
std::shared_ptr<NSImage> resource(std::string_view name);
// Draws the part source of the image, in art units from the image's top-left, into
// destination; any pixel size maps onto the 1983 by 793 art space. [main thread]
void topCrop(const NSImage* image, CGRect destination, CGRect source);
// A 1983 by 793 point image backed by one bitmap of the image's rendering. [main thread]
std::shared_ptr<NSImage> rasterize(const std::shared_ptr<NSImage>& image);
// What draw draws in the art space (y down), rendered once into one bitmap, so that drawing the
// result copies pixels. Each composite is made so on first use and kept for the life of the
// process; a photograph missing then leaves its part empty. [main thread]
std::shared_ptr<NSImage> composite(const std::function<void()>& draw);
// The faceplate composite: the blank panel with the FET meter window pasted in. [main thread]
std::shared_ptr<NSImage> plate();
// Pastes the FET photograph's meter, without its needle, at (1380, 319, 505, 336.667), where
// the faceplate composites carry it and `needle` draws. [main thread]
void meterWindow();
// Over the FET photograph, in its own coordinates: the clean photograph's meter window, the
// meter without its photographed needle, in the window's rounded corners. [main thread]
void cleanMeter(const NSImage* clean);

// Inside a control's drawing: clip to its bounds, map its art rectangle onto them and,
// with paint, repaint the model's faceplate composite beneath it. The clip and transform
// stay. [main thread]
void controlBackground(CGRect bounds, CGRect art, bool paint);
// The knob body every model's dials share: the FET photograph's large knob, cut to a circle of
// the radius about the centre, over a drop shadow. It never turns (marker shows the value);
// the tag changes nothing.
void knobBody(CGPoint centre, double radius, unsigned tag);
// The pointer line at fraction of the 270 degree sweep (0 lower left, 0.5 up).
void marker(CGPoint centre, double radius, double fraction, bool ring);
// A push button's face, title and lamp.
void newButton(CGRect rectangle, const NSString& title, bool lit);
// The lamp and amber rim of a lit button; nothing when not lit.
void buttonLight(CGRect rectangle, bool lit);
// The model's name badge in its octagonal plate.
void modelPlate();
// Engraved lettering: three passes of serif text.
void legend(const NSString& text, CGRect rectangle, double size, bool centred);
// The VU needle for a reading in VU dB, over the meter of the faceplate composite; dim darkens
// the meter window.
void needle(double reading, bool dim);
// The same over the FET photograph's meter drawn with its corner (1174, 292) at meterOrigin,
// scaled by scaleX across and scaleY down.
void needleOver(CGPoint meterOrigin, double scaleX, double scaleY, double reading, bool dim);

} // namespace iron

namespace rackdraw {

// Text from the rectangle's top, wrapped at its width: "Baskerville" when serif, else the
// monospaced system face at medium weight; the system font when the face cannot be had.
void text(const NSString& text, CGRect rectangle, double size, const NSColor& colour, bool centred,
          bool serif);
// A linear gradient of evenly spaced colours filling the path, at an angle in degrees
// (0 along +x, 90 along +y of the current space).
void gradient(const NSBezierPath& path, std::span<const NSColor> colours, double angle);
// A radial gradient filling the oval in the rectangle, centred at a relative position
// (-1 to 1 across the oval's bounds).
void radial(CGRect rectangle, std::span<const NSColor> colours, CGPoint centre);

} // namespace rackdraw
