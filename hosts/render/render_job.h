#pragma once
// The render itself: a source through an initialised unit into an output file, block by
// block on a render thread of its own while the main thread stays free, so memory stays the
// same however long the audio is.

#include "audio_file_writer.h"
#include "audio_source.h"
#include "hosted_unit.h"

#include <atomic>
#include <cstddef>
#include <functional>

namespace kelvohost {

// Renders source through unit (configured for its rate and channel count, initialised) in
// calls of at most block frames and writes what it renders to output. framesDone follows the
// render for progress reports; whileWaiting runs on the calling thread meanwhile. Throws
// UnitError when a render call fails and InputError when reading or writing fails; the output
// is not committed then.
// [main thread] (reading, rendering and writing run on a thread of their own)
void renderToFile(HostedUnit& unit, AudioSource& source, AudioFileWriter& output, unsigned block,
                  std::atomic<std::size_t>& framesDone, const std::function<void()>& whileWaiting);

} // namespace kelvohost
