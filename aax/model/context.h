#pragma once
// What the real-time procedure receives from the host: the algorithm context of one instance,
// the parameter snapshot packet of the data-in port and the instance's private block.

#include <cstddef>
#include <cstdint>

namespace kelvoaax {

class Model;
struct ParameterSnapshot;
struct RenderState;

// The context as declared to the host, one pointer per field; the field index is the position.
struct Context {
    float* const* audioIn;             // the input channels (the array may be null)
    float* const* audioOut;            // the output channels
    int32_t* bufferLength;             // frames in this block (may be null)
    int64_t* clock;                    // the host's sample clock (may be null)
    const ParameterSnapshot* snapshot; // the packet posted last (null before the first)
    RenderState* renderState;          // the instance's private block
};

namespace field {
inline constexpr int32_t audioIn = 0;
inline constexpr int32_t audioOut = 1;
inline constexpr int32_t bufferLength = 2;
inline constexpr int32_t clock = 3;
inline constexpr int32_t snapshot = 4;
inline constexpr int32_t renderState = 5;
} // namespace field

static_assert(offsetof(Context, audioIn) == field::audioIn * sizeof(void*));
static_assert(offsetof(Context, audioOut) == field::audioOut * sizeof(void*));
static_assert(offsetof(Context, bufferLength) == field::bufferLength * sizeof(void*));
static_assert(offsetof(Context, clock) == field::clock * sizeof(void*));
static_assert(offsetof(Context, snapshot) == field::snapshot * sizeof(void*));
static_assert(offsetof(Context, renderState) == field::renderState * sizeof(void*));
static_assert(sizeof(Context) == 6 * sizeof(void*));

// The most parameters one snapshot carries.
inline constexpr std::size_t snapshotCapacity = 256;

// The data-in packet: the real (unit-side) values of every binding, numbered so the real-time
// side applies each snapshot once. Little-endian, as the host's memory is.
struct ParameterSnapshot {
    uint64_t serial; // the model's serial after increment: the first packet carries 1
    uint32_t count;  // the model's binding count when the packet was built
    float values[snapshotCapacity]; // values[i]: binding i; 0 from count on
    uint32_t padding;
};

static_assert(offsetof(ParameterSnapshot, serial) == 0);
static_assert(offsetof(ParameterSnapshot, count) == 8);
static_assert(offsetof(ParameterSnapshot, values) == 12);
static_assert(offsetof(ParameterSnapshot, padding) == 1036);
static_assert(sizeof(ParameterSnapshot) == 1040, "the port's declared packet size");

// The private block: which model renders the instance, and what the previous block left for
// the next (the snapshot applied, where the transport was).
struct RenderState {
    Model* model;       // the model that prepared the block; null: not rendered
    int64_t lastSerial; // serial of the last snapshot applied (-1: none since the reset)
    double nextSample;  // the position expected for the next block
    bool lastPlaying;   // the previous block's transport state
    bool valid;         // a block was rendered since the reset
};

static_assert(offsetof(RenderState, model) == 0);
static_assert(offsetof(RenderState, lastSerial) == 8);
static_assert(offsetof(RenderState, nextSample) == 16);
static_assert(offsetof(RenderState, lastPlaying) == 24);
static_assert(offsetof(RenderState, valid) == 25);
static_assert(sizeof(RenderState) == 32, "the private block's declared size");

} // namespace kelvoaax
