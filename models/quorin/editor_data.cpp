// The Quorin editor's data: its VU needle shows input or output level as Tolvar's does,
// faceplate legend and badge, help texts, INIT values.

#include "model/editor_model.h"
#include "shared_help_texts.h"

#include <iterator>

namespace classic {

namespace {

const char* const helpTexts[] = {
    // 0 Gain
    "Gain drives the discrete preamp model across 34-69 dB. Input Trim starts at -34 dB so the "
    "initial setting suits digital line-level audio. Compensate with Output Trim.",
    helptext::inputTrim,  // 1
    helptext::outputTrim, // 2
    helptext::pad,        // 3
    helptext::polarity,   // 4
    // 5 3:1 Tap
    "The 3:1 Tap applies a 9.54 dB output-level reduction, inspired by the hardware "
    "transformer tap. It lets you push the modeled preamp while keeping the output lower.",
    helptext::parallelMix,   // 6
    helptext::levelMeter,    // 7 Meter
    helptext::bypass,        // 8
    helptext::analogShimmer, // 9
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores every row's default: Input Trim -34 dB for line-level audio, Meter on Output.
const float startValues[] = {34, -34, 0, 0, 0, 0, 100, 1, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const EditorModel editorModel{
    .meterKind = MeterKind::level,
    .startNeedle = -24.0,
    .legend = "DISCRETE TRANSFORMER PREAMPLIFIER",
    .badgeTileX = 64,
    .badgeTileY = 422,
    .captionFollowsMeter = false,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
};

} // namespace classic
