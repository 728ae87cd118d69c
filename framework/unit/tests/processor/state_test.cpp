// Saving and restoring the unit's state through the class-info property.

#include "model.h"
#include "support/tolvar_unit.h"
#include "testing/binary_property_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using unithost::Channels;
using unithost::signal;
using unittest::TolvarUnit;

std::string text(CFStringRef s) {
    std::vector<char> buffer(4 * (CFStringGetLength(s) + 1) + 1);
    CFStringGetCString(s, buffer.data(), static_cast<CFIndex>(buffer.size()),
                       kCFStringEncodingUTF8);
    return buffer.data();
}

CFStringRef string(const std::string& t) {
    return CFStringCreateWithCString(nullptr, t.c_str(), kCFStringEncodingUTF8);
}

CFPropertyListRef save(TolvarUnit& unit) {
    CFPropertyListRef state = nullptr;
    UInt32 size = sizeof state;
    EXPECT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_ClassInfo,
                                   kAudioUnitScope_Global, 0, &state, &size),
              noErr);
    return state;
}

OSStatus restore(TolvarUnit& unit, CFPropertyListRef state) {
    return AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global,
                                0, &state, sizeof state);
}

AUPreset presentPreset(TolvarUnit& unit) {
    AUPreset preset{};
    UInt32 size = sizeof preset;
    EXPECT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                   kAudioUnitScope_Global, 0, &preset, &size),
              noErr);
    return preset;
}

std::string presentName(TolvarUnit& unit) {
    const AUPreset preset = presentPreset(unit);
    const std::string name = text(preset.presetName);
    CFRelease(preset.presetName);
    return name;
}

OSStatus setPresetName(TolvarUnit& unit, const std::string& name) {
    const CFStringRef s = string(name);
    const AUPreset preset{-1, s};
    const OSStatus status = AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                                 kAudioUnitScope_Global, 0, &preset, sizeof preset);
    CFRelease(s);
    return status;
}

std::vector<float> values(TolvarUnit& unit) {
    std::vector<float> v;
    for (unsigned id = 0; id < classic::parameterCount; ++id)
        v.push_back(unit.parameter(id));
    return v;
}

// The blob of a saved state, as bytes.
std::vector<std::uint8_t> blob(CFPropertyListRef state) {
    const auto data = static_cast<CFDataRef>(
        CFDictionaryGetValue(static_cast<CFDictionaryRef>(state), CFSTR("data")));
    const std::uint8_t* bytes = CFDataGetBytePtr(data);
    return {bytes, bytes + CFDataGetLength(data)};
}

CFMutableDictionaryRef withBlob(CFPropertyListRef state, const std::vector<std::uint8_t>& bytes) {
    CFMutableDictionaryRef copy =
        CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(state));
    const CFDataRef data = CFDataCreate(nullptr, bytes.data(), static_cast<CFIndex>(bytes.size()));
    CFDictionarySetValue(copy, CFSTR("data"), data);
    CFRelease(data);
    return copy;
}

void putFloat(std::vector<std::uint8_t>& bytes, std::size_t at, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
}

TEST(UnitState, SavedStateRestoresValuesAndPresetName) {
    TolvarUnit unit;
    ASSERT_EQ(unit.setParameter(0, 3), noErr);
    ASSERT_EQ(unit.setParameter(1, 2.8f), noErr);
    ASSERT_EQ(unit.setParameter(9, -7.25f), noErr);
    ASSERT_EQ(setPresetName(unit, "My Vocal \u00B7 take 2"), noErr);
    const std::vector<float> before = values(unit);
    const CFPropertyListRef state = save(unit);
    EXPECT_EQ(blob(state).size(), 124u);

    ASSERT_EQ(unit.setParameter(0, 0), noErr);
    ASSERT_EQ(unit.setParameter(12, 1), noErr);
    ASSERT_EQ(setPresetName(unit, "Other"), noErr);
    ASSERT_EQ(restore(unit, state), noErr);
    EXPECT_EQ(values(unit), before);
    EXPECT_EQ(presentName(unit), "My Vocal \u00B7 take 2");
    const AUPreset restored = presentPreset(unit);
    EXPECT_EQ(restored.presetNumber, -1);
    CFRelease(restored.presetName);

    // Saved again, byte for byte the same dictionary.
    const CFPropertyListRef again = save(unit);
    EXPECT_TRUE(CFEqual(state, again));
    CFRelease(again);
    CFRelease(state);
}

