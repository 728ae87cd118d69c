// The real-time path: the snapshot packet built on the main thread, the private block, and
// the block render on the host's real-time thread. Parameter values cross from the main thread
// only as numbered snapshots through the host's data-in port; the private block remembers the
// last snapshot applied and where the transport was. Nothing on the render side allocates,
// locks or throws.

#include "model/model.h"

#include <AAX/AAX_ITransport.h>

#include <cmath>
#include <cstring>

namespace kelvoaax {
namespace {

constexpr int32_t maximumBlock = 65536;
constexpr double sameValue = 1e-12; // as the main thread compares

} // namespace

AAX_Result Model::packet(AAX_CPacket& packet) {
    ParameterSnapshot snapshot{};
    snapshot.serial = ++serial_;
    snapshot.count = static_cast<uint32_t>(bindings_.size());
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        const AAX_IParameter* mirrored =
            mParameterManager.GetParameterByID(bindings_[i].aaxID.c_str());
        double real = 0.0;
        if (mirrored == nullptr || !mirrored->GetValueAsDouble(&real)) {
            return AAX_ERROR_INVALID_PARAMETER_ID;
        }
        snapshot.values[i] = static_cast<float>(real);
    }
    packet.SetSize(sizeof snapshot);
    std::memcpy(packet.GetPtr(), &snapshot, sizeof snapshot);
    return AAX_SUCCESS;
}

AAX_Result Model::ResetFieldData(AAX_CFieldIndex index, void* data, uint32_t size) {
    if (data == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (index != field::renderState) {
        return AAX_CEffectParameters::ResetFieldData(index, data, size);
    }
    if (size != sizeof(RenderState) || backend_ == nullptr) {
        // A block left as the host gave it could name anything; an empty one names no model.
        std::memset(data, 0, size);
        return AAX_ERROR_UNSPECIFIED;
    }
    const RenderState fresh{this, -1, 0.0, false, false};
    std::memset(data, 0, size);
    std::memcpy(data, &fresh, sizeof fresh);
    return AAX_SUCCESS;
}

void process(void* const instancesBegin[], const void* instancesEnd) noexcept {
    const auto end = static_cast<void* const*>(instancesEnd);
    for (void* const* instance = instancesBegin; instance < end; ++instance) {
        if (*instance == nullptr) {
            continue;
        }
        // The host's context is an array of field pointers; read as the struct it declares.
        Context context;
        std::memcpy(&context, *instance, sizeof context);
        if (context.renderState == nullptr || context.renderState->model == nullptr) {
            continue;
        }
        context.renderState->model->render(context);
    }
}

void Model::silence(const Context& context, uint32_t frames) const noexcept {
    if (context.audioOut == nullptr || frames == 0) {
        return;
    }
    const uint32_t channels = outputs_ > 0 ? outputs_ : 1;
    for (uint32_t c = 0; c < channels; ++c) {
        if (context.audioOut[c] != nullptr) {
            std::memset(context.audioOut[c], 0, frames * sizeof(float));
        }
    }
}

void Model::applySnapshot(const ParameterSnapshot& snapshot, RenderState& state) noexcept {
    // A snapshot of another binding count is not applied; the next block tries again.
    if (static_cast<int64_t>(snapshot.serial) == state.lastSerial ||
        snapshot.count != bindings_.size()) {
        return;
    }
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        const uint32_t id = bindings_[i].auID;
        AudioUnitParameterValue current = 0.0f;
        const OSStatus read =
            AudioUnitGetParameter(backend_->unit(), id, kAudioUnitScope_Global, 0, &current);
        if (read != noErr ||
            std::fabs(static_cast<double>(current) - snapshot.values[i]) > sameValue) {
            backend_->set(id, snapshot.values[i], 0);
        }
    }
    state.lastSerial = static_cast<int64_t>(snapshot.serial);
}

Clock Model::clockFor(const Context& context, const RenderState& state) const noexcept {
    Clock clock;
    clock.position =
        context.clock != nullptr ? static_cast<double>(*context.clock) : state.nextSample;
    const AAX_ITransport* transport = Transport();
    if (transport == nullptr) {
        return clock;
    }
    bool playing = false;
    clock.hasTransport = transport->IsTransportPlaying(&playing) == AAX_SUCCESS;
    clock.playing = playing;
    if (clock.playing) {
        int64_t location = 0;
        if (transport->GetCurrentNativeSampleLocation(&location) == AAX_SUCCESS) {
            clock.position = static_cast<double>(location);
        }
    }
    double tempo = 0.0;
    int64_t ticks = 0;
    uint32_t ticksPerQuarter = 0;
    const bool tempoRead = transport->GetCurrentTempo(&tempo) == AAX_SUCCESS;
    const bool ticksRead = transport->GetCurrentTickPosition(&ticks) == AAX_SUCCESS;
    const bool quarterRead = transport->GetTicksPerQuarter(&ticksPerQuarter) == AAX_SUCCESS;
    clock.tempo = tempo;
    if (!quarterRead) {
        ticksPerQuarter = 0;
    }
    if (tempoRead && ticksRead && quarterRead) {
        clock.hasTempo = ticksPerQuarter != 0;
        if (ticksPerQuarter != 0) {
            clock.beat = static_cast<double>(ticks) / ticksPerQuarter;
        }
    }
    bool looping = false;
    int64_t loopStart = 0;
    int64_t loopEnd = 0;
    if (transport->GetCurrentLoopPosition(&looping, &loopStart, &loopEnd) == AAX_SUCCESS) {
        clock.cycling = looping;
        if (ticksPerQuarter != 0) {
            clock.cycleStart = static_cast<double>(loopStart) / ticksPerQuarter;
            clock.cycleEnd = static_cast<double>(loopEnd) / ticksPerQuarter;
        }
    }
    return clock;
}

void Model::render(const Context& context) noexcept {
    const int32_t length = context.bufferLength != nullptr ? *context.bufferLength : 0;
    const uint32_t frames = length > 0 ? static_cast<uint32_t>(length) : 0;
    if (context.audioOut == nullptr) {
        return;
    }
    if (length > maximumBlock || backend_ == nullptr || context.renderState == nullptr ||
        context.snapshot == nullptr) {
        silence(context, frames);
        return;
    }
    RenderState& state = *context.renderState;
    applySnapshot(*context.snapshot, state);

    Clock clock = clockFor(context, state);
    clock.changed = state.valid && (clock.playing != state.lastPlaying ||
                                    (clock.playing && clock.position != state.nextSample));
    // A block the backend does not render it silences itself.
    backend_->render(context.audioIn, context.audioOut, frames, clock);

    state.nextSample = clock.position + frames;
    state.lastPlaying = clock.playing;
    state.valid = true;
}

} // namespace kelvoaax
