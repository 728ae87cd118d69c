#pragma once
// AAX_ITaperDelegate: how a parameter maps its normalised value (0 to 1, what the host
// stores and automates) to its real value (what the plug-in works with), and back.
//
// Promises of every taper: NormalizedToReal takes any normalised value (clamped to 0..1, NaN
// as 0) and returns a real value within [minimum, maximum]; RealToNormalized takes any real
// value (constrained first) and returns a value within 0..1.

template <typename T> class AAX_ITaperDelegate {
public:
    virtual ~AAX_ITaperDelegate() = default;

    // [any thread]
    virtual AAX_ITaperDelegate* Clone() const = 0;
    virtual T GetMinimumValue() const = 0;
    virtual T GetMaximumValue() const = 0;
    // The value clamped to [minimum, maximum] and rounded to the taper's precision; NaN gives
    // the minimum.
    virtual T ConstrainRealValue(T value) const = 0;
    virtual T NormalizedToReal(double normalized) const = 0;
    virtual double RealToNormalized(T real) const = 0;
};
