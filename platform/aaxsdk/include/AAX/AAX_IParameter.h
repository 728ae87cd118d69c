#pragma once
// AAX_IParameter: one effect parameter, as the host and the plug-in see it.
//
// A parameter holds its normalised value (0 to 1); its taper gives the real value and its
// display delegate the text. The host changes the value only through the effect's
// UpdateParameterNormalizedValue (which calls SetNormalizedValue); the plug-in asks for a
// change with SetValueWithDouble, which goes to the host as a request, so the host records it
// as automation and answers it through UpdateParameterNormalizedValue. Without a host
// delegate (AAX_CParameterManager::Initialize) the plug-in's change applies at once.

#include <AAX/AAX.h>
#include <AAX/AAX_CString.h>

class AAX_IAutomationDelegate;

class AAX_IParameter {
public:
    virtual ~AAX_IParameter() = default;

    // ---- What the host reads [main thread] ------------------------------------------------
    virtual AAX_CParamID Identifier() const = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual bool IsAutomatable() const = 0;
    virtual uint32_t GetNumberOfSteps() const = 0;
    virtual AAX_EParameterType GetType() const = 0;
    virtual double GetNormalizedValue() const = 0;
    virtual double GetNormalizedDefaultValue() const = 0;
    // The taper, both ways.
    virtual double NormalizedToReal(double normalized) const = 0;
    virtual double RealToNormalized(double real) const = 0;
    // The display delegate's text of the real value at that normalised value; false when it
    // has none. maxNumChars < 0: no limit.
    virtual bool NormalizedToString(double normalized, int32_t maxNumChars,
                                    AAX_CString* text) const = 0;
    // The display delegate's reading of a text: the real value it names (not yet constrained
    // by the taper, so the host can refuse one out of range); false when it reads none.
    virtual bool StringToReal(const AAX_CString& text, double* real) const = 0;

    // ---- What the host changes [main thread] ----------------------------------------------
    // Applies the host's value (clamped to 0..1, NaN ignored); asks the host nothing.
    virtual void SetNormalizedValue(double normalized) = 0;
    // Where SetValueWithDouble, Touch and Release go (null: nowhere, values apply at once).
    virtual void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) = 0;

    // ---- What the plug-in uses [main thread] ----------------------------------------------
    virtual void SetNumberOfSteps(uint32_t steps) = 0;
    virtual void SetType(AAX_EParameterType type) = 0;
    // The real value; false when there is none to give.
    virtual bool GetValueAsDouble(double* value) const = 0;
    // Asks the host to set the real value (constrained by the taper).
    virtual void SetValueWithDouble(double value) = 0;
    virtual void Touch() = 0;   // the user began changing it
    virtual void Release() = 0; // the user stopped
};
