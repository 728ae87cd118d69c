// The component registry, look-up with wildcards, and instances through the plug-in interface.

#include "fake_plugin.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using fake::code;

std::string utf8(CFStringRef string) {
    char buffer[256] = {};
    CFStringGetCString(string, buffer, sizeof(buffer), kCFStringEncodingUTF8);
    return buffer;
}

// Components of this test, registered once: two effects of one maker, one of another, and one
// with flags.
struct Registered {
    AudioComponent alpha;
    AudioComponent beta;
    AudioComponent other;
    AudioComponent flagged;
};

const Registered& registered() {
    static const Registered components = [] {
        auto add = [](const char(&subtype)[5], const char(&maker)[5], UInt32 flags) {
            const AudioComponentDescription description{code("aufx"), code(subtype), code(maker),
                                                        flags, 0};
            return AudioComponentRegister(&description, CFSTR("Registry test"), 1, &fake::factory);
        };
        return Registered{add("Alph", "RgTs", 0), add("Beta", "RgTs", 0), add("Alph", "RgOt", 0),
                          add("Flag", "RgTs", 0x5)};
    }();
    return components;
}

TEST(Component, RegisteredComponentsKeepTheirNameVersionAndDescription) {
    const AudioComponent component = fake::component();
    ASSERT_NE(component, nullptr);
    CFStringRef name = nullptr;
    ASSERT_EQ(AudioComponentCopyName(component, &name), noErr);
    EXPECT_EQ(utf8(name), "Tests: Fake");
    CFRelease(name);
    UInt32 version = 0;
    ASSERT_EQ(AudioComponentGetVersion(component, &version), noErr);
    EXPECT_EQ(version, 3u);
    AudioComponentDescription description{};
    ASSERT_EQ(AudioComponentGetDescription(component, &description), noErr);
    EXPECT_EQ(description.componentSubType, code("Fake"));

    // The same description and factory again: the same component.
    const AudioComponentDescription same{code("aufx"), code("Fake"), code("Test"), 0, 0};
    EXPECT_EQ(AudioComponentRegister(&same, CFSTR("Again"), 9, &fake::factory), component);
    EXPECT_EQ(AudioComponentRegister(nullptr, CFSTR("x"), 1, &fake::factory), nullptr);
    EXPECT_EQ(AudioComponentRegister(&same, CFSTR("x"), 1, nullptr), nullptr);
    EXPECT_EQ(AudioComponentCopyName(nullptr, &name), kAudio_ParamError);
}

TEST(Component, FindNextTreatsZeroFieldsAsWildcards) {
    const Registered& r = registered();
    struct Case {
        const char* what;
        AudioComponentDescription wanted;
        std::vector<AudioComponent> expected;
    };
    const Case cases[] = {
        {"exact", {code("aufx"), code("Beta"), code("RgTs"), 0, 0}, {r.beta}},
        {"any subtype of one maker",
         {code("aufx"), 0, code("RgTs"), 0, 0},
         {r.alpha, r.beta, r.flagged}},
        {"one subtype of any maker", {0, code("Alph"), 0, 0, 0}, {r.alpha, r.other}},
        {"flags under the mask", {0, 0, code("RgTs"), 0x4, 0x4}, {r.flagged}},
        {"flags outside the mask are ignored", {0, code("Flag"), 0, 0x0, 0x2}, {r.flagged}},
        {"nothing", {code("aumu"), 0, code("RgTs"), 0, 0}, {}},
    };
    for (const Case& c : cases) {
        std::vector<AudioComponent> found;
        for (AudioComponent it = AudioComponentFindNext(nullptr, &c.wanted); it != nullptr;
             it = AudioComponentFindNext(it, &c.wanted)) {
            found.push_back(it);
        }
        EXPECT_EQ(found, c.expected) << c.what;
        EXPECT_EQ(AudioComponentCount(&c.wanted), c.expected.size()) << c.what;
    }
    EXPECT_NE(AudioComponentFindNext(nullptr, nullptr), nullptr);
}

TEST(Component, InstancesOpenAndCloseThroughTheInterface) {
    const int opens = fake::opens;
    const int closes = fake::closes;
    AudioComponentInstance instance = nullptr;
    ASSERT_EQ(AudioComponentInstanceNew(fake::component(), &instance), noErr);
    EXPECT_EQ(fake::opens, opens + 1);
    EXPECT_EQ(AudioComponentInstanceGetComponent(instance), fake::component());

    // Calls reach the plug-in's methods and return its statuses unchanged.
    EXPECT_EQ(AudioUnitSetParameter(instance, 2, kAudioUnitScope_Global, 0, 0.5f, 0), noErr);
    AudioUnitParameterValue value = 0;
    EXPECT_EQ(AudioUnitGetParameter(instance, 2, kAudioUnitScope_Global, 0, &value), noErr);
    EXPECT_EQ(value, 0.5f);
    EXPECT_EQ(AudioUnitGetParameter(instance, 9, kAudioUnitScope_Global, 0, &value),
              kAudioUnitErr_InvalidParameter);
    EXPECT_EQ(AudioUnitInitialize(instance), 1234);
    // What the plug-in does not answer, and no instance at all.
    EXPECT_EQ(AudioUnitReset(instance, 0, 0), badComponentSelector);
    AudioUnitRenderActionFlags flags = 0;
    EXPECT_EQ(AudioUnitRender(instance, &flags, nullptr, 0, 0, nullptr), badComponentSelector);
    EXPECT_EQ(AudioUnitInitialize(nullptr), badComponentInstance);
    EXPECT_EQ(AudioUnitSetParameter(nullptr, 0, 0, 0, 0, 0), badComponentInstance);

    EXPECT_EQ(AudioComponentInstanceDispose(instance), noErr);
    EXPECT_EQ(fake::closes, closes + 1);
    EXPECT_EQ(AudioComponentInstanceDispose(nullptr), kAudio_ParamError);
}

TEST(Component, AFailedOpenLeavesNothingBehind) {
    const int closes = fake::closes;
    fake::openStatus = kAudioUnitErr_FailedInitialization;
    AudioComponentInstance instance = nullptr;
    EXPECT_EQ(AudioComponentInstanceNew(fake::component(), &instance),
              kAudioUnitErr_FailedInitialization);
    fake::openStatus = noErr;
    EXPECT_EQ(instance, nullptr);
    EXPECT_EQ(fake::closes, closes + 1); // the interface the factory made is closed

    const AudioComponentDescription description{code("aufx"), code("Null"), code("Test"), 0, 0};
    AudioComponent broken =
        AudioComponentRegister(&description, CFSTR("Null"), 1, &fake::nullFactory);
    EXPECT_EQ(AudioComponentInstanceNew(broken, &instance), kAudioUnitErr_FailedInitialization);
    EXPECT_EQ(AudioComponentInstanceNew(nullptr, &instance), kAudio_ParamError);
}

} // namespace
