// Event listeners: registrations, per-listener queues, and delivery on a run loop.

#include <AudioToolbox/AudioUnitUtilities.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

struct AUListenerBase {
    struct Registration {
        void* object;
        AudioUnitEvent event;
    };
    struct Pending {
        void* object;
        AudioUnitEvent event;
        UInt64 hostTime;
        AudioUnitParameterValue value;
    };

    AUEventListenerProc proc;
    void* userData;
    CFRunLoopRef runLoop; // retained
    CFStringRef mode;     // retained
    Float32 interval;
    UInt64 serial; // identifies the listener to posted deliveries that may outlive it
    CFRunLoopTimerRef timer = nullptr;
    bool deliveryPosted = false; // interval <= 0: a delivery is posted and not yet run
    // Guarded by the registry's mutex.
    std::vector<Registration> registrations;
    std::vector<Pending> pending;
};

namespace {

struct ListenerRegistry {
    std::mutex mutex;
    std::vector<AUListenerBase*> listeners;
    UInt64 nextSerial = 1;
};

ListenerRegistry& registry() {
    static ListenerRegistry* instance = new ListenerRegistry; // outlives every static user
    return *instance;
}

bool isParameterEvent(AudioUnitEventType type) {
    return type == kAudioUnitEvent_ParameterValueChange ||
           type == kAudioUnitEvent_BeginParameterChangeGesture ||
           type == kAudioUnitEvent_EndParameterChangeGesture;
}

bool validEvent(const AudioUnitEvent* event) {
    return event != nullptr && (isParameterEvent(event->mEventType) ||
                                event->mEventType == kAudioUnitEvent_PropertyChange);
}

bool sameParameter(const AudioUnitParameter& a, const AudioUnitParameter& b) {
    return a.mAudioUnit == b.mAudioUnit && a.mParameterID == b.mParameterID &&
           a.mScope == b.mScope && a.mElement == b.mElement;
}

bool sameEvent(const AudioUnitEvent& a, const AudioUnitEvent& b) {
    if (a.mEventType != b.mEventType) {
        return false;
    }
    if (isParameterEvent(a.mEventType)) {
        return sameParameter(a.mArgument.mParameter, b.mArgument.mParameter);
    }
    const AudioUnitProperty& p = a.mArgument.mProperty;
    const AudioUnitProperty& q = b.mArgument.mProperty;
    return p.mAudioUnit == q.mAudioUnit && p.mPropertyID == q.mPropertyID && p.mScope == q.mScope &&
           p.mElement == q.mElement;
}

// Whether a registration hears an event.
bool hears(const AudioUnitEvent& registered, const AudioUnitEvent& event) {
    if (registered.mEventType != event.mEventType) {
        return false;
    }
    if (isParameterEvent(event.mEventType)) {
        const AudioUnitParameter& r = registered.mArgument.mParameter;
        const AudioUnitParameter& e = event.mArgument.mParameter;
        return r.mAudioUnit == e.mAudioUnit && r.mScope == e.mScope && r.mElement == e.mElement &&
               (r.mParameterID == kAUParameterListener_AnyParameter ||
                r.mParameterID == e.mParameterID);
    }
    return sameEvent(registered, event);
}

UInt64 hostTimeNow() {
    return static_cast<UInt64>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

// Queues one delivery. With an interval, a value change replaces the same parameter's queued
// value change when nothing else of that parameter came after it. Caller holds the registry's
// mutex.
void enqueue(AUListenerBase& listener, void* object, const AudioUnitEvent& event, UInt64 hostTime,
             AudioUnitParameterValue value) {
    auto& pending = listener.pending;
    // Without an interval every change is its own delivery (an editor's log shows each step).
    if (event.mEventType == kAudioUnitEvent_ParameterValueChange && listener.interval > 0.0f) {
        for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
            if (it->object != object || !isParameterEvent(it->event.mEventType) ||
                !sameParameter(it->event.mArgument.mParameter, event.mArgument.mParameter)) {
                continue;
            }
            if (it->event.mEventType == kAudioUnitEvent_ParameterValueChange) {
                pending.erase(std::next(it).base());
            }
            break;
        }
    }
    pending.push_back({object, event, hostTime, value});
}

bool alive(ListenerRegistry& r, const AUListenerBase* listener) {
    return std::find(r.listeners.begin(), r.listeners.end(), listener) != r.listeners.end();
}

// Alive and still the same listener (not a new one at a reused address).
bool alive(ListenerRegistry& r, const AUListenerBase* listener, UInt64 serial) {
    return alive(r, listener) && listener->serial == serial;
}

// Runs on the listener's run loop.
void deliver(AUListenerBase* listener) {
    ListenerRegistry& r = registry();
    std::vector<AUListenerBase::Pending> batch;
    AUEventListenerProc proc = nullptr;
    void* userData = nullptr;
    UInt64 serial = 0;
    {
        std::lock_guard lock(r.mutex);
        if (!alive(r, listener)) {
            return;
        }
        serial = listener->serial;
        listener->deliveryPosted = false;
        batch.swap(listener->pending);
        proc = listener->proc;
        userData = listener->userData;
    }
    for (const auto& item : batch) {
        {
            // A listener may dispose of itself (or be disposed of) from its own callback.
            std::lock_guard lock(r.mutex);
            if (!alive(r, listener, serial)) {
                return;
            }
        }
        proc(userData, item.object, &item.event, item.hostTime, item.value);
    }
}

void timerFired(CFRunLoopTimerRef /*timer*/, void* info) {
    deliver(static_cast<AUListenerBase*>(info));
}

void postedDelivery(void* info) {
    // The serial, not the pointer, crosses the run loop: the listener may be gone by now.
    const auto serial = reinterpret_cast<std::uintptr_t>(info);
    ListenerRegistry& r = registry();
    AUListenerBase* listener = nullptr;
    {
        std::lock_guard lock(r.mutex);
        for (AUListenerBase* candidate : r.listeners) {
            if (candidate->serial == serial) {
                listener = candidate;
            }
        }
    }
    if (listener != nullptr) {
        deliver(listener);
    }
}

OSStatus notify(AUListenerBase* sendingListener, void* sendingObject, const AudioUnitEvent& event,
                AudioUnitParameterValue value) {
    ListenerRegistry& r = registry();
    const UInt64 now = hostTimeNow();
    struct Post {
        CFRunLoopRef runLoop;
        CFStringRef mode;
        UInt64 serial;
    };
    std::vector<Post> posts;
    {
        std::lock_guard lock(r.mutex);
        for (AUListenerBase* listener : r.listeners) {
            bool queued = false;
            for (const auto& registration : listener->registrations) {
                if (listener == sendingListener &&
                    (sendingObject == nullptr || sendingObject == registration.object)) {
                    continue;
                }
                if (hears(registration.event, event)) {
                    enqueue(*listener, registration.object, event, now, value);
                    queued = true;
                }
            }
            if (queued && listener->timer == nullptr && !listener->deliveryPosted) {
                listener->deliveryPosted = true;
                CFRetain(listener->runLoop);
                CFRetain(listener->mode);
                posts.push_back({listener->runLoop, listener->mode, listener->serial});
            }
        }
    }
    for (const Post& post : posts) {
        CFRunLoopPerformFunction(post.runLoop, post.mode, &postedDelivery,
                                 reinterpret_cast<void*>(static_cast<std::uintptr_t>(post.serial)));
        CFRelease(post.mode);
        CFRelease(post.runLoop);
    }
    return noErr;
}

AudioUnitParameterValue currentValue(const AudioUnitParameter& parameter) {
    AudioUnitParameterValue value = 0.0f;
    if (AudioUnitGetParameter(parameter.mAudioUnit, parameter.mParameterID, parameter.mScope,
                              parameter.mElement, &value) != noErr) {
        value = 0.0f;
    }
    return value;
}

} // namespace

