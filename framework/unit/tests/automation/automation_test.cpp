// The automation component on its own: ordering, segments, ramps, joined ramps, offsets beyond
// the buffer, refused batches, generation bumps and the ring's limits.

#include "automation/automation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr unsigned N = 4;
// 0: continuous 0..100, 1: stepped 0..4, 2 and 3: continuous -50..50
float normalizeRow(unsigned id, float v) {
    const float lo = id == 0 ? 0.0f : id == 1 ? 0.0f : -50.0f;
    const float hi = id == 0 ? 100.0f : id == 1 ? 4.0f : 50.0f;
    if (!std::isfinite(v))
        return id == 1 ? 2.0f : 0.0f;
    v = std::min(std::max(v, lo), hi);
    return id == 1 ? std::round(v) : v;
}

using Automation = kelvostrip::Automation<N>;

AudioUnitParameterEvent immediate(unsigned id, std::uint32_t offset, float value) {
    AudioUnitParameterEvent e{};
    e.scope = kAudioUnitScope_Global;
    e.parameter = id;
    e.eventType = kParameterEvent_Immediate;
    e.eventValues.immediate.bufferOffset = offset;
    e.eventValues.immediate.value = value;
    return e;
}

AudioUnitParameterEvent ramp(unsigned id, std::int32_t offset, std::uint32_t duration, float start,
                             float end) {
    AudioUnitParameterEvent e{};
    e.scope = kAudioUnitScope_Global;
    e.parameter = id;
    e.eventType = kParameterEvent_Ramped;
    e.eventValues.ramp.startBufferOffset = offset;
    e.eventValues.ramp.durationInFrames = duration;
    e.eventValues.ramp.startValue = start;
    e.eventValues.ramp.endValue = end;
    return e;
}

// One render, recording the segments and, per frame, every published value.
struct Recorder {
    float values[N] = {0, 2, 0, 0};
    std::vector<std::pair<unsigned, unsigned>> segments;
    std::vector<std::pair<unsigned, float>> published; // (id, value) in order
    std::vector<float> atFrame[N];                     // value of each id at each frame

    void render(Automation& automation, unsigned frames) {
        segments.clear();
        published.clear();
        for (auto& v : atFrame)
            v.assign(frames, 0);
        automation.render(
            frames, values, &normalizeRow,
            [&](unsigned id) { published.emplace_back(id, values[id]); },
            [&](unsigned begin, unsigned end) {
                segments.emplace_back(begin, end);
                for (unsigned i = begin; i < end; ++i)
                    for (unsigned id = 0; id < N; ++id)
                        atFrame[id][i] = values[id];
            });
    }
};

class AutomationTest : public ::testing::Test {
protected:
    std::unique_ptr<Automation> automation = std::make_unique<Automation>();
    Recorder recorder;
};

TEST_F(AutomationTest, EqualOffsetsApplyInTheOrderTheyWereQueued) {
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 10, 2, 0, 1, 0), noErr); // first
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 5, 2, 0, 2, 0), noErr);  // second
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 10, 2, 0, 3, 0), noErr); // third
    recorder.render(*automation, 16);
    const std::vector<std::pair<unsigned, float>> order = {{2, 2}, {2, 1}, {2, 3}};
    EXPECT_EQ(recorder.published, order);
    const std::vector<std::pair<unsigned, unsigned>> segments = {{0, 5}, {5, 10}, {10, 16}};
    EXPECT_EQ(recorder.segments, segments);
    EXPECT_EQ(recorder.atFrame[2][4], 0);
    EXPECT_EQ(recorder.atFrame[2][5], 2);
    EXPECT_EQ(recorder.atFrame[2][10], 3);
}

TEST_F(AutomationTest, ARampWritesEveryFrameInOneFrameSegments) {
    const AudioUnitParameterEvent e = ramp(0, 2, 4, 0, 100);
    ASSERT_EQ(automation->schedule(&e, 1, &normalizeRow), noErr);
    recorder.render(*automation, 12);
    const std::vector<std::pair<unsigned, unsigned>> segments = {{0, 2}, {2, 3}, {3, 4}, {4, 5},
                                                                 {5, 6}, {6, 7}, {7, 12}};
    EXPECT_EQ(recorder.segments, segments);
    const float want[] = {0, 0, 0, 25, 50, 75, 100, 100, 100};
    for (unsigned i = 0; i < std::size(want); ++i) {
        EXPECT_EQ(recorder.atFrame[0][i], want[i]) << i;
    }
    EXPECT_FALSE(automation->ramp(0).active);
}

