#include "bridge_render.h"

#include "render_thread.h"
#include "transport_script.h"

#include <algorithm>
#include <array>

namespace kelvohost {

AudioData renderThroughBridge(aaxhost::Instance& instance, const AudioData& input, unsigned block,
                              const TransportOptions& transport,
                              const std::vector<AutomationPoint>& points,
                              std::atomic<std::size_t>& framesDone,
                              const std::function<void()>& whileWaiting) {
    AudioData output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(input.channelCount(), std::vector<float>(input.frameCount(), 0.0f));
    const unsigned channels = input.channelCount();
    const std::size_t frames = input.frameCount();

    std::vector<AutomationPoint> pending = points;
    std::stable_sort(pending.begin(), pending.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    TransportRun run(transport, input.sampleRate);

    std::size_t position = 0;
    auto next = pending.begin();
    while (position < frames) {
        // The host's automation, on the main thread, between process calls.
        for (; next != pending.end() && next->frame <= position; ++next) {
            instance.setParameter(next->identifier.c_str(), next->normalized);
        }
        const std::size_t end = next != pending.end() ? std::min(next->frame, frames) : frames;
        const auto segment = [&]() noexcept {
            std::array<const float*, 2> in{};
            std::array<float*, 2> out{};
            for (std::size_t start = position; start < end;) {
                const std::size_t count = run.limit(std::min<std::size_t>(block, end - start));
                for (unsigned c = 0; c < channels; ++c) {
                    in[c] = input.channels[c].data() + start;
                    out[c] = output.channels[c].data() + start;
                }
                run.describe(instance.transport().state);
                instance.process(in.data(), out.data(), static_cast<int32_t>(count));
                run.advance(count);
                start += count;
                framesDone.store(start, std::memory_order_relaxed);
            }
        };
        runOnRenderThread(segment, whileWaiting);
        position = end;
    }
    return output;
}

} // namespace kelvohost
