#include "render_job.h"

#include "hand_off_queue.h"
#include "render_thread.h"

#include <algorithm>
#include <array>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvohost {
namespace {

// Frames read and written at a time: many render calls per file access, and buffers that stay
// in cache. Always whole blocks, so the unit sees the same calls as with the file in memory.
constexpr std::size_t chunkTarget = 8192;

// Chunks in flight: one being read, one rendered, one written, and one to spare so that none
// of the three waits for another's hiccup.
constexpr std::size_t chunksInFlight = 4;

struct Chunk {
    std::vector<std::vector<float>> input;
    std::vector<std::vector<float>> output;
    std::array<float*, 2> in{};
    std::array<float*, 2> out{};
    std::size_t frames = 0; // 0: the source has ended

    Chunk(unsigned channels, std::size_t length)
        : input(channels, std::vector<float>(length)),
          output(channels, std::vector<float>(length)) {
        for (unsigned c = 0; c < channels; ++c) {
            in[c] = input[c].data();
            out[c] = output[c].data();
        }
    }
};

// The first failure of any of the three threads, which stops the other two.
class Failure {
public:
    explicit Failure(std::array<HandOffQueue<Chunk*>*, 3> queues) : queues_(queues) {}

    void record(std::exception_ptr error) {
        {
            const std::lock_guard lock(mutex_);
            if (!error_) {
                error_ = std::move(error);
            }
        }
        for (auto* queue : queues_) {
            queue->close();
        }
    }
    void rethrow() {
        if (error_) {
            std::rethrow_exception(error_);
        }
    }

private:
    std::array<HandOffQueue<Chunk*>*, 3> queues_;
    std::mutex mutex_;
    std::exception_ptr error_;
};

} // namespace

void renderToFile(HostedUnit& unit, AudioSource& source, AudioFileWriter& output, unsigned block,
                  std::atomic<std::size_t>& framesDone, const std::function<void()>& whileWaiting) {
    const unsigned channels = source.channels();
    const std::size_t length = block * std::max<std::size_t>(1, chunkTarget / block);
    std::vector<Chunk> chunks;
    chunks.reserve(chunksInFlight);
    HandOffQueue<Chunk*> empty;    // to the reader
    HandOffQueue<Chunk*> read;     // to the render thread
    HandOffQueue<Chunk*> rendered; // to the writer
    for (std::size_t i = 0; i < chunksInFlight; ++i) {
        chunks.emplace_back(channels, length);
        empty.push(&chunks.back());
    }
    Failure failure({&empty, &read, &rendered});

    // Reading and writing run beside the render thread, so the file's time is not added to
    // the render's.
    std::thread reader([&] {
        try {
            while (const std::optional<Chunk*> chunk = empty.pop()) {
                const std::size_t frames = source.read((*chunk)->in.data(), length);
                (*chunk)->frames = frames;
                read.push(*chunk); // the chunk is the others' from here on
                if (frames == 0) {
                    return;
                }
            }
        } catch (...) {
            failure.record(std::current_exception());
        }
    });
    std::thread writer([&] {
        try {
            std::size_t done = 0;
            while (const std::optional<Chunk*> chunk = rendered.pop()) {
                if ((*chunk)->frames == 0) {
                    return;
                }
                output.write((*chunk)->out.data(), (*chunk)->frames);
                done += (*chunk)->frames;
                framesDone.store(done, std::memory_order_relaxed);
                empty.push(*chunk);
            }
        } catch (...) {
            failure.record(std::current_exception());
        }
    });

    const auto render = [&] {
        std::array<const float*, 2> in{};
        std::array<float*, 2> out{};
        std::size_t done = 0;
        while (const std::optional<Chunk*> next = read.pop()) {
            Chunk& chunk = **next;
            for (std::size_t start = 0; start < chunk.frames; start += block) {
                const auto count =
                    static_cast<UInt32>(std::min<std::size_t>(block, chunk.frames - start));
                for (unsigned c = 0; c < channels; ++c) {
                    in[c] = chunk.in[c] + start;
                    out[c] = chunk.out[c] + start;
                }
                if (const OSStatus status = unit.render(in.data(), out.data(), count);
                    status != noErr) {
                    failure.record(std::make_exception_ptr(UnitError(
                        "AudioUnitRender at frame " + std::to_string(done + start), status)));
                    return;
                }
            }
            const std::size_t frames = chunk.frames;
            done += frames;
            rendered.push(&chunk); // the chunk is the others' from here on
            if (frames == 0) {
                return;
            }
        }
    };
    try {
        runOnRenderThread(render, whileWaiting);
    } catch (...) {
        failure.record(std::current_exception());
    }
    reader.join();
    writer.join();
    failure.rethrow();
}

} // namespace kelvohost
