// Saved state (class info), Reset, and factory presets.

#include "cf_handle.h"
#include "parameter_lookup.h"
#include "validation.h"

#include <cmath>
#include <set>

namespace kelvohost {
namespace {

std::vector<std::uint8_t> serialise(CFPropertyListRef list, CFPropertyListFormat format) {
    const CFHandle<CFDataRef> data(
        CFPropertyListCreateData(kCFAllocatorDefault, list, format, 0, nullptr));
    if (!data) {
        return {};
    }
    const UInt8* bytes = CFDataGetBytePtr(data.get());
    return std::vector<std::uint8_t>(bytes, bytes + CFDataGetLength(data.get()));
}

CFHandle<CFPropertyListRef> parse(const std::vector<std::uint8_t>& bytes) {
    const CFHandle<CFDataRef> data(
        CFDataCreate(kCFAllocatorDefault, bytes.data(), static_cast<CFIndex>(bytes.size())));
    return CFHandle<CFPropertyListRef>(CFPropertyListCreateWithData(
        kCFAllocatorDefault, data.get(), kCFPropertyListImmutable, nullptr, nullptr));
}

std::vector<float> values(HostedUnit& unit, const std::vector<ParameterDescription>& parameters) {
    std::vector<float> result;
    for (const auto& p : parameters) {
        float value = NAN;
        unit.getParameter(p.id, value);
        result.push_back(value);
    }
    return result;
}

// Moves every parameter off its default: to the value a third of the way up its range,
// rounded for stepped parameters.
void setDistinctValues(HostedUnit& unit, const std::vector<ParameterDescription>& parameters) {
    for (const auto& p : parameters) {
        float value = p.minimum + (p.maximum - p.minimum) / 3.0f;
        if (p.isStepped()) {
            value = std::round(value);
        }
        if (value == p.defaultValue) {
            value = p.maximum;
        }
        unit.setParameter(p.id, value);
    }
}

std::string differences(const std::vector<ParameterDescription>& parameters,
                        const std::vector<float>& expected, const std::vector<float>& actual) {
    std::string text;
    for (std::size_t i = 0; i < parameters.size() && i < actual.size(); ++i) {
        if (expected[i] != actual[i]) {
            text += parameters[i].name + " " + formatNumber(expected[i]) + "→" +
                    formatNumber(actual[i]) + " ";
        }
    }
    return text;
}

// The unit's state with one key replaced (a mutable copy).
CFHandle<CFPropertyListRef> withKey(CFPropertyListRef state, const char* key, CFTypeRef value) {
    CFMutableDictionaryRef copy =
        CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, static_cast<CFDictionaryRef>(state));
    const CFHandle<CFStringRef> name = makeCFString(key);
    CFDictionarySetValue(copy, name.get(), value);
    return CFHandle<CFPropertyListRef>(copy);
}

} // namespace

