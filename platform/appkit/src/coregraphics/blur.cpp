// Three successive box blurs: each a running sum along rows, then along columns.

#include "blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace cg {
namespace {

// Box widths whose three passes give a Gaussian of standard deviation sigma (the usual
// construction: boxes of widths wl and wl + 2 in proportions that match the variance).
void boxSizes(double sigma, int sizes[3]) {
    const double ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
    int wl = static_cast<int>(std::floor(ideal));
    if (wl % 2 == 0) {
        --wl;
    }
    const int wu = wl + 2;
    const double mIdeal = (12 * sigma * sigma - 3.0 * wl * wl - 12.0 * wl - 9) / (-4.0 * wl - 4);
    const int m = static_cast<int>(std::lround(mIdeal));
    for (int i = 0; i < 3; ++i) {
        sizes[i] = i < m ? wl : wu;
    }
}

// One pass of a box of half-width r over n samples spaced step apart; edges count as zero
// (outside the mask there is no shape).
void boxLine(unsigned char* line, int n, int step, int r, std::vector<unsigned>& scratch) {
    if (r <= 0) {
        return;
    }
    scratch.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        scratch[static_cast<std::size_t>(i)] = line[i * step];
    }
    const unsigned width = static_cast<unsigned>(2 * r + 1);
    unsigned sum = 0;
    for (int i = 0; i <= r && i < n; ++i) {
        sum += scratch[static_cast<std::size_t>(i)];
    }
    for (int i = 0; i < n; ++i) {
        line[i * step] = static_cast<unsigned char>((sum + width / 2) / width);
        const int add = i + r + 1;
        const int drop = i - r;
        if (add < n) {
            sum += scratch[static_cast<std::size_t>(add)];
        }
        if (drop >= 0) {
            sum -= scratch[static_cast<std::size_t>(drop)];
        }
    }
}

} // namespace

void blurAlpha(unsigned char* data, int width, int height, int stride, double sigma) {
    if (sigma <= 0.05 || width <= 0 || height <= 0) {
        return;
    }
    // Kept between calls: shadows are drawn every frame and should not allocate every time.
    thread_local std::vector<unsigned> scratch;
    int sizes[3];
    boxSizes(sigma, sizes);
    for (int pass = 0; pass < 3; ++pass) {
        const int r = (sizes[pass] - 1) / 2;
        for (int y = 0; y < height; ++y) {
            boxLine(data + y * stride, width, 1, r, scratch);
        }
        for (int x = 0; x < width; ++x) {
            boxLine(data + x, height, stride, r, scratch);
        }
    }
}

} // namespace cg
