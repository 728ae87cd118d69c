#include "render_job.h"

#include "host_error.h"
#include "streaming_render.h"

#include <string>

namespace kelvohost {

void renderToFile(HostedUnit& unit, AudioSource& source, AudioFileWriter& output, unsigned block,
                  std::atomic<std::size_t>& framesDone, const std::function<void()>& whileWaiting) {
    StreamingRender stream(source, output, block, framesDone);
    stream.renderUntil(
        StreamingRender::everything,
        [&unit](const float* const* in, float* const* out, std::size_t frames,
                std::size_t position) {
            if (const OSStatus status = unit.render(in, out, static_cast<UInt32>(frames));
                status != noErr) {
                throw UnitError("AudioUnitRender at frame " + std::to_string(position), status);
            }
        },
        whileWaiting);
    stream.finish();
}

} // namespace kelvohost