void checkClassInfo(Validation& validation) {
    Report& report = validation.report;
    report.section("Saved state (class info)");
    std::string reason;
    const auto source = openUnit(validation, 48000.0, 2, 512, &reason);
    const auto target = openUnit(validation, 48000.0, 2, 512, &reason);
    if (!source || !target) {
        report.check(false, "two stereo instances at 48000 Hz initialise", reason);
        return;
    }
    const std::vector<ParameterDescription> parameters = source->parameters();
    setDistinctValues(*source, parameters);
    const std::vector<float> saved = values(*source, parameters);

    CFPropertyListRef state = nullptr;
    const OSStatus copied = source->copyClassInfo(&state);
    const CFHandle<CFPropertyListRef> held(state);
    if (!report.check(copied == noErr && state != nullptr &&
                          CFGetTypeID(state) == CFDictionaryGetTypeID(),
                      "ClassInfo gives a dictionary", statusText(copied))) {
        return;
    }
    const std::vector<std::uint8_t> binary = serialise(state, kCFPropertyListBinaryFormat_v1_0);
    const std::vector<std::uint8_t> xml = serialise(state, kCFPropertyListXMLFormat_v1_0);
    report.check(!binary.empty() && !xml.empty(),
                 "the state serialises as binary and XML property lists");
    const auto presetBefore = source->presentPreset();

    // Restored into a fresh instance, the state gives the same values and, saved again, the
    // same bytes.
    const OSStatus restored = target->restoreClassInfo(state);
    const std::vector<float> restoredValues = values(*target, parameters);
    report.check(restored == noErr && restoredValues == saved,
                 "a fresh instance restores it to the same parameter values",
                 restored != noErr ? statusText(restored)
                                   : differences(parameters, saved, restoredValues));
    CFPropertyListRef again = nullptr;
    target->copyClassInfo(&again);
    const CFHandle<CFPropertyListRef> heldAgain(again);
    report.check(again != nullptr && serialise(again, kCFPropertyListBinaryFormat_v1_0) == binary &&
                     serialise(again, kCFPropertyListXMLFormat_v1_0) == xml,
                 "saved again, the restored state is byte-identical (binary and XML)");
    const auto presetAfter = target->presentPreset();
    report.check(presetBefore && presetAfter && presetBefore->name == presetAfter->name,
                 "the restored instance has the saved preset name ('" +
                     (presetBefore ? presetBefore->name : std::string("?")) + "')",
                 "reads '" + (presetAfter ? presetAfter->name : std::string("?")) + "'");

    // Through bytes and back, as a host's project file carries it.
    for (const auto* format : {&binary, &xml}) {
        const bool isBinary = format == &binary;
        const auto third = openUnit(validation, 48000.0, 2, 512, &reason);
        const CFHandle<CFPropertyListRef> parsed = parse(*format);
        const OSStatus status =
            third && parsed ? third->restoreClassInfo(parsed.get()) : kAudio_ParamError;
        CFPropertyListRef resaved = nullptr;
        if (third) {
            third->copyClassInfo(&resaved);
        }
        const CFHandle<CFPropertyListRef> heldResaved(resaved);
        report.check(status == noErr && third && values(*third, parameters) == saved &&
                         resaved != nullptr &&
                         serialise(resaved, kCFPropertyListBinaryFormat_v1_0) == binary,
                     std::string("the state read back from ") + (isBinary ? "binary" : "XML") +
                         " bytes restores and saves again byte-identical",
                     statusText(status));
    }

    // The same instance returns to the saved values after other changes.
    for (const auto& p : parameters) {
        source->setParameter(p.id, p.defaultValue);
    }
    const OSStatus back = source->restoreClassInfo(state);
    report.check(back == noErr && values(*source, parameters) == saved,
                 "an instance changed after saving returns to the saved values",
                 back != noErr ? statusText(back)
                               : differences(parameters, saved, values(*source, parameters)));

    // States that are not this unit's change nothing.
    const std::vector<float> before = values(*target, parameters);
    const CFHandle<CFStringRef> notADictionary = makeCFString("not a state");
    const OSStatus refusedString = target->restoreClassInfo(notADictionary.get());
    UInt32 otherSubtype = validation.component.description.componentSubType ^ 0x20202020u;
    const CFHandle<CFNumberRef> subtype(
        CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &otherSubtype));
    const CFHandle<CFPropertyListRef> foreign = withKey(state, "subtype", subtype.get());
    const OSStatus refusedForeign = target->restoreClassInfo(foreign.get());
    report.check(refusedString != noErr && refusedForeign != noErr &&
                     values(*target, parameters) == before,
                 "a property list that is not a dictionary, and another subtype's state, are "
                 "refused and change nothing",
                 statusText(refusedString) + ", " + statusText(refusedForeign));
}

