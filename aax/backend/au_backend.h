#pragma once
// kelvoaax::AUBackend: one Audio Unit effect hosted inside the AAX plug-in's own process. It
// registers the unit's component once per process (component_registry.h), creates one
// instance, reads its parameter list, installs host callbacks through which the unit sees the
// AAX transport, prepares stream formats and renders blocks of non-interleaved 32-bit float
// audio, handing the unit the host's input through a render callback. It also saves and
// restores the unit's class-info state as binary property-list bytes.
//
// Setup operations throw exceptions with fixed texts (std::runtime_error, or
// std::invalid_argument for refused arguments); render and the callbacks never throw and
// return platform statuses. A block that is not rendered leaves silence in the host's output
// channels, never what the host had left there.

#include <AudioToolbox/AudioToolbox.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kelvoaax {

// One unit parameter, as read at construction.
struct Parameter {
    uint32_t id = 0;
    AudioUnitParameterInfo info{}; // its CF name reference is cleared once the name is taken
    std::string name;
    std::vector<std::string> valueStrings; // in the unit's order; empty when it offers none
};

// The transport of the block being rendered, as the unit's host callbacks report it.
struct Clock {
    double position = 0.0;   // sample position of the block's first frame
    double beat = 0.0;       // quarter notes
    double tempo = 0.0;      // beats per minute
    double cycleStart = 0.0; // loop start, quarter notes
    double cycleEnd = 0.0;   // loop end, quarter notes
    bool hasTempo = false;
    bool hasTransport = false;
    bool playing = false;
    bool changed = false; // started, stopped or jumped since the previous block
    bool cycling = false;
};

class AUBackend {
public:
    // [main thread] Registers (or finds) the component of the unit bundle at path, creates an
    // instance, reads its parameters and installs the host callbacks.
    AUBackend(const std::string& path, const std::string& factoryName, uint32_t subtype,
              const std::string& componentName);
    // [main thread] Uninitialises and disposes of the instance; the registered component and
    // the loaded bundle stay.
    ~AUBackend();
    AUBackend(const AUBackend&) = delete;
    AUBackend& operator=(const AUBackend&) = delete;

    // [main thread] Formats, frame limit, input callback, AudioUnitInitialize. A refused
    // format or layout ("invalid render format", "unsupported channel layout") changes
    // nothing; a later failure leaves the backend unprepared. May be called again.
    void prepare(double sampleRate, uint32_t inputs, uint32_t outputs, uint32_t maxFrames);

    // [render thread] Renders frames into the first `outputs` channels (inputs may be null, and
    // any of its channels: silence). 0, or -10867 (not prepared), -10874 (too many frames), -50
    // (bad buffers, a non-finite clock position, a unit buffer too short) or the unit's status.
    OSStatus render(const float* const* inputs, float* const* outputs, uint32_t frames,
                    const Clock& clock) noexcept;

    // [any thread] The unit's parameter set (global scope, element 0); its status is ignored.
    void set(uint32_t id, float value, uint32_t bufferOffset) noexcept;
    // [main thread] The unit's parameter get; throws "parameter value: <status>".
    float get(uint32_t id) const;
    // [main thread] The unit's latency property; throws "latency: <status>".
    double latencySeconds() const;
    // [main thread] The unit's class info as a binary property list.
    std::vector<uint8_t> state() const;
    // [main thread] Replaces the unit's class info with the property list in bytes (1 to
    // 16 MiB, any format); the unit validates it and refuses what it cannot apply.
    void restore(const void* bytes, std::size_t size);

    // [any thread]
    AudioUnit unit() const { return unit_; }
    const std::vector<Parameter>& parameters() const { return parameters_; }
    bool prepared() const { return prepared_; }
    uint32_t outputs() const { return outputs_; }

    // The largest state restore accepts.
    static constexpr std::size_t maximumStateSize = 16u << 20;

private:
    std::vector<AUChannelInfo> layouts() const;
    void readParameters();
    // [render thread] Zeros in the first `outputs` (at least one) non-null channels.
    void silence(float* const* outputs, uint32_t frames) const noexcept;

    // [render thread] The callbacks the unit is given; user data is the backend.
    static OSStatus pull(void* backend, AudioUnitRenderActionFlags* flags,
                         const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                         AudioBufferList* data) noexcept;
    static OSStatus tempo(void* backend, Float64* beat, Float64* tempo) noexcept;
    static OSStatus transport(void* backend, Boolean* playing, Boolean* changed, Float64* position,
                              Boolean* cycling, Float64* cycleStart, Float64* cycleEnd) noexcept;

    AudioUnit unit_ = nullptr;
    std::vector<Parameter> parameters_;
    bool prepared_ = false;
    uint32_t inputs_ = 0;
    uint32_t outputs_ = 0;
    uint32_t maxFrames_ = 0;
    Clock clock_;
    double sampleRate_ = 0.0;
    const float* const* currentInputs_ = nullptr; // during render only
    uint32_t currentFrames_ = 0;                  // during render only
    std::vector<float> silence_; // maxFrames zeros: the source of channels the host does not give
    std::vector<float> scratch_; // maxFrames per input: where a unit buffer without data is filled
};

} // namespace kelvoaax
