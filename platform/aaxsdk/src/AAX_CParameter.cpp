#include <AAX/AAX_CParameter.h>

#include <AAX/AAX_IAutomationDelegate.h>

#include <cmath>

template <typename T>
AAX_CParameter<T>::AAX_CParameter(AAX_CParamID identifier, const AAX_CString& name, T defaultValue,
                                  const AAX_ITaperDelegate<T>& taper,
                                  const AAX_IDisplayDelegate<T>& display, bool automatable)
    : identifier_(identifier != nullptr ? identifier : ""), name_(name), taper_(taper.Clone()),
      display_(display.Clone()), automatable_(automatable),
      normalized_(taper_->RealToNormalized(defaultValue)), normalizedDefault_(normalized_) {}

template <typename T> AAX_CParameter<T>::~AAX_CParameter() = default;

template <typename T> double AAX_CParameter<T>::NormalizedToReal(double normalized) const {
    return static_cast<double>(taper_->NormalizedToReal(normalized));
}

template <typename T> double AAX_CParameter<T>::RealToNormalized(double real) const {
    return taper_->RealToNormalized(static_cast<T>(real));
}

template <typename T>
bool AAX_CParameter<T>::NormalizedToString(double normalized, int32_t maxNumChars,
                                           AAX_CString* text) const {
    if (text == nullptr) {
        return false;
    }
    const T real = taper_->NormalizedToReal(normalized);
    return maxNumChars < 0 ? display_->ValueToString(real, text)
                           : display_->ValueToString(real, maxNumChars, text);
}

template <typename T>
bool AAX_CParameter<T>::StringToReal(const AAX_CString& text, double* real) const {
    T value{};
    if (real == nullptr || !display_->StringToValue(text, &value)) {
        return false;
    }
    *real = static_cast<double>(value);
    return true;
}

template <typename T> void AAX_CParameter<T>::SetNormalizedValue(double normalized) {
    if (!std::isnan(normalized)) {
        normalized_ = normalized < 0.0 ? 0.0 : normalized > 1.0 ? 1.0 : normalized;
    }
}

template <typename T> bool AAX_CParameter<T>::GetValueAsDouble(double* value) const {
    if (value == nullptr) {
        return false;
    }
    *value = static_cast<double>(taper_->NormalizedToReal(normalized_));
    return true;
}

template <typename T> void AAX_CParameter<T>::SetValueWithDouble(double value) {
    const double normalized = taper_->RealToNormalized(static_cast<T>(value));
    if (automation_ != nullptr) {
        automation_->PostSetValueRequest(identifier_.c_str(), normalized);
    } else {
        normalized_ = normalized;
    }
}

template <typename T> void AAX_CParameter<T>::Touch() {
    if (automation_ != nullptr && automatable_) {
        automation_->PostTouchRequest(identifier_.c_str());
    }
}

template <typename T> void AAX_CParameter<T>::Release() {
    if (automation_ != nullptr && automatable_) {
        automation_->PostReleaseRequest(identifier_.c_str());
    }
}

template class AAX_CParameter<double>;
