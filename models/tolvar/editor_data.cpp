// The Tolvar editor's data: what its VU needle shows, faceplate legend and badge, help texts,
// INIT values.

#include "model/editor_model.h"

namespace classic {

namespace {

const char* const helpTexts[] = {
    // 0 Gain
    "Gain changes tube-stage drive in five steps from -10 to +10 dB. Increase it for more "
    "color, then lower Level or Output Trim to match loudness.",
    // 1 Level
    "Level sets wet output loudness after the tube stages. The scale is relative: 5 is unity, "
    "0 mutes. It is not a dB scale.",
    // 2 Low EQ
    "This stepped shelving EQ offers -9 to +9 dB. Use small changes for body or air. Its "
    "frequency selector has no audible effect while the shelf is at 0 dB.",
    // 3 High EQ
    "This stepped shelving EQ offers -9 to +9 dB. Use small changes for body or air. Its "
    "frequency selector has no audible effect while the shelf is at 0 dB.",
    // 4 Low Frequency
    "Select the low shelf's corner: 70, 100 or 200 Hz. Lower settings affect deep weight; "
    "higher settings reach further into body and warmth.",
    // 5 High Frequency
    "Select the high shelf's corner: 4.5, 7 or 10 kHz. Lower choices affect presence; higher "
    "choices emphasize air.",
    // 6 Pad
    "Pad reduces level before the modeled electronics. Use it to keep hot inputs cleaner or "
    "to explore different gain staging.",
    // 7 Polarity
    "Polarity reverses the processed signal. At partial Parallel Mix it can cancel some dry "
    "audio; check the blend by ear.",
    // 8 Input Trim
    "Input Trim changes the signal entering the modeled electronics. More input can add "
    "compression or saturation. It is separate from output loudness.",
    // 9 Output Trim
    "Output Trim sets the final wet-path level. Use it to match bypass loudness after changing "
    "drive, compression or EQ.",
    // 10 Parallel Mix
    "Parallel Mix blends the processed sound with a latency-aligned dry signal. 100% is fully "
    "processed; 0% is dry. Match the wet level before judging the blend.",
    // 11 Meter
    "Click to switch between input and output RMS level. 0 VU equals -18 dBFS RMS. This is "
    "average level, not a peak or true-peak measurement.",
    // 12 Bypass
    "Bypass lets you compare with the original audio while preserving the plug-in's reported "
    "latency. Reduce output gain before comparing heavily driven settings.",
    // 13 Analog Shimmer
    "Analog Shimmer adds subtle harmonic grit, a gentle high-frequency lift and a very quiet "
    "shaped noise floor. 0% is completely off. It is a modern Kelvo extension, not a "
    "historical hardware control.",
};
static_assert(sizeof(helpTexts) / sizeof(helpTexts[0]) == parameterCount,
              "one help text per parameter");

// INIT restores Studio Start, which for Tolvar is every row's default.
const float startValues[] = {2, 5, 5, 5, 1, 1, 0, 0, 0, 0, 100, 1, 0, 0};
static_assert(sizeof(startValues) / sizeof(startValues[0]) == parameterCount,
              "one start value per parameter");

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
