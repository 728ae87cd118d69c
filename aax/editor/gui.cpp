#include "editor/gui.h"

namespace kelvoaax {

AAX_IEffectGUI* GUI::Create() noexcept {
    try {
        return new GUI();
    } catch (...) {
        return nullptr;
    }
}

} // namespace kelvoaax
