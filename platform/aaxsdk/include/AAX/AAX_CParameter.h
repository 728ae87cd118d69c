#pragma once
// AAX_CParameter<T>: the SDK's parameter, for T = double (the only type built).
//
// Promises: the identifier and name are copied; the taper and display delegates are cloned,
// so the caller keeps its own; the value starts at the default (constrained by the taper).
// SetNumberOfSteps and SetType set what the host shows (until then 10001 steps, continuous).
// Touch and Release of a parameter that is not automatable are not sent to the host.

#include <AAX/AAX_IDisplayDelegate.h>
#include <AAX/AAX_IParameter.h>
#include <AAX/AAX_ITaperDelegate.h>

#include <memory>
#include <string>

template <typename T> class AAX_CParameter final : public AAX_IParameter {
public:
    AAX_CParameter(AAX_CParamID identifier, const AAX_CString& name, T defaultValue,
                   const AAX_ITaperDelegate<T>& taper, const AAX_IDisplayDelegate<T>& display,
                   bool automatable);
    ~AAX_CParameter() override;

    AAX_CParamID Identifier() const override { return identifier_.c_str(); }
    const AAX_CString& Name() const override { return name_; }
    bool IsAutomatable() const override { return automatable_; }
    uint32_t GetNumberOfSteps() const override { return steps_; }
    AAX_EParameterType GetType() const override { return type_; }
    double GetNormalizedValue() const override { return normalized_; }
    double GetNormalizedDefaultValue() const override { return normalizedDefault_; }
    double NormalizedToReal(double normalized) const override;
    double RealToNormalized(double real) const override;
    bool NormalizedToString(double normalized, int32_t maxNumChars,
                            AAX_CString* text) const override;
    bool StringToReal(const AAX_CString& text, double* real) const override;

    void SetNormalizedValue(double normalized) override;
    void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) override {
        automation_ = delegate;
    }

    void SetNumberOfSteps(uint32_t steps) override { steps_ = steps; }
    void SetType(AAX_EParameterType type) override { type_ = type; }
    bool GetValueAsDouble(double* value) const override;
    void SetValueWithDouble(double value) override;
    void Touch() override;
    void Release() override;

private:
    std::string identifier_;
    AAX_CString name_;
    std::unique_ptr<AAX_ITaperDelegate<T>> taper_;
    std::unique_ptr<AAX_IDisplayDelegate<T>> display_;
    bool automatable_;
    uint32_t steps_ = 10001;
    AAX_EParameterType type_ = AAX_eParameterType_Continuous;
    double normalized_;
    double normalizedDefault_;
    AAX_IAutomationDelegate* automation_ = nullptr;
};

extern template class AAX_CParameter<double>;
