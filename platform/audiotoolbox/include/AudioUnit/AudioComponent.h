#pragma once
// Audio components: registration, look-up and instances.
//
// Promises:
// - A process-wide registry (one copy, in the audiotoolbox shared library) of the components
//   registered with AudioComponentRegister; they stay registered for the life of the process.
// - AudioComponentFindNext walks the registry in registration order; in the description a
//   type, subtype or manufacturer of 0 matches anything, and the flags match when
//   (componentFlags & componentFlagsMask) agree.
// - AudioComponentInstanceNew calls the component's factory for a plug-in interface, then its
//   Open with the new instance; AudioComponentInstanceDispose calls Close and frees the
//   instance. The Audio Unit calls look the plug-in's methods up through Lookup.
// Registration and instance creation take a lock: main thread only in practice, never on the
// render path.

#include <CoreAudioTypes/CoreAudioTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AudioComponentDescription {
    OSType componentType;         // 'aufx' for an effect
    OSType componentSubType;      // the product's four-character code
    OSType componentManufacturer; // 'Kvlo'
    UInt32 componentFlags;
    UInt32 componentFlagsMask;
} AudioComponentDescription;

typedef struct OpaqueAudioComponent* AudioComponent;
typedef struct ComponentInstanceRecord* AudioComponentInstance;

// A plug-in method; the real type depends on the selector (see AUComponent.h), and the first
// argument is always the plug-in interface ("self").
typedef OSStatus (*AudioComponentMethod)(void* self, ...);

// What a component's factory returns. Open binds the interface to its instance (constructs the
// plug-in object), Close destroys it, Lookup maps a selector to a method or NULL.
typedef struct AudioComponentPlugInInterface {
    OSStatus (*Open)(void* self, AudioComponentInstance mInstance);
    OSStatus (*Close)(void* self);
    AudioComponentMethod (*Lookup)(SInt16 selector);
    void* reserved;
} AudioComponentPlugInInterface;

typedef AudioComponentPlugInInterface* (*AudioComponentFactoryFunction)(
    const AudioComponentDescription* inDesc);

// Statuses of the component calls (the platform's legacy Component Manager values).
enum {
    badComponentInstance = (OSStatus)0x80008001,
    badComponentSelector = (OSStatus)0x80008002,
};

// [main thread] Registers a component for the life of the process; the name is copied. Returns
// NULL for a NULL description or factory. Registering the same description with the same
// factory again returns the component registered first.
AudioComponent AudioComponentRegister(const AudioComponentDescription* inDesc, CFStringRef inName,
                                      UInt32 inVersion, AudioComponentFactoryFunction inFactory);

// [any thread] The next component after inComponent (NULL: from the start) matching inDesc
// (NULL: every component), or NULL.
AudioComponent AudioComponentFindNext(AudioComponent inComponent,
                                      const AudioComponentDescription* inDesc);

// [any thread] The number of registered components matching inDesc (NULL: all).
UInt32 AudioComponentCount(const AudioComponentDescription* inDesc);

// [any thread] *outName = the component's name, +1: the caller releases it.
OSStatus AudioComponentCopyName(AudioComponent inComponent, CFStringRef* outName);

// [any thread]
OSStatus AudioComponentGetDescription(AudioComponent inComponent,
                                      AudioComponentDescription* outDesc);

// [any thread]
OSStatus AudioComponentGetVersion(AudioComponent inComponent, UInt32* outVersion);

// [main thread] Creates an instance: factory, then Open. A failing Open's status is returned
// and nothing is left behind.
OSStatus AudioComponentInstanceNew(AudioComponent inComponent, AudioComponentInstance* outInstance);

// [main thread] Close, then free the instance. The handle is invalid afterwards.
OSStatus AudioComponentInstanceDispose(AudioComponentInstance inInstance);

// [any thread]
AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance inInstance);

// [any thread] True when the plug-in answers the selector.
Boolean AudioComponentInstanceCanDo(AudioComponentInstance inInstance, SInt16 inSelectorID);

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(AudioComponentDescription) == 20, "component description layout");
#endif
