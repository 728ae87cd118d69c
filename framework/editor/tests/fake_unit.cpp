#include "fake_unit.h"

#include "parameters/definition.h"

#include <cmath>
#include <cstring>
#include <map>

namespace {

struct FakePlugIn {
    AudioComponentPlugInInterface interface; // first, so the interface pointer is the object
    AudioComponentInstance instance = nullptr;
    FakeUnitState state;
};

std::map<AudioUnit, FakePlugIn*>& instances() {
    static std::map<AudioUnit, FakePlugIn*> map;
    return map;
}

FakePlugIn& self(void* plugIn) {
    return *static_cast<FakePlugIn*>(plugIn);
}

OSStatus open(void* plugIn, AudioComponentInstance instance) {
    FakePlugIn& p = self(plugIn);
    p.instance = instance;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        p.state.values[id] = classic::definitions[id].defaultValue;
    }
    instances()[instance] = &p;
    return noErr;
}

OSStatus close(void* plugIn) {
    FakePlugIn* p = static_cast<FakePlugIn*>(plugIn);
    instances().erase(p->instance);
    delete p;
    return noErr;
}

OSStatus getParameter(void* plugIn, AudioUnitParameterID id, AudioUnitScope scope,
                      AudioUnitElement element, AudioUnitParameterValue* value) {
    if (id >= classic::parameterCount || scope != kAudioUnitScope_Global || element != 0) {
        return kAudioUnitErr_InvalidParameter;
    }
    const FakeUnitState& state = self(plugIn).state;
    if (state.unreadable[id]) {
        *value = NAN;
        return kAudioUnitErr_InvalidParameter;
    }
    *value = state.values[id];
    return noErr;
}

OSStatus setParameter(void* plugIn, AudioUnitParameterID id, AudioUnitScope scope,
                      AudioUnitElement element, AudioUnitParameterValue value, UInt32) {
    if (id >= classic::parameterCount || scope != kAudioUnitScope_Global || element != 0) {
        return kAudioUnitErr_InvalidParameter;
    }
    self(plugIn).state.values[id] = classic::normalize(classic::definitions[id], value);
    return noErr;
}

OSStatus getPropertyInfo(void* plugIn, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement,
                         UInt32* size, Boolean* writable) {
    if (id != classic::model.meterProperty || !self(plugIn).state.serveMeter) {
        return kAudioUnitErr_InvalidProperty;
    }
    if (size) {
        *size = 32;
    }
    if (writable) {
        *writable = false;
    }
    return noErr;
}

OSStatus getProperty(void* plugIn, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement,
                     void* data, UInt32* size) {
    FakePlugIn& p = self(plugIn);
    if (id != classic::model.meterProperty || !p.state.serveMeter) {
        return kAudioUnitErr_InvalidProperty;
    }
    if (size == nullptr || *size < 32 || data == nullptr) {
        return kAudioUnitErr_InvalidPropertyValue;
    }
    ++p.state.meterReads;
    std::memcpy(data, p.state.meter.data(), 32);
    *size = 32;
    return noErr;
}

AudioComponentMethod lookup(SInt16 selector) {
    switch (selector) {
    case kAudioUnitGetParameterSelect:
        return reinterpret_cast<AudioComponentMethod>(&getParameter);
    case kAudioUnitSetParameterSelect:
        return reinterpret_cast<AudioComponentMethod>(&setParameter);
    case kAudioUnitGetPropertyInfoSelect:
        return reinterpret_cast<AudioComponentMethod>(&getPropertyInfo);
    case kAudioUnitGetPropertySelect:
        return reinterpret_cast<AudioComponentMethod>(&getProperty);
    default:
        return nullptr;
    }
}

AudioComponentPlugInInterface* factory(const AudioComponentDescription*) {
    FakePlugIn* p = new FakePlugIn;
    p->interface = {&open, &close, &lookup, nullptr};
    return &p->interface;
}

AudioComponent component() {
    static AudioComponent registered = [] {
        const AudioComponentDescription description{'aufx', 'Fake', 'Kvlo', 0, 0};
        return AudioComponentRegister(&description, nullptr, 1, &factory);
    }();
    return registered;
}

} // namespace

AudioUnit makeFakeUnit() {
    AudioComponentInstance instance = nullptr;
    AudioComponentInstanceNew(component(), &instance);
    return instance;
}

FakeUnitState& fakeUnitState(AudioUnit unit) {
    return instances().at(unit)->state;
}

void disposeFakeUnit(AudioUnit unit) {
    AudioComponentInstanceDispose(unit);
}
