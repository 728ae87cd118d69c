// The Vantor editor's data: its VU needle shows gain reduction, faceplate legend and badge,
// help texts, INIT values.

#include "model/editor_model.h"
#include "shared_help_texts.h"

#include <iterator>

namespace classic {

namespace {

const char* const helpTexts[] = {
    // 0 Threshold
    "Threshold sets when compression begins. Lower values produce more reduction at the same "
    "input level. Start with 1-3 dB of GR on a mix bus.",
    // 1 Makeup
    "Makeup restores output loudness after compression. It does not change how much the "
    "detector compresses.",
    // 2 Attack
    "Attack controls how quickly gain reduction follows a transient. Longer settings preserve "
    "more initial punch; shorter settings catch peaks more firmly.",
    // 3 Release
    "Release controls recovery after a loud event. Auto combines fast recovery with slower "
    "sustained-signal memory.",
    // 4 Ratio
    "Ratio selects 2:1, 4:1 or 10:1 compression. Higher ratios are firmer. The knee also "
    "changes with ratio in this model.",
    helptext::sidechainHighPass,  // 5
    helptext::parallelMix,        // 6
    helptext::stereoLink,         // 7
    helptext::gainReductionMeter, // 8 Meter
    helptext::inputTrim,          // 9
    helptext::bypass,             // 10
    helptext::analogShimmer,      // 11
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores every row's default.
const float startValues[] = {-12, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const EditorModel editorModel{
    .meterKind = MeterKind::gainReduction,
    .startNeedle = 0.0, // the 0 mark: no gain reduction
    .legend = "STEREO VCA BUS COMPRESSOR",
    .badgeTileX = 800,
    .badgeTileY = 140,
    .captionFollowsMeter = true,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
};

} // namespace classic
