#include "first_input.h"

#include "host_error.h"
#include "parameter_lookup.h"
#include "playable_input.h"

namespace {

std::string formatText(double sampleRate, unsigned channels) {
    return kelvohost::formatNumber(sampleRate) + " Hz " + kelvohost::channelWord(channels);
}

} // namespace

kelvohost::AudioData FirstInput::audioFor(const std::string& file) const {
    if (audio && file == path) {
        return *audio;
    }
    kelvohost::AudioData later = kelvohost::readAudioFile(file);
    if (later.sampleRate != sampleRate || later.channelCount() != channels) {
        throw kelvohost::InputError(
            file + " is " + formatText(later.sampleRate, later.channelCount()) + ", not the " +
            formatText(sampleRate, channels) + " of the first --input");
    }
    return later;
}

FirstInput firstInput(const std::vector<EditorAction>& actions) {
    FirstInput first;
    for (const EditorAction& action : actions) {
        if (action.kind == EditorAction::Kind::input) {
            first.audio = kelvohost::readAudioFile(action.text);
            first.path = action.text;
            first.sampleRate = first.audio->sampleRate;
            first.channels = first.audio->channelCount();
            break;
        }
    }
    return first;
}
