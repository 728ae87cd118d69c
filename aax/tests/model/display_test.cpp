// How a mirrored parameter's value reads in the host, and how text reads back.

#include "model/display.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using kelvoaax::Display;
using kelvoaax::Parameter;

Parameter parameter(AudioUnitParameterUnit unit, float minimum,
                    std::vector<std::string> valueStrings = {}) {
    Parameter made;
    made.info.unit = unit;
    made.info.minValue = minimum;
    made.valueStrings = std::move(valueStrings);
    return made;
}

std::string shown(const Display& display, double value, int32_t maxChars = -1) {
    AAX_CString text;
    const bool ok = maxChars < 0 ? display.ValueToString(value, &text)
                                 : display.ValueToString(value, maxChars, &text);
    return ok ? text.Get() : "(false)";
}

TEST(Display, ShowsValueStringsFromTheMinimumElseTwoDecimalsAndTheUnit) {
    const Display bypass(parameter(kAudioUnitParameterUnit_Boolean, 0));
    EXPECT_EQ(shown(bypass, 0), "Off");
    EXPECT_EQ(shown(bypass, 1), "On");
    const Display choice(parameter(kAudioUnitParameterUnit_Indexed, 1, {"One", "Two", "Three"}));
    EXPECT_EQ(shown(choice, 3), "Three");
    EXPECT_EQ(shown(choice, 1.4), "One");
    EXPECT_EQ(shown(choice, 4), "4.00") << "outside the strings: the number";
    EXPECT_EQ(shown(choice, 0.4), "0.40");
    const std::string huge = shown(choice, 1e300); // far outside: never an integer index
    EXPECT_TRUE(huge.size() > 300 && huge.ends_with(".00")) << huge;

    EXPECT_EQ(shown(Display(parameter(kAudioUnitParameterUnit_Percent, 0)), 50), "50.00 %");
    EXPECT_EQ(shown(Display(parameter(kAudioUnitParameterUnit_Decibels, -24)), -3.5), "-3.50 dB");
    EXPECT_EQ(shown(Display(parameter(kAudioUnitParameterUnit_Hertz, 20)), 1000), "1000.00 Hz");
    EXPECT_EQ(shown(Display(parameter(kAudioUnitParameterUnit_Milliseconds, 1)), 20), "20.00 ms");
    EXPECT_EQ(shown(Display(parameter(kAudioUnitParameterUnit_Generic, 0)), 12), "12.00");
    EXPECT_EQ(shown(Display(parameter(kAudioUnitParameterUnit_Generic, 0)), NAN), "(false)");
    EXPECT_EQ(shown(Display(parameter(kAudioUnitParameterUnit_Generic, 0)), INFINITY), "(false)");
}

TEST(Display, CutsToTheCharactersTheHostHasRoomFor) {
    const Display decibels(parameter(kAudioUnitParameterUnit_Decibels, -24));
    EXPECT_EQ(shown(decibels, -3.5, 5), "-3.50");
    EXPECT_EQ(shown(decibels, -3.5, 0), "");
    EXPECT_EQ(shown(decibels, -3.5, 100), "-3.50 dB");
    const Display captions(parameter(kAudioUnitParameterUnit_Indexed, 0,
                                     {"\xE2\x88\x92"
                                      "6 dB"}));
    EXPECT_EQ(shown(captions, 0, 2), "\xE2\x88\x92"
                                     "6")
        << "whole characters, not bytes";
}

TEST(Display, ReadsValueStringsAndLeadingNumbers) {
    const Display bypass(parameter(kAudioUnitParameterUnit_Boolean, 0));
    const Display choice(parameter(kAudioUnitParameterUnit_Indexed, 1, {"One", "Two", "Three"}));
    const Display decibels(parameter(kAudioUnitParameterUnit_Decibels, -24));
    struct Case {
        const Display& display;
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {bypass, "On", true, 1.0},          {bypass, "Off", true, 0.0},
        {choice, "Two", true, 2.0},         {choice, "two", false, 0.0},
        {decibels, "12.5 dB", true, 12.5},  {decibels, "  -3", true, -3.0},
        {decibels, "+6dB", true, 6.0},      {decibels, "abc", false, 0.0},
        {decibels, "", false, 0.0},         {decibels, "1e999", false, 0.0},
        {decibels, "inf", false, INFINITY},
    };
    for (const Case& c : cases) {
        double value = -99.0;
        EXPECT_EQ(c.display.StringToValue(AAX_CString(c.text), &value), c.ok) << c.text;
        if (std::isfinite(c.value)) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    EXPECT_FALSE(decibels.StringToValue(AAX_CString("1"), nullptr));
}

} // namespace
