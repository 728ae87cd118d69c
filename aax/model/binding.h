#pragma once
// kelvoaax::Binding: the link between one unit parameter and the AAX parameter that mirrors it.

#include "backend/au_backend.h"

#include <AAX/AAX.h>

#include <cstdint>
#include <string>

namespace kelvoaax {

struct Binding {
    uint32_t auID = 0;
    std::string aaxID;     // "MasterBypassID" for the unit's "Bypass", else "au_" and the unit ID
    bool discrete = false; // the unit's parameter is indexed or Boolean
};

inline Binding bindingFor(const Parameter& parameter) {
    Binding binding;
    binding.auID = parameter.id;
    // The unit's Bypass becomes the effect's master bypass, which the host bypasses with.
    binding.aaxID =
        parameter.name == "Bypass" ? cDefaultMasterBypassID : "au_" + std::to_string(parameter.id);
    binding.discrete = parameter.info.unit == kAudioUnitParameterUnit_Indexed ||
                       parameter.info.unit == kAudioUnitParameterUnit_Boolean;
    return binding;
}

} // namespace kelvoaax
