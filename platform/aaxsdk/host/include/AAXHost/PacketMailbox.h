#pragma once
// The host's side of a buffered data-in port: the main thread posts packets, the render thread
// takes the newest one for each process call. A triple buffer: posting copies into a free slot
// and publishes it with one atomic exchange; taking swaps the newest slot in with another.
// Neither side waits, allocates or locks, and a packet being read is never overwritten.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace aaxhost {

class PacketMailbox {
public:
    // [main thread] Room for packets of up to capacity bytes.
    explicit PacketMailbox(uint32_t capacity);

    uint32_t capacity() const { return capacity_; }

    // [main thread] Copies the packet in; false (nothing posted) when it is larger than the
    // capacity or data is null. The rest of the slot is zeroed.
    bool post(const void* data, uint32_t size);

    // [render thread] The newest posted packet, or null while none has been posted. The data
    // stays valid until the next call.
    const void* take() noexcept;

private:
    static constexpr unsigned fresh = 4; // in middle_: the slot holds a packet not yet taken

    uint32_t capacity_;
    std::array<std::vector<std::max_align_t>, 3> slots_;
    std::atomic<unsigned> middle_{0};
    unsigned back_ = 1;  // the writer's slot
    unsigned front_ = 2; // the reader's slot
    bool taken_ = false; // the reader's slot holds a packet
};

} // namespace aaxhost