extern "C" {

OSStatus AUEventListenerCreate(AUEventListenerProc inProc, void* inUserData, CFRunLoopRef inRunLoop,
                               CFStringRef inRunLoopMode, Float32 inNotificationInterval,
                               Float32 /*inValueChangeGranularity*/,
                               AUEventListenerRef* outListener) {
    if (inProc == nullptr || outListener == nullptr) {
        return kAudio_ParamError;
    }
    auto* listener = new AUListenerBase;
    listener->proc = inProc;
    listener->userData = inUserData;
    listener->runLoop = inRunLoop != nullptr ? inRunLoop : CFRunLoopGetMain();
    listener->mode = inRunLoopMode != nullptr ? inRunLoopMode : kCFRunLoopDefaultMode;
    CFRetain(listener->runLoop);
    CFRetain(listener->mode);
    listener->interval = inNotificationInterval;
    if (inNotificationInterval > 0.0f) {
        CFRunLoopTimerContext context{0, listener, nullptr, nullptr, nullptr};
        listener->timer = CFRunLoopTimerCreate(kCFAllocatorDefault,
                                               CFAbsoluteTimeGetCurrent() + inNotificationInterval,
                                               inNotificationInterval, 0, 0, &timerFired, &context);
        CFRunLoopAddTimer(listener->runLoop, listener->timer, listener->mode);
    }
    {
        ListenerRegistry& r = registry();
        std::lock_guard lock(r.mutex);
        listener->serial = r.nextSerial++;
        r.listeners.push_back(listener);
    }
    *outListener = listener;
    return noErr;
}

OSStatus AUEventListenerAddEventType(AUEventListenerRef inListener, void* inObject,
                                     const AudioUnitEvent* inEvent) {
    if (inListener == nullptr || !validEvent(inEvent)) {
        return kAudio_ParamError;
    }
    ListenerRegistry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& registration : inListener->registrations) {
        if (registration.object == inObject && sameEvent(registration.event, *inEvent)) {
            return noErr;
        }
    }
    inListener->registrations.push_back({inObject, *inEvent});
    return noErr;
}

