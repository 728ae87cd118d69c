#pragma once
// The renders that must come out the same on every machine and build: the eight models, each at
// its default state and at two factory presets that drive it hard, mono and stereo, at 44.1 and
// 96 kHz, all fed one short test signal through the Audio Unit calls, as a host feeds them.

#include "component_loader.h"

#include <string>
#include <vector>

namespace kelvohost {

using Channels = std::vector<std::vector<float>>;

struct SampleCase {
    std::string model;  // "tolvar"
    std::string preset; // the factory preset's name ("Tube Edge"), empty for the default state
    unsigned rate;      // Hz
    unsigned channels;  // 1 or 2

    // "tolvar/tube-edge/44100/stereo": what the digest file and the reports call the case.
    std::string name() const;
};

// Every case, model by model in the order of the model table.
std::vector<SampleCase> sampleCases();

// The models the cases render, in that order.
std::vector<std::string> sampleModels();

// The test signal at a rate: per channel a triangle wave and white noise, loud for the first
// 40 % (peaks near -1 dBFS), 24 dB down for the next 35 %, then silent, so that every stage is
// driven, every detector attacks and recovers, and the tails ring out. 0.1 s long. Integer
// arithmetic with one exact conversion a sample: the same bits on every machine and from every
// compiler.
Channels testSignal(unsigned rate, unsigned channels);

// [main thread] The case rendered through the unit of component in 512-frame calls (the last
// one shorter): stream formats, the preset, AudioUnitInitialize, then AudioUnitRender. Throws
// UnitError or InputError when the unit refuses a step.
Channels renderCase(const LoadedComponent& component, const SampleCase& sampleCase);

} // namespace kelvohost
