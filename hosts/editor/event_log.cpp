#include "event_log.h"

#include <cstdio>

EventLog::EventLog(AudioUnit unit, std::vector<std::string> names) : names_(std::move(names)) {
    // Delivered at the next pass of the main run loop, in the modes the editor's timer runs.
    if (AUEventListenerCreate(&EventLog::received, this, CFRunLoopGetMain(), kCFRunLoopCommonModes,
                              0, 0, &listener_) != noErr) {
        listener_ = nullptr;
        return;
    }
    for (AudioUnitEventType type :
         {kAudioUnitEvent_ParameterValueChange, kAudioUnitEvent_BeginParameterChangeGesture,
          kAudioUnitEvent_EndParameterChangeGesture}) {
        AudioUnitEvent event{};
        event.mEventType = type;
        event.mArgument.mParameter = {unit, kAUParameterListener_AnyParameter,
                                      kAudioUnitScope_Global, 0};
        AUEventListenerAddEventType(listener_, nullptr, &event);
    }
}

EventLog::~EventLog() {
    if (listener_ != nullptr) {
        AUListenerDispose(listener_);
    }
}

void EventLog::received(void* refCon, void*, const AudioUnitEvent* event, UInt64,
                        AudioUnitParameterValue value) {
    auto& log = *static_cast<EventLog*>(refCon);
    const AudioUnitParameterID id = event->mArgument.mParameter.mParameterID;
    const char* kind = nullptr;
    switch (event->mEventType) {
    case kAudioUnitEvent_BeginParameterChangeGesture:
        kind = "begin";
        break;
    case kAudioUnitEvent_EndParameterChangeGesture:
        kind = "end";
        break;
    case kAudioUnitEvent_ParameterValueChange:
        kind = "value";
        break;
    default:
        return;
    }
    std::string line(kind);
    line.push_back(' ');
    if (id < log.names_.size()) {
        line.append(log.names_[id]);
    } else {
        line.append("#").append(std::to_string(id));
    }
    if (event->mEventType == kAudioUnitEvent_ParameterValueChange) {
        char text[64];
        std::snprintf(text, sizeof text, " = %.3f", static_cast<double>(value));
        line.append(text);
    }
    log.lines_.push_back(std::move(line));
}