OSStatus AUEventListenerRemoveEventType(AUEventListenerRef inListener, void* inObject,
                                        const AudioUnitEvent* inEvent) {
    if (inListener == nullptr || !validEvent(inEvent)) {
        return kAudio_ParamError;
    }
    ListenerRegistry& r = registry();
    std::lock_guard lock(r.mutex);
    std::erase_if(inListener->registrations, [&](const AUListenerBase::Registration& registration) {
        return registration.object == inObject && sameEvent(registration.event, *inEvent);
    });
    return noErr;
}

OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void* inSendingObject,
                               const AudioUnitEvent* inEvent) {
    if (!validEvent(inEvent)) {
        return kAudio_ParamError;
    }
    const AudioUnitParameterValue value =
        inEvent->mEventType == kAudioUnitEvent_ParameterValueChange
            ? currentValue(inEvent->mArgument.mParameter)
            : 0.0f;
    return notify(inSendingListener, inSendingObject, *inEvent, value);
}

OSStatus AUParameterSet(AUParameterListenerRef inSendingListener, void* inSendingObject,
                        const AudioUnitParameter* inParameter, AudioUnitParameterValue inValue,
                        UInt32 inBufferOffsetInFrames) {
    if (inParameter == nullptr) {
        return kAudio_ParamError;
    }
    const OSStatus status = AudioUnitSetParameter(
        inParameter->mAudioUnit, inParameter->mParameterID, inParameter->mScope,
        inParameter->mElement, inValue, inBufferOffsetInFrames);
    if (status != noErr) {
        return status;
    }
    AudioUnitEvent event{};
    event.mEventType = kAudioUnitEvent_ParameterValueChange;
    event.mArgument.mParameter = *inParameter;
    return notify(inSendingListener, inSendingObject, event, inValue);
}

OSStatus AUParameterListenerNotify(AUParameterListenerRef inSendingListener, void* inSendingObject,
                                   const AudioUnitParameter* inParameter) {
    if (inParameter == nullptr) {
        return kAudio_ParamError;
    }
    AudioUnitEvent event{};
    event.mEventType = kAudioUnitEvent_ParameterValueChange;
    event.mArgument.mParameter = *inParameter;
    return notify(inSendingListener, inSendingObject, event, currentValue(*inParameter));
}

OSStatus AUListenerDispose(AUParameterListenerRef inListener) {
    if (inListener == nullptr) {
        return kAudio_ParamError;
    }
    {
        ListenerRegistry& r = registry();
        std::lock_guard lock(r.mutex);
        if (!alive(r, inListener)) {
            return kAudio_ParamError;
        }
        std::erase(r.listeners, inListener);
    }
    if (inListener->timer != nullptr) {
        CFRunLoopTimerInvalidate(inListener->timer);
        CFRelease(inListener->timer);
    }
    CFRelease(inListener->mode);
    CFRelease(inListener->runLoop);
    delete inListener;
    return noErr;
}

} // extern "C"
