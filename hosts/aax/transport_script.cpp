#include "transport_script.h"

#include <algorithm>
#include <cmath>

namespace kelvohost {

TransportRun::TransportRun(const TransportOptions& options, double sampleRate)
    : options_(options), sampleRate_(sampleRate), playing_(options.playFrom.has_value()),
      playhead_(options.playFrom.value_or(0)) {}

int64_t TransportRun::ticks(int64_t sample) const {
    const double quarters = static_cast<double>(sample) / sampleRate_ * options_.tempo / 60.0;
    return std::llround(quarters * options_.ticksPerQuarter);
}

std::size_t TransportRun::limit(std::size_t frames) const {
    if (playing_ && options_.loop && playhead_ < options_.loop->second) {
        return std::min<std::size_t>(frames,
                                     static_cast<std::size_t>(options_.loop->second - playhead_));
    }
    return frames;
}

void TransportRun::describe(aaxhost::ScriptedTransport::State& state) const {
    state.playing = playing_;
    state.sample = playhead_;
    state.tempo = options_.tempo;
    state.ticks = ticks(playhead_);
    state.ticksPerQuarter = options_.ticksPerQuarter;
    state.looping = options_.loop.has_value();
    state.loopStartTicks = options_.loop ? ticks(options_.loop->first) : 0;
    state.loopEndTicks = options_.loop ? ticks(options_.loop->second) : 0;
}

void TransportRun::advance(std::size_t frames) {
    if (!playing_) {
        return;
    }
    const int64_t before = playhead_;
    playhead_ += static_cast<int64_t>(frames);
    if (options_.loop && before < options_.loop->second && playhead_ >= options_.loop->second) {
        playhead_ = options_.loop->first;
    }
}

} // namespace kelvohost
