// Restoring a saved state: validated strictly, applied on top of the defaults, rolled back if
// the base refuses it.

#include "processor/processor.h"

#include "state/validate.h"

namespace {
constexpr unsigned manufacturer = 0x4B766C6F; // 'Kvlo'
}

OSStatus Processor::RestoreState(CFPropertyListRef state) {
    if (!kelvostate::validate(state, classic::definitions, classic::model.subtype, manufacturer)) {
        return kAudioUnitErr_InvalidPropertyValue;
    }
    float saved[parameterCount];
    snapshot(saved);
    ausdk::AUElement* globals = Globals();
    for (unsigned id = 0; id < parameterCount; ++id) {
        if (const OSStatus status =
                globals->SetParameterOrError(id, classic::definitions[id].defaultValue);
            status != noErr) {
            return status;
        }
    }
    if (const OSStatus status = AUEffectBase::RestoreState(state); status != noErr) {
        for (unsigned id = 0; id < parameterCount; ++id) {
            globals->SetParameterOrError(id, saved[id]);
        }
        return status;
    }
    engineResetPending.store(true, std::memory_order_release);
    automation.bumpGeneration();
    return noErr;
}
