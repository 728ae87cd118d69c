#pragma once
// The unit's copy of its meter block (meters/meter_block.h). Written by the render thread after
// each block, read by the property call on another thread; each float is a relaxed atomic, so a
// reader may see two successive blocks mixed but never a torn value.

#include "meters/meter_block.h"

#include <atomic>

struct Telemetry {
    static_assert(std::atomic<float>::is_always_lock_free);
    static constexpr float floorDB = -100;

    std::atomic<float> input[2] = {floorDB, floorDB};
    std::atomic<float> output[2] = {floorDB, floorDB};
    std::atomic<float> gr[2] = {0, 0};
    std::atomic<float> peak[2] = {floorDB, floorDB};

    // [render thread]
    void store(const TelemetryBlock& block) noexcept {
        for (unsigned c = 0; c < 2; ++c) {
            input[c].store(block.input[c], std::memory_order_relaxed);
            output[c].store(block.output[c], std::memory_order_relaxed);
            gr[c].store(block.gr[c], std::memory_order_relaxed);
            peak[c].store(block.peak[c], std::memory_order_relaxed);
        }
    }
    // [any thread]
    TelemetryBlock load() const noexcept {
        TelemetryBlock block;
        for (unsigned c = 0; c < 2; ++c) {
            block.input[c] = input[c].load(std::memory_order_relaxed);
            block.output[c] = output[c].load(std::memory_order_relaxed);
            block.gr[c] = gr[c].load(std::memory_order_relaxed);
            block.peak[c] = peak[c].load(std::memory_order_relaxed);
        }
        return block;
    }
};
