#pragma once
// The fixture bundles, registered once per test process from their Info.plist.

#include "test_support.h"

#include <string>

namespace testsupport {

inline std::string fixturePath(const std::string& product) {
    return std::string(KELVO_FIXTURE_BUNDLE_DIR) + "/" + product + ".component";
}

// The shared object inside a fixture bundle.
inline std::string fixtureExecutable(const std::string& product) {
    return fixturePath(product) + "/Contents/" KELVO_BUNDLE_ARCH_FOLDER "/" + product + ".so";
}

struct Fixture {
    OSStatus status = -1;
    CFBundleRef bundle = nullptr;
    UInt32 count = 0;
    AudioComponent component = nullptr;
};

inline Fixture registerFixture(const std::string& product, const char (&subtype)[5]) {
    Fixture fixture;
    Owned<CFURLRef> url(fileURL(fixturePath(product)));
    fixture.status = AudioComponentRegisterFromBundle(url.get(), &fixture.bundle, &fixture.count);
    const AudioComponentDescription wanted{fourCC("aufx"), fourCC(subtype), fourCC("Kvlo"), 0, 0};
    fixture.component = AudioComponentFindNext(nullptr, &wanted);
    return fixture;
}

inline const Fixture& gainFixture() {
    static const Fixture fixture = registerFixture("KelvoFixtureGain", "Fgn1");
    return fixture;
}

inline const Fixture& twinFixture() {
    static const Fixture fixture = registerFixture("KelvoFixtureGainTwin", "Fgn2");
    return fixture;
}

// The fixture's parameters.
constexpr AudioUnitParameterID kGain = 0;
constexpr AudioUnitParameterID kMode = 1;

inline AudioUnitParameterValue parameter(AudioUnit unit, AudioUnitParameterID id) {
    AudioUnitParameterValue value = -99.0f;
    AudioUnitGetParameter(unit, id, kAudioUnitScope_Global, 0, &value);
    return value;
}

} // namespace testsupport
