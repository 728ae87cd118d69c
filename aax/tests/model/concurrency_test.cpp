// Host automation on the main thread while a render thread processes the same instance: the
// snapshots cross through the host's port, the unit's parameters are set from both threads.
// Run under ThreadSanitizer (label concurrency).

#include "support/bridge_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace bridgetest;

TEST(Concurrency, ParameterUpdatesWhileTheRenderThreadProcesses) {
    for (const char* bundle : {"KelvoFennicAAX", "KelvoCorvelAAX"}) {
        const auto effect = instance(module(productBundle(bundle)), 2);
        int32_t parameters = 0;
        effect->effect().GetNumberOfParameters(&parameters);
        std::atomic<bool> done{false};
        std::atomic<int> blocks{0};
        std::thread render([&] {
            Block input = tone(2, 128);
            Block output(2, 128);
            while (!done.load(std::memory_order_acquire)) {
                effect->transport().state.playing = true;
                effect->transport().state.sample += 128;
                effect->process(input.input(), output.output(), 128);
                blocks.fetch_add(1, std::memory_order_relaxed);
            }
        });
        for (int update = 0; update < 400 || blocks.load() < 200; ++update) {
            const AAX_IParameter* changed =
                effect->effect().GetParameterAtIndex(update % parameters);
            effect->setParameter(changed->Identifier(), (update % 7) / 6.0);
            if (update % 50 == 0) {
                uint32_t size = 0;
                effect->effect().GetChunkSize('KAU1', &size);
            }
        }
        done.store(true, std::memory_order_release);
        render.join();
        EXPECT_GT(blocks.load(), 0) << bundle;
    }
}

} // namespace
