// The backend's setup: registering and instantiating the unit, reading its parameters,
// preparing formats, and its state as property-list bytes.

#include "backend/probe_backend.h"

#include <AudioToolbox/AudioToolbox.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

using backendtest::probeBackend;
using kelvoaax::AUBackend;
using kelvoaax::Parameter;

template <typename Exception, typename Call> std::string failureText(Call&& call) {
    try {
        call();
    } catch (const Exception& error) {
        return error.what();
    } catch (const std::exception& error) {
        return std::string("other exception: ") + error.what();
    }
    return "nothing thrown";
}

TEST(AUBackend, ReadsEveryParameterWithItsNameAndValueStrings) {
    const auto backend = probeBackend();
    const std::vector<Parameter>& parameters = backend->parameters();
    ASSERT_EQ(parameters.size(), probe::parameterCount) << "read-only ones too";
    for (uint32_t i = 0; i < parameters.size(); ++i) {
        EXPECT_EQ(parameters[i].id, i);
        EXPECT_EQ(parameters[i].info.cfNameString, nullptr) << "taken and released";
    }
    EXPECT_EQ(parameters[probe::bypass].name, "Bypass");
    EXPECT_EQ(parameters[probe::gain].name, "Gain");
    EXPECT_EQ(parameters[probe::time].name, std::string(probe::timeName))
        << "the fixed field, all 52 bytes and no more";
    EXPECT_EQ(parameters[probe::mode].valueStrings,
              (std::vector<std::string>{"Clean", "Warm", "Hot", "Fried"}));
    EXPECT_TRUE(parameters[probe::level].valueStrings.empty());
    EXPECT_EQ(parameters[probe::meter].info.flags & kAudioUnitParameterFlag_IsWritable, 0u);
}

TEST(AUBackend, CountsTheParametersTheListReadGave) {
    probe::Configuration shrinking;
    shrinking.shrinkingList = true;
    const auto backend = probeBackend(shrinking);
    EXPECT_EQ(backend->parameters().size(), probe::parameterCount)
        << "no zero IDs for room the unit did not fill";
}

TEST(AUBackend, ASecondBackendOfTheSamePathReusesTheRegisteredComponent) {
    const AudioComponentDescription description{'aufx', 'Prob', 'Kvlo', 0, 0};
    const auto first = probeBackend();
    const UInt32 registered = AudioComponentCount(&description);
    const auto second = probeBackend();
    EXPECT_EQ(AudioComponentCount(&description), registered);
    EXPECT_EQ(AudioComponentInstanceGetComponent(first->unit()),
              AudioComponentInstanceGetComponent(second->unit()));
    EXPECT_NE(first->unit(), second->unit());
}

TEST(AUBackend, ConstructionFailuresHaveFixedTexts) {
    EXPECT_EQ(failureText<std::runtime_error>([] {
                  AUBackend backend("/nonexistent/KelvoProbe.component", "KelvoProbeFactory",
                                    'Prob', "x");
              }),
              "AU bundle missing");
    EXPECT_EQ(failureText<std::runtime_error>(
                  [] { AUBackend backend("", "KelvoProbeFactory", 'Prob', "x"); }),
              "AU bundle missing");
    // The probe's copy under another path, so the registry has no entry for it yet.
    const std::string samePlaceOtherSpelling = backendtest::probePath() + "/";
    EXPECT_EQ(failureText<std::runtime_error>(
                  [&] { AUBackend backend(samePlaceOtherSpelling, "NoSuchFactory", 'Prob', "x"); }),
              "AU factory missing");
}

struct Format {
    double rate;
    uint32_t frames;
    bool accepted;
};

TEST(AUBackend, PrepareTakesRatesFrom8000To192000AndBlocksUpTo65536) {
    const auto backend = probeBackend();
    const Format formats[] = {
        {7999.0, 512, false},   {192001.0, 512, false},  {std::nan(""), 512, false},
        {INFINITY, 512, false}, {48000.0, 0, false},     {48000.0, 65537, false},
        {8000.0, 1, true},      {192000.0, 65536, true}, {44100.0, 512, true},
    };
    for (const Format& format : formats) {
        const std::string text = failureText<std::invalid_argument>(
            [&] { backend->prepare(format.rate, 2, 2, format.frames); });
        EXPECT_EQ(text, format.accepted ? "nothing thrown" : "invalid render format")
            << format.rate << " Hz, " << format.frames << " frames";
    }
}

