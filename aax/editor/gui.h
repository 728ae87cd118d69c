#pragma once
// kelvoaax::GUI: the bridge's editor object, one per editor window. For now it shows nothing:
// the SDK base's empty view. The unit's own editor view is placed here once the editor host
// exists; it reaches the unit through the data model's custom data 'KAUI'.

#include <AAX/AAX_CEffectGUI.h>

namespace kelvoaax {

class GUI final : public AAX_CEffectGUI {
public:
    // [main thread] A new editor object; null when it cannot be made.
    static AAX_IEffectGUI* Create() noexcept;
};

} // namespace kelvoaax
