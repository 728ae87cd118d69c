#pragma once
// BM_RenderFile/<model>: what kelvo-render does with a file, timed whole: a 60 s stereo 16-bit
// WAV at 48 kHz read, rendered in 512-frame calls and written as a new float WAV beside it
// (temporary file, then renamed), with the threads the host uses. Its wall time less its
// render_ms_per_file is the time the host spends outside the unit's render calls; set beside
// BM_Render/<model>/48000/2/512 in the same run, render_ms_per_file also shows how much the
// render calls themselves slow while the reading and writing threads share the machine.

#include "component_loader.h"

#include <string>

namespace kelvohost {

void registerFileBenchmark(const std::string& model, const LoadedComponent* component);

} // namespace kelvohost
