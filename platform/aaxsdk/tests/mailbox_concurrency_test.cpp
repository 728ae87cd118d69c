// The mailbox with its writer and reader on two threads: the reader only ever sees whole
// packets, in the order posted. Run under ThreadSanitizer (label concurrency).

#include <AAXHost/PacketMailbox.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

namespace {

TEST(PacketMailboxConcurrency, TheReaderSeesWholePacketsInOrder) {
    using Packet = std::array<uint32_t, 64>;
    aaxhost::PacketMailbox mailbox(sizeof(Packet));
    std::atomic<bool> done{false};
    bool torn = false;
    bool backwards = false;
    std::thread reader([&] {
        uint32_t last = 0;
        while (!done.load(std::memory_order_acquire)) {
            const auto* packet = static_cast<const Packet*>(mailbox.take());
            if (packet == nullptr) {
                continue;
            }
            for (const uint32_t word : *packet) {
                torn = torn || word != (*packet)[0];
            }
            backwards = backwards || (*packet)[0] < last;
            last = (*packet)[0];
        }
    });
    Packet packet{};
    for (uint32_t serial = 1; serial <= 20000; ++serial) {
        packet.fill(serial);
        mailbox.post(&packet, sizeof packet);
    }
    done.store(true, std::memory_order_release);
    reader.join();
    EXPECT_FALSE(torn);
    EXPECT_FALSE(backwards);
}

} // namespace