TEST_F(AutomationTest, RampsJoinedInProgress) {
    // Started 3 of 4 frames ago: 75 % now, the end one frame later.
    AudioUnitParameterEvent e = ramp(0, -3, 4, 0, 100);
    ASSERT_EQ(automation->schedule(&e, 1, &normalizeRow), noErr);
    recorder.render(*automation, 4);
    EXPECT_EQ(recorder.atFrame[0][0], 75);
    EXPECT_EQ(recorder.atFrame[0][1], 100);
    const std::vector<std::pair<unsigned, unsigned>> joined = {{0, 1}, {1, 2}, {2, 4}};
    EXPECT_EQ(recorder.segments, joined);

    // Started 4 of 4 frames ago: over; the end value at once, no ramp.
    e = ramp(2, -4, 4, -50, 40);
    ASSERT_EQ(automation->schedule(&e, 1, &normalizeRow), noErr);
    recorder.render(*automation, 4);
    EXPECT_EQ(recorder.atFrame[2][0], 40);
    EXPECT_FALSE(automation->ramp(2).active);
    const std::vector<std::pair<unsigned, unsigned>> whole = {{0, 4}};
    EXPECT_EQ(recorder.segments, whole);
}

TEST_F(AutomationTest, TheMostNegativeOffsetIsMeasuredInSixtyFourBits) {
    const std::int32_t mostNegative = std::numeric_limits<std::int32_t>::min();
    // 2^31 frames into a ramp of 2^32 - 1 frames: just past half way, still running.
    AudioUnitParameterEvent e = ramp(0, mostNegative, 0xFFFFFFFFu, 0, 100);
    ASSERT_EQ(automation->schedule(&e, 1, &normalizeRow), noErr);
    recorder.render(*automation, 2);
    EXPECT_NEAR(recorder.atFrame[0][0], 50.0f, 1e-4);
    EXPECT_TRUE(automation->ramp(0).active);
    EXPECT_EQ(automation->ramp(0).duration, 0x7FFFFFFFu);
    // 2^31 frames into a ramp of 100 frames: over, the end value.
    e = ramp(2, mostNegative, 100, -50, 30);
    ASSERT_EQ(automation->schedule(&e, 1, &normalizeRow), noErr);
    recorder.render(*automation, 2);
    EXPECT_EQ(recorder.atFrame[2][0], 30);
    EXPECT_FALSE(automation->ramp(2).active);
}

TEST_F(AutomationTest, OffsetsBeyondTheBufferWaitForALaterOne) {
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 1000, 3, 0, 7, 0), noErr);
    recorder.render(*automation, 512);
    EXPECT_TRUE(recorder.published.empty());
    EXPECT_EQ(automation->pendingEvents(), 1u);
    recorder.render(*automation, 512);
    EXPECT_EQ(recorder.atFrame[3][487], 0);
    EXPECT_EQ(recorder.atFrame[3][488], 7);
}

TEST_F(AutomationTest, ZeroFramesKeepEveryEventAndItsOffset) {
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 0, 3, 0, 5, 0), noErr);
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 3, 3, 0, 6, 0), noErr);
    recorder.render(*automation, 0);
    EXPECT_TRUE(recorder.published.empty());
    EXPECT_TRUE(recorder.segments.empty());
    recorder.render(*automation, 4);
    EXPECT_EQ(recorder.atFrame[3][0], 5);
    EXPECT_EQ(recorder.atFrame[3][3], 6);
}

TEST_F(AutomationTest, ValuesAreNormalisedOnTheWayIn) {
    const AudioUnitParameterEvent events[] = {immediate(1, 0, 2.6f), immediate(0, 1, 250),
                                              ramp(2, 2, 2, -80, 80)};
    ASSERT_EQ(automation->schedule(events, 3, &normalizeRow), noErr);
    recorder.render(*automation, 6);
    EXPECT_EQ(recorder.atFrame[1][0], 3);
    EXPECT_EQ(recorder.atFrame[0][1], 100);
    EXPECT_EQ(recorder.atFrame[2][2], -50);
    EXPECT_EQ(recorder.atFrame[2][3], 0);
    EXPECT_EQ(recorder.atFrame[2][4], 50);
}

