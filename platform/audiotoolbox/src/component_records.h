#pragma once
// The records behind the opaque component and instance handles.

#include <AudioUnit/AudioUnit.h>

struct OpaqueAudioComponent {
    AudioComponentDescription description;
    CFStringRef name; // retained for the life of the process
    UInt32 version;
    AudioComponentFactoryFunction factory;
};

// The plug-in's methods, looked up once when the instance is made so that the parameter and
// render calls never search.
struct ComponentInstanceRecord {
    AudioComponent component;
    AudioComponentPlugInInterface* plugIn;
    AudioUnitInitializeProc initialize;
    AudioUnitUninitializeProc uninitialize;
    AudioUnitGetPropertyInfoProc getPropertyInfo;
    AudioUnitGetPropertyProc getProperty;
    AudioUnitSetPropertyProc setProperty;
    AudioUnitGetParameterProc getParameter;
    AudioUnitSetParameterProc setParameter;
    AudioUnitResetProc reset;
    AudioUnitAddPropertyListenerProc addPropertyListener;
    AudioUnitRemovePropertyListenerWithUserDataProc removePropertyListenerWithUserData;
    AudioUnitRenderProc render;
    AudioUnitScheduleParametersProc scheduleParameters;
};
