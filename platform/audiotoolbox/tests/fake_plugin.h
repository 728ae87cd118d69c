#pragma once
// A hand-written plug-in (no SDK): a parameter store behind the Audio Unit calls, with counters
// for Open and Close. Enough to test the component calls and the listeners on their own.

#include <AudioToolbox/AudioToolbox.h>

namespace fake {

inline int opens = 0;
inline int closes = 0;
inline OSStatus openStatus = noErr;

struct PlugIn {
    AudioComponentPlugInInterface interface; // first: self points here
    AudioComponentInstance instance = nullptr;
    AudioUnitParameterValue values[4] = {};
};

inline PlugIn& self(void* p) {
    return *static_cast<PlugIn*>(p);
}

inline OSStatus open(void* p, AudioComponentInstance instance) {
    ++opens;
    self(p).instance = instance;
    return openStatus;
}

inline OSStatus close(void* p) {
    ++closes;
    delete static_cast<PlugIn*>(p);
    return noErr;
}

inline OSStatus getParameter(void* p, AudioUnitParameterID id, AudioUnitScope scope,
                             AudioUnitElement element, AudioUnitParameterValue* value) {
    if (id >= 4 || scope != kAudioUnitScope_Global || element != 0) {
        return kAudioUnitErr_InvalidParameter;
    }
    *value = self(p).values[id];
    return noErr;
}

inline OSStatus setParameter(void* p, AudioUnitParameterID id, AudioUnitScope scope,
                             AudioUnitElement element, AudioUnitParameterValue value,
                             UInt32 /*offset*/) {
    if (id >= 4 || scope != kAudioUnitScope_Global || element != 0) {
        return kAudioUnitErr_InvalidParameter;
    }
    self(p).values[id] = value;
    return noErr;
}

inline OSStatus initialize(void* /*p*/) {
    return 1234;
}

inline AudioComponentMethod lookup(SInt16 selector) {
    switch (selector) {
    case kAudioUnitGetParameterSelect:
        return reinterpret_cast<AudioComponentMethod>(
            static_cast<AudioUnitGetParameterProc>(&getParameter));
    case kAudioUnitSetParameterSelect:
        return reinterpret_cast<AudioComponentMethod>(
            static_cast<AudioUnitSetParameterProc>(&setParameter));
    case kAudioUnitInitializeSelect:
        return reinterpret_cast<AudioComponentMethod>(
            static_cast<AudioUnitInitializeProc>(&initialize));
    default:
        return nullptr;
    }
}

inline AudioComponentPlugInInterface* factory(const AudioComponentDescription*) {
    auto* plugIn = new PlugIn{{&open, &close, &lookup, nullptr}};
    return &plugIn->interface;
}

inline AudioComponentPlugInInterface* nullFactory(const AudioComponentDescription*) {
    return nullptr;
}

constexpr OSType code(const char (&c)[5]) {
    return (OSType(UInt8(c[0])) << 24) | (OSType(UInt8(c[1])) << 16) | (OSType(UInt8(c[2])) << 8) |
           OSType(UInt8(c[3]));
}

// Registered once per process.
inline AudioComponent component() {
    static AudioComponent registered = [] {
        const AudioComponentDescription description{code("aufx"), code("Fake"), code("Test"), 0, 0};
        return AudioComponentRegister(&description, CFSTR("Tests: Fake"), 3, &factory);
    }();
    return registered;
}

} // namespace fake