TEST(AUBackend, ALayoutRefusalLeavesTheEarlierPreparationIntact) {
    const auto backend = probeBackend();
    backend->prepare(48000.0, 2, 2, 512);
    EXPECT_EQ(failureText<std::invalid_argument>([&] { backend->prepare(48000.0, 1, 2, 512); }),
              "unsupported channel layout");
    EXPECT_EQ(failureText<std::invalid_argument>([&] { backend->prepare(96.0, 2, 2, 512); }),
              "invalid render format");
    EXPECT_TRUE(backend->prepared());
    std::vector<float> left(64, 0.25f), right(64, -0.25f), outLeft(64), outRight(64);
    const float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    EXPECT_EQ(backend->render(inputs, outputs, 64, {}), noErr);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);
}

TEST(AUBackend, AWildcardLayoutMatchesNothing) {
    probe::Configuration wildcard;
    wildcard.wildcardLayouts = true;
    const auto backend = probeBackend(wildcard);
    EXPECT_EQ(failureText<std::invalid_argument>([&] { backend->prepare(48000.0, 2, 2, 512); }),
              "unsupported channel layout");
    EXPECT_FALSE(backend->prepared());
}

TEST(AUBackend, StateRoundTripsThroughBinaryPropertyListBytes) {
    const auto backend = probeBackend();
    backend->set(probe::level, 75.0f, 0);
    const std::vector<uint8_t> state = backend->state();
    ASSERT_GT(state.size(), 8u);
    EXPECT_EQ(std::string(state.begin(), state.begin() + 8), "bplist00");
    backend->set(probe::level, 10.0f, 0);
    backend->restore(state.data(), state.size());
    EXPECT_EQ(backend->get(probe::level), 75.0f);
}

TEST(AUBackend, RestoreTakesSizesFromOneByteTo16MiB) {
    const auto backend = probeBackend();
    const std::vector<uint8_t> bytes(AUBackend::maximumStateSize + 1, 0);
    const auto restore = [&](std::size_t size) {
        return failureText<std::invalid_argument>([&] { backend->restore(bytes.data(), size); });
    };
    EXPECT_EQ(restore(0), "invalid AU state size");
    EXPECT_EQ(restore(AUBackend::maximumStateSize + 1), "invalid AU state size");
    EXPECT_EQ(failureText<std::invalid_argument>([&] { backend->restore(nullptr, 10); }),
              "invalid AU state size");
    // Sizes within the limit pass on to the property-list reader, which refuses the zeros.
    EXPECT_EQ(restore(1), "invalid AU state data");
    EXPECT_EQ(restore(AUBackend::maximumStateSize), "invalid AU state data");
}

TEST(AUBackend, TheUnitsRefusalOfAStateIsReportedWithItsStatus) {
    const auto backend = probeBackend();
    // A well-formed property list that is no state of this unit.
    CFStringRef text = CFStringCreateWithCString(nullptr, "not a state", kCFStringEncodingUTF8);
    CFDataRef data =
        CFPropertyListCreateData(nullptr, text, kCFPropertyListBinaryFormat_v1_0, 0, nullptr);
    CFRelease(text);
    const std::string refused = failureText<std::runtime_error>(
        [&] { backend->restore(CFDataGetBytePtr(data), CFDataGetLength(data)); });
    CFRelease(data);
    EXPECT_EQ(refused.rfind("restore AU state: ", 0), 0u) << refused;
}

TEST(AUBackend, ChecksNameTheCallAndItsStatus) {
    probe::Configuration unreadable;
    unreadable.unreadableParameter = probe::gain;
    const auto backend = probeBackend(unreadable);
    EXPECT_EQ(failureText<std::runtime_error>([&] { backend->get(probe::gain); }),
              "parameter value: -10878");
    EXPECT_EQ(backend->latencySeconds(), probe::latencySeconds);
}

} // namespace
