#pragma once
// The stream format an editor host opens its unit with: that of the first --input file (at
// most two of its channels), or 48 kHz stereo without one. The file is read here, once, and
// kept for its action.

#include "actions.h"
#include "audio_file.h"

#include <optional>
#include <string>
#include <vector>

struct FirstInput {
    double sampleRate = 48000.0;
    unsigned channels = 2;
    std::string path; // empty without an --input
    std::optional<kelvohost::AudioData> audio;
};

// Throws InputError when the first input cannot be read. [main thread]
FirstInput firstInput(const std::vector<EditorAction>& actions);
