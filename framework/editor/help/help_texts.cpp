#include "help/help_texts.h"

#include "model/editor_model.h"

namespace {

struct ActionHelp {
    std::string_view action;
    const char* text;
};

// The same in every model's editor; ratio:, meter: and toggleMeter: serve the rack series.
constexpr ActionHelp actionHelp[] = {
    {"presets:",
     "Presets are grouped by purpose. Factory settings are starting points: adjust them to your "
     "input level. Save your own AU presets in this product's User Presets folder."},
    {"help:",
     "Help mode is on. Hover a knob, switch or selector to read what it does here. Click ? again "
     "to hide these explanations."},
    {"guide:",
     "Open the user guide for this model: its hardware inspiration, why it belongs in the series, "
     "signal path and every control."},
    {"detail:",
     "Show additional gain-staging, parallel and Analog Shimmer controls. Opening Detail alone "
     "never changes the sound."},
    {"initialize:",
     "Restore all parameters to Studio Start, including trims, bypass and Analog Shimmer. Saved "
     "preset files are unchanged."},
    {"ratio:",
     "Choose the FET ratio. Shift-click selects All Buttons for a more aggressive compression "
     "character."},
    {"meter:",
     "Switch the VU measurement. Gain reduction and output level are different measurements; the "
     "VU is not a peak meter."},
    {"toggleMeter:",
     "Switch the VU measurement. Gain reduction and output level are different measurements; the "
     "VU is not a peak meter."},
    {"resizeUI:",
     "Scale the interface to 75%, 85% or 100%. This does not change sound or processing "
     "quality."},
};

constexpr const char* otherActionHelp =
    "Hover a control to read a short explanation. Drag knobs vertically, hold Shift for fine "
    "changes, and double-click to reset.";

} // namespace

const char* actionHelpText(std::string_view actionName) {
    for (const ActionHelp& entry : actionHelp) {
        if (entry.action == actionName) {
            return entry.text;
        }
    }
    return otherActionHelp;
}

const char* parameterHelpText(unsigned id) {
    const classic::EditorModel& model = classic::editorModel;
    return id < model.helpCount ? model.helpTexts[id] : generalHelpText;
}
