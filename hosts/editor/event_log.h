#pragma once
// What a host records while the editor is used: the parameter changes and gesture events
// the unit's listeners receive, one line each, in the order they arrive.

#include <AudioToolbox/AudioUnitUtilities.h>

#include <string>
#include <vector>

class EventLog {
public:
    // Listens on the main run loop to value changes and gestures of every parameter of the
    // unit. [main thread]
    EventLog(AudioUnit unit, std::vector<std::string> names);
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Lines received so far, e.g. "begin Level", "value Level = 7.500", "end Level".
    const std::vector<std::string>& lines() const { return lines_; }

private:
    static void received(void* refCon, void* object, const AudioUnitEvent* event, UInt64 hostTime,
                         AudioUnitParameterValue value);

    AUEventListenerRef listener_ = nullptr;
    std::vector<std::string> names_;
    std::vector<std::string> lines_;
};
