// The stretch's filter sums, on both paths (the baseline and, where the processor has it, AVX2),
// against the sums taken one at a time in the filter's order: equal bit for bit. The values
// span many magnitudes, so a sum taken in another order would differ in its last bits.

#include "engine/filter_sums.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

using classic::filterTaps;
using classic::inputHistory;
using classic::lineHistory;
using classic::lineRows;
using classic::oversampling;
using classic::stretchFrames;

struct Values {
    std::uint32_t state = 0x2545F491u;
    double next() {
        state = state * 1664525u + 1013904223u;
        const double unit = static_cast<double>(state) / 4294967296.0 - 0.5;
        return std::ldexp(unit, static_cast<int>(state % 23) - 11);
    }
};

struct Path {
    const char* name;
    classic::simd::Path path;
};

const Path paths[] = {
    {"baseline", classic::simd::Path::baseline},
    {"avx2", classic::simd::Path::avx2},
};

TEST(FilterSums, EqualTheSumsTakenOneAtATime) {
    Values values;
    double taps[filterTaps];
    for (double& tap : taps)
        tap = values.next();
    double input[inputHistory + stretchFrames][2];
    for (auto& pair : input)
        pair[0] = values.next(), pair[1] = values.next();
    double line[oversampling][lineRows][2];
    for (unsigned t = 0; t < oversampling * lineRows; ++t)
        for (unsigned c = 0; c < 2; ++c)
            line[t % oversampling][t / oversampling][c] = values.next();

    for (const Path& path : paths) {
        if (!classic::simd::available(path.path))
            continue;
        for (unsigned frames = 1; frames <= stretchFrames; ++frames) {
            double filtered[2 * oversampling * stretchFrames];
            classic::interpolateStretch(taps, input, frames, filtered, path.path);
            for (unsigned i = 0; i < frames; ++i)
                for (unsigned k = 0; k < oversampling; ++k)
                    for (unsigned c = 0; c < 2; ++c) {
                        double sum = 0.0;
                        for (unsigned j = k, m = 0; j < filterTaps; j += oversampling, ++m)
                            sum += taps[j] * input[inputHistory + i - m][c];
                        ASSERT_EQ(filtered[2 * (oversampling * i + k) + c], sum)
                            << path.name << " frames " << frames << " frame " << i << " k " << k;
                    }
        }
        double wet[stretchFrames][2];
        classic::decimateStretch(taps, line, wet, path.path);
        for (unsigned i = 0; i < stretchFrames; ++i)
            for (unsigned c = 0; c < 2; ++c) {
                double sum = 0.0;
                for (unsigned j = 0; j < filterTaps; ++j) {
                    const unsigned t = lineHistory + oversampling * i - j;
                    sum += taps[j] * line[t % oversampling][t / oversampling][c];
                }
                ASSERT_EQ(wet[i][c], sum) << path.name << " frame " << i;
            }
    }
}

} // namespace
