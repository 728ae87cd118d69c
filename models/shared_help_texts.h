#pragma once
// The help texts that several models' editors give their controls word for word: a control
// that does the same in every unit is explained the same way. Each model's editor data
// (editor_data.cpp) lists its own table of texts by parameter ID from these and its own.

namespace helptext {

inline constexpr const char* inputTrim =
    "Input Trim changes the signal entering the modeled electronics. More input can add "
    "compression or saturation. It is separate from output loudness.";

inline constexpr const char* outputTrim =
    "Output Trim sets the final wet-path level. Use it to match bypass loudness after changing "
    "drive, compression or EQ.";

inline constexpr const char* parallelMix =
    "Parallel Mix blends the processed sound with a latency-aligned dry signal. 100% is fully "
    "processed; 0% is dry. Match the wet level before judging the blend.";

inline constexpr const char* stereoLink =
    "Stereo Link couples the detector channels. At 100% the stronger signal controls both sides; "
    "0% allows independent reduction. It has no additional role in mono.";

inline constexpr const char* sidechainHighPass =
    "The sidechain high-pass filter removes low frequencies from the detector only. It can "
    "reduce bass-triggered pumping without directly cutting bass from the audio.";

inline constexpr const char* pad =
    "Pad reduces level before the modeled electronics. Use it to keep hot inputs cleaner or to "
    "explore different gain staging.";

inline constexpr const char* polarity =
    "Polarity reverses the processed signal. At partial Parallel Mix it can cancel some dry "
    "audio; check the blend by ear.";

// The Meter of the preamplifiers, whose VU shows input or output level.
inline constexpr const char* levelMeter =
    "Click to switch between input and output RMS level. 0 VU equals -18 dBFS RMS. This is "
    "average level, not a peak or true-peak measurement.";

// The Meter of the dynamics models, whose VU shows gain reduction or output level.
inline constexpr const char* gainReductionMeter =
    "Click to switch between gain reduction and output RMS. In GR, -5 means 5 dB of "
    "attenuation. Output 0 VU equals -18 dBFS RMS; use the host's meter for peaks.";

inline constexpr const char* bypass =
    "Bypass lets you compare with the original audio while preserving the plug-in's reported "
    "latency. Reduce output gain before comparing heavily driven settings.";

inline constexpr const char* analogShimmer =
    "Analog Shimmer adds subtle harmonic grit, a gentle high-frequency lift and a very quiet "
    "shaped noise floor. 0% is completely off. It is a modern Kelvo extension, not a "
    "historical hardware control.";

} // namespace helptext
