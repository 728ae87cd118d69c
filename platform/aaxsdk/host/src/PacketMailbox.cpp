#include <AAXHost/PacketMailbox.h>

#include <cstring>

namespace aaxhost {

PacketMailbox::PacketMailbox(uint32_t capacity) : capacity_(capacity) {
    const std::size_t cells =
        (capacity + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t) + 1;
    for (auto& slot : slots_) {
        slot.assign(cells, std::max_align_t{});
    }
}

bool PacketMailbox::post(const void* data, uint32_t size) {
    if (data == nullptr || size > capacity_) {
        return false;
    }
    auto* slot = reinterpret_cast<unsigned char*>(slots_[back_].data());
    std::memcpy(slot, data, size);
    std::memset(slot + size, 0, capacity_ - size);
    back_ = middle_.exchange(back_ | fresh, std::memory_order_acq_rel) & ~fresh;
    return true;
}

const void* PacketMailbox::take() noexcept {
    if ((middle_.load(std::memory_order_relaxed) & fresh) != 0) {
        front_ = middle_.exchange(front_, std::memory_order_acq_rel) & ~fresh;
        taken_ = true;
    }
    return taken_ ? slots_[front_].data() : nullptr;
}

} // namespace aaxhost
