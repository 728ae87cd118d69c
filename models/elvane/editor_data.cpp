// The Elvane editor's data: its VU needle shows gain reduction, faceplate legend and badge,
// help texts, INIT values.

#include "model/editor_model.h"
#include "shared_help_texts.h"

#include <iterator>

namespace classic {

namespace {

const char* const helpTexts[] = {
    helptext::inputTrim,  // 0
    helptext::outputTrim, // 1
    // 2 Mode
    "Single recovers more quickly. Dual retains a slow memory after sustained loud signals, "
    "inspired by broadcast limiting practice.",
    helptext::sidechainHighPass,  // 3
    helptext::parallelMix,        // 4
    helptext::stereoLink,         // 5
    helptext::gainReductionMeter, // 6 Meter
    helptext::bypass,             // 7
    helptext::analogShimmer,      // 8
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores every row's default.
const float startValues[] = {10, 0, 1, 0, 100, 100, 0, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const EditorModel editorModel{
    .meterKind = MeterKind::gainReduction,
    .startNeedle = 0.0, // the 0 mark: no gain reduction
    .legend = "VARIABLE-MU BROADCAST LIMITER",
    .badgeTileX = 64,
    .badgeTileY = 704,
    .captionFollowsMeter = true,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
};

} // namespace classic
