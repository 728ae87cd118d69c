#pragma once
// The render itself: a source through an initialised instance into an output file, block by
// block through its process procedure on a render thread of its own while the file is read
// and written beside it (streaming_render.h), the host's transport told before each block,
// and the automation points applied by the main thread at their frames (the render pauses
// there; the block is cut at the point).

#include "aax_options.h"
#include "audio_file_writer.h"
#include "audio_source.h"

#include <AAXHost/Instance.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kelvohost {

struct AutomationPoint {
    std::size_t frame = 0;
    std::string identifier;
    double normalized = 0.0;
};

// Renders source through the instance (initialised for its rate and channel count) in blocks
// of at most block frames and writes what it renders to output (not committed). Points at
// frames past the end are not reached. framesDone follows the frames written for progress
// reports; whileWaiting runs on the calling thread meanwhile. Throws InputError when reading
// or writing fails.
// [main thread] (the process calls run on a thread of their own)
void renderThroughBridge(aaxhost::Instance& instance, AudioSource& source, AudioFileWriter& output,
                         unsigned block, const TransportOptions& transport,
                         const std::vector<AutomationPoint>& points,
                         std::atomic<std::size_t>& framesDone,
                         const std::function<void()>& whileWaiting);

} // namespace kelvohost
