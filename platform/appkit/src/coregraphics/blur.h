#pragma once
// Gaussian blur of an 8-bit alpha mask, approximated by three box blurs (within a few percent
// of a true Gaussian of the same standard deviation).

#include <cstddef>

namespace cg {
void blurAlpha(unsigned char* data, int width, int height, int stride, double sigma);
}
