// Seeded mutations of saved states and user preset files, each through the property-list
// reader and the unit's restore, and written as a file through the editor's user preset load:
// nothing crashes (CI runs this under AddressSanitizer and UndefinedBehaviorSanitizer), and
// every mutant either restores exactly what it holds or is refused with the unit unchanged,
// the same way on both roads.

#include "model.h"
#include "presets/user_presets.h"
#include "presets_unit_editor.h"
#include "testing/binary_property_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

constexpr unsigned parameters = classic::parameterCount;
constexpr int mutantsPerSeed = 600;

std::u16string units(CFStringRef s) {
    std::u16string out(static_cast<std::size_t>(CFStringGetLength(s)), u'\0');
    CFStringGetCharacters(s, CFRangeMake(0, CFStringGetLength(s)),
                          reinterpret_cast<UniChar*>(out.data()));
    return out;
}

std::string bytesOf(CFDataRef data) {
    return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                       static_cast<std::size_t>(CFDataGetLength(data)));
}

std::string serialised(CFPropertyListRef list, CFPropertyListFormat format) {
    const CFDataRef data = CFPropertyListCreateData(nullptr, list, format, 0, nullptr);
    EXPECT_NE(data, nullptr);
    std::string bytes = data != nullptr ? bytesOf(data) : std::string();
    if (data != nullptr) {
        CFRelease(data);
    }
    return bytes;
}

// What the unit holds: every value and the present preset's name.
struct Held {
    std::vector<float> values;
    std::u16string name;
    bool operator==(const Held&) const = default;
};

Held held(AudioUnit unit) {
    Held h;
    for (unsigned id = 0; id < parameters; ++id) {
        AudioUnitParameterValue v = 0;
        AudioUnitGetParameter(unit, id, kAudioUnitScope_Global, 0, &v);
        h.values.push_back(v);
    }
    AUPreset preset{};
    UInt32 size = sizeof preset;
    AudioUnitGetProperty(unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset,
                         &size);
    if (preset.presetName != nullptr) {
        h.name = units(preset.presetName);
        CFRelease(preset.presetName);
    }
    return h;
}

// What a state the unit accepts must leave it holding, read from the dictionary itself: the
// defaults, then each entry of the blob, and the state's name ("Untitled" without one).
Held expected(CFDictionaryRef state) {
    Held h;
    for (unsigned id = 0; id < parameters; ++id) {
        h.values.push_back(classic::definitions[id].defaultValue);
    }
    const auto blob = static_cast<CFDataRef>(CFDictionaryGetValue(state, CFSTR("data")));
    const UInt8* b = CFDataGetBytePtr(blob);
    const auto word = [b](std::size_t at) {
        return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
               std::uint32_t{b[at + 2]} << 8 | std::uint32_t{b[at + 3]};
    };
    for (std::uint32_t k = 0; k < word(8); ++k) {
        const std::uint32_t bits = word(16 + 8 * k);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        h.values.at(word(12 + 8 * k)) = value;
    }
    const auto name = static_cast<CFStringRef>(CFDictionaryGetValue(state, CFSTR("name")));
    h.name = name != nullptr ? units(name) : u"Untitled";
    return h;
}

// Byte-level damage, one to three strokes: flips, telling bytes (zero, markers, XML
// delimiters), cuts, insertions, copies of a stretch and truncation.
std::string mutate(std::string bytes, std::mt19937& random) {
    static const char telling[] = {'\0',   '\x7F', '\x80', '\xFF', '\x0F', '\x10', '\x13', '\x5F',
                                   '\x6F', '\xD0', '\xAF', '<',    '>',    '&',    ';',    '/'};
    const int strokes = 1 + static_cast<int>(random() % 3);
    for (int s = 0; s < strokes && !bytes.empty(); ++s) {
        const std::size_t at = random() % bytes.size();
        const std::size_t span = std::min<std::size_t>(1 + random() % 8, bytes.size() - at);
        switch (random() % 6) {
        case 0:
            bytes[at] = static_cast<char>(random());
            break;
        case 1:
            bytes[at] = telling[random() % sizeof telling];
            break;
        case 2:
            bytes.erase(at, span);
            break;
        case 3:
            bytes.insert(at, std::string(span, telling[random() % sizeof telling]));
            break;
        case 4:
            bytes.insert(random() % bytes.size(), bytes.substr(at, span));
            break;
        default:
            bytes.resize(at);
            break;
        }
    }
    return bytes;
}

class MutatedStates : public ::testing::Test {
protected:
    AudioUnit unit = makeTolvarUnit();
    TemporaryFolder folder;
    Held before;

    void SetUp() override {
        // Off the defaults everywhere, so that neither a refusal nor a restore can hide.
        for (unsigned id = 0; id < parameters; ++id) {
            const classic::Definition& row = classic::definitions[id];
            const float value = row.defaultValue != row.maximum ? row.maximum : row.minimum;
            ASSERT_EQ(AudioUnitSetParameter(unit, id, kAudioUnitScope_Global, 0, value, 0), noErr);
        }
        const AUPreset preset{-1, CFSTR("Before")};
        ASSERT_EQ(AudioUnitSetProperty(unit, kAudioUnitProperty_PresentPreset,
                                       kAudioUnitScope_Global, 0, &preset, sizeof preset),
                  noErr);
        before = held(unit);
    }
    void TearDown() override { AudioComponentInstanceDispose(unit); }