TEST(UnitState, RestoredValuesReachTheEngineWithoutGlide) {
    TolvarUnit source;
    ASSERT_EQ(source.setParameter(1, 9), noErr);
    ASSERT_EQ(source.setParameter(3, 0), noErr);
    const CFPropertyListRef state = save(source);

    TolvarUnit restored;               // renders at defaults, then restores
    TolvarUnit fresh(48000, 2, false); // initialised at the restored values
    ASSERT_EQ(fresh.setParameter(1, 9), noErr);
    ASSERT_EQ(fresh.setParameter(3, 0), noErr);
    ASSERT_EQ(fresh.initialize(), noErr);
    const Channels input =
        signal(2, 2048, [](unsigned c, unsigned i) { return 0.4 * std::sin(0.02 * i + c); });
    restored.render(input, 512);
    ASSERT_EQ(restore(restored, state), noErr);
    EXPECT_EQ(restored.render(input, 512), fresh.render(input, 512));
    CFRelease(state);
}

TEST(UnitState, RefusedStatesChangeNothing) {
    TolvarUnit unit;
    const CFPropertyListRef good = save(unit);
    ASSERT_EQ(unit.setParameter(1, 7), noErr);
    ASSERT_EQ(setPresetName(unit, "Kept"), noErr);
    const std::vector<float> before = values(unit);

    std::vector<std::uint8_t> duplicated = blob(good);
    duplicated[12 + 8 * 13 + 3] = 0; // the last entry names ID 0 again
    std::vector<std::uint8_t> notANumber = blob(good);
    putFloat(notANumber, 16 + 8 * 1, std::numeric_limits<float>::quiet_NaN());

    const std::vector<std::function<CFPropertyListRef()>> hostile = {
        [&] {
            CFMutableDictionaryRef d =
                CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(good));
            const SInt32 opalin = 0x4F70616C;
            const CFNumberRef n = CFNumberCreate(nullptr, kCFNumberSInt32Type, &opalin);
            CFDictionarySetValue(d, CFSTR("subtype"), n);
            CFRelease(n);
            return d;
        },
        [&] {
            CFMutableDictionaryRef d =
                CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(good));
            const SInt32 one = 1;
            const CFNumberRef n = CFNumberCreate(nullptr, kCFNumberSInt32Type, &one);
            CFDictionarySetValue(d, CFSTR("version"), n);
            CFRelease(n);
            return d;
        },
        [&] { return withBlob(good, duplicated); },
        [&] { return withBlob(good, notANumber); },
        [&] {
            return CFStringCreateWithCString(nullptr, "not a dictionary", kCFStringEncodingUTF8);
        },
    };
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        const CFPropertyListRef state = hostile[i]();
        EXPECT_EQ(restore(unit, state), kAudioUnitErr_InvalidPropertyValue) << i;
        EXPECT_EQ(values(unit), before) << i;
        EXPECT_EQ(presentName(unit), "Kept") << i;
        CFRelease(state);
    }
    CFRelease(good);
}

TEST(UnitState, APartialStateLeavesTheRestAtDefaults) {
    TolvarUnit unit;
    ASSERT_EQ(unit.setParameter(0, 4), noErr);
    ASSERT_EQ(unit.setParameter(13, 55), noErr);
    const CFPropertyListRef full = save(unit);
    std::vector<std::uint8_t> bytes = blob(full);
    bytes.resize(bytes.size() - 8); // drop Analog Shimmer (ID 13)
    bytes[11] = 13;
    const CFMutableDictionaryRef partial = withBlob(full, bytes);
    ASSERT_EQ(unit.setParameter(0, 1), noErr);
    ASSERT_EQ(restore(unit, partial), noErr);
    EXPECT_EQ(unit.parameter(0), 4);
    EXPECT_EQ(unit.parameter(13), 0);
    CFRelease(partial);
    CFRelease(full);
}

TEST(UnitState, AHostsOverlongPresetNameStillSavesARestorableState) {
    TolvarUnit unit;
    ASSERT_EQ(setPresetName(unit, std::string(5000, 'x')), noErr);
    EXPECT_EQ(presentName(unit).size(), 4096u);
    const CFPropertyListRef state = save(unit);
    EXPECT_EQ(restore(unit, state), noErr);
    CFRelease(state);
    // A pair of UTF-16 units is never cut in half.
    std::string name(4095, 'y');
    for (int i = 0; i < 10; ++i)
        name += "\xF0\x9D\x84\x9E";
    ASSERT_EQ(setPresetName(unit, name), noErr);
    const AUPreset preset = presentPreset(unit);
    EXPECT_EQ(CFStringGetLength(preset.presetName), 4095);
    CFRelease(preset.presetName);
}

// A saved state as a binary property list: its envelope and the blob Gain (ID 0) = gain,
// then extra pairs of encoded keys and values.
std::string binaryState(const std::string& name, float gain,
                        const std::vector<std::pair<std::string, std::string>>& extra) {
    std::vector<std::uint8_t> bytes(20, 0);
    bytes[11] = 1; // count 1; ID 0
    putFloat(bytes, 16, gain);
    std::vector<std::pair<std::string, std::string>> entries = {
        {plisttest::ascii("version"), plisttest::integer(0)},
        {plisttest::ascii("type"), plisttest::integer(0x61756678)},
        {plisttest::ascii("subtype"), plisttest::integer(0x546F6C76)},
        {plisttest::ascii("manufacturer"), plisttest::integer(0x4B766C6F)},
        {plisttest::ascii("data"), plisttest::data(std::string(bytes.begin(), bytes.end()))},
        {plisttest::ascii("name"), name},
    };
    entries.insert(entries.end(), extra.begin(), extra.end());
    return plisttest::dictionary(entries);
}

