#pragma once
// kelvoaax::Model: the bridge's AAX data model, one per plug-in instance. At initialisation it
// finds the unit bundle inside its own AAX bundle, creates and prepares the unit (AUBackend),
// reports the unit's latency, mirrors every writable unit parameter as an AAX parameter with
// its own display, registers them for the snapshot packet of the real-time path and listens to
// the unit's value changes and edit gestures. Afterwards it carries the host's parameter
// changes to the unit and the unit's own (from its editor) to the host, renders the unit in
// the host's process procedure, and saves and restores the unit's state as one chunk.
//
// No host call lets an exception out: failures become AAX results.

#include "backend/au_backend.h"
#include "model/binding.h"
#include "model/context.h"

#include <AAX/AAX_CEffectParameters.h>
#include <AppKit/NSView.h>
#include <AudioToolbox/AudioUnitUtilities.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace kelvoaax {

class Model final : public AAX_CEffectParameters {
public:
    // [main thread] A new model with nothing attached; null when it cannot be made.
    static AAX_IEffectParameters* Create() noexcept;

    Model();

    // [main thread]
    AAX_Result Uninitialize() override;
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID parameter, double value,
                                              AAX_EUpdateSource source) override;
    AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) override;
    AAX_Result GetNumberOfChunks(int32_t* count) const override;
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
    AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) override;
    AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) override;
    AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
    AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) override;
    AAX_Result GetCustomData(AAX_CTypeID typeID, uint32_t size, void* data,
                             uint32_t* outSize) override;
    ~Model() override;

    // [main thread, the main run loop] The unit's parameter events: values and gestures that
    // the unit or its editor announced, passed to the mirrored AAX parameter.
    static void event(void* model, void* object, const AudioUnitEvent* event, UInt64 hostTime,
                      AudioUnitParameterValue value) noexcept;
    // [main thread] The snapshot packet's handler (the SDK calls it for a dirty packet).
    AAX_Result packet(AAX_CPacket& packet);
    // [render thread] One block of one instance.
    void render(const Context& context) noexcept;
    // [main thread] The state chunk: header and the unit's class info; throws.
    std::vector<uint8_t> save() const;

    // [main thread] An editor view made for the unit: before the unit is disposed of, the view
    // is taken out of its window, where it would go on calling the unit.
    void adoptEditor(const std::shared_ptr<NSView>& view);
    // [main thread] How many units the model has disposed of: an editor made when the count
    // was another edits a unit that is gone.
    uint64_t unitsDisposed() const { return unitsDisposed_; }

protected:
    // [main thread] 0, or AAX_ERROR_INITIALIZATION_FAILED.
    AAX_Result EffectInit() override;

private:
    // EffectInit's work; false when the host cannot tell its rate or stem formats. Throws.
    bool attach();
    void mirror(const Parameter& parameter);
    void listen();
    void disposeListener() noexcept;
    // Takes the unit's editors out of their windows (a drag in one ends there).
    void withdrawEditors() noexcept;
    // Withdraws the editors, then destroys the backend.
    void disposeBackend() noexcept;
    // Releases the AAX parameters the unit's editor touched and has not released.
    void releaseTouched() noexcept;
    // [render thread]
    void applySnapshot(const ParameterSnapshot& snapshot, RenderState& state) noexcept;
    Clock clockFor(const Context& context, const RenderState& state) const noexcept;
    void silence(const Context& context, uint32_t frames) const noexcept;

    std::unique_ptr<AUBackend> backend_;
    std::vector<Binding> bindings_; // at most snapshotCapacity
    std::vector<bool> touched_;     // per binding: touched by the unit and not yet released
    AUEventListenerRef listener_ = nullptr;
    uint32_t inputs_ = 0;
    uint32_t outputs_ = 0;
    float sampleRate_ = 0.0f;
    uint64_t serial_ = 0;                        // snapshot packets begun so far
    std::vector<uint8_t> chunkCache_;            // the chunk of the last successful size request
    std::vector<std::weak_ptr<NSView>> editors_; // made for the backend's unit
    uint64_t unitsDisposed_ = 0;
};

// [render thread] The native process procedure: renders each instance whose context and
// private block name a model.
void process(void* const instancesBegin[], const void* instancesEnd) noexcept;

} // namespace kelvoaax
