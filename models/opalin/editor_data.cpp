// The Opalin editor's data: its VU needle shows gain reduction, faceplate legend and badge,
// help texts, INIT values.

#include "model/editor_model.h"
#include "shared_help_texts.h"

#include <iterator>

namespace classic {

namespace {

const char* const helpTexts[] = {
    // 0 Gain
    "Gain is output makeup after compression. It changes loudness, not the GR reading. Set "
    "Peak Reduction first, then match loudness with Gain. 50 is unity in this model.",
    // 1 Peak Reduction
    "Peak Reduction sets how strongly the optical model compresses. Raise it for more gain "
    "reduction. The GR needle should also follow changes in the incoming performance.",
    // 2 Limit
    "Limit selects a firmer compression ratio. Off is the gentler Compress behavior. Attack and "
    "release remain program dependent.",
    helptext::inputTrim,          // 3
    helptext::outputTrim,         // 4
    helptext::parallelMix,        // 5
    helptext::stereoLink,         // 6
    helptext::gainReductionMeter, // 7 Meter
    helptext::bypass,             // 8
    helptext::analogShimmer,      // 9
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores every row's default.
const float startValues[] = {50, 25, 0, 0, 0, 100, 100, 0, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const EditorModel editorModel{
    .meterKind = MeterKind::gainReduction,
    .startNeedle = 0.0, // the 0 mark: no gain reduction
    .legend = "OPTICAL LEVELING AMPLIFIER",
    .badgeTileX = 64,
    .badgeTileY = 140,
    .captionFollowsMeter = true,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
};

} // namespace classic
