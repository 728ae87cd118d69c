#include "support/bridge_host.h"

#include "probe/probe_loader.h"

#include <AppKit/AppKitHost.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>

namespace bridgetest {
namespace {

std::string probeBackend() {
    return probeBundle() + "/Contents/Resources/Backend/KelvoProbe.component";
}

std::vector<std::string>& capturedLines() {
    static std::vector<std::string> lines;
    return lines;
}

} // namespace

std::string productBundle(const std::string& name) {
    return std::string(KELVO_BUNDLE_DIR) + "/" + name + ".aaxplugin";
}

std::string probeBundle() {
    return std::string(KELVO_AAX_TEST_BUNDLE_DIR) + "/KelvoProbeAAX.aaxplugin";
}

std::string unitBundle(const std::string& product) {
    return std::string(KELVO_BUNDLE_DIR) + "/" + product + ".component";
}

const aaxhost::Module& module(const std::string& path) {
    static std::map<std::string, std::unique_ptr<aaxhost::Module>> loaded;
    auto& entry = loaded[path];
    if (entry == nullptr) {
        entry = aaxhost::loadModule(path);
    }
    return *entry;
}

void configureProbe(const probe::Configuration& configuration) {
    probe::configureIn(probeBackend(), configuration);
}

const probe::Report& probeReport() {
    return probe::reportIn(probeBackend());
}

std::unique_ptr<aaxhost::Instance> instance(const aaxhost::Module& module, unsigned channels,
                                            double rate, bool initialise) {
    const aaxhost::EffectDescription& effect = module.description.effects.at(0);
    for (const auto& component : effect.components) {
        if (component.inputChannels() == channels) {
            auto made = std::make_unique<aaxhost::Instance>(effect, component);
            made->controller().sampleRate = static_cast<AAX_CSampleRate>(rate);
            if (initialise && made->initialize() != AAX_SUCCESS) {
                throw std::runtime_error("the instance did not initialise");
            }
            return made;
        }
    }
    throw std::runtime_error("no component of " + std::to_string(channels) + " channels");
}

AudioUnit unitOf(aaxhost::Instance& instance) {
    unsigned char block[16] = {};
    uint32_t size = 0;
    if (instance.effect().GetCustomData('KAUI', sizeof block, block, &size) != AAX_SUCCESS ||
        size != sizeof block) {
        return nullptr;
    }
    uint64_t handle = 0;
    for (int i = 7; i >= 0; --i) {
        handle = handle << 8 | block[8 + i];
    }
    return reinterpret_cast<AudioUnit>(static_cast<uintptr_t>(handle));
}

float unitValue(aaxhost::Instance& instance, AudioUnitParameterID id) {
    AudioUnitParameterValue value = NAN;
    AudioUnitGetParameter(unitOf(instance), id, kAudioUnitScope_Global, 0, &value);
    return value;
}

const AAX_IParameter* parameter(aaxhost::Instance& instance, const std::string& identifier) {
    int32_t count = 0;
    instance.effect().GetNumberOfParameters(&count);
    for (int32_t i = 0; i < count; ++i) {
        const AAX_IParameter* candidate = instance.effect().GetParameterAtIndex(i);
        if (candidate != nullptr && identifier == candidate->Identifier()) {
            return candidate;
        }
    }
    return nullptr;
}

double realValue(aaxhost::Instance& instance, const std::string& identifier) {
    const AAX_IParameter* mirrored = parameter(instance, identifier);
    return mirrored != nullptr ? mirrored->NormalizedToReal(mirrored->GetNormalizedValue()) : NAN;
}

AAX_Result setReal(aaxhost::Instance& instance, const std::string& identifier, double real) {
    const AAX_IParameter* mirrored = parameter(instance, identifier);
    if (mirrored == nullptr) {
        return AAX_ERROR_INVALID_PARAMETER_ID;
    }
    return instance.setParameter(identifier.c_str(), mirrored->RealToNormalized(real));
}

LogCapture::LogCapture() {
    capturedLines().clear();
    appkit::setLogSink([](const char* line) { capturedLines().emplace_back(line); });
}

LogCapture::~LogCapture() {
    appkit::setLogSink(nullptr);
}

const std::vector<std::string>& LogCapture::lines() const {
    return capturedLines();
}

Block::Block(unsigned channels, std::size_t frames, float fill)
    : samples(channels, std::vector<float>(frames, fill)) {
    for (auto& channel : samples) {
        pointers.push_back(channel.data());
    }
}

Block tone(unsigned channels, std::size_t frames, double rate) {
    Block block(channels, frames);
    for (unsigned c = 0; c < channels; ++c) {
        for (std::size_t i = 0; i < frames; ++i) {
            block.samples[c][i] = static_cast<float>(
                0.5 * std::sin(2.0 * std::numbers::pi * (220.0 + 110.0 * c) * i / rate));
        }
    }
    return block;
}

} // namespace bridgetest
