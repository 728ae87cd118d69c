#include "render_input.h"

#include "demo_signal.h"

namespace kelvohost {

RenderInput::RenderInput(const std::optional<std::string>& path)
    : name_(path ? *path : std::string("the demo")) {
    if (path) {
        file_ = std::make_unique<AudioFileReader>(*path);
    } else {
        AudioData signal = makeDemoSignal();
        demo_ = std::make_unique<SampleSource>(signal.sampleRate, std::move(signal.channels));
    }
}

std::string RenderInput::endedEarlyText() const {
    return file_ && file_->endedEarly() ? file_->endedEarlyText() + "; rendered those"
                                        : std::string();
}

} // namespace kelvohost
