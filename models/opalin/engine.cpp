#include "engine.h"

#include <algorithm>
#include <cmath>

namespace classic {

Engine::Engine()
    : LevelingEngine({definitions, model.mixId, model.bypassId, model.shimmerId, updatePeriod}) {}

void Engine::configure() noexcept {
    const float* current = frame.current;
    const double fos = frame.fos;
    frame.inputGain = std::pow(10.0, current[inputTrim] / 20.0);
    // Gain 50 is unity, 100 is 32 times (+30.1 dB), 25 is 1/32, 0 mutes the processed path.
    frame.outputGain = std::pow(std::max(static_cast<double>(current[gain]), 0.0) / 50.0, 5.0) *
                       std::pow(10.0, current[outputTrim] / 20.0);
    frame.postGain = 1.0;

    LevelingSettings& s = cell.settings;
    s.threshold = 5.0 - 0.65 * current[peakReduction]; // +5 dB at 0, -60 dB at 100
    const bool limited = frame.targets[limit] > 0.5f;
    s.ratio = limited ? 15.0 : 3.0;
    s.knee = limited ? 5.0 : 12.0;
    s.attack = timeCoefficient(fos, 0.010);
    s.release = timeCoefficient(fos, 0.060);
    s.fall = timeCoefficient(fos, 2.5);
    s.link = 0.01 * current[stereoLink];
    s.highPass = 0.0;

    frame.input.set(0.62, 0.035);
    frame.output.set(0.4, 0.018);
}

} // namespace classic
