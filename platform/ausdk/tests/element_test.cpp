// The element's parameter store and the state dictionary, on a unit made without a component.

#include "probe_unit.h"

#include <gtest/gtest.h>

namespace {

TEST(Element, DefinesOnFirstSetAndRefusesIDsBeyondItsCapacity) {
    ProbeUnit unit(nullptr);
    ausdk::AUElement& element = *unit.Globals();
    EXPECT_EQ(element.GetParameterCapacity(), ausdk::AUBase::kGlobalParameterCapacity);
    EXPECT_EQ(element.GetNumberOfParameters(), 3u);
    EXPECT_FALSE(element.HasParameterID(7));
    EXPECT_EQ(element.GetParameterOrError(7).error(), kAudioUnitErr_InvalidParameter);
    EXPECT_THROW(element.GetParameter(7), ausdk::AUException);

    EXPECT_EQ(element.SetParameterOrError(7, 0.5f), noErr);
    EXPECT_EQ(element.SetParameterOrError(7, 0.75f), noErr);
    EXPECT_EQ(element.GetNumberOfParameters(), 4u);
    const auto value = element.GetParameterOrError(7);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, 0.75f);

    EXPECT_EQ(element.SetParameterOrError(255, 1.0f), noErr);
    EXPECT_EQ(element.SetParameterOrError(256, 1.0f), kAudioUnitErr_InvalidParameter);
    EXPECT_THROW(element.SetParameter(256, 1.0f), ausdk::AUException);

    AudioUnitParameterID ids[8] = {};
    ASSERT_EQ(element.GetParameterList(ids, 8), 5u);
    const AudioUnitParameterID expected[] = {0, 1, 5, 7, 255};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ids[i], expected[i]);
    }
    EXPECT_EQ(element.GetParameterList(ids, 2), 2u); // never past the room given
}

TEST(Element, ScopesAndElementsAreFoundOrRefused) {
    ProbeUnit unit(nullptr);
    EXPECT_EQ(unit.GetElement(kAudioUnitScope_Global, 1), nullptr);
    EXPECT_EQ(unit.GetElement(42, 0), nullptr);
    EXPECT_THROW(unit.Element(kAudioUnitScope_Input, 1), ausdk::AUException);
    EXPECT_THROW(unit.GetScope(42), ausdk::AUException);
    EXPECT_EQ(&unit.Element(kAudioUnitScope_Input, 0), &unit.Input(0));
    EXPECT_EQ(unit.Inputs().GetNumberOfElements(), 1u);
    EXPECT_EQ(unit.Outputs().GetNumberOfElements(), 1u);
    EXPECT_EQ(unit.Input(0).GetParameterCapacity(), 0u); // buses hold no parameters
    EXPECT_EQ(unit.Input(0).GetStreamFormat().mChannelsPerFrame, 2u);
    EXPECT_FALSE(unit.Input(0).HasBuffer()); // nothing is allocated before Initialize
}

TEST(Element, StateOfAUnitWithoutComponentCarriesZeroCodes) {
    ProbeUnit unit(nullptr);
    CFPropertyListRef state = nullptr;
    ASSERT_EQ(unit.SaveState(&state), noErr);
    auto dictionary = static_cast<CFDictionaryRef>(state);
    SInt32 subtype = -1;
    CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(dictionary, CFSTR("subtype"))),
                     kCFNumberSInt32Type, &subtype);
    EXPECT_EQ(subtype, 0);
    // Without a component there are no codes to compare, so its own state restores.
    EXPECT_EQ(unit.RestoreState(state), noErr);
    CFRelease(state);
}

} // namespace