TEST_F(AutomationTest, RefusedBatchesQueueNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<AudioUnitParameterEvent> tooMany(513, immediate(0, 0, 1));
    AudioUnitParameterEvent badElement = immediate(0, 0, 1);
    badElement.element = 1;
    AudioUnitParameterEvent badScope = immediate(0, 0, 1);
    badScope.scope = kAudioUnitScope_Input;
    AudioUnitParameterEvent badType = immediate(0, 0, 1);
    badType.eventType = 3;
    struct Row {
        std::vector<AudioUnitParameterEvent> events;
        OSStatus status;
    } const rows[] = {
        {tooMany, kAudioUnitErr_CannotDoInCurrentContext},
        {{immediate(0, 0, 1), immediate(2, 5, 3), badElement}, kAudioUnitErr_InvalidParameter},
        {{immediate(0, 0, 1), badScope}, kAudioUnitErr_InvalidParameter},
        {{immediate(0, 0, 1), immediate(N, 0, 1)}, kAudioUnitErr_InvalidParameter},
        {{immediate(0, 0, 1), immediate(2, 0, nan)}, kAudioUnitErr_InvalidParameterValue},
        {{ramp(0, 0, 4, 0, std::numeric_limits<float>::infinity())},
         kAudioUnitErr_InvalidParameterValue},
        {{immediate(0, 0, 1), badType}, kAudioUnitErr_InvalidParameterValue},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(automation->schedule(row.events.data(), static_cast<unsigned>(row.events.size()),
                                       &normalizeRow),
                  row.status);
    }
    EXPECT_EQ(automation->schedule(nullptr, 1, &normalizeRow), kAudioUnitErr_InvalidParameterValue);
    EXPECT_EQ(automation->schedule(nullptr, 0, &normalizeRow), noErr);
    recorder.render(*automation, 16);
    EXPECT_TRUE(recorder.published.empty());
    EXPECT_EQ(automation->currentGeneration(), 1); // refused before anything was queued
}

TEST_F(AutomationTest, AGenerationBumpDropsQueuedEventsAndStopsRamps) {
    const AudioUnitParameterEvent running = ramp(0, 0, 100, 0, 100);
    ASSERT_EQ(automation->schedule(&running, 1, &normalizeRow), noErr);
    recorder.render(*automation, 10);
    ASSERT_TRUE(automation->ramp(0).active);
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 2, 3, 0, 9, 0), noErr);
    automation->bumpGeneration();
    recorder.render(*automation, 10);
    EXPECT_TRUE(recorder.published.empty());
    EXPECT_FALSE(automation->ramp(0).active);
    // Events queued after the bump apply as usual.
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 2, 3, 0, 4, 0), noErr);
    recorder.render(*automation, 10);
    EXPECT_EQ(recorder.atFrame[3][2], 4);
}

TEST_F(AutomationTest, ADirectSetOrAnImmediateValueStopsARamp) {
    const AudioUnitParameterEvent e = ramp(0, 0, 100, 0, 100);
    ASSERT_EQ(automation->schedule(&e, 1, &normalizeRow), noErr);
    recorder.render(*automation, 10);
    ASSERT_TRUE(automation->ramp(0).active);
    recorder.values[0] = 3; // the host set it between buffers
    recorder.render(*automation, 10);
    EXPECT_FALSE(automation->ramp(0).active);
    EXPECT_EQ(recorder.atFrame[0][9], 3);

    ASSERT_EQ(automation->schedule(&e, 1, &normalizeRow), noErr);
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 5, 0, 0, 60, 0), noErr);
    recorder.render(*automation, 10);
    EXPECT_EQ(recorder.atFrame[0][4], 4);
    EXPECT_EQ(recorder.atFrame[0][5], 60);
    EXPECT_EQ(recorder.atFrame[0][9], 60);
    EXPECT_FALSE(automation->ramp(0).active);
}

TEST_F(AutomationTest, AFullRingRefusesAndDiscardsEverythingQueued) {
    for (unsigned i = 0; i < 512; ++i) {
        ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 0, 3, 0, 1, 0), noErr) << i;
    }
    EXPECT_EQ(automation->push(kelvostrip::eventImmediate, 0, 3, 0, 1, 0),
              kAudioUnitErr_CannotDoInCurrentContext);
    EXPECT_EQ(automation->currentGeneration(), 2);
    recorder.render(*automation, 8);
    EXPECT_TRUE(recorder.published.empty());
    // The ring is usable again.
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 1, 3, 0, 8, 0), noErr);
    recorder.render(*automation, 8);
    EXPECT_EQ(recorder.atFrame[3][1], 8);
}

TEST_F(AutomationTest, APendingListFullOfCarriedEventsStartsAfresh) {
    for (unsigned i = 0; i < 512; ++i) {
        ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 100000, 3, 0, 1, 0), noErr);
    }
    recorder.render(*automation, 8);
    ASSERT_EQ(automation->pendingEvents(), 512u);
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 0, 2, 0, 9, 0), noErr);
    ASSERT_EQ(automation->push(kelvostrip::eventImmediate, 0, 2, 0, 9, 0), noErr);
    recorder.render(*automation, 8);
    EXPECT_EQ(automation->pendingEvents(), 0u);
    EXPECT_EQ(automation->currentGeneration(), 2);
    EXPECT_TRUE(recorder.published.empty());
    recorder.render(*automation, 8); // the rest of the old generation is dropped
    EXPECT_TRUE(recorder.published.empty());
}

} // namespace
