#include <AAXHost/Instance.h>

#include <AAXHost/Module.h>

#include "RemoteEffectParameters.h"

#include <algorithm>
#include <cstring>

namespace aaxhost {

Instance::Instance(const EffectDescription& effect, const ComponentDescription& component)
    : effectDescription_(effect), component_(component) {
    const auto create = reinterpret_cast<AAX_CreateEffectParametersProc>(
        effect.procedure(AAX_eProcPtrID_Create_EffectParameters));
    if (create == nullptr) {
        throw LoadError("the effect names no procedure that creates its data model");
    }
    if (component_.processProc() == nullptr) {
        throw LoadError("the component names no native process procedure");
    }
    context_.assign(component_.contextLength(), nullptr);
    for (const auto& field : component_.fields) {
        if (field.kind == FieldKind::privateData) {
            if (field.privateSize < 0) {
                throw LoadError("a private-data field of negative size");
            }
            const std::size_t cells =
                static_cast<std::size_t>(field.privateSize) / sizeof(std::max_align_t) + 1;
            blocks_.push_back({field.index, static_cast<uint32_t>(field.privateSize), field.options,
                               std::vector<std::max_align_t>(cells)});
        } else if (field.kind == FieldKind::dataInPort) {
            ports_.push_back({field.index, std::make_unique<PacketMailbox>(field.packetSize)});
        }
    }
    for (auto& block : blocks_) {
        context_[static_cast<std::size_t>(block.index)] = block.storage.data();
    }

    const auto stem = [](unsigned channels) {
        return static_cast<AAX_EStemFormat>(channels == 1   ? AAX_eStemFormat_Mono
                                            : channels == 2 ? AAX_eStemFormat_Stereo
                                                            : channels);
    };
    controller_.inputStem = stem(component_.inputChannels());
    controller_.outputStem = stem(component_.outputChannels());
    controller_.port = [this](AAX_CFieldIndex index) { return mailbox(index); };
    automation_.answer = [this](const std::string& parameter, double normalized) {
        setParameter(parameter.c_str(), normalized);
    };

    effect_ = create();
    if (effect_ == nullptr) {
        throw LoadError("the effect's procedure made no data model");
    }
}

Instance::~Instance() {
    if (initialized_) {
        effect_->Uninitialize();
    }
    remote_.reset();
    delete effect_;
}

AAX_Result Instance::initialize(bool withTransport) {
    const AAX_Result result =
        effect_->Initialize(&controller_, withTransport ? &transport_ : nullptr, &automation_);
    initialized_ = true;
    effect_->GenerateCoefficients();
    resetPrivateData();
    return result;
}

AAX_Result Instance::resetPrivateData() {
    AAX_Result first = AAX_SUCCESS;
    for (auto& block : blocks_) {
        void* data = block.storage.data();
        AAX_Result result = AAX_SUCCESS;
        if ((block.options & AAX_ePrivateDataOptions_ResetByPlugIn) != 0) {
            result = effect_->ResetFieldData(block.index, data, block.size);
        } else {
            std::memset(data, 0, block.size);
        }
        if (first == AAX_SUCCESS) {
            first = result;
        }
    }
    return first;
}

AAX_Result Instance::setParameter(const char* identifier, double normalized) {
    const AAX_Result updated = effect_->UpdateParameterNormalizedValue(identifier, normalized,
                                                                       AAX_eUpdateSource_Parameter);
    const AAX_Result generated = effect_->GenerateCoefficients();
    return updated != AAX_SUCCESS ? updated : generated;
}

void* Instance::prepareContext(const float* const* inputs, float* const* outputs,
                               int32_t frames) noexcept {
    const std::size_t inputCount =
        std::min<std::size_t>(component_.inputChannels(), inputs_.size());
    const std::size_t outputCount =
        std::min<std::size_t>(component_.outputChannels(), outputs_.size());
    for (std::size_t c = 0; c < inputCount; ++c) {
        // The process procedure receives the input as the field type says; it only reads it.
        inputs_[c] = inputs != nullptr ? const_cast<float*>(inputs[c]) : nullptr;
    }
    for (std::size_t c = 0; c < outputCount; ++c) {
        outputs_[c] = outputs != nullptr ? outputs[c] : nullptr;
    }
    frames_ = frames;
    for (const auto& field : component_.fields) {
        void*& slot = context_[static_cast<std::size_t>(field.index)];
        switch (field.kind) {
        case FieldKind::audioIn:
            slot = inputs != nullptr ? inputs_.data() : nullptr;
            break;
        case FieldKind::audioOut:
            slot = outputs != nullptr ? outputs_.data() : nullptr;
            break;
        case FieldKind::bufferLength:
            slot = &frames_;
            break;
        case FieldKind::clock:
            slot = &clock_;
            break;
        case FieldKind::dataInPort:
            slot = const_cast<void*>(mailbox(field.index)->take());
            break;
        case FieldKind::privateData:
            break;
        }
    }
    return context_.data();
}

void Instance::process(const float* const* inputs, float* const* outputs, int32_t frames) noexcept {
    void* const contexts[1] = {prepareContext(inputs, outputs, frames)};
    component_.processProc()(contexts, contexts + 1);
    clock_ += frames > 0 ? frames : 0;
}

void* Instance::privateBlock(AAX_CFieldIndex index) {
    for (auto& block : blocks_) {
        if (block.index == index) {
            return block.storage.data();
        }
    }
    return nullptr;
}

PacketMailbox* Instance::mailbox(AAX_CFieldIndex index) {
    for (auto& port : ports_) {
        if (port.index == index) {
            return port.mailbox.get();
        }
    }
    return nullptr;
}

std::unique_ptr<AAX_IEffectGUI> Instance::openGUI(GUIProcess process) {
    const auto create = reinterpret_cast<AAX_CreateEffectGUIProc>(
        effectDescription_.procedure(AAX_eProcPtrID_Create_EffectGUI));
    if (create == nullptr) {
        return nullptr;
    }
    std::unique_ptr<AAX_IEffectGUI> gui(create());
    if (gui == nullptr) {
        return nullptr;
    }
    AAX_IEffectParameters* parameters = effect_;
    if (process == GUIProcess::other) {
        if (remote_ == nullptr) {
            remote_ = std::make_unique<RemoteEffectParameters>(*effect_);
        }
        parameters = remote_.get();
    }
    gui->Initialize(parameters);
    return gui;
}

} // namespace aaxhost
