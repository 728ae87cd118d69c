#include "host_error.h"
#include "parameter_lookup.h"
#include "text_match.h"

#include <gtest/gtest.h>

#include <optional>

namespace kelvohost {
namespace {

// Parameters shaped like the units' own: a stepped control with captions using U+2212, a
// continuous dB trim, a percentage, a switch.
std::vector<ParameterDescription> parameters() {
    ParameterDescription gain;
    gain.id = 0;
    gain.name = "Gain";
    gain.minimum = 0;
    gain.maximum = 4;
    gain.defaultValue = 2;
    gain.unit = ParameterUnit::indexed;
    gain.valueStrings = {"\xE2\x88\x92"
                         "10 dB",
                         "\xE2\x88\x92"
                         "5 dB",
                         "0 dB", "+5 dB", "+10 dB"};

    ParameterDescription trim;
    trim.id = 8;
    trim.name = "Input Trim";
    trim.minimum = -24;
    trim.maximum = 24;
    trim.unit = ParameterUnit::decibels;
    trim.canRamp = true;

    ParameterDescription mix;
    mix.id = 10;
    mix.name = "Parallel Mix";
    mix.minimum = 0;
    mix.maximum = 100;
    mix.defaultValue = 100;
    mix.unit = ParameterUnit::percent;

    ParameterDescription pad;
    pad.id = 6;
    pad.name = "Pad";
    pad.minimum = 0;
    pad.maximum = 1;
    pad.unit = ParameterUnit::boolean;

    ParameterDescription frequency;
    frequency.id = 5;
    frequency.name = "High Frequency";
    frequency.minimum = 0;
    frequency.maximum = 2;
    frequency.unit = ParameterUnit::indexed;
    frequency.valueStrings = {"4.5 kHz", "7 kHz", "10 kHz"};

    // Captions that read as numbers other than their own values.
    ParameterDescription recovery;
    recovery.id = 2;
    recovery.name = "Recovery";
    recovery.minimum = 0;
    recovery.maximum = 5;
    recovery.defaultValue = 2;
    recovery.unit = ParameterUnit::indexed;
    recovery.valueStrings = {"1 \xC2\xB7 Fast", "2", "3", "4", "5", "6 \xC2\xB7 Slow"};
    return {gain, trim, mix, pad, frequency, recovery};
}

TEST(ValueParsing, AcceptsUnitsValueStringsAndAsciiMinus) {
    const auto list = parameters();
    struct Case {
        const char* parameter;
        const char* typed;
        float expected;
    };
    const Case cases[] = {
        {"Gain", "+5 dB", 3},
        {"Gain", "+5dB", 3},
        {"Gain", "-10 dB", 0}, // ASCII minus for the caption's U+2212
        {"Gain",
         "\xE2\x88\x92"
         "5 dB",
         1},                 // the caption as the unit writes it
        {"Gain", "0 DB", 2}, // case-insensitive
        {"Gain", "4", 4},    // a plain number is a step in the unit's terms
        {"Input Trim", "-6", -6},
        {"Input Trim", "-6 dB", -6},
        {"Input Trim",
         "\xE2\x88\x92"
         "6 dB",
         -6},
        {"Input Trim", "+2.5dB", 2.5f},
        {"Parallel Mix", "50%", 50},
        {"Parallel Mix", "50 %", 50},
        {"Pad", "on", 1},
        {"Pad", "OFF", 0},
        {"High Frequency", "7 khz", 1},
        {"Recovery", "3", 3}, // the value 3 (caption "4"), not the caption "3"
        {"Recovery", " 0 ", 0},
        {"Recovery", "5", 5},
        {"Recovery", "+2", 2},
        {"Recovery", "6 \xC2\xB7 Slow", 5},
        {"Recovery", "1 \xC2\xB7 fast", 0},
    };
    for (const Case& c : cases) {
        const ParameterDescription& p = findParameter(list, c.parameter);
        EXPECT_EQ(parseParameterValue(p, c.typed), c.expected) << c.parameter << " = " << c.typed;
    }
}

TEST(ValueParsing, RefusesWhatTheUnitWouldSilentlyChange) {
    const auto list = parameters();
    struct Case {
        const char* parameter;
        const char* typed;
        const char* messagePart;
    };
    const Case cases[] = {
        {"Gain", "+7 dB", "unknown value '+7 dB'"},
        {"Gain", "5", "outside 0 to 4"},
        {"Gain", "2.5", "not a whole step"},
        {"Input Trim", "30 dB", "outside -24 to 24 dB"},
        {"Input Trim", "6 %", "unknown value"}, // the wrong unit
        {"Input Trim", "nan", "unknown value"},
        {"Input Trim", "inf", "unknown value"},
        {"Input Trim", "--6", "unknown value"},
        {"Input Trim", "+-6", "unknown value"},
        {"Parallel Mix", "", "no value given"},
        {"Pad", "maybe", "on, off"},
        // A number past the range names the captions beside their values.
        {"Recovery", "6",
         "outside 0 to 5; a number is the value itself, the captions are 0 "
         "\"1 \xC2\xB7 Fast\", 1 \"2\", 2 \"3\""},
        {"Recovery", "6 Slow", "unknown value"},
    };
    for (const Case& c : cases) {
        const ParameterDescription& p = findParameter(list, c.parameter);
        try {
            parseParameterValue(p, c.typed);
            ADD_FAILURE() << c.parameter << " = '" << c.typed << "' was accepted";
        } catch (const InputError& error) {
            EXPECT_NE(std::string(error.what()).find(c.messagePart), std::string::npos)
                << error.what();
            EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
        }
    }
}

TEST(ParameterLookup, FindsByNameAnyCaseOrId) {
    const auto list = parameters();
    EXPECT_EQ(findParameter(list, "input trim").id, 8u);
    EXPECT_EQ(findParameter(list, "INPUTTRIM").id, 8u);
    EXPECT_EQ(findParameter(list, " 10 ").name, "Parallel Mix");
    EXPECT_EQ(findParameter(list, "6").name, "Pad");
    try {
        findParameter(list, "Drive");
        ADD_FAILURE() << "an unknown name was found";
    } catch (const InputError& error) {
        // The message lists what exists, so the user can correct the name.
        EXPECT_NE(std::string(error.what()).find("Gain, Input Trim"), std::string::npos);
    }
    EXPECT_THROW(findParameter(list, "7"), InputError); // an ID the unit does not have
}

TEST(PresetLookup, ByNumberFullNameOrUniqueName) {
    const std::vector<PresetDescription> presets = {{0, "Start / Studio Start"},
                                                    {1, "Vocals / Warm Body"},
                                                    {6, "Color / Tube Edge"},
                                                    {7, "Color / Warm Body"},
                                                    {8, "Color / Analog Shimmer"}};
    EXPECT_EQ(findPreset(presets, "6").name, "Color / Tube Edge");
    EXPECT_EQ(findPreset(presets, "tube edge").number, 6);
    EXPECT_EQ(findPreset(presets, "Color / Analog Shimmer").number, 8);
    EXPECT_EQ(findPreset(presets, "color/warm body").number, 7);
    EXPECT_THROW(findPreset(presets, "Warm Body"), InputError); // in two groups
    EXPECT_THROW(findPreset(presets, "9"), InputError);
    EXPECT_THROW(findPreset(presets, "Bright"), InputError);
}

TEST(Assignment, SplitsAtTheFirstEquals) {
    EXPECT_EQ(splitAssignment("Input Gain=MIC +40"),
              (std::pair<std::string, std::string>{"Input Gain", "MIC +40"}));
    EXPECT_EQ(splitAssignment(" Level = 4 ").second, "4");
    EXPECT_THROW(splitAssignment("Level"), InputError);
    EXPECT_THROW(splitAssignment("=4"), InputError);
    EXPECT_THROW(splitAssignment("Level="), InputError);
}

TEST(Formatting, ShortestTextThatReadsBack) {
    EXPECT_EQ(formatNumber(2.8f), "2.8");
    EXPECT_EQ(formatNumber(-100.0), "-100");
    EXPECT_EQ(formatNumber(0.2), "0.2");
    EXPECT_EQ(formatNumber(1.0f / 3.0f), "0.33333334");
    EXPECT_EQ(formatNumber(192000), "192000");
    const auto list = parameters();
    EXPECT_EQ(formatValue(list[0], 3), "+5 dB");
    EXPECT_EQ(formatValue(list[1], -6), "-6 dB");
    EXPECT_EQ(formatValue(list[2], 50), "50%");
    EXPECT_EQ(displayWidth("\xE2\x88\x92"
                           "10 dB"),
              6u);
}

} // namespace
} // namespace kelvohost
