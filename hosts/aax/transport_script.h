#pragma once
// The host's transport while kelvo-aax renders: stopped at 0, or playing from a timeline
// sample, with a tempo, ticks per quarter note and a loop that jumps back to its start when
// the playhead reaches its end (the block is cut there, as a host cuts it).

#include "aax_options.h"

#include <AAXHost/HostServices.h>

#include <cstddef>
#include <cstdint>

namespace kelvohost {

class TransportRun {
public:
    TransportRun(const TransportOptions& options, double sampleRate);

    // [render thread] The most of `frames` the next block may take: a loop's end is a block
    // boundary.
    std::size_t limit(std::size_t frames) const;
    // [render thread] What the transport reports for the block that starts now.
    void describe(aaxhost::ScriptedTransport::State& state) const;
    // [render thread] After a block of that many frames.
    void advance(std::size_t frames);

    int64_t playhead() const { return playhead_; }

private:
    int64_t ticks(int64_t sample) const;

    TransportOptions options_;
    double sampleRate_;
    bool playing_;
    int64_t playhead_;
};

} // namespace kelvohost
