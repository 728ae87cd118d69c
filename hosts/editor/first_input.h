#pragma once
// The stream format an editor host opens its unit with: that of the first --input file, or
// 48 kHz stereo without one. The file is read here, once, and kept for its action; a later
// --input must be of the same format, since the unit plays the stream it was opened for.

#include "actions.h"
#include "audio_file.h"

#include <optional>
#include <string>
#include <vector>

struct FirstInput {
    double sampleRate = 48000.0;
    unsigned channels = 2; // the file's own count, which the host checks before it opens the unit
    std::string path;      // empty without an --input
    std::optional<kelvohost::AudioData> audio;

    // The audio of an --input action: the first file's, or a later file read now. Throws
    // InputError when a later file cannot be read or differs from the first in rate or
    // channel count. [main thread]
    kelvohost::AudioData audioFor(const std::string& file) const;
};

// Throws InputError when the first input cannot be read. [main thread]
FirstInput firstInput(const std::vector<EditorAction>& actions);
