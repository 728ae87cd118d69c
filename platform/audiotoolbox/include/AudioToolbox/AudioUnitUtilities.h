#pragma once
// Parameter and event listeners: how an editor tells a host about parameter changes and
// gestures, and how a host (or a bridge) hears them.
//
// Promises:
// - AUEventListenerNotify (and AUParameterSet, AUParameterListenerNotify) queue the event for
//   every listener that registered a matching event type: same type, unit, and parameter ID,
//   scope and element (property ID, scope and element for property changes;
//   kAUParameterListener_AnyParameter as the registered ID matches every parameter). A
//   registration made by inSendingListener is skipped when inSendingObject is NULL or equals
//   the object it registered.
// - Deliveries run on the listener's run loop, in the given mode, once per notification
//   interval (a repeating run-loop timer). They come in the order the events were notified,
//   except that a value change replaces the same parameter's still-queued value change when no
//   gesture of that parameter was queued after it (value changes are coalesced within an
//   interval; gestures are never dropped or reordered).
// - An interval of 0 or less delivers every event, uncoalesced, at the next run-loop pass.
// - The granularity argument is accepted and otherwise unused.
// - The value handed to the listener: AUParameterSet's value as given; for an event notified
//   through AUEventListenerNotify or AUParameterListenerNotify, the unit's value read with
//   AudioUnitGetParameter when the event was notified. 0 for gestures and property changes.
// - The object handed to the listener is the one it registered the event type with; the host
//   time is the notification's steady-clock time in nanoseconds.
// - Notifying is safe from any thread (a lock guards the queues; never the render thread);
//   create, add, remove and dispose run on the listener's run-loop thread. After
//   AUListenerDispose nothing more is delivered.
// - Property changes reach listeners only through AUEventListenerNotify: a unit's own property
//   announcements go to its property listeners (AudioUnitAddPropertyListener), not here.

#include <AudioUnit/AudioUnit.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AudioUnitParameter {
    AudioUnit mAudioUnit;
    AudioUnitParameterID mParameterID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
} AudioUnitParameter;

typedef struct AudioUnitProperty {
    AudioUnit mAudioUnit;
    AudioUnitPropertyID mPropertyID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
} AudioUnitProperty;

typedef UInt32 AudioUnitEventType;
enum {
    kAudioUnitEvent_ParameterValueChange = 0,
    kAudioUnitEvent_BeginParameterChangeGesture = 1,
    kAudioUnitEvent_EndParameterChangeGesture = 2,
    kAudioUnitEvent_PropertyChange = 3,
};

typedef struct AudioUnitEvent {
    AudioUnitEventType mEventType;
    union {
        AudioUnitParameter mParameter; // the three parameter event types
        AudioUnitProperty mProperty;   // kAudioUnitEvent_PropertyChange
    } mArgument;
} AudioUnitEvent;

enum {
    kAUParameterListener_AnyParameter = 0xFFFFFFFF,
};

typedef struct AUListenerBase* AUParameterListenerRef;
typedef AUParameterListenerRef AUEventListenerRef;

typedef void (*AUEventListenerProc)(void* inCallbackRefCon, void* inObject,
                                    const AudioUnitEvent* inEvent, UInt64 inEventHostTime,
                                    AudioUnitParameterValue inParameterValue);

// [main thread] inRunLoop NULL: the main run loop; inRunLoopMode NULL: kCFRunLoopDefaultMode.
OSStatus AUEventListenerCreate(AUEventListenerProc inProc, void* inUserData, CFRunLoopRef inRunLoop,
                               CFStringRef inRunLoopMode, Float32 inNotificationInterval,
                               Float32 inValueChangeGranularity, AUEventListenerRef* outListener);

// [main thread] Registering the same (object, event) twice keeps one registration.
OSStatus AUEventListenerAddEventType(AUEventListenerRef inListener, void* inObject,
                                     const AudioUnitEvent* inEvent);

// [main thread] Events of this registration already queued are still delivered.
OSStatus AUEventListenerRemoveEventType(AUEventListenerRef inListener, void* inObject,
                                        const AudioUnitEvent* inEvent);

// [any thread except render]
OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void* inSendingObject,
                               const AudioUnitEvent* inEvent);

// [any thread except render] Sets the parameter (AudioUnitSetParameter) and, when that
// succeeds, notifies a value change carrying inValue.
OSStatus AUParameterSet(AUParameterListenerRef inSendingListener, void* inSendingObject,
                        const AudioUnitParameter* inParameter, AudioUnitParameterValue inValue,
                        UInt32 inBufferOffsetInFrames);

// [any thread except render] Notifies a value change of the parameter's current value.
OSStatus AUParameterListenerNotify(AUParameterListenerRef inSendingListener, void* inSendingObject,
                                   const AudioUnitParameter* inParameter);

// [main thread] Stops deliveries and frees the listener, queued events included.
OSStatus AUListenerDispose(AUParameterListenerRef inListener);

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(AudioUnitParameter) == 24, "parameter layout");
static_assert(sizeof(AudioUnitEvent) == 32, "event layout");
#endif
