#pragma once
// What the framework editor is built with besides the unit's tables (model.h: the parameter
// table and count, the Meter and Bypass IDs, the product literal): each model's bundle
// compiles the editor once with its own copy of this data, the editor_data.cpp of its model
// folder.

#include "model.h"
#include "toolkit/iron.h"

namespace classic {

// What the VU needle shows while Meter is 0. Meter 1 shows the louder output channel's RMS
// level in every model.
enum class MeterKind {
    level,         // the louder input channel's RMS level (the preamplifiers)
    gainReduction, // the larger of the two gain-reduction slots (the dynamics models)
};

struct EditorModel {
    MeterKind meterKind;
    double startNeedle; // VU dB the needle rests at before the first poll
    const char* legend; // engraved under the badge
    double badgeTileX;  // top-left of the model's badge in the badge atlas, in points
    double badgeTileY;
    // The faceplate's meter caption names what Meter 0 shows ("GAIN REDUCTION · dB") instead
    // of always reading as a VU scale.
    bool captionFollowsMeter;
    // Parameter help texts by ID; IDs from helpCount on take the general text.
    const char* const* helpTexts;
    unsigned helpCount;
    // What INIT writes, ID 0 to N-1.
    const float* startValues;
    // The faceplate composite: the view's background, and what buttons and photographed
    // knobs repaint beneath themselves.
    std::shared_ptr<NSImage> (*faceplate)() = iron::plate;
    // Whether a dial draws its knob body; where the knobs are part of the photograph (the
    // FET faceplate) a dial repaints the photograph and draws only its pointer.
    bool knobBodies = true;
};

// [any thread]
extern const EditorModel editorModel;

} // namespace classic
