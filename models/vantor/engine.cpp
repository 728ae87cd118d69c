#include "engine.h"

#include "step_index.h"

#include <algorithm>
#include <cmath>

namespace classic {

Engine::Engine()
    : LevelingEngine({definitions, model.mixId, model.bypassId, model.shimmerId, updatePeriod}) {}

void Engine::configure() noexcept {
    const float* current = frame.current;
    const float* targets = frame.targets;
    const double fos = frame.fos;
    LevelingSettings& s = cell.settings;

    frame.inputGain = std::pow(10.0, current[inputTrim] / 20.0);
    frame.outputGain = std::pow(10.0, current[makeup] / 20.0);
    frame.postGain = 1.0;
    s.threshold = current[threshold];
    const unsigned r = stepIndex(targets[ratio], 2);
    s.ratio = vantorRatio[r];
    s.knee = vantorKneeDB[r];
    const double attackSeconds = vantorAttackSeconds[stepIndex(targets[attack], 5)];
    const double releaseSeconds = vantorReleaseSeconds[stepIndex(targets[release], 4)];
    s.attack = timeCoefficient(fos, std::max(attackSeconds, 1e-5));
    s.release = timeCoefficient(fos, std::max(releaseSeconds, 1e-5));
    s.fall = timeCoefficient(fos, 12.0);
    s.link = 0.01 * current[stereoLink];
    const double corner = vantorSidechainHz[stepIndex(targets[sidechainHighPass], 4)];
    s.highPass = corner == 0 ? 0.0 : std::exp(-2.0 * M_PI * corner / fos);

    // a = 0: the stage law is tanh(k x)/k, a very gentle saturation at these drives.
    frame.input.set(0.12, 0.0);
    frame.output.set(0.1, 0.0);
}

} // namespace classic
