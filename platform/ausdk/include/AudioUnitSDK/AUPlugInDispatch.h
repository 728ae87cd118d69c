#pragma once
// The component factory: the plug-in interface (Open, Close, Lookup) through which the
// platform's Audio Unit calls reach an AUBase subclass.
//
// A unit bundle exports its factory with one line in one source file:
//
//     AUSDK_COMPONENT_ENTRY(ausdk::AUBaseFactory, GainUnit)          // exports GainUnitFactory
//     AUSDK_COMPONENT_ENTRY_NAMED(ausdk::AUBaseFactory, Processor, KelvoTolvarFactory)
//
// (the name argument of the _NAMED form may itself be a macro). The function is extern "C" with
// default visibility; the bundle's linker script exports it and nothing else.
//
// Promises:
// - The factory returns a new interface per call; Open constructs the unit with its instance,
//   then calls PostConstructor; Close calls PreDestructor, deletes the unit and the interface
//   (also after a failed Open).
// - Lookup answers every selector of AUComponent.h. Every method catches every exception
//   (AUException: its status; std::bad_alloc: kAudio_MemFullError; other:
//   kUnknownErrorStatus). Render, GetParameter and SetParameter are noexcept and allocate
//   nothing in the dispatch.
// - A NULL pointer where the call needs one: kAudio_ParamError.

#include <AudioUnitSDK/AUBase.h>

#include <new>

namespace ausdk {

// The record behind the interface pointer ("self" of every method).
struct AUPlugInInstance {
    AudioComponentPlugInInterface mInterface; // first: self points here
    AUBase* mUnit;
    OSStatus (*mConstruct)(AUPlugInInstance& self, AudioComponentInstance inInstance);
};

// [main thread] The shared Close and Lookup of every AUBase plug-in.
OSStatus AUPlugInClose(void* self);
AudioComponentMethod AUPlugInLookup(SInt16 selector);
// [main thread] Open: constructs through self's mConstruct, catching every exception.
OSStatus AUPlugInOpen(void* self, AudioComponentInstance inInstance);

// Makes interfaces whose instances are Implementor objects, constructed as
// Implementor(AudioComponentInstance).
template <class Implementor> class AUBaseFactory {
public:
    // [main thread] NULL when out of memory.
    static AudioComponentPlugInInterface* Factory(const AudioComponentDescription* /*inDesc*/) {
        auto* instance = new (std::nothrow) AUPlugInInstance{
            {&AUPlugInOpen, &AUPlugInClose, &AUPlugInLookup, nullptr}, nullptr, &Construct};
        return instance != nullptr ? &instance->mInterface : nullptr;
    }

private:
    static OSStatus Construct(AUPlugInInstance& self, AudioComponentInstance inInstance) {
        auto* unit = new Implementor(inInstance);
        self.mUnit = unit;
        unit->PostConstructor();
        return noErr;
    }
};

} // namespace ausdk

#define AUSDK_COMPONENT_ENTRY_NAMED(FactoryType, Class, FunctionName)                              \
    extern "C" __attribute__((visibility("default"))) void* FunctionName(                          \
        const AudioComponentDescription* inDesc);                                                  \
    extern "C" __attribute__((visibility("default"))) void* FunctionName(                          \
        const AudioComponentDescription* inDesc) {                                                 \
        return FactoryType<Class>::Factory(inDesc);                                                \
    }

#define AUSDK_COMPONENT_ENTRY(FactoryType, Class)                                                  \
    AUSDK_COMPONENT_ENTRY_NAMED(FactoryType, Class, Class##Factory)
