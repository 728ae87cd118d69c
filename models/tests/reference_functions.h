#pragma once
// The functions the plain transcriptions share with the engines: the faithfully rounded tanh,
// log10, 10^x (and 10^(-G/20)) and e^x. The transcriptions call them by these names wherever
// the laws take a hyperbolic tangent, a decibel level, a gain or a time constant's
// exponential, so the comparisons with the engines can be exact; everything around them stays
// their own.
// Coefficients fixed by the sample rate keep the C library's exp, as the engines do.

#include "engine/exp10.h"
#include "engine/log10.h"
#include "engine/tanh.h"

namespace reference {

inline double tanh(double x) {
    return classic::tanhScalar(x);
}
inline double log10(double x) {
    return classic::log10Scalar(x);
}
inline double exp10(double x) {
    return classic::exp10Scalar(x);
}
// 10^(-G/20), the gain of a reduction by G dB, computed from G itself.
inline double attenuation(double G) {
    return classic::attenuationScalar(G);
}
inline double exp(double x) {
    return classic::expScalar(x);
}

} // namespace reference
