// The process-wide component registry and instance creation.

#include "component_records.h"

#include <deque>
#include <memory>
#include <mutex>

namespace {

struct Registry {
    std::mutex mutex;
    // Components are never removed, so handles stay valid for the life of the process.
    std::deque<std::unique_ptr<OpaqueAudioComponent>> components;
};

Registry& registry() {
    static Registry* instance = new Registry; // never destroyed: bundles may outlive statics
    return *instance;
}

bool matches(const AudioComponentDescription& have, const AudioComponentDescription* want) {
    if (want == nullptr) {
        return true;
    }
    auto field = [](OSType value, OSType wanted) { return wanted == 0 || value == wanted; };
    return field(have.componentType, want->componentType) &&
           field(have.componentSubType, want->componentSubType) &&
           field(have.componentManufacturer, want->componentManufacturer) &&
           (have.componentFlags & want->componentFlagsMask) ==
               (want->componentFlags & want->componentFlagsMask);
}

bool sameDescription(const AudioComponentDescription& a, const AudioComponentDescription& b) {
    return a.componentType == b.componentType && a.componentSubType == b.componentSubType &&
           a.componentManufacturer == b.componentManufacturer &&
           a.componentFlags == b.componentFlags;
}

template <typename Proc> Proc method(AudioComponentPlugInInterface* plugIn, SInt16 selector) {
    return reinterpret_cast<Proc>(plugIn->Lookup(selector));
}

} // namespace

extern "C" {

AudioComponent AudioComponentRegister(const AudioComponentDescription* inDesc, CFStringRef inName,
                                      UInt32 inVersion, AudioComponentFactoryFunction inFactory) {
    if (inDesc == nullptr || inFactory == nullptr) {
        return nullptr;
    }
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& component : r.components) {
        if (component->factory == inFactory && sameDescription(component->description, *inDesc)) {
            return component.get();
        }
    }
    CFStringRef name = inName != nullptr ? CFStringCreateCopy(kCFAllocatorDefault, inName)
                                         : CFStringCreateWithCString(kCFAllocatorDefault, "",
                                                                     kCFStringEncodingUTF8);
    r.components.push_back(std::make_unique<OpaqueAudioComponent>(
        OpaqueAudioComponent{*inDesc, name, inVersion, inFactory}));
    return r.components.back().get();
}

AudioComponent AudioComponentFindNext(AudioComponent inComponent,
                                      const AudioComponentDescription* inDesc) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.components.begin();
    if (inComponent != nullptr) {
        while (it != r.components.end() && it->get() != inComponent) {
            ++it;
        }
        if (it == r.components.end()) {
            return nullptr;
        }
        ++it;
    }
    for (; it != r.components.end(); ++it) {
        if (matches((*it)->description, inDesc)) {
            return it->get();
        }
    }
    return nullptr;
}

UInt32 AudioComponentCount(const AudioComponentDescription* inDesc) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    UInt32 count = 0;
    for (const auto& component : r.components) {
        count += matches(component->description, inDesc) ? 1 : 0;
    }
    return count;
}

OSStatus AudioComponentCopyName(AudioComponent inComponent, CFStringRef* outName) {
    if (inComponent == nullptr || outName == nullptr) {
        return kAudio_ParamError;
    }
    *outName = static_cast<CFStringRef>(CFRetain(inComponent->name));
    return noErr;
}

OSStatus AudioComponentGetDescription(AudioComponent inComponent,
                                      AudioComponentDescription* outDesc) {
    if (inComponent == nullptr || outDesc == nullptr) {
        return kAudio_ParamError;
    }
    *outDesc = inComponent->description;
    return noErr;
}

OSStatus AudioComponentGetVersion(AudioComponent inComponent, UInt32* outVersion) {
    if (inComponent == nullptr || outVersion == nullptr) {
        return kAudio_ParamError;
    }
    *outVersion = inComponent->version;
    return noErr;
}

OSStatus AudioComponentInstanceNew(AudioComponent inComponent,
                                   AudioComponentInstance* outInstance) {
    if (inComponent == nullptr || outInstance == nullptr) {
        return kAudio_ParamError;
    }
    *outInstance = nullptr;
    AudioComponentPlugInInterface* plugIn = inComponent->factory(&inComponent->description);
    if (plugIn == nullptr) {
        return kAudioUnitErr_FailedInitialization;
    }
    if (plugIn->Open == nullptr || plugIn->Close == nullptr || plugIn->Lookup == nullptr) {
        return badComponentSelector;
    }
    auto instance = std::make_unique<ComponentInstanceRecord>();
    instance->component = inComponent;
    instance->plugIn = plugIn;
    const OSStatus opened = plugIn->Open(plugIn, instance.get());
    if (opened != noErr) {
        plugIn->Close(plugIn); // frees the interface the factory made
        return opened;
    }
    ComponentInstanceRecord& r = *instance;
    r.initialize = method<AudioUnitInitializeProc>(plugIn, kAudioUnitInitializeSelect);
    r.uninitialize = method<AudioUnitUninitializeProc>(plugIn, kAudioUnitUninitializeSelect);
    r.getPropertyInfo =
        method<AudioUnitGetPropertyInfoProc>(plugIn, kAudioUnitGetPropertyInfoSelect);
    r.getProperty = method<AudioUnitGetPropertyProc>(plugIn, kAudioUnitGetPropertySelect);
    r.setProperty = method<AudioUnitSetPropertyProc>(plugIn, kAudioUnitSetPropertySelect);
    r.getParameter = method<AudioUnitGetParameterProc>(plugIn, kAudioUnitGetParameterSelect);
    r.setParameter = method<AudioUnitSetParameterProc>(plugIn, kAudioUnitSetParameterSelect);
    r.reset = method<AudioUnitResetProc>(plugIn, kAudioUnitResetSelect);
    r.addPropertyListener =
        method<AudioUnitAddPropertyListenerProc>(plugIn, kAudioUnitAddPropertyListenerSelect);
    r.removePropertyListenerWithUserData = method<AudioUnitRemovePropertyListenerWithUserDataProc>(
        plugIn, kAudioUnitRemovePropertyListenerWithUserDataSelect);
    r.render = method<AudioUnitRenderProc>(plugIn, kAudioUnitRenderSelect);
    r.scheduleParameters =
        method<AudioUnitScheduleParametersProc>(plugIn, kAudioUnitScheduleParametersSelect);
    *outInstance = instance.release();
    return noErr;
}

OSStatus AudioComponentInstanceDispose(AudioComponentInstance inInstance) {
    if (inInstance == nullptr) {
        return kAudio_ParamError;
    }
    std::unique_ptr<ComponentInstanceRecord> instance(inInstance);
    return instance->plugIn->Close(instance->plugIn);
}

AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance inInstance) {
    return inInstance != nullptr ? inInstance->component : nullptr;
}

Boolean AudioComponentInstanceCanDo(AudioComponentInstance inInstance, SInt16 inSelectorID) {
    if (inInstance == nullptr) {
        return false;
    }
    return inInstance->plugIn->Lookup(inSelectorID) != nullptr;
}

} // extern "C"
