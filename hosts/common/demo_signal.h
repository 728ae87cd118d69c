#pragma once
// The built-in demo: a few seconds of stereo, music-like material at 48 kHz (a chord
// progression with envelopes, a bass line, noise percussion), the same samples on every run so
// renders of it can be compared.

#include "audio_file.h"

namespace kelvohost {

inline constexpr double demoSampleRate = 48000.0;
inline constexpr double demoSeconds = 6.0;

AudioData makeDemoSignal();

} // namespace kelvohost
