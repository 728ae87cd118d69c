#pragma once
// Test signals and measurements shared by the dynamics models' engine tests: sines at a dBFS
// level, and the gain-reduction trace of a 1 kHz sine stepping from -40 to -6 dBFS and back.

#include <cmath>
#include <cstddef>
#include <vector>

namespace dynamicstest {

inline constexpr double sampleRate = 48000;

inline double amplitude(double dBFS) {
    return std::pow(10.0, dBFS / 20.0);
}

inline double sine(double dBFS, double hertz, std::size_t frame) {
    return amplitude(dBFS) * std::sin(2.0 * M_PI * hertz * static_cast<double>(frame) / sampleRate);
}

// Left-channel gain reduction (dB) per host frame while a 1 kHz sine plays at -40 dBFS for
// `quiet` seconds, at -6 dBFS for `loud` seconds, then at -40 dBFS for `after` seconds.
struct StepTrace {
    std::vector<double> reduction;
    std::vector<double> memory;
    std::size_t onset = 0; // first loud frame
    std::size_t drop = 0;  // first quiet frame after the loud part
};

template <class Engine>
StepTrace stepTrace(Engine& engine, double quiet, double loud, double after) {
    StepTrace trace;
    trace.onset = static_cast<std::size_t>(quiet * sampleRate);
    trace.drop = trace.onset + static_cast<std::size_t>(loud * sampleRate);
    const std::size_t end = trace.drop + static_cast<std::size_t>(after * sampleRate);
    for (std::size_t i = 0; i < end; ++i) {
        const double level = i >= trace.onset && i < trace.drop ? -6.0 : -40.0;
        const double x = sine(level, 1000.0, i);
        engine.tick(x, x, 2);
        trace.reduction.push_back(engine.frame.gainReduction[0]);
        trace.memory.push_back(engine.cellChannel(0).memory);
    }
    return trace;
}

// Plays a sine for `seconds` (on the left only when `leftOnly`), from frame `start` of its
// own time line; returns the frame after the last.
template <class Engine>
std::size_t play(Engine& engine, double dBFS, double hertz, double seconds, std::size_t start = 0,
                 bool leftOnly = false) {
    const std::size_t end = start + static_cast<std::size_t>(seconds * sampleRate);
    for (std::size_t i = start; i < end; ++i) {
        const double x = sine(dBFS, hertz, i);
        engine.tick(x, leftOnly ? 0.0 : x, 2);
    }
    return end;
}

// Seconds from `from` until the trace first reaches `fraction` of the way from its value at
// `from` to `goal`.
inline double timeToFraction(const std::vector<double>& trace, std::size_t from, double goal,
                             double fraction) {
    const double start = trace[from];
    const double mark = start + fraction * (goal - start);
    for (std::size_t i = from; i < trace.size(); ++i) {
        if ((goal > start && trace[i] >= mark) || (goal < start && trace[i] <= mark)) {
            return static_cast<double>(i - from) / sampleRate;
        }
    }
    return INFINITY;
}

// Mean of a trace over [from, from + seconds), which smooths the 2 kHz ripple a sine leaves.
inline double mean(const std::vector<double>& trace, std::size_t from, double seconds) {
    const std::size_t n = static_cast<std::size_t>(seconds * sampleRate);
    double sum = 0;
    for (std::size_t i = from; i < from + n; ++i) {
        sum += trace[i];
    }
    return sum / static_cast<double>(n);
}

} // namespace dynamicstest
