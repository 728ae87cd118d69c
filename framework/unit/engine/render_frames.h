#pragma once
// Many host frames through the frame and the model's hooks, with the results of tickFrame
// frame by frame, bit for bit, but a shape that keeps the processor busy: the filter sums,
// which are long chains of dependent additions, are taken out of the substep loop and summed
// for a run of frames side by side.
//
//   1. the run's inputs are sanitised, fed to the dry path and the interpolation rings;
//   2. every interpolation output of the run (4 per frame and channel) is summed, in the
//      filter's own order, from a straight copy of the input history;
//   3. the substeps run in order as in tickFrame, the decimation line fed as usual but not
//      summed, its inputs also kept in a straight copy;
//   4. the decimation output of every frame is summed from that copy, in the filter's order;
//   5. mix, bypass (as the frame's last substep left them), sanitising and meters, in order.
//
// The rings end exactly as tickFrame leaves them, so both can be mixed freely. A model opts in
// by offering render(); its hooks and configure must be reachable from here.

#include "engine/frame.h"

#include <algorithm>

namespace classic {

inline constexpr unsigned renderRun = 32; // frames summed side by side

// [render thread] frames host frames from in[0], in[1] into out[0], out[1] (channels 1: in[1]
// and out[1] are ignored and may be null).
template <class Engine>
void renderFrames(Engine& engine, const float* const in[2], float* const out[2], unsigned frames,
                  unsigned channels) noexcept {
    auto& f = engine.frame;
    constexpr unsigned inputHistory = 16;   // host frames a substep's sum reaches back
    constexpr unsigned lineHistory = 64;    // substeps the decimation sum reaches back
    double x[2][inputHistory + renderRun];  // sanitised inputs, oldest first
    double filtered[renderRun][oversampling][2];
    double line[2][lineHistory + oversampling * renderRun];
    double dryValue[renderRun][2];
    double mixAt[renderRun], bypassAt[renderRun];

    for (unsigned start = 0; start < frames; start += renderRun) {
        const unsigned n = std::min(renderRun, frames - start);

        // 1. Histories as straight arrays, then the run's inputs.
        for (unsigned c = 0; c < 2; ++c) {
            const Interpolator& ring = f.interpolation[c];
            for (unsigned m = 0; m < inputHistory; ++m) {
                x[c][inputHistory - 1 - m] = ring.history[ring.index + dryRingLength - m];
            }
            const Decimator& decimator = f.decimation[c];
            for (unsigned j = 1; j <= lineHistory; ++j) {
                line[c][lineHistory - j] = decimator.line[decimator.index + filterTaps - j];
            }
        }
        for (unsigned i = 0; i < n; ++i) {
            const double left = f.sanitize(in[0][start + i]);
            const double sample[2] = {left, channels == 1 ? left : f.sanitize(in[1][start + i])};
            f.dryPath(sample, dryValue[i]);
            for (unsigned c = 0; c < 2; ++c) {
                f.interpolation[c].push(sample[c]);
                x[c][inputHistory + i] = sample[c];
            }
        }

        // 2. Interpolation: substep k meets taps k, k + 4, ... against the last host inputs.
        for (unsigned i = 0; i < n; ++i) {
            double sum[oversampling][2] = {};
            for (unsigned m = 0; m <= inputHistory; ++m) {
                for (unsigned k = 0; k < oversampling; ++k) {
                    const unsigned j = oversampling * m + k;
                    if (j < filterTaps) {
                        for (unsigned c = 0; c < 2; ++c) {
                            sum[k][c] += f.taps[j] * x[c][inputHistory + i - m];
                        }
                    }
                }
            }
            for (unsigned k = 0; k < oversampling; ++k) {
                filtered[i][k][0] = sum[k][0];
                filtered[i][k][1] = sum[k][1];
            }
        }

        // 3. The substeps, in order.
        for (unsigned i = 0; i < n; ++i) {
            for (unsigned k = 0; k < oversampling; ++k) {
                f.smooth();
                if (f.updateDue()) {
                    engine.configure();
                }
                double y[2];
                for (unsigned c = 0; c < 2; ++c) {
                    y[c] = engine.firstHalf(c, f.inputStageFrom(c, filtered[i][k][c]));
                }
                engine.between();
                for (unsigned c = 0; c < 2; ++c) {
                    const double z = f.wetStage(c, engine.secondHalf(c, y[c]));
                    f.decimation[c].push(z);
                    f.decimation[c].advance();
                    line[c][lineHistory + oversampling * i + k] = z;
                }
            }
            mixAt[i] = f.mix;
            bypassAt[i] = f.bypass;
        }

        // 4 and 5. Decimation at each frame's first substep, then the crossfades and meters.
        for (unsigned i = 0; i < n; ++i) {
            double wet[2] = {0, 0};
            const unsigned newest = lineHistory + oversampling * i;
            for (unsigned j = 0; j < filterTaps; ++j) {
                for (unsigned c = 0; c < 2; ++c) {
                    wet[c] += f.taps[j] * line[c][newest - j];
                }
            }
            const double outLeft = f.finishWith(0, x[0][inputHistory + i], dryValue[i][0],
                                                wet[0], mixAt[i], bypassAt[i]);
            const double outRight = f.finishWith(1, x[1][inputHistory + i], dryValue[i][1],
                                                 wet[1], mixAt[i], bypassAt[i]);
            out[0][start + i] = static_cast<float>(outLeft);
            if (channels == 2) {
                out[1][start + i] = static_cast<float>(outRight);
            }
        }
    }
}

} // namespace classic
