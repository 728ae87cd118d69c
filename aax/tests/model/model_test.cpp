// The effect model as the host meets it: initialisation, the mirrored parameters with their
// tapers and displays, the host's parameter changes and the unit's own events.

#include "support/bridge_host.h"

#include <AAX/AAX_CString.h>
#include <AAX/AAX_IParameter.h>
#include <AudioToolbox/AudioUnitUtilities.h>
#include <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace bridgetest;

class ProbeModel : public ::testing::Test {
protected:
    void SetUp() override { configureProbe({}); }
    void TearDown() override { configureProbe({}); }
    const aaxhost::Module& probeModule() { return module(probeBundle()); }
};

std::string display(const AAX_IParameter& parameter, double real, int32_t maxChars = -1) {
    AAX_CString text;
    return parameter.NormalizedToString(parameter.RealToNormalized(real), maxChars, &text)
               ? text.Get()
               : "(false)";
}

TEST_F(ProbeModel, MirrorsEveryWritableParameter) {
    const auto effect = instance(probeModule(), 2);
    struct Expected {
        const char* identifier;
        const char* name;
        uint32_t steps;
        AAX_EParameterType type;
    };
    const Expected expected[] = {
        {"MasterBypassID", "Bypass", 2, AAX_eParameterType_Discrete},
        {"au_1", "Mode", 4, AAX_eParameterType_Discrete},
        {"au_2", "Level", 10001, AAX_eParameterType_Continuous},
        {"au_3", "Gain", 10001, AAX_eParameterType_Continuous},
        {"au_4", "Frequency", 10001, AAX_eParameterType_Continuous},
        {"au_5", "Width", 10001, AAX_eParameterType_Continuous},
        {"au_6", "Choice", 4, AAX_eParameterType_Discrete},
        {"au_7", probe::timeName, 10001, AAX_eParameterType_Continuous},
    };
    int32_t count = 0;
    ASSERT_EQ(effect->effect().GetNumberOfParameters(&count), AAX_SUCCESS);
    ASSERT_EQ(count, 8) << "the read-only Meter is not mirrored";
    for (int32_t i = 0; i < count; ++i) {
        const AAX_IParameter& mirrored = *effect->effect().GetParameterAtIndex(i);
        EXPECT_STREQ(mirrored.Identifier(), expected[i].identifier);
        EXPECT_STREQ(mirrored.Name().Get(), expected[i].name);
        EXPECT_EQ(mirrored.GetNumberOfSteps(), expected[i].steps) << expected[i].identifier;
        EXPECT_EQ(mirrored.GetType(), expected[i].type) << expected[i].identifier;
        EXPECT_TRUE(mirrored.IsAutomatable());
    }
    AAX_CString bypass;
    EXPECT_EQ(effect->effect().GetMasterBypassParameter(&bypass), AAX_SUCCESS);
    EXPECT_STREQ(bypass.Get(), "MasterBypassID");
    EXPECT_EQ(realValue(*effect, "au_3"), -3.5) << "the unit's default";
}

TEST_F(ProbeModel, TapersAreLinearLogarithmicOrWhole) {
    const auto effect = instance(probeModule(), 2);
    const AAX_IParameter& mode = *parameter(*effect, "au_1");
    EXPECT_EQ(mode.NormalizedToReal(0.4), 1.0) << "a discrete parameter takes whole values";
    EXPECT_EQ(mode.NormalizedToReal(1.0), 3.0);
    const AAX_IParameter& level = *parameter(*effect, "au_2");
    EXPECT_DOUBLE_EQ(level.NormalizedToReal(0.123), 12.3);
    const AAX_IParameter& frequency = *parameter(*effect, "au_4");
    EXPECT_NEAR(frequency.NormalizedToReal(0.5), std::sqrt(20.0 * 20000.0), 0.001)
        << "a logarithmic parameter above zero";
    const AAX_IParameter& width = *parameter(*effect, "au_5");
    EXPECT_EQ(width.NormalizedToReal(0.5), 5.0) << "logarithmic from 0 is linear";
}

TEST_F(ProbeModel, DisplaysAndParsesLikeTheUnit) {
    const auto effect = instance(probeModule(), 2);
    const AAX_IParameter& bypass = *parameter(*effect, "MasterBypassID");
    EXPECT_EQ(display(bypass, 0), "Off");
    EXPECT_EQ(display(bypass, 1), "On");
    EXPECT_EQ(display(*parameter(*effect, "au_1"), 2), "Hot");
    EXPECT_EQ(display(*parameter(*effect, "au_6"), 3), "Three") << "strings from the minimum";
    EXPECT_EQ(display(*parameter(*effect, "au_2"), 50), "50.00 %");
    EXPECT_EQ(display(*parameter(*effect, "au_3"), -3.5), "-3.50 dB");
    EXPECT_EQ(display(*parameter(*effect, "au_3"), -3.5, 3), "-3.");

    double real = -1.0;
    EXPECT_TRUE(bypass.StringToReal(AAX_CString("On"), &real));
    EXPECT_EQ(real, 1.0);
    const AAX_IParameter& gain = *parameter(*effect, "au_3");
    EXPECT_TRUE(gain.StringToReal(AAX_CString("12.5 dB"), &real));
    EXPECT_EQ(real, 12.5);
    EXPECT_FALSE(gain.StringToReal(AAX_CString("abc"), &real));
    EXPECT_FALSE(gain.StringToReal(AAX_CString("inf"), &real));
}

