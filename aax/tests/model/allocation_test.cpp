// The process procedure and everything it calls allocate nothing: blocks with and without a
// new snapshot, a playing and looping transport, mono and stereo, through a real unit.

#include "support/bridge_host.h"
#include "testing/allocation_counter.h"

#include <gtest/gtest.h>

namespace {

using namespace bridgetest;

class Allocation : public ::testing::TestWithParam<const char*> {};

TEST_P(Allocation, TheProcessProcedureAllocatesNothing) {
    for (const unsigned channels : {1u, 2u}) {
        const auto effect = instance(module(productBundle(GetParam())), channels);
        Block input = tone(channels, 4096);
        Block output(channels, 4096);
        effect->process(input.input(), output.output(), 512); // the first block, outside
        auto& transport = effect->transport().state;
        transport.playing = true;
        transport.looping = true;
        transport.loopEndTicks = 960000 * 8;

        std::size_t allocations = 0;
        int32_t parameters = 0;
        effect->effect().GetNumberOfParameters(&parameters);
        for (int round = 0; round < 8; ++round) {
            // A new snapshot for the next block: a parameter changed on the main thread.
            const AAX_IParameter* changed =
                effect->effect().GetParameterAtIndex(round % parameters);
            effect->setParameter(changed->Identifier(), round % 2 == 0 ? 0.25 : 0.75);
            const kelvo::testing::AllocationScope scope;
            for (const int32_t frames : {512, 1, 64, 4096}) {
                transport.sample += frames;
                effect->process(input.input(), output.output(), frames);
            }
            allocations += scope.count();
        }
        EXPECT_EQ(allocations, 0u) << channels << " channels";
    }
}

INSTANTIATE_TEST_SUITE_P(Products, Allocation,
                         ::testing::Values("KelvoFennicAAX", "KelvoCorvelAAX"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
