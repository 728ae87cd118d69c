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

    const double corner = mirethSidechainHz[stepIndex(targets[sidechainHighPass], 3)];
    s.highPass = corner == 0 ? 0.0 : std::exp(-2.0 * M_PI * corner / fos);
    frame.inputGain = std::pow(10.0, current[inputTrim] / 20.0);
    frame.outputGain = std::pow(10.0, current[outputTrim] / 20.0);
    frame.postGain = 1.0;
    s.link = 0.01 * current[stereoLink];
    s.threshold = -18.0;
    s.knee = 14.0;

    const double rec = mirethRecoverySeconds[stepIndex(targets[recovery], 5)];
    const unsigned m = stepIndex(targets[mode], 2);
    s.attack = timeCoefficient(fos, mirethAttackSeconds[m]);
    s.release = timeCoefficient(fos, std::max((m == modeFast ? 0.3 : 1.0) * rec, 1e-5));
    s.fall = timeCoefficient(fos, std::max(4.0 * rec, 1e-5));

    frame.input.set(0.8, 0.06);
    frame.output.set(0.38, -0.025);
}

} // namespace classic
