#pragma once
// How the editor tests write down what a host's event listener received: "begin 3", "end 3",
// "value 3 0.5", "property 64000", so that a test compares the order of the deliveries as
// plain lines.

#include <AudioToolbox/AudioUnitUtilities.h>

#include <cstdio>
#include <string>

namespace editortest {

inline std::string eventLine(const AudioUnitEvent& event, AudioUnitParameterValue value) {
    const unsigned id = event.mArgument.mParameter.mParameterID;
    char line[64];
    switch (event.mEventType) {
    case kAudioUnitEvent_BeginParameterChangeGesture:
        std::snprintf(line, sizeof line, "begin %u", id);
        break;
    case kAudioUnitEvent_EndParameterChangeGesture:
        std::snprintf(line, sizeof line, "end %u", id);
        break;
    case kAudioUnitEvent_PropertyChange:
        std::snprintf(line, sizeof line, "property %u",
                      static_cast<unsigned>(event.mArgument.mProperty.mPropertyID));
        break;
    default:
        std::snprintf(line, sizeof line, "value %u %g", id, static_cast<double>(value));
        break;
    }
    return line;
}

} // namespace editortest