TEST_F(ProbeModel, ReportsTheUnitsLatencyInWholeSamples) {
    const double rates[] = {48000.0, 44100.0, 8500.0};
    const int32_t samples[] = {48, 44, 9}; // 0.001 s; 8.5 rounds away from zero
    for (int i = 0; i < 3; ++i) {
        const auto effect = instance(probeModule(), 1, rates[i]);
        EXPECT_EQ(effect->controller().latencies, std::vector<int32_t>{samples[i]}) << rates[i];
    }
}

TEST_F(ProbeModel, MoreThan256WritableParametersFailInitialisation) {
    probe::Configuration wide;
    wide.wide = true;
    configureProbe(wide);
    const LogCapture log;
    const auto effect = instance(probeModule(), 2, 48000.0, false);
    EXPECT_EQ(effect->initialize(), AAX_ERROR_INITIALIZATION_FAILED);
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               "KELVO AAX KelvoProbe initialization failed: parameter capacity "
                               "exceeded"});
    EXPECT_EQ(unitOf(*effect), nullptr) << "no backend is left";
}

TEST_F(ProbeModel, AnExceptionOfAnyKindFailsInitialisationWithoutLeavingIt) {
    const LogCapture log;
    const auto effect = instance(probeModule(), 2, 48000.0, false);
    effect->controller().failures.sampleRateThrows = true;
    EXPECT_EQ(effect->initialize(), AAX_ERROR_INITIALIZATION_FAILED);
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               "KELVO AAX KelvoProbe initialization failed: unknown exception"});
}

// A host that cannot tell its rate or stem formats: initialisation fails quietly, and the
// instance renders silence, not what the host left in its buffers.
TEST_F(ProbeModel, AControllerFailureFailsQuietly) {
    const LogCapture log;
    const auto effect = instance(probeModule(), 1, 48000.0, false);
    effect->controller().failures.outputStem = true;
    EXPECT_EQ(effect->initialize(), AAX_ERROR_INITIALIZATION_FAILED);
    EXPECT_TRUE(log.lines().empty());
    int32_t count = -1;
    effect->effect().GetNumberOfParameters(&count);
    EXPECT_EQ(count, 0);
    EXPECT_NE(unitOf(*effect), nullptr) << "the unprepared backend stays";

    Block input = tone(1, 64);
    Block output(1, 64, 7.0f);
    effect->process(input.input(), output.output(), 64);
    EXPECT_EQ(output.samples[0], std::vector<float>(64, 0.0f));
}

TEST_F(ProbeModel, HostChangesReachTheUnitOnce) {
    const auto effect = instance(probeModule(), 2);
    EXPECT_EQ(
        effect->effect().UpdateParameterNormalizedValue("au_2", NAN, AAX_eUpdateSource_Parameter),
        AAX_ERROR_UNSPECIFIED);
    EXPECT_EQ(
        effect->effect().UpdateParameterNormalizedValue("au_99", 0.5, AAX_eUpdateSource_Parameter),
        AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(setReal(*effect, "au_2", 80.0), AAX_SUCCESS);
    EXPECT_EQ(unitValue(*effect, probe::level), 80.0f) << "at once, on the main thread";
    const uint64_t sets = probeReport().setParameterCalls;
    EXPECT_EQ(setReal(*effect, "au_2", 80.0), AAX_SUCCESS);
    EXPECT_EQ(probeReport().setParameterCalls, sets) << "a value the unit holds is not set again";

    // The next block's snapshot carries the same values: nothing is set again either.
    Block input = tone(2, 64);
    Block output(2, 64);
    effect->process(input.input(), output.output(), 64);
    EXPECT_EQ(probeReport().setParameterCalls, sets);
}

// A knob moved in the unit's editor: Touch, the value and Release reach the host, and the
// value the host sends back is not set on the unit a second time.
TEST_F(ProbeModel, TheUnitsEditsReachTheHostAsGestures) {
    const auto effect = instance(probeModule(), 2);
    AudioUnit unit = unitOf(*effect);
    const AudioUnitParameter level{unit, probe::level, kAudioUnitScope_Global, 0};
    AudioUnitEvent gesture{};
    gesture.mArgument.mParameter = level;
    gesture.mEventType = kAudioUnitEvent_BeginParameterChangeGesture;
    AUEventListenerNotify(nullptr, nullptr, &gesture);
    AUParameterSet(nullptr, nullptr, &level, 25.0f, 0);
    gesture.mEventType = kAudioUnitEvent_EndParameterChangeGesture;
    AUEventListenerNotify(nullptr, nullptr, &gesture);
    const uint64_t sets = probeReport().setParameterCalls;

    CFRunLoopUseManualClockForTesting(true);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.05, false);
    CFRunLoopUseManualClockForTesting(false);

    using Kind = aaxhost::AutomationRecorder::Kind;
    const auto& requests = effect->automation().requests;
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].kind, Kind::touch);
    EXPECT_EQ(requests[1].kind, Kind::set);
    EXPECT_DOUBLE_EQ(requests[1].normalized, 0.25);
    EXPECT_EQ(requests[2].kind, Kind::release);
    for (const auto& request : requests) {
        EXPECT_EQ(request.parameter, "au_2");
    }
    EXPECT_DOUBLE_EQ(realValue(*effect, "au_2"), 25.0);
    EXPECT_EQ(probeReport().setParameterCalls, sets);
}

TEST_F(ProbeModel, UninitialiseLetsTheUnitGo) {
    const auto effect = instance(probeModule(), 2);
    ASSERT_NE(unitOf(*effect), nullptr);
    EXPECT_EQ(effect->effect().Uninitialize(), AAX_SUCCESS);
    EXPECT_EQ(unitOf(*effect), nullptr);
    int32_t count = 0;
    effect->effect().GetNumberOfParameters(&count);
    EXPECT_EQ(count, 8) << "the parameters stay with the base";
}

} // namespace