std::u16string units(CFStringRef s) {
    std::u16string out(static_cast<std::size_t>(CFStringGetLength(s)), u'\0');
    CFStringGetCharacters(s, CFRangeMake(0, CFStringGetLength(s)),
                          reinterpret_cast<UniChar*>(out.data()));
    return out;
}

// Keys and names holding U+0000, as any file may: a key that hides a zero is a key the unit
// does not know, never the key it hides behind, and a name keeps every character.
TEST(UnitState, KeysHidingAZeroNeverStandForRealOnes) {
    using namespace std::string_literals;
    std::vector<std::uint8_t> loud(20, 0);
    loud[11] = 1;
    putFloat(loud, 16, 4);
    const std::string shadowBlob = plisttest::data(std::string(loud.begin(), loud.end()));
    const std::string opalin = plisttest::integer(0x4F70616C);
    const struct {
        const char* what;
        std::string name;
        std::u16string expectedName;
        std::vector<std::pair<std::string, std::string>> extra;
    } cases[] = {
        {"ASCII name with a zero", plisttest::ascii("a\0b"s), u"a\0b"s, {}},
        {"UTF-16 name with a zero", plisttest::utf16(u"\u00dc\0x"s), u"\u00dc\0x"s, {}},
        {"shadow keys",
         plisttest::ascii("Kept"),
         u"Kept",
         {{plisttest::ascii("data\0shadow"s), shadowBlob},
          {plisttest::ascii("subtype\0"s), opalin},
          {plisttest::utf16(u"name\0\u00dc"s), plisttest::ascii("Hidden")}}},
    };
    for (const auto& c : cases) {
        TolvarUnit unit;
        const std::string bytes = binaryState(c.name, 3, c.extra);
        const CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                            static_cast<CFIndex>(bytes.size()));
        const CFPropertyListRef state =
            CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
        CFRelease(data);
        ASSERT_NE(state, nullptr) << c.what;
        EXPECT_EQ(restore(unit, state), noErr) << c.what;
        EXPECT_EQ(unit.parameter(0), 3) << c.what;
        const AUPreset preset = presentPreset(unit);
        EXPECT_EQ(units(preset.presetName), c.expectedName) << c.what;
        CFRelease(preset.presetName);
        CFRelease(state);
    }
}

// A state restored from such a file is saved again whole: its class info, written as a binary
// property list (as the AAX bridge carries it), restores to the same values and name, and
// gives the same bytes when saved once more.
TEST(UnitState, ANameHoldingAZeroSurvivesABinarySaveAndRestore) {
    const auto binary = [](CFPropertyListRef state) {
        return CFPropertyListCreateData(nullptr, state, kCFPropertyListBinaryFormat_v1_0, 0,
                                        nullptr);
    };
    for (const plisttest::ZeroName& c : plisttest::zeroNames()) {
        TolvarUnit first;
        const std::string file = binaryState(c.encoded, 2, {});
        const CFDataRef fileData =
            CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(file.data()),
                         static_cast<CFIndex>(file.size()));
        const CFPropertyListRef fromFile = CFPropertyListCreateWithData(
            nullptr, fileData, kCFPropertyListImmutable, nullptr, nullptr);
        CFRelease(fileData);
        ASSERT_NE(fromFile, nullptr) << c.what;
        ASSERT_EQ(restore(first, fromFile), noErr) << c.what;
        CFRelease(fromFile);

        const CFPropertyListRef state = save(first);
        const CFDataRef saved = binary(state);
        CFRelease(state);
        ASSERT_NE(saved, nullptr) << c.what << ": the state could not be written";
        const CFPropertyListRef read = CFPropertyListCreateWithData(
            nullptr, saved, kCFPropertyListImmutable, nullptr, nullptr);
        ASSERT_NE(read, nullptr) << c.what;
        TolvarUnit second;
        EXPECT_EQ(restore(second, read), noErr) << c.what;
        CFRelease(read);
        EXPECT_EQ(values(second), values(first)) << c.what;
        EXPECT_EQ(second.parameter(0), 2) << c.what;
        const AUPreset preset = presentPreset(second);
        EXPECT_EQ(units(preset.presetName), c.units) << c.what;
        CFRelease(preset.presetName);

        const CFPropertyListRef again = save(second);
        const CFDataRef resaved = binary(again);
        CFRelease(again);
        ASSERT_NE(resaved, nullptr) << c.what;
        EXPECT_TRUE(CFEqual(resaved, saved)) << c.what << ": not the same bytes";
        CFRelease(resaved);
        CFRelease(saved);
    }
}

} // namespace
