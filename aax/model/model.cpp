// The model's life on the main thread: initialisation, the parameters it mirrors, the host's
// parameter changes and the unit's events.

#include "model/model.h"

#include "model/display.h"
#include "product.h"

#include <AAX/AAX_CLinearTaperDelegate.h>
#include <AAX/AAX_CLogTaperDelegate.h>
#include <AAX/AAX_CParameter.h>
#include <AAX/AAX_CheckedResult.h>
#include <AAX/AAX_IController.h>
#include <Foundation/Foundation.h>

#include <cmath>
#include <exception>
#include <stdexcept>

namespace kelvoaax {
namespace {

constexpr uint32_t maximumFrames = 65536;
constexpr Float32 notificationInterval = 0.005f; // seconds between the listener's deliveries
constexpr AudioUnitEventType listenedEvents[] = {kAudioUnitEvent_ParameterValueChange,
                                                 kAudioUnitEvent_BeginParameterChangeGesture,
                                                 kAudioUnitEvent_EndParameterChangeGesture};
// A value the unit already holds is not set again; floats compared as doubles.
constexpr double sameValue = 1e-12;

// Steps of a discrete parameter: every whole value from minimum to maximum, computed in float
// as the unit's range is; a range that makes no count gives none.
uint32_t discreteSteps(const AudioUnitParameterInfo& info) {
    const float steps = info.maxValue - info.minValue + 1.0f;
    return steps >= 1.0f && steps < 4294967296.0f ? static_cast<uint32_t>(steps) : 0;
}

} // namespace

AAX_IEffectParameters* Model::Create() noexcept {
    try {
        return new Model();
    } catch (...) {
        return nullptr;
    }
}

Model::Model() = default;

Model::~Model() {
    disposeListener();
    disposeBackend();
}

AAX_Result Model::EffectInit() {
    const char* failure = nullptr;
    std::string text;
    try {
        [[maybe_unused]] const NSAutoreleasePool pool; // @autoreleasepool
        return attach() ? AAX_SUCCESS : AAX_ERROR_INITIALIZATION_FAILED;
    } catch (const std::exception& error) {
        text = error.what();
        failure = text.c_str();
    } catch (...) {
        failure = "unknown exception";
    }
    NSLog("KELVO AAX %s initialization failed: %s", product::name, failure);
    disposeListener();
    disposeBackend();
    return AAX_ERROR_INITIALIZATION_FAILED;
}

bool Model::attach() {
    const std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithIdentifier(product::identifier);
    if (bundle == nullptr) {
        throw std::runtime_error("AAX bundle identity unavailable");
    }
    const NSString resources = bundle->resourcePath();
    if (resources.length() == 0) {
        throw std::runtime_error("AU bundle missing");
    }
    const NSString path =
        resources.stringByAppendingPathComponent("Backend").stringByAppendingPathComponent(
            product::backendBundle);
    auto backend = std::make_unique<AUBackend>(
        path.fileSystemRepresentation(), product::factoryName, product::productID, product::name);
    disposeBackend();
    backend_ = std::move(backend);

    AAX_IController* controller = Controller();
    AAX_CSampleRate rate = 0.0f;
    AAX_EStemFormat inputStem{};
    AAX_EStemFormat outputStem{};
    if (controller == nullptr || controller->GetSampleRate(&rate) != AAX_SUCCESS ||
        controller->GetInputStemFormat(&inputStem) != AAX_SUCCESS ||
        controller->GetOutputStemFormat(&outputStem) != AAX_SUCCESS) {
        return false;
    }
    sampleRate_ = rate;
    inputs_ = inputStem & 0xFFFFu; // the stem's channel count
    outputs_ = outputStem & 0xFFFFu;
    backend_->prepare(rate, inputs_, outputs_, maximumFrames);
    controller->SetSignalLatency(
        static_cast<int32_t>(std::round(backend_->latencySeconds() * sampleRate_)));

    bindings_.clear();
    touched_.clear();
    for (const Parameter& parameter : backend_->parameters()) {
        if ((parameter.info.flags & kAudioUnitParameterFlag_IsWritable) != 0) {
            mirror(parameter);
        }
    }
    listen();
    return true;
}

void Model::mirror(const Parameter& parameter) {
    if (bindings_.size() == snapshotCapacity) {
        throw std::runtime_error("parameter capacity exceeded");
    }
    const Binding binding = bindingFor(parameter);
    const double minimum = parameter.info.minValue;
    const double maximum = parameter.info.maxValue;
    const Display display(parameter);
    const AAX_CString name(parameter.name.c_str());
    const double defaultValue = parameter.info.defaultValue;
    std::unique_ptr<AAX_IParameter> mirrored;
    if (binding.discrete) {
        mirrored = std::make_unique<AAX_CParameter<double>>(
            binding.aaxID.c_str(), name, defaultValue,
            AAX_CLinearTaperDelegate<double, 1>(minimum, maximum), display, true);
    } else if ((parameter.info.flags & kAudioUnitParameterFlag_DisplayLogarithmic) != 0 &&
               minimum > 0.0) {
        mirrored = std::make_unique<AAX_CParameter<double>>(
            binding.aaxID.c_str(), name, defaultValue,
            AAX_CLogTaperDelegate<double, 1000>(minimum, maximum), display, true);
    } else {
        mirrored = std::make_unique<AAX_CParameter<double>>(
            binding.aaxID.c_str(), name, defaultValue,
            AAX_CLinearTaperDelegate<double, 0>(minimum, maximum), display, true);
    }
    mirrored->SetNumberOfSteps(binding.discrete ? discreteSteps(parameter.info) : 10001);
    mirrored->SetType(binding.discrete ? AAX_eParameterType_Discrete
                                       : AAX_eParameterType_Continuous);
    mParameterManager.AddParameter(mirrored.release());
    AAX_CheckedResult registeredPacket;
    registeredPacket = mPacketDispatcher.RegisterPacket(
        binding.aaxID.c_str(), field::snapshot, AAX_CPacketHandler<Model>(this, &Model::packet));
    bindings_.push_back(binding);
    touched_.push_back(false);
}

void Model::listen() {
    if (AUEventListenerCreate(&Model::event, this, CFRunLoopGetMain(), kCFRunLoopCommonModes,
                              notificationInterval, 0.0f, &listener_) != noErr ||
        listener_ == nullptr) {
        listener_ = nullptr;
        throw std::runtime_error("native automation listener unavailable");
    }
    for (const Binding& binding : bindings_) {
        for (const AudioUnitEventType type : listenedEvents) {
            AudioUnitEvent event{};
            event.mEventType = type;
            event.mArgument.mParameter = {backend_->unit(), binding.auID, kAudioUnitScope_Global,
                                          0};
            if (AUEventListenerAddEventType(listener_, this, &event) != noErr) {
                throw std::runtime_error("native automation registration failed");
            }
        }
    }
}

void Model::disposeListener() noexcept {
    if (listener_ != nullptr) {
        AUListenerDispose(listener_);
        listener_ = nullptr;
    }
}

AAX_Result Model::Uninitialize() {
    try {
        // The editors leave their windows while the unit, the listener and the host's
        // automation are all still there; the gestures they end cannot be delivered once the
        // listener is gone, so the host is told of them here.
        withdrawEditors();
        releaseTouched();
        disposeListener();
        const AAX_Result result = AAX_CEffectParameters::Uninitialize();
        disposeBackend();
        return result;
    } catch (...) {
        disposeBackend();
        return AAX_ERROR_UNSPECIFIED;
    }
}

void Model::adoptEditor(const std::shared_ptr<NSView>& view) {
    // Views the host has let go of since are forgotten first.
    std::erase_if(editors_, [](const std::weak_ptr<NSView>& editor) { return editor.expired(); });
    editors_.push_back(view);
}

void Model::withdrawEditors() noexcept {
    // While the unit still exists: an editor leaving its window ends a drag in progress and
    // stops its poll, and both still reach the unit.
    for (const std::weak_ptr<NSView>& editor : editors_) {
        if (const std::shared_ptr<NSView> view = editor.lock()) {
            view->removeFromSuperview();
        }
    }
    editors_.clear();
}

void Model::releaseTouched() noexcept {
    for (std::size_t i = 0; i < bindings_.size() && i < touched_.size(); ++i) {
        if (!touched_[i]) {
            continue;
        }
        touched_[i] = false;
        try {
            if (AAX_IParameter* mirrored =
                    mParameterManager.GetParameterByID(bindings_[i].aaxID.c_str())) {
                mirrored->Release();
            }
        } catch (...) {
            // The host's delegate failed: nothing else to tell it with.
        }
    }
}

void Model::disposeBackend() noexcept {
    withdrawEditors();
    if (backend_ != nullptr) {
        backend_.reset();
        ++unitsDisposed_;
    }
}

AAX_Result Model::UpdateParameterNormalizedValue(AAX_CParamID parameter, double value,
                                                 AAX_EUpdateSource source) {
    if (!std::isfinite(value)) {
        return AAX_ERROR_UNSPECIFIED;
    }
    try {
        const AAX_Result result =
            AAX_CEffectParameters::UpdateParameterNormalizedValue(parameter, value, source);
        if (result != AAX_SUCCESS || backend_ == nullptr || bindings_.empty()) {
            return result;
        }
        for (const Binding& binding : bindings_) {
            if (binding.aaxID != parameter) {
                continue;
            }
            const AAX_IParameter* mirrored =
                mParameterManager.GetParameterByID(binding.aaxID.c_str());
            double real = 0.0;
            if (mirrored == nullptr || !mirrored->GetValueAsDouble(&real)) {
                return AAX_SUCCESS;
            }
            const float target = static_cast<float>(real);
            AudioUnitParameterValue current = 0.0f;
            const OSStatus read = AudioUnitGetParameter(backend_->unit(), binding.auID,
                                                        kAudioUnitScope_Global, 0, &current);
            if (read != noErr || std::fabs(static_cast<double>(current) - target) > sameValue) {
                backend_->set(binding.auID, target, 0);
            }
            return AAX_SUCCESS;
        }
        return AAX_SUCCESS;
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
}

void Model::event(void* user, void*, const AudioUnitEvent* event, UInt64,
                  AudioUnitParameterValue value) noexcept {
    auto* model = static_cast<Model*>(user);
    if (model == nullptr || event == nullptr || model->backend_ == nullptr ||
        model->bindings_.empty() || event->mEventType > kAudioUnitEvent_EndParameterChangeGesture) {
        return;
    }
    try {
        const AudioUnitParameterID id = event->mArgument.mParameter.mParameterID;
        for (std::size_t index = 0; index < model->bindings_.size(); ++index) {
            const Binding& binding = model->bindings_[index];
            if (binding.auID != id) {
                continue;
            }
            AAX_IParameter* mirrored =
                model->mParameterManager.GetParameterByID(binding.aaxID.c_str());
            if (mirrored == nullptr) {
                return;
            }
            switch (event->mEventType) {
            case kAudioUnitEvent_ParameterValueChange:
                if (std::isfinite(value)) {
                    mirrored->SetValueWithDouble(value);
                }
                break;
            case kAudioUnitEvent_BeginParameterChangeGesture:
                mirrored->Touch();
                model->touched_[index] = true;
                break;
            case kAudioUnitEvent_EndParameterChangeGesture:
                mirrored->Release();
                model->touched_[index] = false;
                break;
            default:
                break;
            }
            return;
        }
    } catch (...) {
        // A listener callback has nowhere to report to; the event is dropped.
    }
}

} // namespace kelvoaax
