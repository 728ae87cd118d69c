// The class-info state of the fixture bundle: the dictionary the base writes, a round trip,
// and what a restore refuses.

#include "fixture_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace testsupport;

namespace {

class FixtureState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gainFixture().status, noErr);
        instance = std::make_unique<Instance>(gainFixture().component);
        ASSERT_EQ(instance->status, noErr);
    }
    AudioUnit unit() const { return instance->unit; }

    CFPropertyListRef save() const {
        CFPropertyListRef state = nullptr;
        UInt32 size = sizeof(state);
        EXPECT_EQ(AudioUnitGetProperty(unit(), kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global,
                                       0, &state, &size),
                  noErr);
        EXPECT_EQ(size, 8u);
        return state;
    }
    OSStatus restore(CFPropertyListRef state) const {
        return AudioUnitSetProperty(unit(), kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                                    &state, sizeof(state));
    }
    void setParameter(AudioUnitParameterID id, AudioUnitParameterValue value) const {
        ASSERT_EQ(AudioUnitSetParameter(unit(), id, kAudioUnitScope_Global, 0, value, 0), noErr);
    }
    AUPreset presentPreset() const {
        AUPreset preset{};
        UInt32 size = sizeof(preset);
        EXPECT_EQ(AudioUnitGetProperty(unit(), kAudioUnitProperty_PresentPreset,
                                       kAudioUnitScope_Global, 0, &preset, &size),
                  noErr);
        return preset;
    }

    static SInt64 integer(CFDictionaryRef state, const char* key) {
        Owned<CFStringRef> name(
            CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8));
        auto number = static_cast<CFNumberRef>(CFDictionaryGetValue(state, name.get()));
        SInt64 value = -1;
        if (number != nullptr) {
            CFNumberGetValue(number, kCFNumberSInt64Type, &value);
        }
        return value;
    }

    static void heard(void* refCon, AudioUnit, AudioUnitPropertyID, AudioUnitScope,
                      AudioUnitElement) {
        ++*static_cast<int*>(refCon);
    }

    std::unique_ptr<Instance> instance;
};

TEST_F(FixtureState, SavesTheClassInfoDictionary) {
    Owned<CFPropertyListRef> state(save());
    ASSERT_NE(state.get(), nullptr);
    ASSERT_EQ(CFGetTypeID(state.get()), CFDictionaryGetTypeID());
    auto dictionary = static_cast<CFDictionaryRef>(state.get());
    EXPECT_EQ(CFDictionaryGetCount(dictionary), 6);
    EXPECT_EQ(integer(dictionary, "version"), 0);
    EXPECT_EQ(integer(dictionary, "type"), 0x61756678);
    EXPECT_EQ(integer(dictionary, "subtype"), fourCC("Fgn1"));
    EXPECT_EQ(integer(dictionary, "manufacturer"), 0x4B766C6F);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFDictionaryGetValue(dictionary, CFSTR("name")))),
              "Unity");

    auto data = static_cast<CFDataRef>(CFDictionaryGetValue(dictionary, CFSTR("data")));
    ASSERT_NE(data, nullptr);
    // Scope 0, element 0, two entries: Gain 1.0 (0x3F800000), Mode 0; big-endian.
    const std::vector<UInt8> expected = {0, 0, 0,    0,    0, 0, 0, 0, 0, 0, 0, 2, 0, 0,
                                         0, 0, 0x3F, 0x80, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    ASSERT_EQ(CFDataGetLength(data), static_cast<CFIndex>(expected.size()));
    EXPECT_EQ(std::memcmp(CFDataGetBytePtr(data), expected.data(), expected.size()), 0);
}

