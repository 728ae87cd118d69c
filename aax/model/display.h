#pragma once
// kelvoaax::Display: how a mirrored parameter's real value reads in the host. Stepped
// parameters show the unit's value strings (a Boolean one "Off" and "On"); the others show the
// value with two decimals and the unit's symbol ("50.00 %", "-3.50 dB", "12.00").

#include "backend/au_backend.h"

#include <AAX/AAX_IDisplayDelegate.h>

#include <string>
#include <vector>

namespace kelvoaax {

class Display final : public AAX_IDisplayDelegate<double> {
public:
    explicit Display(const Parameter& parameter);

    Display* Clone() const override { return new Display(*this); }
    bool ValueToString(double value, AAX_CString* valueString) const override;
    bool ValueToString(double value, int32_t maxNumChars, AAX_CString* valueString) const override;
    // A value string (exactly) gives minimum + its index; otherwise the number the text starts
    // with ("12.5 dB" reads 12.5); false for no number or one that is not finite.
    bool StringToValue(const AAX_CString& valueString, double* value) const override;

private:
    std::vector<std::string> valueStrings_;
    double minValue_;
    std::string suffix_;
};

} // namespace kelvoaax
