#include "first_input.h"

#include <algorithm>

FirstInput firstInput(const std::vector<EditorAction>& actions) {
    FirstInput first;
    for (const EditorAction& action : actions) {
        if (action.kind == EditorAction::Kind::input) {
            first.audio = kelvohost::readAudioFile(action.text);
            first.path = action.text;
            first.sampleRate = first.audio->sampleRate;
            first.channels = std::min(2u, first.audio->channelCount());
            break;
        }
    }
    return first;
}
