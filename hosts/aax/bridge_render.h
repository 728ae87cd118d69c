#pragma once
// The render itself: the whole input through an initialised instance, block by block through
// its process procedure on a render thread of its own, the host's transport told before each
// block, and the automation points applied by the main thread at their frames (the render
// pauses there; the block is cut at the point).

#include "aax_options.h"
#include "audio_file.h"

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

// Renders input through the instance (initialised for its rate and channel count) in blocks of
// at most block frames; returns the output, the same shape as the input. Points at frames past
// the end are not reached. framesDone follows the render for progress reports.
// [main thread] (the process calls run on a thread of their own)
AudioData renderThroughBridge(aaxhost::Instance& instance, const AudioData& input, unsigned block,
                              const TransportOptions& transport,
                              const std::vector<AutomationPoint>& points,
                              std::atomic<std::size_t>& framesDone,
                              const std::function<void()>& whileWaiting);

} // namespace kelvohost
