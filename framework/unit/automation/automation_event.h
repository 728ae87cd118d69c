#pragma once
// The records of the automation ring: one scheduled parameter change or ramp with its sample
// offset.

#include <atomic>
#include <cstdint>

namespace kelvostrip {

inline constexpr unsigned ringCapacity = 512;

inline constexpr std::uint32_t eventImmediate = 2; // a value at an offset
inline constexpr std::uint32_t eventRamp = 3;      // a ramp from value to end over duration

// One event as the consumer keeps it.
struct Event {
    std::uint32_t kind;
    std::uint32_t offset;    // frames from the start of the render buffer
    std::uint32_t parameter; // < N
    std::uint32_t duration;  // ramp length in frames (0 for immediate values)
    std::int32_t generation; // the automation generation the producer saw
    float value;             // immediate value, or ramp start (normalised)
    float end;               // ramp end (normalised); 0 for immediate values
    std::uint64_t ticket;    // the ring position the producer claimed: orders equal offsets
};

// One ring cell: an event and its protocol stamp.
struct AutomationCell {
    std::atomic<std::int64_t> sequence{0};
    std::uint32_t kind = 0;
    std::uint32_t offset = 0;
    std::uint32_t parameter = 0;
    std::uint32_t duration = 0;
    std::int32_t generation = 0;
    float value = 0;
    float end = 0;
    std::uint64_t ticket = 0;
};

} // namespace kelvostrip
