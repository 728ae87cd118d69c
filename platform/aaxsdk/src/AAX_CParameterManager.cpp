#include <AAX/AAX_CParameterManager.h>

#include <cstring>

void AAX_CParameterManager::Initialize(AAX_IAutomationDelegate* automation) {
    automation_ = automation;
    for (const auto& parameter : parameters_) {
        parameter->SetAutomationDelegate(automation);
    }
}

void AAX_CParameterManager::AddParameter(AAX_IParameter* parameter) {
    if (parameter == nullptr) {
        return;
    }
    parameters_.emplace_back(parameter);
    parameter->SetAutomationDelegate(automation_);
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier) const {
    if (identifier == nullptr) {
        return nullptr;
    }
    for (const auto& parameter : parameters_) {
        if (std::strcmp(parameter->Identifier(), identifier) == 0) {
            return parameter.get();
        }
    }
    return nullptr;
}

AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index) const {
    return index >= 0 && index < NumParameters()
               ? parameters_[static_cast<std::size_t>(index)].get()
               : nullptr;
}
