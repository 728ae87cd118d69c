// The Fennic editor's data: the rack layout of the FET photograph (four knobs, the ratio and
// meter-mode columns, the DETAIL sliders), help texts and INIT values.

#include "editor/plate_fennic.h"
#include "help/help_texts.h"
#include "model/editor_model.h"
#include "rack/editor/rack_layout.h"

#include <iterator>

namespace classic {

namespace {

// The knobs are the photograph's own; the dials draw only their pointers over them.
const RackDial dials[] = {
    {param::input, {253, 460}, 230, 91, false, {}},
    {param::output, {566, 460}, 230, 91, false, {}},
    {param::attack, {837.5, 328}, 146, 57, false, {}},
    {param::release, {837, 586}, 146, 57, false, {}},
};

constexpr const char* ratioTip = "Select ratio; Shift-click for All Buttons mode.";

// The ratio column's tags are Ratio's steps: "4" is 0 (4:1), "ALL" is 4 (All Buttons); the
// meter column's are Meter's. Neither draws its title: the photograph prints them.
const RackButton buttons[] = {
    {"20",
     {{1003, 304}, {112, 51}},
     3,
     RackAction::ratio,
     false,
     true,
     false,
     RackGroup::ratio,
     ratioTip},
    {"12",
     {{1003, 376.5}, {112, 51}},
     2,
     RackAction::ratio,
     false,
     true,
     false,
     RackGroup::ratio,
     ratioTip},
    {"8",
     {{1003, 449}, {112, 51}},
     1,
     RackAction::ratio,
     false,
     true,
     false,
     RackGroup::ratio,
     ratioTip},
    {"4",
     {{1003, 521.5}, {112, 51}},
     0,
     RackAction::ratio,
     false,
     true,
     false,
     RackGroup::ratio,
     ratioTip},
    {"ALL",
     {{1003, 594}, {112, 51}},
     4,
     RackAction::ratio,
     false,
     true,
     false,
     RackGroup::ratio,
     ratioTip},
    {"GR",
     {{1746, 305}, {120, 59}},
     0,
     RackAction::meter,
     false,
     true,
     false,
     RackGroup::meter,
     nullptr},
    {"+8",
     {{1746, 386}, {120, 59}},
     1,
     RackAction::meter,
     false,
     true,
     false,
     RackGroup::meter,
     nullptr},
    {"+4",
     {{1746, 467}, {120, 59}},
     2,
     RackAction::meter,
     false,
     true,
     false,
     RackGroup::meter,
     nullptr},
    {"OFF",
     {{1746, 548}, {120, 59}},
     3,
     RackAction::meter,
     false,
     true,
     false,
     RackGroup::meter,
     nullptr},
};

// Output already has its knob, so DETAIL shows Mix, Stereo Link and Analog Shimmer.
const unsigned sliders[] = {param::mix, param::output, param::shimmer, param::stereoLink};

const char* const helpTexts[] = {
    // 0 Input
    "Input drives the FET compression stage. More input generally produces more gain "
    "reduction and color. Use Output to compensate loudness.",
    // 1 Output
    "Output sets loudness after the compression stage. It does not drive the detector. Match "
    "the bypass level when evaluating compression.",
    // 2 Attack
    "Attack runs from slower at 1 to faster at 7. At 0, compression is disabled while the "
    "color stages remain active.",
    // 3 Release
    "Release runs from slower at 1 to faster at 7. Faster settings can add urgency; slower "
    "settings hold notes more steadily.",
    // 4 Ratio and 5 Meter have no control of their own: their buttons are answered by action.
    generalHelpText,
    generalHelpText,
    // 6 Mix
    "Parallel Mix blends the processed sound with a latency-aligned dry signal. 100% is fully "
    "processed; 0% is dry. Match the wet level before judging the blend.",
    // 7 Stereo Link
    "Stereo Link couples the compressor detectors. 100% keeps both channels reducing "
    "together; 0% allows independent action.",
    // 8 Bypass
    "Bypass lets you compare with the original audio while preserving the plug-in's reported "
    "latency. Reduce output gain before comparing heavily driven settings.",
    // 9 Analog Shimmer
    "Analog Shimmer adds subtle harmonic grit, a gentle high-frequency lift and a very quiet "
    "shaped noise floor. 0% is completely off. It is a modern Kelvo extension, not a "
    "historical hardware control.",
};
static_assert(std::size(helpTexts) == parameterCount, "one help text per parameter");

// INIT restores Studio Start, every row's default.
const float startValues[] = {24, 24, 3, 5, 0, 0, 100, 100, 0, 0};
static_assert(std::size(startValues) == parameterCount, "one start value per parameter");

} // namespace

const RackLayout rackLayout{
    .dials = dials,
    .buttons = buttons,
    .sliders = sliders,
    .ratioId = param::ratio,
    .allRatios = 4, // "All Buttons"
};

// The photograph prints the knobs' scales and titles: no badge, legend or caption of the
// framework faceplate.
const EditorModel editorModel{
    .meterKind = MeterKind::gainReduction,
    .startNeedle = 0.0,
    .legend = "",
    .badgeTileX = 0,
    .badgeTileY = 0,
    .captionFollowsMeter = false,
    .helpTexts = helpTexts,
    .helpCount = parameterCount,
    .startValues = startValues,
    .faceplate = iron::plateFennic,
    .knobBodies = false,
};

} // namespace classic
