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
    const std::string name = id < log.names_.size() ? log.names_[id] : "#" + std::to_string(id);
    switch (event->mEventType) {
    case kAudioUnitEvent_BeginParameterChangeGesture:
        log.lines_.push_back("begin " + name);
        break;
    case kAudioUnitEvent_EndParameterChangeGesture:
        log.lines_.push_back("end " + name);
        break;
    case kAudioUnitEvent_ParameterValueChange: {
        char text[64];
        std::snprintf(text, sizeof text, " = %.3f", value);
        log.lines_.push_back("value " + name + text);
        break;
    }
    default:
        break;
    }
}
