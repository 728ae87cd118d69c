// The component as declared and registered, the instance lifecycle, and the channel
// configurations.

#include "cf_handle.h"
#include "playable_input.h"
#include "validation.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace kelvohost {
namespace {

bool printableCode(const std::string& text) {
    if (text.size() != 4) {
        return false;
    }
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

// The number stored under key in a class-info dictionary, or -1.
long long dictionaryInteger(CFDictionaryRef dictionary, const char* key) {
    const CFHandle<CFStringRef> name = makeCFString(key);
    const CFTypeRef value = CFDictionaryGetValue(dictionary, name.get());
    long long number = -1;
    if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberLongLongType, &number)) {
        return -1;
    }
    return number;
}

} // namespace

void checkComponent(Validation& validation) {
    Report& report = validation.report;
    const LoadedComponent& component = validation.component;
    const BundleInfo& info = component.info;
    const ComponentDeclaration& declared = *component.declaration;
    report.section("Component and Info.plist");

    std::string problems;
    for (const auto& problem : info.problems) {
        problems += (problems.empty() ? "" : "; ") + problem;
    }
    report.check(info.problems.empty(),
                 "Info.plist has CFBundleIdentifier, CFBundleExecutable, CFBundleName and "
                 "complete AudioComponents entries",
                 problems);
    report.check(info.name == component.location.product,
                 "CFBundleName is the bundle's product name (" + component.location.product + ")",
                 "CFBundleName is '" + info.name + "'");
    // The executable's folder names the processor the validator itself is built for.
    const std::string executableFolder = KELVO_BUNDLE_ARCH_FOLDER;
    const std::filesystem::path executable =
        component.location.path / "Contents" / executableFolder / (info.executable + ".so");
    std::error_code ec;
    report.check(!info.executable.empty() && std::filesystem::is_regular_file(executable, ec),
                 "the executable is at Contents/" + executableFolder + "/" + info.executable +
                     ".so",
                 executable.string() + " is missing");
    report.check(declared.type == "aufx", "component type is 'aufx' (effect)",
                 "type is '" + declared.type + "'");
    report.check(printableCode(declared.subtype) && printableCode(declared.manufacturer),
                 "subtype '" + declared.subtype + "' and manufacturer '" + declared.manufacturer +
                     "' are four printable characters");
    report.check(!declared.name.empty() && declared.version > 0,
                 "component name '" + declared.name + "' and version " +
                     versionText(declared.version) + " are given");
    if (component.location.product.starts_with("Kelvo")) {
        report.check(declared.factoryFunction == component.location.product + "Factory",
                     "factory function is named after the product (" + component.location.product +
                         "Factory)",
                     "factoryFunction is '" + declared.factoryFunction + "'");
    }

    const AudioComponentDescription& found = component.description;
    report.check(found.componentType == declared.typeCode &&
                     found.componentSubType == declared.subtypeCode &&
                     found.componentManufacturer == declared.manufacturerCode,
                 "the registered component has the declared codes",
                 "registered " + fourCharText(found.componentType) + " " +
                     fourCharText(found.componentSubType) + " " +
                     fourCharText(found.componentManufacturer));
    CFStringRef name = nullptr;
    const OSStatus nameStatus = AudioComponentCopyName(component.component, &name);
    const std::string registeredName = toStdString(name);
    if (name != nullptr) {
        CFRelease(name);
    }
    report.check(nameStatus == noErr && registeredName == declared.name,
                 "the registered name is the declared name",
                 "AudioComponentCopyName gave '" + registeredName + "', " + statusText(nameStatus));
    UInt32 version = 0;
    const OSStatus versionStatus = AudioComponentGetVersion(component.component, &version);
    report.check(versionStatus == noErr && version == declared.version,
                 "the registered version is the declared version",
                 "AudioComponentGetVersion gave " + std::to_string(version) + ", " +
                     statusText(versionStatus));
    AudioComponentDescription match = component.description;
    report.check(AudioComponentCount(&match) == 1, "exactly one component has these codes",
                 std::to_string(AudioComponentCount(&match)) + " registered");

    // The unit's saved state names the same codes (hosts match states to units by them).
    try {
        HostedUnit unit(component);
        CFPropertyListRef state = nullptr;
        const OSStatus status = unit.copyClassInfo(&state);
        const CFHandle<CFPropertyListRef> held(state);
        const bool isDictionary =
            status == noErr && state != nullptr && CFGetTypeID(state) == CFDictionaryGetTypeID();
        const auto dictionary = static_cast<CFDictionaryRef>(state);
        report.check(isDictionary && dictionaryInteger(dictionary, "type") == declared.typeCode &&
                         dictionaryInteger(dictionary, "subtype") == declared.subtypeCode &&
                         dictionaryInteger(dictionary, "manufacturer") == declared.manufacturerCode,
                     "the class-info dictionary carries the declared type, subtype and "
                     "manufacturer",
                     isDictionary ? "codes differ" : "ClassInfo failed with " + statusText(status));
    } catch (const std::exception& error) {
        report.check(false, "an instance opens", error.what());
    }
}

