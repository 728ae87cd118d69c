#pragma once
// AAX_IAutomationDelegate: the host's side of a parameter. A parameter's SetValueWithDouble,
// Touch and Release become requests here; the host records them as automation and answers a
// set request by calling the effect's UpdateParameterNormalizedValue (at once or later).

#include <AAX/AAX.h>

class AAX_IAutomationDelegate {
public:
    virtual ~AAX_IAutomationDelegate() = default;

    // [main thread]
    virtual AAX_Result PostSetValueRequest(AAX_CParamID parameter, double normalizedValue) = 0;
    virtual AAX_Result PostTouchRequest(AAX_CParamID parameter) = 0;   // a gesture begins
    virtual AAX_Result PostReleaseRequest(AAX_CParamID parameter) = 0; // a gesture ends
};
