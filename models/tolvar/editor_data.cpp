// The Tolvar editor's data: what its VU needle shows, faceplate legend and badge, help texts,
// INIT values.

#include "model/editor_model.h"
#include "shared_help_texts.h"

#include <iterator>

namespace classic {

namespace {

// The two shelves share their text.
constexpr const char* shelfHelp =
    "This stepped shelving EQ offers -9 to +9 dB. Use small changes for body or air. Its "
    "frequency selector has no audible effect while the shelf is at 0 dB.";

const char* const helpTexts[] = {
    // 0 Gain
    "Gain changes tube-stage drive in five steps from -10 to +10 dB. Increase it for more "
    "color, then lower Level or Output Trim to match loudness.",
    // 1 Level
    "Level sets wet output loudness after the tube stages. The scale is relative: 5 is unity, "
    "0 mutes. It is not a dB scale.",
    shelfHelp, // 2 Low EQ
    shelfHelp, // 3 High EQ
    // 4 Low Frequency
    "Select the low shelf's corner: 70, 100 or 200 Hz. Lower settings affect deep weight; "
    "higher settings reach further into body and warmth.",
    // 5 High Frequency
    "Select the high shelf's corner: 4.5, 7 or 10 kHz. Lower choices affect presence; higher "
    "choices emphasize air.",
    helptext::pad,           // 6
    helptext::polarity,      // 7
    helptext::inputTrim,     // 8
    helptext::outputTrim,    // 9
    helptext::parallelMix,   // 10
    helptext::levelMeter,    // 11 Meter
    helptext::bypass,        // 12
    helptext::analogShimmer, // 13
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores Studio Start, which for Tolvar is every row's default.
const float startValues[] = {2, 5, 5, 5, 1, 1, 0, 0, 0, 0, 100, 1, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const EditorModel editorModel{
    .meterKind = MeterKind::level,
    .startNeedle = -24.0,
    .legend = "DUAL-STAGE TUBE PREAMP & EQ",
    .badgeTileX = 800,
    .badgeTileY = 422,
    .captionFollowsMeter = false,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
};

} // namespace classic
