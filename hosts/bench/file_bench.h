#pragma once
// BM_RenderFile/<model>: what kelvo-render does with a file, timed whole: a 60 s stereo 16-bit
// WAV at 48 kHz read, rendered in 512-frame calls and written as a new float WAV beside it
// (temporary file, then renamed), with the threads the host uses. Its x_realtime
// beside BM_Render/<model>/48000/2/512's tells the time spent outside the render calls.

#include "component_loader.h"

#include <string>

namespace kelvohost {

void registerFileBenchmark(const std::string& model, const LoadedComponent* component);

} // namespace kelvohost
