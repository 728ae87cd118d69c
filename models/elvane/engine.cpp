#include "engine.h"

#include "step_index.h"

#include <cmath>

namespace classic {

Engine::Engine()
    : LevelingEngine({definitions, model.mixId, model.bypassId, model.shimmerId, updatePeriod}) {}

void Engine::configure() noexcept {
    const float* current = frame.current;
    const double fos = frame.fos;
    LevelingSettings& s = cell.settings;

    const double corner = sidechainHighPassHz[stepIndex(frame.targets[sidechainHighPass], 3)];
    s.highPass = corner == 0 ? 0.0 : std::exp(-2.0 * M_PI * corner / fos);
    frame.inputGain = std::pow(10.0, current[inputTrim] / 20.0);
    frame.outputGain = std::pow(10.0, current[outputTrim] / 20.0);
    frame.postGain = 1.0;
    s.link = 0.01 * current[stereoLink];
    s.threshold = -18.0;
    s.knee = 14.0;
    s.attack = timeCoefficient(fos, 0.0007);
    s.release = timeCoefficient(fos, 0.1);
    s.fall = timeCoefficient(fos, 2.0);

    frame.input.set(0.7, 0.018);
    frame.output.set(0.48, -0.015);
}

} // namespace classic
