#pragma once
// One instance of an effect, driven as an AAX host drives it:
//
//     Instance instance(effect, component);     // the data model, made by procedure 0
//     instance.controller().sampleRate = 44100; // what the host will tell it
//     instance.initialize();                    // Initialize, first packets, private data
//     instance.setParameter("au_2", 0.5);       // host automation, packets posted
//     instance.process(inputs, outputs, 512);   // [render thread]
//
// The host lays out the component's algorithm context from its declared fields and fills it
// for every process call: the channel arrays, the block length, its running sample clock, the
// newest packet of each data-in port and the instance's private blocks. The stem formats it
// reports are the component's own; the controller, transport and automation delegate can be
// altered (or made to fail) before initialize.

#include <AAXHost/Description.h>
#include <AAXHost/HostServices.h>
#include <AAXHost/PacketMailbox.h>

#include <AAX/AAX_IEffectGUI.h>
#include <AAX/AAX_IEffectParameters.h>

#include <array>
#include <memory>
#include <vector>

namespace aaxhost {

// Where a GUI runs: in the data model's process, handed the data model itself, or in another
// one, as hosts that keep their editors apart from the audio engine do. It is then handed the
// host's stand-in for the data model, which carries each call across and answers custom data
// as the data model's own process does.
enum class GUIProcess { same, other };

class Instance {
public:
    // [main thread] Throws LoadError (Module.h) when the effect names no procedure 0, the
    // procedure makes nothing, or a field declaration cannot be laid out.
    Instance(const EffectDescription& effect, const ComponentDescription& component);
    // [main thread] Uninitialize (when initialised), then deletes the data model.
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    AAX_IEffectParameters& effect() { return *effect_; }
    const ComponentDescription& component() const { return component_; }
    Controller& controller() { return controller_; }
    ScriptedTransport& transport() { return transport_; }
    AutomationRecorder& automation() { return automation_; }

    // [main thread] Initialize (with the transport unless withTransport is false), then
    // GenerateCoefficients and resetPrivateData. Returns Initialize's result; on failure the
    // rest still happens, as a host that goes on with a failed instance does.
    AAX_Result initialize(bool withTransport = true);
    // [main thread] Each private block through ResetFieldData (when declared with
    // AAX_ePrivateDataOptions_ResetByPlugIn, else zero-filled); the first error is returned.
    AAX_Result resetPrivateData();
    // [main thread] Host automation: UpdateParameterNormalizedValue, then GenerateCoefficients;
    // the first error is returned.
    AAX_Result setParameter(const char* identifier, double normalized);

    // [render thread] One process call for this instance alone. inputs and outputs hold one
    // pointer per channel of the component (inputs may be null: the input field is null).
    void process(const float* const* inputs, float* const* outputs, int32_t frames) noexcept;
    // [render thread] Fills the context as process does, without calling the procedure, and
    // returns it, for a host (or test) that calls the procedure itself.
    void* prepareContext(const float* const* inputs, float* const* outputs,
                         int32_t frames) noexcept;
    // [render thread] The running sample clock: advanced by frames after each process call.
    int64_t sampleClock() const { return clock_; }
    void setSampleClock(int64_t clock) { clock_ = clock; }
    // The context's fields, for tests that alter them between prepareContext and the call.
    void** context() { return context_.data(); }
    // The private block of a field, or null.
    void* privateBlock(AAX_CFieldIndex index);
    // The mailbox of a data-in port, or null.
    PacketMailbox* mailbox(AAX_CFieldIndex index);

    // [main thread] A GUI made by procedure 1 and initialised for this instance, running in
    // that process; null when the effect names no such procedure or it makes nothing. The
    // instance must outlive it.
    std::unique_ptr<AAX_IEffectGUI> openGUI(GUIProcess process = GUIProcess::same);

private:
    struct PrivateBlock {
        AAX_CFieldIndex index;
        uint32_t size;
        uint32_t options;
        std::vector<std::max_align_t> storage;
    };
    struct Port {
        AAX_CFieldIndex index;
        std::unique_ptr<PacketMailbox> mailbox;
    };

    EffectDescription effectDescription_;
    ComponentDescription component_;
    AAX_IEffectParameters* effect_ = nullptr;
    std::unique_ptr<AAX_IEffectParameters> remote_; // what GUIs in another process hold
    bool initialized_ = false;
    Controller controller_;
    ScriptedTransport transport_;
    AutomationRecorder automation_;

    std::vector<void*> context_;
    std::vector<PrivateBlock> blocks_;
    std::vector<Port> ports_;
    std::array<float*, 8> inputs_{};
    std::array<float*, 8> outputs_{};
    int32_t frames_ = 0;
    int64_t clock_ = 0;
};

} // namespace aaxhost
