#include "testing/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int> armed{0};
std::atomic<std::size_t> allocations{0};

void note() noexcept {
    if (armed.load(std::memory_order_relaxed) > 0) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
}

void* allocate(std::size_t size) {
    note();
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    note();
    std::size_t a = static_cast<std::size_t>(alignment);
    std::size_t rounded = (size + a - 1) / a * a;
    if (void* p = std::aligned_alloc(a, rounded ? rounded : a)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

namespace kelvo::testing {

AllocationScope::AllocationScope() : start_(allocations.load()) { armed.fetch_add(1); }
AllocationScope::~AllocationScope() { armed.fetch_sub(1); }
std::size_t AllocationScope::count() const { return allocations.load() - start_; }

} // namespace kelvo::testing

// Every form of the global allocation functions, so nothing slips past the count.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
