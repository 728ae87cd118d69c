// kelvo-aax: plays the AAX host for a Kelvo AAX plug-in: describes it, lists an instance's
// parameters, renders an audio file (or the built-in demo) through an instance, or opens an
// instance's editor in the host's window, driving it only through the AAX SDK's calls, as an
// AAX host application does.

#include "aax_options.h"
#include "audio_file_writer.h"
#include "bridge_meters.h"
#include "bridge_render.h"
#include "description_text.h"
#include "editor_session.h"
#include "host_error.h"
#include "output_file.h"
#include "output_format.h"
#include "output_target.h"
#include "parameter_listing.h"
#include "parameter_values.h"
#include "plugin_session.h"
#include "program_main.h"
#include "progress_line.h"
#include "render_input.h"
#include "state_chunks.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> folderTexts(const std::vector<fs::path>& folders) {
    std::vector<std::string> texts;
    for (const auto& folder : folders) {
        texts.push_back(folder.string());
    }
    return texts;
}

const aaxhost::ComponentDescription& listingComponent(const PluginSession& session) {
    const aaxhost::ComponentDescription* component = session.componentFor(2);
    if (component == nullptr && !session.effect().components.empty()) {
        component = &session.effect().components.front();
    }
    if (component == nullptr) {
        throw InputError(session.location.product + " declares no component");
    }
    return *component;
}

int render(const AaxOptions& options, const PluginSession& session) {
    // Everything the user named is checked before the plug-in renders anything.
    const OutputTarget target = resolveOutputTarget(options.output);
    const OutputFormat format = outputFormatFor(options.output, options.bits);
    if (options.json && leadsToStandardOutput(target)) {
        throw InputError(options.output + ": the audio would go to stdout, where --json prints");
    }
    std::optional<OutputTarget> chunkTarget;
    if (options.saveChunk) {
        chunkTarget = resolveOutputTarget(*options.saveChunk);
        if (options.json && leadsToStandardOutput(*chunkTarget)) {
            throw InputError(*options.saveChunk +
                             ": the chunk would go to stdout, where --json prints");
        }
        if (leadToTheSameFile(*chunkTarget, target)) {
            throw InputError("--save-chunk " + *options.saveChunk +
                             " would overwrite an audio file");
        }
    }
    RenderInput opened(options.input);
    AudioSource& input = opened.source();
    const std::string& inputName = opened.name();
    const unsigned channels = input.channels();
    const aaxhost::ComponentDescription& component = session.componentForInput(inputName, channels);
    // A stream does not tell its length: points past its end are then not reached.
    if (const std::optional<std::size_t> frames = input.announcedFrames()) {
        for (const auto& point : options.automation) {
            if (point.frame >= *frames) {
                throw InputError("--automate at frame " + std::to_string(point.frame) + ": " +
                                 inputName + " has " + std::to_string(*frames) + " frames");
            }
        }
    }
    std::vector<uint8_t> chunk;
    if (options.state) {
        chunk = chunkFromStateFile(*options.state,
                                   component.property(AAX_eProperty_ProductID).value_or(0));
    } else if (options.chunk) {
        chunk = readChunkFile(*options.chunk);
    }

    const std::unique_ptr<aaxhost::Instance> instance =
        startInstance(session, component, input.sampleRate());
    const std::vector<HostParameter> parameters = hostParameters(instance->effect());
    std::vector<std::pair<std::string, double>> sets;
    for (const auto& assignment : options.sets) {
        sets.push_back(parameterAssignment(parameters, assignment));
    }
    std::vector<AutomationPoint> points;
    for (const auto& point : options.automation) {
        const auto [identifier, normalized] = parameterAssignment(parameters, point.assignment);
        points.push_back({point.frame, identifier, normalized});
    }

    // The state first, then each --set, as host automation before the first block.
    if (options.state || options.chunk) {
        restoreChunk(*instance, chunk, options.state ? *options.state : *options.chunk);
    }
    for (const auto& [identifier, normalized] : sets) {
        if (const AAX_Result result = instance->setParameter(identifier.c_str(), normalized);
            result != AAX_SUCCESS) {
            throw InputError(identifier + ": the plug-in refused the value (AAX result " +
                             std::to_string(result) + ")");
        }
    }

    AudioFileWriter output(target, format, input.sampleRate(), channels, input.announcedFrames());
    std::atomic<std::size_t> framesDone{0};
    ProgressLine progress("kelvo-aax", input.announcedFrames().value_or(0), input.sampleRate());
    renderThroughBridge(*instance, input, output, options.block, options.transport, points,
                        framesDone, [&] { progress.update(framesDone.load()); });

    const std::string json = options.json ? bridgeMeterJson(*instance) : std::string();
    // All or nothing: the audio and the chunk are both complete before either is put in place.
    output.complete();
    const std::vector<uint8_t> saved = chunkTarget ? saveChunk(*instance) : std::vector<uint8_t>();
    std::vector<OutputBytes> besideTheAudio;
    if (chunkTarget) {
        besideTheAudio.push_back({*chunkTarget, saved});
    }
    writeOutputFiles(besideTheAudio, {&output.file()});
    progress.clear();
    if (const std::string warning = opened.endedEarlyText(); !warning.empty()) {
        printWarning("kelvo-aax", warning);
    }
    if (const std::string warning = output.lengthWarning(); !warning.empty()) {
        printWarning("kelvo-aax", warning);
    }
    if (options.json) {
        std::cout << json << "\n";
    }
    return exitSuccess;
}

int run(const std::vector<std::string>& arguments) {
    const std::vector<fs::path> folders = defaultSearchFolders();
    const AaxOptions options = parseAaxOptions(arguments);
    if (options.help) {
        std::cout << aaxUsage(folderTexts(folders));
        return exitSuccess;
    }
    if (options.list && options.plugin.empty()) {
        std::cout << listPlugins(folders);
        return exitSuccess;
    }
    const PluginSession session = openPlugin(options.plugin, folders);
    if (options.png) {
        return showEditor(options, session);
    }
    if (options.describe) {
        std::cout << describePlugin(session);
        return exitSuccess;
    }
    if (options.list) {
        const auto instance = startInstance(session, listingComponent(session), 48000.0);
        std::cout << listParameters(session, *instance);
        return exitSuccess;
    }
    return render(options, session);
}

} // namespace
} // namespace kelvohost

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kelvohost::runProgram("kelvo-aax", [&] { return kelvohost::run(arguments); });
}
