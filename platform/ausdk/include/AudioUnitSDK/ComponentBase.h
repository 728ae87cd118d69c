#pragma once
// The root of every plug-in object: it knows the component instance it was opened for.

#include <AudioUnitSDK/AUUtility.h>

namespace ausdk {

class ComponentBase {
public:
    // [main thread] inInstance may be NULL for an object made outside a component (tests).
    explicit ComponentBase(AudioComponentInstance inInstance) noexcept
        : mComponentInstance(inInstance) {}
    virtual ~ComponentBase() = default;
    ComponentBase(const ComponentBase&) = delete;
    ComponentBase& operator=(const ComponentBase&) = delete;

    // [main thread] Called by the factory right after construction and before destruction,
    // when virtual calls reach the whole object.
    virtual void PostConstructor() {}
    virtual void PreDestructor() {}

    // [any thread]
    AudioComponentInstance GetComponentInstance() const noexcept { return mComponentInstance; }
    // [any thread] NULL without an instance.
    AudioComponent GetComponent() const noexcept;
    // [any thread] The registered description; all zero without an instance.
    AudioComponentDescription GetComponentDescription() const noexcept;

private:
    AudioComponentInstance mComponentInstance;
};

} // namespace ausdk
