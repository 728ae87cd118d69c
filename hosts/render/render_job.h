#pragma once
// The render itself: the whole input through an initialised unit, block by block, on a render
// thread of its own while the main thread reports progress.

#include "audio_file.h"
#include "hosted_unit.h"

#include <atomic>
#include <cstddef>
#include <functional>

namespace kelvohost {

// Renders input through unit (configured for its rate and channel count, initialised) in
// blocks of at most block frames; returns the output, the same shape as the input. Throws
// UnitError when a render call fails. framesDone follows the render for progress reports.
// [main thread] (the render calls run on a thread of their own)
AudioData renderThroughUnit(HostedUnit& unit, const AudioData& input, unsigned block,
                            std::atomic<std::size_t>& framesDone,
                            const std::function<void()>& whileWaiting);

} // namespace kelvohost
