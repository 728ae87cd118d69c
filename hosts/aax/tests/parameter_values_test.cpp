// The --set rule for AAX parameters: a plain number is the real value, other text a caption or
// what the display delegate reads; checked against the parameter's range and steps. Against
// the bridge built for the tests' probe unit.

#include "host_error.h"
#include "parameter_values.h"
#include "plugin_session.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace kelvohost;

#ifdef KELVO_PROBE_AAX
class SetRule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        session = new PluginSession(openPlugin(KELVO_PROBE_AAX, {}));
        instance = startInstance(*session, *session->componentFor(2), 48000.0).release();
        parameters = new std::vector<HostParameter>(hostParameters(instance->effect()));
    }
    static void TearDownTestSuite() {
        delete parameters;
        delete instance;
        delete session;
    }
    static double real(const std::string& name, const std::string& value) {
        const HostParameter& parameter = findHostParameter(*parameters, name);
        return parameter.real(normalizedValue(parameter, value));
    }
    static std::string refusal(const std::string& name, const std::string& value) {
        try {
            const HostParameter& parameter = findHostParameter(*parameters, name);
            return "accepted " + std::to_string(parameter.real(normalizedValue(parameter, value)));
        } catch (const InputError& error) {
            return error.what();
        }
    }

    static PluginSession* session;
    static aaxhost::Instance* instance;
    static std::vector<HostParameter>* parameters;
};

PluginSession* SetRule::session = nullptr;
aaxhost::Instance* SetRule::instance = nullptr;
std::vector<HostParameter>* SetRule::parameters = nullptr;

TEST_F(SetRule, APlainNumberIsTheRealValue) {
    EXPECT_DOUBLE_EQ(real("Level", "75"), 75.0);
    EXPECT_DOUBLE_EQ(real("au_3", "-6"), -6.0);
    EXPECT_DOUBLE_EQ(real("gain", "\xE2\x88\x92"
                                  "6.5"),
                     -6.5)
        << "with the units' minus";
    EXPECT_DOUBLE_EQ(real("GAIN", " +1e1 "), 10.0);
    EXPECT_NEAR(real("Frequency", "632.456"), 632.456, 1e-9) << "through a logarithmic taper";
    EXPECT_EQ(real("Mode", "2"), 2.0);
    EXPECT_EQ(real("Choice", "1"), 1.0) << "the real value, not an index";
    EXPECT_EQ(real("masterbypassid", "1"), 1.0);
}

TEST_F(SetRule, OtherTextIsACaptionOrWhatTheDisplayReads) {
    EXPECT_EQ(real("Mode", "hot"), 2.0) << "captions in any case";
    EXPECT_EQ(real("Choice", "Three"), 3.0);
    EXPECT_EQ(real("Bypass", "on"), 1.0);
    EXPECT_EQ(real("Bypass", "OFF"), 0.0);
    EXPECT_DOUBLE_EQ(real("Gain", "12.5 dB"), 12.5);
    EXPECT_DOUBLE_EQ(real("Level", "50 %"), 50.0);
}

TEST_F(SetRule, RefusesValuesOutsideTheRangeOrBetweenSteps) {
    const struct {
        const char* name;
        const char* value;
        const char* says;
    } cases[] = {
        {"Level", "101", "Level: 101 is outside 0 to 100"},
        {"Gain", "30 dB", "Gain: 30 dB is outside -24 to 24"},
        {"Mode", "1.5", "Mode: 1.5 is not one of its steps (0 to 3, whole steps)"},
        {"Mode", "Boiling",
         "Mode: 'Boiling' is not a value of it (one of Clean, Warm, Hot, Fried)"},
        {"Level", "loud", "Level: 'loud' is not a value of it (a number from 0 to 100)"},
        {"Level", "inf", "Level: 'inf' is not a value of it"},
        {"Level", "nan", "Level: 'nan' is not a value of it"},
        {"Loudness", "1",
         "no parameter 'Loudness' (parameters: Bypass (MasterBypassID), Mode (au_1)"},
        {"Meter", "1", "no parameter 'Meter'"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(refusal(c.name, c.value).find(c.says), std::string::npos)
            << refusal(c.name, c.value);
    }
}
#endif

} // namespace
