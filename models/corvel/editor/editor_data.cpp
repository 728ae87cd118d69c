// The Corvel editor's data: the rack layout of its faceplate (dials with their printed
// markings, the EQ IN and polarity switches, the IN / OUT switch of the VU source, the DETAIL
// sliders), help texts and INIT values.

#include "editor/plate_corvel.h"
#include "model/editor_model.h"
#include "rack/editor/rack_layout.h"

#include <iterator>

namespace classic {

namespace {

// The minus signs are U+2212, as printed on the panel.
const char* const inputGainMarkings[] = {"\u221210", "\u22125", "0",  "+5", "+10", "+15", "+20",
                                         "OFF",      "20",      "25", "30", "35",  "40",  "45",
                                         "50",       "55",      "60", "65", "70",  "75",  "80"};
const char* const highShelfMarkings[] = {"\u221216", "\u22128", "0", "+8", "+16"};
const char* const midFrequencyMarkings[] = {".36", ".7", "1.6", "3.2", "4.8", "7.2"};
const char* const lowFrequencyMarkings[] = {"35", "60", "110", "220"};
const char* const highPassMarkings[] = {"OFF", "50", "80", "160", "300"};
// One marking per step, so that each sits where the pointer stops.
static_assert(std::size(inputGainMarkings) == 21 && std::size(midFrequencyMarkings) == 6 &&
              std::size(lowFrequencyMarkings) == 4 && std::size(highPassMarkings) == 5);

// Each outer ring before its inner knob, so that the inner knob lies above it.
const RackDial dials[] = {
    {param::inputGain, {230, 452}, 275, 79, false, inputGainMarkings},
    {param::highShelf, {470, 452}, 220, 60, false, highShelfMarkings},
    {param::midFrequency, {750, 452}, 280, 91, true, midFrequencyMarkings},
    {param::midGain, {750, 452}, 130, 45, false, {}},
    {param::lowFrequency, {1025, 452}, 280, 91, true, lowFrequencyMarkings},
    {param::lowShelf, {1025, 452}, 130, 45, false, {}},
    {param::highPass, {1250, 452}, 200, 55, false, highPassMarkings},
};

const RackButton buttons[] = {
    {"EQ IN",
     {{670, 647}, {140, 48}},
     param::eqIn,
     RackAction::changed,
     true,
     true,
     true,
     RackGroup::parameter,
     nullptr},
    {"\u00d8",
     {{875, 647}, {108, 48}},
     param::polarity,
     RackAction::changed,
     true,
     true,
     true,
     RackGroup::parameter,
     nullptr},
    // Momentary: the meter caption, not a lamp, shows which source the VU follows.
    {"IN / OUT",
     {{1568, 676}, {130, 40}},
     0,
     RackAction::toggleMeter,
     false,
     false,
     true,
     RackGroup::none,
     nullptr},
};

const unsigned sliders[] = {param::mix, param::outputTrim, param::shimmer};

const char* const helpTexts[] = {
    // 0 Input Gain
    "The stepped preamp gain includes line and microphone ranges. OFF mutes the processed "
    "path. Large microphone gains need a correspondingly low digital input level.",
    // 1 High Shelf
    "High Shelf boosts or cuts the top end around 12 kHz. Small positive settings add air; "
    "negative settings soften a bright source.",
    // 2 Mid Gain
    "Mid Gain boosts or cuts the selected mid band. The outer control selects its center "
    "frequency.",
    // 3 Mid Frequency
    "Choose the mid-band frequency with this outer control. Double-click resets it; the inner "
    "control adjusts gain.",
    // 4 Low Shelf
    "Low Shelf boosts or cuts body and bass at the frequency selected by the outer control.",
    // 5 Low Frequency
    "Choose 35, 60, 110 or 220 Hz for the low shelf. The inner control sets shelf gain.",
    // 6 High Pass
    "High Pass removes low-frequency rumble. OFF leaves it bypassed; the remaining positions "
    "choose the cutoff frequency.",
    // 7 EQ In
    "EQ In enables or bypasses the shelving, mid and high-pass filters. The preamp color "
    "remains active.",
    // 8 Polarity
    "Polarity reverses the processed signal. Check cancellation when blending dry and wet "
    "paths.",
    // 9 Output Trim
    "Output Trim adjusts loudness after preamp and EQ processing. Use it to compensate a "
    "driven input stage.",
    // 10 Mix
    "Parallel Mix blends the processed sound with a latency-aligned dry signal. 100% is fully "
    "processed; 0% is dry. Match the wet level before judging the blend.",
    // 11 Bypass
    "Bypass lets you compare with the original audio while preserving the plug-in's reported "
    "latency. Reduce output gain before comparing heavily driven settings.",
    // 12 Analog Shimmer
    "Analog Shimmer adds subtle harmonic grit, a gentle high-frequency lift and a very quiet "
    "shaped noise floor. 0% is completely off. It is a modern Kelvo extension, not a "
    "historical hardware control.",
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores Studio Start, every row's default.
const float startValues[] = {2, 0, 0, 2, 0, 2, 0, 1, 0, 0, 100, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const RackLayout rackLayout{
    .dials = dials,
    .buttons = buttons,
    .sliders = sliders,
    .ratioId = param::none,
    .allRatios = 0,
};

// The rack faceplate draws its own print: no badge, legend or meter caption of the framework
// faceplate.
const EditorModel editorModel{
    .meterKind = MeterKind::level,
    .startNeedle = -24.0,
    .legend = "",
    .badgeTileX = 0,
    .badgeTileY = 0,
    .captionFollowsMeter = false,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
    .faceplate = iron::plateCorvel,
    .knobBodies = true,
};

} // namespace classic
