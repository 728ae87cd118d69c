#pragma once
// Hosts render on a thread of their own, as a host's audio thread would, while the main
// thread stays free for control calls and progress reports.

#include <chrono>
#include <functional>

namespace kelvohost {

// Runs job on a new thread and returns when it is done. While it runs, the calling thread
// calls whileWaiting (if given) every interval. An exception thrown by job is rethrown here.
// [main thread]
void runOnRenderThread(const std::function<void()>& job,
                       const std::function<void()>& whileWaiting = {},
                       std::chrono::milliseconds interval = std::chrono::milliseconds(100));

} // namespace kelvohost
