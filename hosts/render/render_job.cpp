#include "render_job.h"

#include "render_thread.h"

#include <algorithm>
#include <array>

namespace kelvohost {

AudioData renderThroughUnit(HostedUnit& unit, const AudioData& input, unsigned block,
                            std::atomic<std::size_t>& framesDone,
                            const std::function<void()>& whileWaiting) {
    AudioData output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(input.channelCount(), std::vector<float>(input.frameCount(), 0.0f));

    const unsigned channels = input.channelCount();
    const std::size_t frames = input.frameCount();
    OSStatus failure = noErr;
    std::size_t failedAt = 0;

    const auto job = [&]() noexcept {
        std::array<const float*, 2> in{};
        std::array<float*, 2> out{};
        for (std::size_t start = 0; start < frames; start += block) {
            const auto count = static_cast<UInt32>(std::min<std::size_t>(block, frames - start));
            for (unsigned c = 0; c < channels; ++c) {
                in[c] = input.channels[c].data() + start;
                out[c] = output.channels[c].data() + start;
            }
            const OSStatus status = unit.render(in.data(), out.data(), count);
            if (status != noErr) {
                failure = status;
                failedAt = start;
                return;
            }
            framesDone.store(start + count, std::memory_order_relaxed);
        }
    };
    runOnRenderThread(job, whileWaiting);

    if (failure != noErr) {
        throw UnitError("AudioUnitRender at frame " + std::to_string(failedAt), failure);
    }
    return output;
}

} // namespace kelvohost
