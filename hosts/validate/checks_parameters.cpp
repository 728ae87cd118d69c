// Parameter info, values and value strings.

#include "host_error.h"
#include "parameter_lookup.h"
#include "validation.h"

#include <cmath>
#include <set>

namespace kelvohost {
namespace {

bool knownUnit(AudioUnitParameterUnit unit) {
    return unit <= kAudioUnitParameterUnit_CustomUnit;
}

} // namespace

void checkParameters(Validation& validation) {
    Report& report = validation.report;
    report.section("Parameters");
    std::string reason;
    const auto unit = openUnit(validation, 48000.0, 2, 512, &reason);
    if (!unit) {
        report.check(false, "a stereo instance at 48000 Hz initialises", reason);
        return;
    }

    std::vector<ParameterDescription> parameters;
    try {
        parameters = unit->parameters();
    } catch (const std::exception& error) {
        report.check(false, "ParameterList and ParameterInfo answer", error.what());
        return;
    }
    std::set<AudioUnitParameterID> ids;
    std::set<std::string> names;
    std::string infoProblems;
    for (const auto& p : parameters) {
        const std::string who = "ID " + std::to_string(p.id) + " '" + p.name + "': ";
        const auto problem = [&](const std::string& text) {
            infoProblems += (infoProblems.empty() ? "" : "; ") + who + text;
        };
        if (!ids.insert(p.id).second) {
            problem("ID listed twice");
        }
        if (p.name.empty()) {
            problem("no name");
        } else if (!names.insert(p.name).second) {
            problem("name used twice");
        }
        if ((p.flags & kAudioUnitParameterFlag_HasCFNameString) == 0) {
            problem("no CFNameString flag");
        }
        if ((p.flags & kAudioUnitParameterFlag_IsReadable) == 0 ||
            (p.flags & kAudioUnitParameterFlag_IsWritable) == 0) {
            problem("not readable and writable");
        }
        if (!std::isfinite(p.minimum) || !std::isfinite(p.maximum) ||
            !std::isfinite(p.defaultValue)) {
            problem("non-finite range or default");
        } else if (!(p.minimum < p.maximum) || p.defaultValue < p.minimum ||
                   p.defaultValue > p.maximum) {
            problem("range " + formatNumber(p.minimum) + " to " + formatNumber(p.maximum) +
                    " with default " + formatNumber(p.defaultValue));
        }
        if (!knownUnit(p.unitCode)) {
            problem("unknown unit " + std::to_string(p.unitCode));
        }
        if (p.isStepped() &&
            (p.minimum != std::round(p.minimum) || p.maximum != std::round(p.maximum) ||
             p.defaultValue != std::round(p.defaultValue))) {
            problem("stepped parameter with a fractional range or default");
        }
        if (p.isStepped() && p.canRamp) {
            problem("a stepped parameter claims it can ramp");
        }
    }
    report.check(!parameters.empty() && infoProblems.empty(),
                 std::to_string(parameters.size()) +
                     " parameters: unique IDs and names, readable, writable, finite ranges "
                     "holding their defaults",
                 parameters.empty() ? "no parameters" : infoProblems);

    // Defaults are what the unit starts with.
    std::string notDefault;
    for (const auto& p : parameters) {
        float value = NAN;
        if (unit->getParameter(p.id, value) != noErr || value != p.defaultValue) {
            notDefault += p.name + "=" + formatNumber(value) + " ";
        }
    }
    report.check(notDefault.empty(), "every parameter starts at its default",
                 "not at default: " + notDefault);

    // Each parameter keeps its minimum, maximum and default when set.
    std::string notKept;
    for (const auto& p : parameters) {
        for (const float value : {p.minimum, p.maximum, p.defaultValue}) {
            float read = NAN;
            const OSStatus set = unit->setParameter(p.id, value);
            const OSStatus get = unit->getParameter(p.id, read);
            if (set != noErr || get != noErr || read != value) {
                notKept += p.name + " " + formatNumber(value) + "→" + formatNumber(read) + " ";
            }
        }
    }
    report.check(notKept.empty(), "every parameter keeps its minimum, maximum and default when set",
                 notKept);

    // Undeclared IDs are refused.
    AudioUnitParameterID unused = 0;
    while (ids.count(unused) != 0) {
        ++unused;
    }
    float ignored = 0.0f;
    report.check(unit->setParameter(unused, 0.0f) != noErr &&
                     unit->getParameter(unused, ignored) != noErr,
                 "an undeclared parameter ID (" + std::to_string(unused) + ") is refused");
    AudioUnitParameterInfo info{};
    UInt32 size = sizeof info;
    report.check(AudioUnitGetProperty(unit->handle(), kAudioUnitProperty_ParameterInfo,
                                      kAudioUnitScope_Global, unused, &info, &size) != noErr,
                 "ParameterInfo for an undeclared ID is refused");

    // Value strings: one per step for stepped parameters that have them, none elsewhere.
    std::string stringProblems;
    int withStrings = 0;
    for (const auto& p : parameters) {
        if (p.valueStrings.empty()) {
            continue;
        }
        ++withStrings;
        const auto steps = static_cast<std::size_t>(std::lround(p.maximum - p.minimum)) + 1;
        if (p.unit != ParameterUnit::indexed) {
            stringProblems += p.name + ": strings on a parameter that is not indexed; ";
        } else if (p.valueStrings.size() != steps) {
            stringProblems += p.name + ": " + std::to_string(p.valueStrings.size()) +
                              " strings for " + std::to_string(steps) + " steps; ";
        }
        std::set<std::string> distinct;
        for (const auto& text : p.valueStrings) {
            if (text.empty() || !distinct.insert(text).second) {
                stringProblems += p.name + ": empty or repeated string; ";
                break;
            }
        }
    }
    report.check(stringProblems.empty(),
                 std::to_string(withStrings) +
                     " parameters have value strings, one distinct string per step",
                 stringProblems);

    // What a user types reaches the step meant: a plain number is the value itself, and
    // every caption that is not itself a number selects its own step (a caption such as
    // Recovery's "3", the value 2, is reached by its value).
    std::string readBackProblems;
    for (const auto& p : parameters) {
        for (std::size_t i = 0; i < p.valueStrings.size(); ++i) {
            const float step = p.minimum + static_cast<float>(i);
            const auto reads = [&](const std::string& typed) {
                try {
                    const float value = parseParameterValue(p, typed);
                    if (value != step) {
                        readBackProblems += p.name + " '" + typed + "' sets " +
                                            formatNumber(value) + ", not " + formatNumber(step) +
                                            "; ";
                    }
                } catch (const InputError& error) {
                    readBackProblems += std::string(error.what()) + "; ";
                }
            };
            reads(formatNumber(step));
            if (!readsAsNumber(p.valueStrings[i])) {
                reads(p.valueStrings[i]);
            }
        }
    }
    report.check(readBackProblems.empty(),
                 "--set reads every step's number as that value and every caption that is not a "
                 "number as its step",
                 readBackProblems);

    // Asking for the strings of a parameter without them fails cleanly, and the size query
    // agrees with the ones that have them.
    std::string sizeProblems;
    for (const auto& p : parameters) {
        UInt32 stringsSize = 0;
        const OSStatus status =
            AudioUnitGetPropertyInfo(unit->handle(), kAudioUnitProperty_ParameterValueStrings,
                                     kAudioUnitScope_Global, p.id, &stringsSize, nullptr);
        if (!p.valueStrings.empty() && (status != noErr || stringsSize != sizeof(CFArrayRef))) {
            sizeProblems += p.name + " (" + statusText(status) + ") ";
        }
        if (p.valueStrings.empty() && status == noErr) {
            CFArrayRef strings = nullptr;
            UInt32 bytes = sizeof strings;
            const OSStatus get =
                AudioUnitGetProperty(unit->handle(), kAudioUnitProperty_ParameterValueStrings,
                                     kAudioUnitScope_Global, p.id, &strings, &bytes);
            if (get == noErr && strings != nullptr) {
                CFRelease(strings);
                sizeProblems += p.name + " (an empty list) ";
            }
        }
    }
    report.check(sizeProblems.empty(),
                 "ParameterValueStrings is answered exactly for the parameters that have strings",
                 sizeProblems);
}

} // namespace kelvohost