void checkLifecycle(Validation& validation) {
    Report& report = validation.report;
    report.section("Lifecycle");
    constexpr int rounds = 5;
    std::string failure;
    for (int round = 0; round < rounds && failure.empty(); ++round) {
        try {
            HostedUnit unit(validation.component);
            if (const OSStatus s = unit.configure(48000.0, 2, 512); s != noErr) {
                failure = "configure: " + statusText(s);
                break;
            }
            for (int cycle = 0; cycle < 3 && failure.empty(); ++cycle) {
                if (const OSStatus s = unit.initialize(); s != noErr) {
                    failure = "AudioUnitInitialize: " + statusText(s);
                } else if (const RenderResult r = renderOnThread(
                               unit, makeSignal(Signal::noise, 2, 512, 48000.0), 512);
                           !r.ok()) {
                    failure = "render after initialise: " + r.describe();
                } else if (const OSStatus u = unit.uninitialize(); u != noErr) {
                    failure = "AudioUnitUninitialize: " + statusText(u);
                }
            }
        } catch (const std::exception& error) {
            failure = error.what();
        }
        if (!failure.empty()) {
            failure = "round " + std::to_string(round + 1) + ": " + failure;
        }
    }
    report.check(failure.empty(),
                 std::to_string(rounds) + " rounds of open, 3 × (initialise, render, "
                                          "uninitialise), dispose",
                 failure);

    // Several instances live at once, initialised in a different order than opened.
    failure.clear();
    try {
        std::vector<std::unique_ptr<HostedUnit>> units;
        for (int i = 0; i < 4; ++i) {
            units.push_back(std::make_unique<HostedUnit>(validation.component));
            units.back()->configure(44100.0 * (1 + i % 2), 1 + i % 2, 256);
        }
        for (int i = 3; i >= 0 && failure.empty(); --i) {
            if (const OSStatus s = units[static_cast<std::size_t>(i)]->initialize(); s != noErr) {
                failure = "instance " + std::to_string(i) + ": " + statusText(s);
            }
        }
        for (std::size_t i = 0; i < units.size() && failure.empty(); ++i) {
            const RenderResult r = renderOnThread(
                *units[i], makeSignal(Signal::noise, units[i]->channels(), 1024, 48000.0), 256);
            if (!r.ok()) {
                failure = "instance " + std::to_string(i) + ": " + r.describe();
            }
        }
        units.erase(units.begin() + 1); // dispose one in the middle
        for (std::size_t i = 0; i < units.size() && failure.empty(); ++i) {
            const RenderResult r = renderOnThread(
                *units[i], makeSignal(Signal::noise, units[i]->channels(), 512, 48000.0), 256);
            if (!r.ok()) {
                failure = "after disposing another: " + r.describe();
            }
        }
    } catch (const std::exception& error) {
        failure = error.what();
    }
    report.check(failure.empty(),
                 "4 instances at once render independently; disposing one "
                 "leaves the others working",
                 failure);

    // A render before initialisation is refused, not crashed.
    try {
        HostedUnit unit(validation.component);
        unit.configure(48000.0, 2, 512);
        std::vector<float> left(512), right(512);
        float* out[] = {left.data(), right.data()};
        const std::vector<std::vector<float>> in = makeSignal(Signal::noise, 2, 512, 48000.0);
        const float* inputs[] = {in[0].data(), in[1].data()};
        const OSStatus status = unit.render(inputs, out, 512);
        report.check(status != noErr, "a render before AudioUnitInitialize is refused",
                     "it returned noErr");
        report.check(AudioUnitInitialize(nullptr) != noErr &&
                         AudioUnitRender(nullptr, nullptr, nullptr, 0, 0, nullptr) != noErr,
                     "calls on a NULL instance are refused");
    } catch (const std::exception& error) {
        report.check(false, "a render before AudioUnitInitialize is refused", error.what());
    }
}

void checkChannelConfigurations(Validation& validation) {
    Report& report = validation.report;
    report.section("Channel configurations");
    std::unique_ptr<HostedUnit> probe;
    try {
        probe = std::make_unique<HostedUnit>(validation.component);
    } catch (const std::exception& error) {
        report.check(false, "an instance opens", error.what());
        return;
    }
    const std::vector<AUChannelInfo> declared = probe->supportedChannels();
    report.check(!declared.empty(), "SupportedNumChannels declares " + channelText(declared),
                 "the property is missing or empty");
    const auto pairs = declaredConfigurations(*probe);
    const auto isDeclared = [&](unsigned in, unsigned out) {
        return std::find(pairs.begin(), pairs.end(), std::pair{in, out}) != pairs.end();
    };

    constexpr unsigned most = mostChannelsTried;
    std::string wronglyRefused;
    std::string wronglyAccepted;
    int tried = 0;
    for (unsigned in = 1; in <= most; ++in) {
        for (unsigned out = 1; out <= most; ++out) {
            ++tried;
            // A format the unit refuses when it is set counts as refused.
            const OSStatus configured = probe->configure(48000.0, in, out, 512);
            const OSStatus initialized = configured == noErr ? probe->initialize() : configured;
            if (initialized == noErr) {
                probe->uninitialize();
            }
            const std::string pair = std::to_string(in) + "/" + std::to_string(out) + " ";
            if (isDeclared(in, out) && initialized != noErr) {
                wronglyRefused += pair + "(" + statusText(initialized) + ") ";
            } else if (!isDeclared(in, out) && initialized == noErr) {
                wronglyAccepted += pair;
            }
        }
    }
    report.check(wronglyRefused.empty(), "every declared configuration initialises",
                 "refused: " + wronglyRefused);
    report.check(wronglyAccepted.empty(),
                 "every other configuration of 1 to 8 channels in and out is refused (" +
                     std::to_string(tried - static_cast<int>(pairs.size())) + " tried)",
                 "accepted: " + wronglyAccepted);
}

} // namespace kelvohost
