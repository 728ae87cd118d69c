#include <AudioUnitSDK/ComponentBase.h>

namespace ausdk {

AudioComponent ComponentBase::GetComponent() const noexcept {
    return AudioComponentInstanceGetComponent(mComponentInstance);
}

AudioComponentDescription ComponentBase::GetComponentDescription() const noexcept {
    AudioComponentDescription description{};
    if (AudioComponent component = GetComponent(); component != nullptr) {
        AudioComponentGetDescription(component, &description);
    }
    return description;
}

} // namespace ausdk
