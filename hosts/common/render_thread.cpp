#include "render_thread.h"

#include <exception>
#include <future>
#include <thread>

namespace kelvohost {

void runOnRenderThread(const std::function<void()>& job, const std::function<void()>& whileWaiting,
                       std::chrono::milliseconds interval) {
    std::packaged_task<void()> task(job);
    std::future<void> done = task.get_future();
    std::thread renderThread(std::move(task));
    while (done.wait_for(interval) != std::future_status::ready) {
        if (whileWaiting) {
            whileWaiting();
        }
    }
    renderThread.join();
    done.get(); // rethrows what the job threw
}

} // namespace kelvohost
