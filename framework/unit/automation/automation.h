#pragma once
// Sample-accurate automation: parameter changes and ramps that any thread schedules with a
// sample offset, carried to the render thread through a bounded lock-free ring of 512 cells and
// applied there frame-accurately. The render call splits its buffer at every event and renders
// one-frame segments while a ramp runs.
//
// Producers: the unit's set-parameter entry (non-zero buffer offsets) and schedule-parameter
// entry, from any number of threads. Consumer: the unit's render call alone. Nothing here
// allocates, locks or calls the system.
//
// The ring is the classic sequence-stamped bounded queue: cell i starts stamped i; a producer
// claims position p with a compare-and-swap once cell p mod 512 is stamped p, fills it, and
// stamps it p + 1 (release); the consumer takes it when stamped d + 1 and hands it back stamped
// d + 512. The automation generation is the way to discard everything queued: producers stamp
// their events with the generation they saw, and the consumer drops events of any other one.

#include "automation/automation_event.h"

#include <AudioUnit/AUComponent.h>
#include <AudioUnit/AudioUnitProperties.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

namespace kelvostrip {

// Per parameter: the ramp it is running, if any.
struct RampState {
    std::uint8_t active = 0;
    float start = 0;
    float end = 0;
    float last = 0; // the value the ramp wrote last, to notice a direct set overriding it
    std::uint32_t counter = 0;
    std::uint32_t duration = 0;
};

// The model's normalise rule (clamp, default for non-finite, round stepped rows).
using Normalize = float (*)(unsigned id, float value);

template <unsigned N> class Automation {
public:
    static constexpr unsigned capacity = ringCapacity;
    static constexpr unsigned maximumAttempts = 16; // producers give up rather than spin

    Automation() noexcept {
        for (unsigned i = 0; i < capacity; ++i) {
            cells[i].sequence.store(static_cast<std::int64_t>(i), std::memory_order_relaxed);
        }
    }
    Automation(const Automation&) = delete;
    Automation& operator=(const Automation&) = delete;

    // [any thread] Queues one event; 0, or -10863 when the ring is full or contended (and then
    // everything queued is discarded by a generation bump).
    OSStatus push(std::uint32_t kind, std::uint32_t offset, std::uint32_t parameter,
                  std::uint32_t duration, float value, float end) noexcept {
        const std::int32_t seen = generation.load(std::memory_order_acquire);
        std::uint64_t position = enqueuePosition.load(std::memory_order_relaxed);
        for (unsigned attempt = 0; attempt < maximumAttempts; ++attempt) {
            AutomationCell& cell = cells[position % capacity];
            const std::int64_t stamp = cell.sequence.load(std::memory_order_acquire);
            const std::int64_t lag = stamp - static_cast<std::int64_t>(position);
            if (lag < 0) {
                break; // the consumer has not yet handed this cell back: full
            }
            if (lag > 0) {
                position = enqueuePosition.load(std::memory_order_relaxed);
                continue;
            }
            if (!enqueuePosition.compare_exchange_strong(position, position + 1,
                                                         std::memory_order_relaxed)) {
                continue; // position now holds the current enqueue position
            }
            cell.kind = kind;
            cell.offset = offset;
            cell.parameter = parameter;
            cell.duration = duration;
            cell.generation = seen;
            cell.value = value;
            cell.end = end;
            cell.ticket = position;
            cell.sequence.store(static_cast<std::int64_t>(position + 1), std::memory_order_release);
            return noErr;
        }
        bumpGeneration();
        return kAudioUnitErr_CannotDoInCurrentContext;
    }

    // [any thread] Validates a host batch whole, then queues it in order.
    OSStatus schedule(const AudioUnitParameterEvent* events, unsigned count,
                      Normalize normalize) noexcept {
        if (count == 0) {
            return noErr;
        }
        if (events == nullptr) {
            return kAudioUnitErr_InvalidParameterValue;
        }
        if (count > capacity) {
            return kAudioUnitErr_CannotDoInCurrentContext;
        }
        for (unsigned i = 0; i < count; ++i) {
            if (const OSStatus status = check(events[i]); status != noErr) {
                return status;
            }
        }
        for (unsigned i = 0; i < count; ++i) {
            if (const OSStatus status = pushHostEvent(events[i], normalize); status != noErr) {
                return status;
            }
        }
        return noErr;
    }

    // [render thread] Once per render buffer. values: the unit's snapshot of the N parameter
    // values, updated as events and ramps apply. publish(id) stores values[id] where the host
    // and the editor read it; segment(begin, end) renders frames [begin, end) with values as
    // they stand.
    template <class Publish, class Segment>
    void render(unsigned frames, float* values, Normalize normalize, Publish&& publish,
                Segment&& segment) noexcept {
        const std::int32_t now = generation.load(std::memory_order_acquire);
        if (now != lastSeen) {
            forget();
            lastSeen = now;
        }
        drain();
        std::sort(pending, pending + pendingCount, [](const Event& a, const Event& b) {
            return a.offset != b.offset ? a.offset < b.offset : a.ticket < b.ticket;
        });
        for (unsigned id = 0; id < N; ++id) {
            if (ramps[id].active && values[id] != ramps[id].last) {
                ramps[id].active = 0; // set directly between buffers: the set wins
            }
        }

        unsigned next = 0; // first pending event not yet applied
        unsigned t = 0;
        while (t < frames) {
            for (; next < pendingCount && pending[next].offset <= t; ++next) {
                apply(pending[next], values, publish);
            }
            bool stepped = false;
            for (unsigned id = 0; id < N; ++id) {
                RampState& ramp = ramps[id];
                if (!ramp.active) {
                    continue;
                }
                const double start = ramp.start;
                const double v =
                    start + (static_cast<double>(ramp.end) - start) * ramp.counter / ramp.duration;
                values[id] = normalize(id, static_cast<float>(v));
                ramp.last = values[id];
                publish(id);
                if (ramp.counter == ramp.duration) {
                    ramp.active = 0;
                }
                ++ramp.counter;
                stepped = true;
            }
            unsigned end = stepped ? t + 1 : frames;
            if (next < pendingCount && pending[next].offset < end) {
                end = pending[next].offset;
            }
            end = std::max(end, t + 1);
            segment(t, end);
            t = end;
        }

        // Events beyond this buffer wait for the next one, their offsets rebased.
        unsigned kept = 0;
        for (unsigned i = next; i < pendingCount; ++i) {
            pending[kept] = pending[i];
            pending[kept].offset -= frames;
            ++kept;
        }
        pendingCount = kept;
    }

    // [any thread] Discards everything queued: the consumer drops older events and ramps at
    // its next render.
    void bumpGeneration() noexcept { generation.fetch_add(1, std::memory_order_acq_rel); }

    // [any thread]
    std::int32_t currentGeneration() const noexcept {
        return generation.load(std::memory_order_acquire);
    }

    // [render thread] For tests and diagnostics: what the consumer holds.
    unsigned pendingEvents() const noexcept { return pendingCount; }
    const RampState& ramp(unsigned id) const noexcept { return ramps[id]; }

private:
    static OSStatus check(const AudioUnitParameterEvent& event) noexcept {
        if (event.scope != kAudioUnitScope_Global || event.element != 0 || event.parameter >= N) {
            return kAudioUnitErr_InvalidParameter;
        }
        bool finite = false;
        if (event.eventType == kParameterEvent_Immediate) {
            finite = std::isfinite(event.eventValues.immediate.value);
        } else if (event.eventType == kParameterEvent_Ramped) {
            finite = std::isfinite(event.eventValues.ramp.startValue) &&
                     std::isfinite(event.eventValues.ramp.endValue);
        }
        return finite ? OSStatus{noErr} : OSStatus{kAudioUnitErr_InvalidParameterValue};
    }

    OSStatus pushHostEvent(const AudioUnitParameterEvent& event, Normalize normalize) noexcept {
        const unsigned id = event.parameter;
        if (event.eventType == kParameterEvent_Immediate) {
            return push(eventImmediate, event.eventValues.immediate.bufferOffset, id, 0,
                        normalize(id, event.eventValues.immediate.value), 0);
        }
        const auto& ramp = event.eventValues.ramp;
        float start = normalize(id, ramp.startValue);
        const float end = normalize(id, ramp.endValue);
        if (ramp.startBufferOffset >= 0) {
            return push(eventRamp, static_cast<std::uint32_t>(ramp.startBufferOffset), id,
                        ramp.durationInFrames, start, end);
        }
        // A ramp that began before this buffer. In 64 bits: the most negative offset has no
        // 32-bit negation, and the comparison with the unsigned duration must be signed.
        const std::int64_t elapsed = -static_cast<std::int64_t>(ramp.startBufferOffset);
        const std::int64_t duration = ramp.durationInFrames;
        if (elapsed < duration) {
            const double joined = static_cast<double>(start) + (static_cast<double>(end) - start) *
                                                                   static_cast<double>(elapsed) /
                                                                   static_cast<double>(duration);
            start = normalize(id, static_cast<float>(joined));
            return push(eventRamp, 0, id, static_cast<std::uint32_t>(duration - elapsed), start,
                        end);
        }
        return push(eventRamp, 0, id, 0, end, end); // already over: its end value, now
    }

    // Moves every published cell into the pending list.
    void drain() noexcept {
        for (unsigned i = 0; i < capacity; ++i) {
            AutomationCell& cell = cells[dequeuePosition % capacity];
            if (cell.sequence.load(std::memory_order_acquire) !=
                static_cast<std::int64_t>(dequeuePosition + 1)) {
                return;
            }
            const Event event{cell.kind,       cell.offset, cell.parameter, cell.duration,
                              cell.generation, cell.value,  cell.end,       cell.ticket};
            cell.sequence.store(static_cast<std::int64_t>(dequeuePosition + capacity),
                                std::memory_order_release);
            ++dequeuePosition;
            if (event.generation != lastSeen) {
                continue;
            }
            if (pendingCount == capacity) {
                // Carried-over events fill the list: start afresh; the next render discards
                // what is still queued.
                forget();
                bumpGeneration();
                return;
            }
            pending[pendingCount++] = event;
        }
    }

    template <class Publish> void apply(const Event& event, float* values, Publish& publish) {
        RampState& ramp = ramps[event.parameter];
        ramp.active = event.kind == eventRamp && event.duration > 0;
        ramp.start = event.value;
        ramp.end = event.end;
        ramp.last = event.value;
        ramp.counter = 0;
        ramp.duration = event.duration;
        values[event.parameter] =
            event.kind == eventRamp && event.duration == 0 ? event.end : event.value;
        publish(event.parameter);
    }

    void forget() noexcept {
        pendingCount = 0;
        for (RampState& ramp : ramps) {
            ramp = RampState{};
        }
    }

    AutomationCell cells[capacity];
    std::atomic<std::uint64_t> enqueuePosition{0};
    std::uint64_t dequeuePosition = 0; // consumer only
    std::atomic<std::int32_t> generation{1};
    std::int32_t lastSeen = 1; // consumer only
    Event pending[capacity];
    unsigned pendingCount = 0;
    RampState ramps[N];
};

} // namespace kelvostrip
