// kelvo-render: renders an audio file (or the built-in demo) through a Kelvo unit, driving the
// unit only through the Audio Unit calls, as a host application does.

#include "audio_file_writer.h"
#include "bundle_discovery.h"
#include "cf_handle.h"
#include "component_loader.h"
#include "host_error.h"
#include "hosted_unit.h"
#include "meter_json.h"
#include "output_format.h"
#include "output_target.h"
#include "parameter_lookup.h"
#include "playable_input.h"
#include "program_main.h"
#include "progress_line.h"
#include "property_list_file.h"
#include "render_input.h"
#include "render_job.h"
#include "render_options.h"
#include "unit_listing.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>

namespace kelvohost {
namespace {

std::vector<std::string> folderTexts(const std::vector<std::filesystem::path>& folders) {
    std::vector<std::string> texts;
    for (const auto& folder : folders) {
        texts.push_back(folder.string());
    }
    return texts;
}

void applyState(HostedUnit& unit, const std::string& path) {
    const CFHandle<CFDictionaryRef> state = readPropertyListDictionary(path);
    const OSStatus status = unit.restoreClassInfo(state.get());
    if (status != noErr) {
        throw InputError(path + ": the unit refused this state (status " + std::to_string(status) +
                         ")");
    }
}

void applyPreset(HostedUnit& unit, const std::string& text) {
    const std::vector<PresetDescription> presets = unit.factoryPresets();
    if (presets.empty()) {
        throw InputError("the unit has no factory presets");
    }
    const PresetDescription& preset = findPreset(presets, text);
    const OSStatus status = unit.selectPreset(preset.number, preset.name);
    if (status != noErr) {
        throw InputError("the unit refused preset " + std::to_string(preset.number) + " '" +
                         preset.name + "' (status " + std::to_string(status) + ")");
    }
}

void applySets(HostedUnit& unit, const std::vector<std::string>& sets) {
    if (sets.empty()) {
        return;
    }
    const std::vector<ParameterDescription> parameters = unit.parameters();
    for (const auto& assignment : sets) {
        const auto [name, valueText] = splitAssignment(assignment);
        const ParameterDescription& parameter = findParameter(parameters, name);
        const float value = parseParameterValue(parameter, valueText);
        const OSStatus status = unit.setParameter(parameter.id, value);
        if (status != noErr) {
            throw InputError(parameter.name + ": the unit refused " + formatNumber(value) +
                             " (status " + std::to_string(status) + ")");
        }
    }
}

int run(const std::vector<std::string>& arguments) {
    const std::vector<std::filesystem::path> folders = defaultSearchFolders();
    const RenderOptions options = parseRenderOptions(arguments);
    if (options.help) {
        std::cout << renderUsage(folderTexts(folders));
        return exitSuccess;
    }
    if (options.list && options.model.empty()) {
        std::cout << listModels(folders);
        return exitSuccess;
    }

    const BundleLocation location = resolveModel(options.model, folders);
    const std::unique_ptr<LoadedComponent> component = loadComponent(location);
    const std::string product = location.product;

    if (options.list) {
        HostedUnit unit(*component);
        unit.configure(48000.0, 2, defaultBlockFrames);
        std::cout << listUnit(*component, unit);
        return exitSuccess;
    }

    // Everything the user named is checked before the unit renders anything.
    const OutputTarget target = resolveOutputTarget(options.output);
    const OutputFormat format = outputFormatFor(options.output, options.bits);
    if (options.json && leadsToStandardOutput(target)) {
        throw InputError(options.output + ": the audio would go to stdout, where --json prints");
    }
    RenderInput opened(options.input);
    AudioSource& input = opened.source();
    const std::string& inputName = opened.name();
    const unsigned channels = input.channels();

    HostedUnit unit(*component);
    configureForInput(unit, product, inputName, input.sampleRate(), channels, options.block);

    // State, then preset, then each --set, before initialising, so the unit prepares its
    // engine with the values it is to render with (no glide from the defaults at the start).
    if (options.state) {
        applyState(unit, *options.state);
    }
    if (options.preset) {
        applyPreset(unit, *options.preset);
    }
    applySets(unit, options.sets);

    initializeForInput(unit, product);

    AudioFileWriter output(target, format, input.sampleRate(), channels, input.announcedFrames());
    std::atomic<std::size_t> framesDone{0};
    ProgressLine progress("kelvo-render", input.announcedFrames().value_or(0), input.sampleRate());
    renderToFile(unit, input, output, options.block, framesDone, [&] {
        // Work posted to the main run loop (listener deliveries, timers) is served as a
        // host's main thread would serve it.
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
        progress.update(framesDone.load(std::memory_order_relaxed));
    });

    const std::optional<Meters> meters = unit.meters();
    const double latencySamples = unit.latencySeconds() * input.sampleRate();
    const double tail = unit.tailSeconds();

    if (options.json && !meters) {
        throw UnitError("reading the meter property", kAudioUnitErr_InvalidProperty);
    }
    output.commit();
    progress.clear();
    if (const std::string warning = opened.endedEarlyText(); !warning.empty()) {
        printWarning("kelvo-render", warning);
    }
    if (const std::string warning = output.lengthWarning(); !warning.empty()) {
        printWarning("kelvo-render", warning);
    }
    if (options.json) {
        std::cout << meterJson(*meters, latencySamples, tail) << "\n";
    }
    return exitSuccess;
}

} // namespace
} // namespace kelvohost

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kelvohost::runProgram("kelvo-render", [&] { return kelvohost::run(arguments); });
}
