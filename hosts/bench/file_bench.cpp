#include "file_bench.h"

#include "audio_file_reader.h"
#include "audio_file_writer.h"
#include "bench_signal.h"
#include "host_error.h"
#include "hosted_unit.h"
#include "streaming_render.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

constexpr double rate = 48000.0;
constexpr unsigned channels = 2;
constexpr int seconds = 60;
constexpr UInt32 block = 512;

// The input, written once per process into a folder removed at exit.
class BenchFolder {
public:
    BenchFolder() : path_(fs::temp_directory_path() / ("kelvo-bench-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
        SF_INFO info{};
        info.samplerate = static_cast<int>(rate);
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(input().c_str(), SFM_WRITE, &info);
        if (file == nullptr) {
            throw InputError(input().string() + ": cannot write the benchmark's input");
        }
        const auto second = loudSecond(rate, channels);
        std::vector<float> interleaved(second.front().size() * channels);
        for (std::size_t i = 0; i < second.front().size(); ++i) {
            for (unsigned c = 0; c < channels; ++c) {
                interleaved[i * channels + c] = second[c][i];
            }
        }
        for (int s = 0; s < seconds; ++s) {
            sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(rate));
        }
        sf_close(file);
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path input() const { return path_ / "in.wav"; }
    fs::path output() const { return path_ / "out.wav"; }

private:
    fs::path path_;
};

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// renderToFile's loop with a clock around each render call, so the host's own share of the
// wall time shows apart from the unit's. Two clock reads a block cost far less than the noise.
void renderTimed(HostedUnit& unit, AudioSource& source, AudioFileWriter& output,
                 std::atomic<std::size_t>& framesDone, double& renderSeconds) {
    using Clock = std::chrono::steady_clock;
    Clock::duration inside{};
    StreamingRender stream(source, output, block, framesDone);
    stream.renderUntil(
        StreamingRender::everything,
        [&](const float* const* in, float* const* out, std::size_t frames, std::size_t) {
            const auto start = Clock::now();
            const OSStatus status = unit.render(in, out, static_cast<UInt32>(frames));
            inside += Clock::now() - start;
            if (status != noErr) {
                throw UnitError("AudioUnitRender", status);
            }
        },
        {});
    stream.finish();
    renderSeconds += std::chrono::duration<double>(inside).count();
}

void renderFile(benchmark::State& state, const LoadedComponent* component) {
    try {
        static const BenchFolder folder;
        const double cpuBefore = processCpuSeconds();
        double renderSeconds = 0;
        for (auto _ : state) {
            AudioFileReader input(folder.input());
            HostedUnit unit(*component);
            if (const OSStatus s = unit.configure(input.sampleRate(), input.channels(), block);
                s != noErr) {
                throw UnitError("configure", s);
            }
            if (const OSStatus s = unit.initialize(); s != noErr) {
                throw UnitError("AudioUnitInitialize", s);
            }
            AudioFileWriter output(resolveOutputTarget(folder.output()),
                                   outputFormatFor(folder.output(), std::nullopt),
                                   input.sampleRate(), input.channels(), input.announcedFrames());
            std::atomic<std::size_t> framesDone{0};
            renderTimed(unit, input, output, framesDone, renderSeconds);
            output.commit();
            // Each render writes a new file: replacing the last one would add the release of
            // its pages to the time, which belongs to the file system, not to the host.
            state.PauseTiming();
            fs::remove(folder.output());
            state.ResumeTiming();
        }
        const double cpu = processCpuSeconds() - cpuBefore;
        state.counters["x_realtime"] = benchmark::Counter(
            static_cast<double>(state.iterations()) * seconds, benchmark::Counter::kIsRate);
        // All threads' processor time for one file, to set beside BM_Render's CPU time: what
        // the host spends around the render calls, whatever the wall clock waited for.
        state.counters["cpu_ms_per_file"] = 1000.0 * cpu / static_cast<double>(state.iterations());
        // Wall time inside the unit's render calls; the rest of the wall time is the host's
        // (opening, the first chunk's read, the last one's write, hand-offs, the rename).
        state.counters["render_ms_per_file"] =
            1000.0 * renderSeconds / static_cast<double>(state.iterations());
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

} // namespace

void registerFileBenchmark(const std::string& model, const LoadedComponent* component) {
    // The work runs on the render thread, so the time that counts is the wall clock's.
    benchmark::RegisterBenchmark(("BM_RenderFile/" + model).c_str(), renderFile, component)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace kelvohost
