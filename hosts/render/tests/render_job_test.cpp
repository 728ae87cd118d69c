// The render job's three threads (reader, render, writer) hand chunks to one another; every
// frame must arrive once, in order, whatever the block and chunk boundaries, and a failure on
// any thread must stop the others instead of leaving them waiting.

#include "audio_file_writer.h"
#include "audio_fixtures.h"
#include "audio_source.h"
#include "bundle_discovery.h"
#include "component_loader.h"
#include "host_error.h"
#include "hosted_unit.h"
#include "render_job.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

// The fixture gain unit at its defaults passes its input through unchanged.
const LoadedComponent& passThrough() {
    static const std::unique_ptr<LoadedComponent> component = [] {
        BundleLocation location;
        location.product = "KelvoFixtureGain";
        location.model = "fixturegain";
        location.path = KELVO_FIXTURE_GAIN_BUNDLE;
        return loadComponent(location);
    }();
    return *component;
}

std::vector<std::vector<float>> ramp(std::size_t frames) {
    std::vector<std::vector<float>> channels(2, std::vector<float>(frames));
    for (std::size_t i = 0; i < frames; ++i) {
        channels[0][i] = static_cast<float>(i % 4096) / 4096.0f;
        channels[1][i] = -channels[0][i];
    }
    return channels;
}

// A source that fails after some frames, as a disk does.
class FailingSource : public SampleSource {
public:
    FailingSource(std::size_t frames, std::size_t failAt)
        : SampleSource(48000.0, ramp(frames)), failAt_(failAt) {}
    std::size_t read(float* const* channels, std::size_t frames) override {
        if (given_ >= failAt_) {
            throw InputError("in.wav: read error (the disk failed)");
        }
        const std::size_t got = SampleSource::read(channels, frames);
        given_ += got;
        return got;
    }

private:
    std::size_t failAt_;
    std::size_t given_ = 0;
};

class RenderJob : public TemporaryFolder {
protected:
    // Renders source through the pass-through unit into out.wav; the frames the progress
    // counter ended at.
    std::size_t render(AudioSource& source, unsigned block, bool initialise = true) {
        HostedUnit unit(passThrough());
        EXPECT_EQ(unit.configure(source.sampleRate(), source.channels(), block), noErr);
        if (initialise) {
            EXPECT_EQ(unit.initialize(), noErr);
        }
        const fs::path out = folder_ / "out.wav";
        AudioFileWriter writer(resolveOutputTarget(out), outputFormatFor(out, {}),
                               source.sampleRate(), source.channels(), source.announcedFrames());
        std::atomic<std::size_t> framesDone{0};
        renderToFile(unit, source, writer, block, framesDone, {});
        writer.commit();
        return framesDone.load();
    }

    std::vector<std::vector<float>> rendered() const { return readStereoFile(folder_ / "out.wav"); }
};

TEST_F(RenderJob, EveryFrameArrivesOnceAndInOrder) {
    struct Case {
        std::size_t frames;
        unsigned block;
    };
    // Lengths at and around the chunk of 8192 frames, blocks that do and do not divide it.
    const Case cases[] = {{0, 512},       {1, 512},    {8191, 512},   {8192, 512},
                          {8193, 512},    {50000, 1},  {50000, 100},  {50000, 8192},
                          {50000, 65536}, {100000, 7}, {100000, 512}, {100000, 3000}};
    for (const Case& c : cases) {
        SampleSource source(48000.0, ramp(c.frames));
        EXPECT_EQ(render(source, c.block), c.frames) << c.frames << " frames, block " << c.block;
        const auto channels = rendered();
        EXPECT_EQ(channels, ramp(c.frames)) << c.frames << " frames, block " << c.block;
    }
}

TEST_F(RenderJob, AFailureOnAnyThreadStopsTheOthers) {
    for (const std::size_t failAt : {0, 8192, 50000}) {
        FailingSource source(100000, failAt);
        EXPECT_THROW(render(source, 512), InputError) << failAt;
    }
    // An uninitialised unit refuses to render: the failure comes from the render thread.
    SampleSource source(48000.0, ramp(100000));
    try {
        render(source, 512, false);
        ADD_FAILURE() << "an uninitialised unit rendered";
    } catch (const UnitError& error) {
        EXPECT_NE(std::string(error.what()).find("AudioUnitRender at frame 0"), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(fs::exists(folder_ / "out.wav")); // nothing committed
}

} // namespace
} // namespace kelvohost
