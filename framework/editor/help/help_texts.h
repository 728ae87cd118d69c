#pragma once
// The help texts every model's editor shares: the texts by action and the general ones. The
// parameter texts are model data (classic::editorModel).

#include <string_view>

// For a parameter control whose ID has no text of its own.
inline constexpr const char* generalHelpText =
    "Adjust this control to shape the processed sound. Drag vertically; Shift gives fine "
    "adjustment. Double-click restores its starting value.";

// The banner when help mode is switched on or the mouse is over no visible control.
inline constexpr const char* helpBannerText = "HELP ON \u00b7 Hover a control to see its function.";

// The text for a control without a parameter, by the name of its action ("presets:").
// [any thread]
const char* actionHelpText(std::string_view actionName);

// The text of a parameter control. [any thread]
const char* parameterHelpText(unsigned id);
