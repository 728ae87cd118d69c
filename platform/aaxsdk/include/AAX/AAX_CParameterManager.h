#pragma once
// AAX_CParameterManager: the parameters of one effect, in the order they were added.
//
// Promises: AddParameter takes ownership (a null parameter is ignored) and connects the
// parameter to the host's automation delegate; the parameters live as long as the manager,
// through Uninitialize and a later Initialize. GetParameterByID finds the first parameter
// added under an identifier, or null.

#include <AAX/AAX_IParameter.h>

#include <memory>
#include <vector>

class AAX_CParameterManager {
public:
    // [main thread] The host's delegate for every parameter, present and future (may be null).
    void Initialize(AAX_IAutomationDelegate* automation);

    // [main thread]
    void AddParameter(AAX_IParameter* parameter);
    AAX_IParameter* GetParameterByID(AAX_CParamID identifier) const;
    int32_t NumParameters() const { return static_cast<int32_t>(parameters_.size()); }
    AAX_IParameter* GetParameter(int32_t index) const; // null outside 0..NumParameters()-1

private:
    std::vector<std::unique_ptr<AAX_IParameter>> parameters_;
    AAX_IAutomationDelegate* automation_ = nullptr;
};
