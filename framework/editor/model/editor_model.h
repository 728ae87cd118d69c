#pragma once
// What the framework editor is built with besides the unit's parameter table: each model's
// bundle compiles the editor once with its own copy of this data (Tolvar's stands in
// framework/editor/model/tolvar_editor.cpp).

#include "model.h"

namespace classic {

struct EditorModel {
    double startNeedle; // VU dB the needle rests at before the first poll
    const char* legend; // engraved under the badge
    double badgeTileX;  // top-left of the model's badge in the badge atlas, in points
    double badgeTileY;
    bool captionFollowsMeter; // dynamics models show a gain-reduction caption at Meter 0
    // Parameter help texts by ID; IDs from helpCount on take the general text.
    const char* const* helpTexts;
    unsigned helpCount;
    // What INIT writes, ID 0 to N-1.
    const float* startValues;
};

// [any thread]
extern const EditorModel editorModel;

} // namespace classic