    void putBack() {
        for (unsigned id = 0; id < parameters; ++id) {
            AudioUnitSetParameter(unit, id, kAudioUnitScope_Global, 0, before.values[id], 0);
        }
        const AUPreset preset{-1, CFSTR("Before")};
        AudioUnitSetProperty(unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0,
                             &preset, sizeof preset);
    }

    // The unit's own state, with values off the defaults and a name beyond ASCII.
    CFPropertyListRef savedState() {
        CFPropertyListRef state = nullptr;
        UInt32 size = sizeof state;
        EXPECT_EQ(AudioUnitGetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global,
                                       0, &state, &size),
                  noErr);
        CFMutableDictionaryRef named =
            CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(state));
        CFRelease(state);
        CFDictionarySetValue(named, CFSTR("name"), CFSTR("Warm \u00b7 Body"));
        return named;
    }

    // Returns whether the bytes were accepted; every check of one mutant is made here.
    bool tryMutant(const std::string& bytes, int number) {
        const CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                            static_cast<CFIndex>(bytes.size()));
        const CFPropertyListRef list =
            CFPropertyListCreateWithData(nullptr, data, 0, nullptr, nullptr);
        CFRelease(data);
        bool accepted = false;
        if (list != nullptr) {
            EXPECT_TRUE(CFPropertyListIsValid(list, kCFPropertyListBinaryFormat_v1_0)) << number;
            accepted = AudioUnitSetProperty(unit, kAudioUnitProperty_ClassInfo,
                                            kAudioUnitScope_Global, 0, &list, sizeof list) == noErr;
        }
        const Held after = held(unit);
        if (accepted) {
            EXPECT_EQ(after, expected(static_cast<CFDictionaryRef>(list))) << number;
            putBack();
        } else {
            EXPECT_EQ(after, before) << number;
        }
        if (list != nullptr) {
            CFRelease(list);
        }

        // The same bytes as a user preset file.
        const std::string path = folder.path() + "/Mutant.aupreset";
        writeFile(path, bytes);
        NSError error;
        const bool loaded = rackpresets::load(unit, NSURL::fileURLWithPath(path.c_str()), &error);
        EXPECT_EQ(loaded, accepted) << number;
        EXPECT_EQ(held(unit), loaded ? after : before) << number;
        if (loaded) {
            putBack();
        }
        return accepted;
    }
};

TEST_F(MutatedStates, AreRestoredExactlyOrRefusedWithTheUnitUnchanged) {
    const CFPropertyListRef state = savedState();
    const auto dictionary = static_cast<CFDictionaryRef>(state);
    const std::string blob =
        bytesOf(static_cast<CFDataRef>(CFDictionaryGetValue(dictionary, CFSTR("data"))));
    std::string partial = blob.substr(0, 12 + 8 * 3);
    partial[11] = 3;
    const auto envelope = [](std::vector<std::pair<std::string, std::string>> more) {
        std::vector<std::pair<std::string, std::string>> entries = {
            {plisttest::ascii("version"), plisttest::integer(0)},
            {plisttest::ascii("type"), plisttest::integer(0x61756678)},
            {plisttest::ascii("subtype"), plisttest::integer(0x546F6C76)},
            {plisttest::ascii("manufacturer"), plisttest::integer(0x4B766C6F)},
        };
        entries.insert(entries.end(), more.begin(), more.end());
        return plisttest::dictionary(entries);
    };
    const std::vector<std::string> seeds = {
        serialised(state, kCFPropertyListXMLFormat_v1_0),
        serialised(state, kCFPropertyListBinaryFormat_v1_0),
        envelope({{plisttest::ascii("data"), plisttest::data(partial)},
                  {plisttest::ascii("name"), plisttest::utf16(u"\u00dc\0x"s)},
                  {plisttest::ascii("data\0shadow"s), plisttest::data(blob)},
                  {plisttest::ascii("subtype\0"s), plisttest::integer(0x4F70616C)}}),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>data</key><data>" +
            std::string("AAAAAAAAAAAAAAABAAAAAECAAAA=") +
            "</data><key>element-name</key><dict><key>0</key><dict><key>1</key>"
            "<string>Left &amp; &#x1F39B;</string></dict></dict>"
            "<key>manufacturer</key><integer>1266052207</integer>"
            "<key>name</key><string>a&#13;b</string>"
            "<key>subtype</key><integer>1416588406</integer>"
            "<key>version</key><integer>0</integer></dict></plist>\n",
    };
    CFRelease(state);

    std::mt19937 random(20240617);
    int number = 0;
    for (const std::string& seed : seeds) {
        ASSERT_TRUE(tryMutant(seed, number++)) << "seed " << number - 1 << " is not a valid state";
        int accepted = 0;
        for (int i = 0; i < mutantsPerSeed; ++i) {
            accepted += tryMutant(mutate(seed, random), number++) ? 1 : 0;
            if (HasFailure()) {
                return; // the first mutant that fails says enough
            }
        }
        // Damage that leaves a state valid shows the oracle at work on both sides.
        EXPECT_GT(accepted, 0) << "no mutant of seed " << &seed - seeds.data() << " was accepted";
    }
}

} // namespace
