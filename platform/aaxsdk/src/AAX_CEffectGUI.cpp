#include <AAX/AAX_CEffectGUI.h>

AAX_CEffectGUI::~AAX_CEffectGUI() = default;

AAX_Result AAX_CEffectGUI::Initialize(AAX_IEffectParameters* parameters) {
    parameters_ = parameters;
    try {
        CreateViewContents();
        return AAX_SUCCESS;
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
}

AAX_Result AAX_CEffectGUI::SetViewContainer(AAX_IViewContainer* container) {
    try {
        if (container_ != nullptr) {
            DeleteViewContainer();
            container_ = nullptr;
        }
        if (container != nullptr) {
            container_ = container;
            CreateViewContainer();
        }
        return AAX_SUCCESS;
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
}

AAX_Result AAX_CEffectGUI::GetViewSize(AAX_Point* size) const {
    if (size == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    *size = AAX_Point{0.0f, 0.0f};
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::TimerWakeup() {
    return AAX_SUCCESS;
}

int32_t AAX_CEffectGUI::GetViewContainerType() const {
    return container_ != nullptr ? container_->GetType() : AAX_eViewContainer_Type_NULL;
}

void* AAX_CEffectGUI::GetViewContainerPtr() const {
    return container_ != nullptr ? container_->GetPtr() : nullptr;
}
