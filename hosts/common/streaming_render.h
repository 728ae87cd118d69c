#pragma once
// A render from a source into an output file, block by block, with the file's reading and
// writing on threads of their own beside the render thread, so memory stays the same however
// long the audio is and the file's time is not added to the render's.
//
//     StreamingRender stream(source, output, block, framesDone);
//     stream.renderUntil(48000, renderer, whileWaiting); // the first second
//     applyAutomation();                                 // the main thread, render paused
//     stream.renderUntil(everything, renderer, whileWaiting);
//     stream.finish();
//
// Blocks are whole blocks from the start of each file chunk, so without a stop in between a
// renderer sees the same calls as with the file in memory; a stop cuts the block there.

#include "audio_file_writer.h"
#include "audio_source.h"
#include "hand_off_queue.h"

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvohost {

class StreamingRender {
public:
    // [render thread] Renders frames frames (at most the block) of in into out; position is
    // the first frame's, counted from the start of the source. Throws to stop the render.
    using Renderer = std::function<void(const float* const* in, float* const* out,
                                        std::size_t frames, std::size_t position)>;

    static constexpr std::size_t everything = std::numeric_limits<std::size_t>::max();

    // Starts reading the source (mono or stereo) and writing what is rendered. framesDone
    // follows the frames written, for progress reports. [main thread]
    StreamingRender(AudioSource& source, AudioFileWriter& output, unsigned block,
                    std::atomic<std::size_t>& framesDone);
    // Stops the reader and the writer where they are. [main thread]
    ~StreamingRender();
    StreamingRender(const StreamingRender&) = delete;
    StreamingRender& operator=(const StreamingRender&) = delete;

    // Renders on a render thread of its own until frame `until` (not included) or the end of
    // the source, whichever comes first, while the calling thread calls whileWaiting (if
    // given). Returns false once the source has ended. Rethrows the first failure of any of
    // the three threads. [main thread]
    bool renderUntil(std::size_t until, const Renderer& renderer,
                     const std::function<void()>& whileWaiting);
    // After the source has ended: waits until everything rendered is written, then rethrows
    // the first failure of any thread. The output is not committed here. [main thread]
    void finish();

    // Frames rendered so far. [main thread, between render calls]
    std::size_t position() const { return position_; }

private:
    struct Chunk {
        std::vector<std::vector<float>> input;
        std::vector<std::vector<float>> output;
        std::size_t frames = 0; // 0: the source has ended
        Chunk(unsigned channels, std::size_t length);
    };

    void read(AudioSource& source);
    void write(AudioFileWriter& output, std::atomic<std::size_t>& framesDone);
    void fail(std::exception_ptr error);
    void rethrow();
    void stopThreads();

    unsigned channels_;
    unsigned block_;
    std::size_t length_; // frames of a chunk: whole blocks
    std::vector<Chunk> chunks_;
    HandOffQueue<Chunk*> empty_;    // to the reader
    HandOffQueue<Chunk*> read_;     // to the render thread
    HandOffQueue<Chunk*> rendered_; // to the writer

    // The render's place, kept between render calls: the chunk being rendered and how far.
    Chunk* current_ = nullptr;
    std::size_t offset_ = 0;
    std::size_t position_ = 0;
    bool ended_ = false;

    std::mutex failureMutex_;
    std::exception_ptr failure_; // the first failure of any thread
    std::thread reader_;
    std::thread writer_;
};

} // namespace kelvohost