void checkReset(Validation& validation) {
    Report& report = validation.report;
    report.section("Reset");
    std::string reason;
    const auto used = openUnit(validation, 48000.0, 2, 512, &reason);
    const auto fresh = openUnit(validation, 48000.0, 2, 512, &reason);
    if (!used || !fresh) {
        report.check(false, "two stereo instances at 48000 Hz initialise", reason);
        return;
    }
    const std::vector<ParameterDescription> parameters = used->parameters();

    const RenderResult loud =
        renderOnThread(*used, makeSignal(Signal::fullScale, 2, 8192, 48000.0), 512);
    const std::vector<float> before = values(*used, parameters);
    const OSStatus status = AudioUnitReset(used->handle(), kAudioUnitScope_Global, 0);
    report.check(loud.ok() && status == noErr, "AudioUnitReset succeeds on an initialised unit",
                 statusText(status));
    report.check(values(*used, parameters) == before,
                 "Reset leaves every parameter value as it was",
                 differences(parameters, before, values(*used, parameters)));

    // After Reset the unit renders exactly as a freshly initialised one.
    const auto probe = makeSignal(Signal::noise, 2, 4096, 48000.0);
    const RenderResult afterReset = renderOnThread(*used, probe, 512, true);
    const RenderResult afterInit = renderOnThread(*fresh, probe, 512, true);
    double largest = 0.0;
    std::size_t firstDifference = 0;
    bool same = afterReset.ok() && afterInit.ok();
    for (unsigned c = 0; same && c < 2; ++c) {
        for (std::size_t i = 0; i < probe[c].size(); ++i) {
            const double d = std::fabs(double(afterReset.output[c][i]) - afterInit.output[c][i]);
            if (d > largest) {
                if (largest == 0.0) {
                    firstDifference = i;
                }
                largest = d;
            }
        }
    }
    report.check(same && largest == 0.0,
                 "after Reset the unit renders sample for sample as a freshly initialised one",
                 same ? "largest difference " + formatNumber(largest) + " (first at frame " +
                            std::to_string(firstDifference) + ")"
                      : afterReset.describe() + " / " + afterInit.describe());

    // Reset also works before initialisation and on other scopes.
    const OSStatus uninitialised = [&] {
        HostedUnit unit(validation.component);
        return AudioUnitReset(unit.handle(), kAudioUnitScope_Global, 0);
    }();
    report.check(uninitialised == noErr, "AudioUnitReset on an uninitialised unit succeeds",
                 statusText(uninitialised));
}

void checkFactoryPresets(Validation& validation) {
    Report& report = validation.report;
    report.section("Factory presets");
    std::string reason;
    const auto unit = openUnit(validation, 48000.0, 2, 512, &reason);
    if (!unit) {
        report.check(false, "a stereo instance at 48000 Hz initialises", reason);
        return;
    }
    const std::vector<PresetDescription> presets = unit->factoryPresets();
    if (presets.empty()) {
        report.skip("factory presets", "the unit lists none");
        return;
    }
    std::string listing;
    std::set<std::string> names;
    for (std::size_t i = 0; i < presets.size(); ++i) {
        if (presets[i].number != static_cast<std::int32_t>(i)) {
            listing += "entry " + std::to_string(i) + " is number " +
                       std::to_string(presets[i].number) + "; ";
        }
        if (presets[i].name.empty() || !names.insert(presets[i].name).second) {
            listing += "entry " + std::to_string(i) + " has an empty or repeated name; ";
        }
    }
    report.check(listing.empty(),
                 std::to_string(presets.size()) + " presets numbered from 0 with distinct names",
                 listing);
    const std::vector<PresetDescription> second = unit->factoryPresets();
    bool sameListing = second.size() == presets.size();
    for (std::size_t i = 0; sameListing && i < presets.size(); ++i) {
        sameListing = second[i].number == presets[i].number && second[i].name == presets[i].name;
    }
    report.check(sameListing, "a second listing is the same");

    const std::vector<ParameterDescription> parameters = unit->parameters();
    const auto noise = makeSignal(Signal::noise, 2, 4096, 48000.0);
    std::string failures;
    for (const auto& preset : presets) {
        const OSStatus status = unit->selectPreset(preset.number, preset.name);
        const auto present = unit->presentPreset();
        const RenderResult result = renderOnThread(*unit, noise, 512);
        std::string outOfRange;
        for (const auto& p : parameters) {
            float value = NAN;
            unit->getParameter(p.id, value);
            if (!(value >= p.minimum && value <= p.maximum)) {
                outOfRange += p.name + " ";
            }
        }
        if (status != noErr || !present || present->number != preset.number || !result.ok() ||
            !outOfRange.empty()) {
            failures += std::to_string(preset.number) + " '" + preset.name + "': " +
                        (status != noErr ? statusText(status)
                         : !present || present->number != preset.number
                             ? std::string("PresentPreset does not follow")
                         : !result.ok() ? result.describe()
                                        : "out of range: " + outOfRange) +
                        "; ";
        }
    }
    report.check(failures.empty(),
                 "every preset is selectable through PresentPreset, becomes the present preset "
                 "and renders finite output with in-range values",
                 failures);

    const std::vector<float> before = values(*unit, parameters);
    const OSStatus beyond =
        unit->selectPreset(static_cast<std::int32_t>(presets.size()), "no such preset");
    report.check(beyond != noErr && values(*unit, parameters) == before,
                 "preset number " + std::to_string(presets.size()) +
                     " is refused and changes nothing",
                 statusText(beyond));
}

} // namespace kelvohost