TEST_F(FixtureState, RestoresValuesAndNamesThePresentPreset) {
    setParameter(kGain, 0.25f);
    setParameter(kMode, 2.0f);
    AUPreset named{-1, CFSTR("Late Night")};
    ASSERT_EQ(AudioUnitSetProperty(unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global,
                                   0, &named, sizeof(named)),
              noErr);
    Owned<CFPropertyListRef> state(save());

    // Through bytes and back, as a host's project file would carry it.
    Owned<CFDataRef> bytes(CFPropertyListCreateData(kCFAllocatorDefault, state.get(),
                                                    kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
    ASSERT_NE(bytes.get(), nullptr);
    Owned<CFPropertyListRef> loaded(CFPropertyListCreateWithData(
        kCFAllocatorDefault, bytes.get(), kCFPropertyListImmutable, nullptr, nullptr));
    ASSERT_NE(loaded.get(), nullptr);

    AUPreset factory{1, CFSTR("Half")};
    ASSERT_EQ(AudioUnitSetProperty(unit(), kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global,
                                   0, &factory, sizeof(factory)),
              noErr);
    EXPECT_EQ(parameter(unit(), kGain), 0.5f);
    EXPECT_EQ(parameter(unit(), kMode), 0.0f);

    int announcements = 0;
    AudioUnitAddPropertyListener(unit(), kAudioUnitProperty_PresentPreset, &heard, &announcements);
    ASSERT_EQ(restore(loaded.get()), noErr);
    EXPECT_EQ(announcements, 1);
    EXPECT_EQ(parameter(unit(), kGain), 0.25f);
    EXPECT_EQ(parameter(unit(), kMode), 2.0f);
    AUPreset preset = presentPreset();
    EXPECT_EQ(preset.presetNumber, -1);
    EXPECT_EQ(utf8(preset.presetName), "Late Night");
    CFRelease(preset.presetName);

    // Saving the same state twice gives the same bytes.
    Owned<CFPropertyListRef> again(save());
    Owned<CFDataRef> againBytes(CFPropertyListCreateData(
        kCFAllocatorDefault, again.get(), kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
    ASSERT_NE(againBytes.get(), nullptr);
    EXPECT_TRUE(CFEqual(bytes.get(), againBytes.get()));
}

TEST_F(FixtureState, AStateWithoutANameBecomesUntitled) {
    Owned<CFPropertyListRef> state(save());
    Owned<CFMutableDictionaryRef> copy(CFDictionaryCreateMutableCopy(
        kCFAllocatorDefault, 0, static_cast<CFDictionaryRef>(state.get())));
    CFDictionaryRemoveValue(copy.get(), CFSTR("name"));
    ASSERT_EQ(restore(copy.get()), noErr);
    AUPreset preset = presentPreset();
    EXPECT_EQ(preset.presetNumber, -1);
    EXPECT_EQ(utf8(preset.presetName), "Untitled");
    CFRelease(preset.presetName);
}

TEST_F(FixtureState, RefusesWhatItCannotApplyAndChangesNothing) {
    setParameter(kGain, 0.75f);
    Owned<CFPropertyListRef> state(save());
    auto original = static_cast<CFDictionaryRef>(state.get());
    auto blob = [](std::vector<UInt8> bytes) {
        return CFDataCreate(kCFAllocatorDefault, bytes.data(), static_cast<CFIndex>(bytes.size()));
    };
    auto number = [](SInt32 value) {
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value);
    };
    struct Case {
        const char* what;
        const char* key;
        CFTypeRef value; // owned here
    };
    // A blob of Gain 0.125 but with its block cut, wrong, or pointing elsewhere.
    const Case cases[] = {
        {"another subtype", "subtype", number(static_cast<SInt32>(fourCC("Fgn2")))},
        {"another manufacturer", "manufacturer", number(static_cast<SInt32>(fourCC("Aaaa")))},
        {"a later version", "version", number(1)},
        {"a name that is not a string", "name", number(3)},
        {"data that is not data", "data", number(3)},
        {"a truncated header", "data", blob({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"a count beyond the bytes", "data",
         blob({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0x3E, 0, 0, 0})},
        {"a missing element", "data",
         blob({0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0x3E, 0, 0, 0})},
        {"an unknown scope", "data",
         blob({0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0x3E, 0, 0, 0})},
        {"a stray trailing byte", "data",
         blob({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0x3E, 0, 0, 0, 7})},
    };
    for (const Case& c : cases) {
        Owned<CFMutableDictionaryRef> copy(
            CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, original));
        Owned<CFStringRef> key(
            CFStringCreateWithCString(kCFAllocatorDefault, c.key, kCFStringEncodingUTF8));
        CFDictionarySetValue(copy.get(), key.get(), c.value);
        EXPECT_EQ(restore(copy.get()), kAudioUnitErr_InvalidPropertyValue) << c.what;
        EXPECT_EQ(parameter(unit(), kGain), 0.75f) << c.what;
        CFRelease(c.value);
    }
    EXPECT_EQ(restore(CFSTR("not a dictionary")), kAudioUnitErr_InvalidPropertyValue);
    CFPropertyListRef none = nullptr;
    EXPECT_EQ(AudioUnitSetProperty(unit(), kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                                   &none, 4),
              kAudioUnitErr_InvalidPropertyValue);
    AUPreset preset = presentPreset();
    EXPECT_EQ(preset.presetNumber, 0); // still the factory preset of construction
    CFRelease(preset.presetName);
}

TEST_F(FixtureState, APartialBlobRestoresOnlyItsEntries) {
    setParameter(kGain, 0.75f);
    setParameter(kMode, 1.0f);
    Owned<CFPropertyListRef> state(save());
    Owned<CFMutableDictionaryRef> copy(CFDictionaryCreateMutableCopy(
        kCFAllocatorDefault, 0, static_cast<CFDictionaryRef>(state.get())));
    const UInt8 bytes[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0x3E, 0, 0, 0};
    Owned<CFDataRef> data(CFDataCreate(kCFAllocatorDefault, bytes, sizeof(bytes)));
    CFDictionarySetValue(copy.get(), CFSTR("data"), data.get());
    ASSERT_EQ(restore(copy.get()), noErr);
    EXPECT_EQ(parameter(unit(), kGain), 0.125f); // 0x3E000000
    EXPECT_EQ(parameter(unit(), kMode), 1.0f);
}

} // namespace
