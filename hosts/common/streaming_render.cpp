#include "streaming_render.h"

#include "render_thread.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace kelvohost {
namespace {

// Frames read and written at a time: many render calls per file access, and buffers that stay
// in cache.
constexpr std::size_t chunkTarget = 8192;

// Chunks in flight: one being read, one rendered, one written, and one to spare so that none
// of the three waits for another's hiccup.
constexpr std::size_t chunksInFlight = 4;

constexpr unsigned largestChannelCount = 2;

} // namespace

StreamingRender::Chunk::Chunk(unsigned channels, std::size_t length)
    : input(channels, std::vector<float>(length)), output(channels, std::vector<float>(length)) {}

StreamingRender::StreamingRender(AudioSource& source, AudioFileWriter& output, unsigned block,
                                 std::atomic<std::size_t>& framesDone)
    : channels_(source.channels()), block_(std::max(1u, block)),
      length_(block_ * std::max<std::size_t>(1, chunkTarget / block_)) {
    if (channels_ == 0 || channels_ > largestChannelCount) {
        throw std::invalid_argument("a streaming render takes mono or stereo audio");
    }
    chunks_.reserve(chunksInFlight);
    for (std::size_t i = 0; i < chunksInFlight; ++i) {
        chunks_.emplace_back(channels_, length_);
        empty_.push(&chunks_.back());
    }
    reader_ = std::thread([this, &source] { read(source); });
    writer_ = std::thread([this, &output, &framesDone] { write(output, framesDone); });
}

StreamingRender::~StreamingRender() {
    stopThreads();
}

void StreamingRender::read(AudioSource& source) {
    try {
        std::array<float*, largestChannelCount> channels{};
        while (const std::optional<Chunk*> chunk = empty_.pop()) {
            for (unsigned c = 0; c < channels_; ++c) {
                channels[c] = (*chunk)->input[c].data();
            }
            const std::size_t frames = source.read(channels.data(), length_);
            (*chunk)->frames = frames;
            read_.push(*chunk); // the chunk is the others' from here on
            if (frames == 0) {
                return;
            }
        }
    } catch (...) {
        fail(std::current_exception());
    }
}

void StreamingRender::write(AudioFileWriter& output, std::atomic<std::size_t>& framesDone) {
    try {
        std::array<const float*, largestChannelCount> channels{};
        std::size_t done = 0;
        while (const std::optional<Chunk*> chunk = rendered_.pop()) {
            const std::size_t frames = (*chunk)->frames;
            if (frames == 0) {
                return;
            }
            for (unsigned c = 0; c < channels_; ++c) {
                channels[c] = (*chunk)->output[c].data();
            }
            output.write(channels.data(), frames);
            done += frames;
            framesDone.store(done, std::memory_order_relaxed);
            empty_.push(*chunk);
        }
    } catch (...) {
        fail(std::current_exception());
    }
}

bool StreamingRender::renderUntil(std::size_t until, const Renderer& renderer,
                                  const std::function<void()>& whileWaiting) {
    rethrow();
    if (ended_ || until <= position_) {
        return !ended_;
    }
    // The render thread owns the render's place while it runs; the main thread only reads it
    // once the thread has been joined.
    const auto render = [&] {
        std::array<const float*, largestChannelCount> in{};
        std::array<float*, largestChannelCount> out{};
        while (position_ < until) {
            if (current_ == nullptr) {
                const std::optional<Chunk*> next = read_.pop();
                if (!next) {
                    return; // another thread failed and closed the queues
                }
                current_ = *next;
                offset_ = 0;
                if (current_->frames == 0) {
                    rendered_.push(std::exchange(current_, nullptr));
                    ended_ = true;
                    return;
                }
            }
            const std::size_t count = std::min(
                {static_cast<std::size_t>(block_), current_->frames - offset_, until - position_});
            for (unsigned c = 0; c < channels_; ++c) {
                in[c] = current_->input[c].data() + offset_;
                out[c] = current_->output[c].data() + offset_;
            }
            renderer(in.data(), out.data(), count, position_);
            offset_ += count;
            position_ += count;
            if (offset_ == current_->frames) {
                rendered_.push(std::exchange(current_, nullptr)); // the writer's from here on
            }
        }
    };
    try {
        runOnRenderThread(
            [&] {
                try {
                    render();
                } catch (...) {
                    fail(std::current_exception());
                }
            },
            whileWaiting);
    } catch (...) {
        fail(std::current_exception());
    }
    rethrow();
    return !ended_;
}

void StreamingRender::finish() {
    if (!ended_) {
        stopThreads(); // nothing more comes: the output stays incomplete
    }
    if (reader_.joinable()) {
        reader_.join();
    }
    if (writer_.joinable()) {
        writer_.join();
    }
    rethrow();
}

void StreamingRender::fail(std::exception_ptr error) {
    {
        const std::lock_guard lock(failureMutex_);
        if (!failure_) {
            failure_ = std::move(error);
        }
    }
    empty_.close();
    read_.close();
    rendered_.close();
}

void StreamingRender::rethrow() {
    const std::lock_guard lock(failureMutex_);
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

void StreamingRender::stopThreads() {
    empty_.close();
    read_.close();
    rendered_.close();
    if (reader_.joinable()) {
        reader_.join();
    }
    if (writer_.joinable()) {
        writer_.join();
    }
}

} // namespace kelvohost
