#include "bridge_render.h"

#include "streaming_render.h"
#include "transport_script.h"

#include <algorithm>
#include <array>

namespace kelvohost {

void renderThroughBridge(aaxhost::Instance& instance, AudioSource& source, AudioFileWriter& output,
                         unsigned block, const TransportOptions& transport,
                         const std::vector<AutomationPoint>& points,
                         std::atomic<std::size_t>& framesDone,
                         const std::function<void()>& whileWaiting) {
    const unsigned channels = source.channels();
    TransportRun run(transport, source.sampleRate());
    // [render thread] A block, cut further where the host's loop jumps back.
    const StreamingRender::Renderer process = [&](const float* const* in, float* const* out,
                                                  std::size_t frames, std::size_t) {
        std::array<const float*, 2> inputs{};
        std::array<float*, 2> outputs{};
        for (std::size_t done = 0; done < frames;) {
            const std::size_t count = run.limit(frames - done);
            for (unsigned c = 0; c < channels; ++c) {
                inputs[c] = in[c] + done;
                outputs[c] = out[c] + done;
            }
            run.describe(instance.transport().state);
            instance.process(inputs.data(), outputs.data(), static_cast<int32_t>(count));
            run.advance(count);
            done += count;
        }
    };

    std::vector<AutomationPoint> pending = points;
    std::stable_sort(pending.begin(), pending.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    StreamingRender stream(source, output, block, framesDone);
    for (auto next = pending.begin(); next != pending.end();) {
        if (!stream.renderUntil(next->frame, process, whileWaiting)) {
            break; // the source ended before this point
        }
        // The host's automation, on the main thread, between process calls.
        const std::size_t frame = next->frame;
        for (; next != pending.end() && next->frame == frame; ++next) {
            instance.setParameter(next->identifier.c_str(), next->normalized);
        }
    }
    stream.renderUntil(StreamingRender::everything, process, whileWaiting);
    stream.finish();
}

} // namespace kelvohost
