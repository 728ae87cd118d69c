// The Mireth editor's data: its VU needle shows gain reduction, faceplate legend and badge,
// help texts, INIT values.

#include "model/editor_model.h"
#include "shared_help_texts.h"

#include <iterator>

namespace classic {

namespace {

const char* const helpTexts[] = {
    helptext::inputTrim,  // 0
    helptext::outputTrim, // 1
    // 2 Recovery
    "Recovery 1-6 moves from quicker to longer gain recovery. The practical timing also "
    "depends on mode and the previous performance.",
    // 3 Mode
    "Single is a smooth single-recovery path. Double adds slow program memory. Fast uses a "
    "quicker attack and release. These are Kelvo's extended modes.",
    helptext::sidechainHighPass,  // 4
    helptext::parallelMix,        // 5
    helptext::stereoLink,         // 6
    helptext::gainReductionMeter, // 7 Meter
    helptext::bypass,             // 8
    helptext::analogShimmer,      // 9
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores every row's default.
const float startValues[] = {10, 0, 2, 1, 0, 100, 100, 0, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const EditorModel editorModel{
    .meterKind = MeterKind::gainReduction,
    .startNeedle = 0.0, // the 0 mark: no gain reduction
    .legend = "REMOTE-CUTOFF TUBE LEVELER",
    .badgeTileX = 800,
    .badgeTileY = 704,
    .captionFollowsMeter = true,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
};

} // namespace classic
