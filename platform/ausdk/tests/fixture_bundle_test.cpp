// The fixture unit as a real bundle: found, registered from its Info.plist, loaded with its
// symbols kept to itself, and side by side with a twin that defines the same C++ names.

#include "fixture_support.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <fstream>

using namespace testsupport;

namespace {

TEST(FixtureBundle, RegistersTheComponentItsInfoPlistDeclares) {
    const Fixture& fixture = gainFixture();
    ASSERT_EQ(fixture.status, noErr);
    EXPECT_EQ(fixture.count, 1u);
    ASSERT_NE(fixture.component, nullptr);

    AudioComponentDescription description{};
    ASSERT_EQ(AudioComponentGetDescription(fixture.component, &description), noErr);
    EXPECT_EQ(description.componentType, fourCC("aufx"));
    EXPECT_EQ(description.componentSubType, fourCC("Fgn1"));
    EXPECT_EQ(description.componentManufacturer, fourCC("Kvlo"));
    UInt32 version = 0;
    ASSERT_EQ(AudioComponentGetVersion(fixture.component, &version), noErr);
    EXPECT_EQ(version, 65794u);
    CFStringRef name = nullptr;
    ASSERT_EQ(AudioComponentCopyName(fixture.component, &name), noErr);
    EXPECT_EQ(utf8(name), "Kelvo Tests: KelvoFixtureGain");
    CFRelease(name);

    // A second registration of the same bundle changes nothing.
    CFBundleRef again = nullptr;
    UInt32 count = 0;
    Owned<CFURLRef> url(fileURL(fixturePath("KelvoFixtureGain")));
    ASSERT_EQ(AudioComponentRegisterFromBundle(url.get(), &again, &count), noErr);
    EXPECT_EQ(again, fixture.bundle);
    EXPECT_EQ(count, 1u);
    const AudioComponentDescription exact{fourCC("aufx"), fourCC("Fgn1"), fourCC("Kvlo"), 0, 0};
    EXPECT_EQ(AudioComponentCount(&exact), 1u);
    EXPECT_EQ(AudioComponentRegisterFromBundle(url.get(), nullptr, nullptr), noErr);
}

TEST(FixtureBundle, IsInTheBundleRegistryWithItsResources) {
    const Fixture& fixture = gainFixture();
    ASSERT_EQ(fixture.status, noErr);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.kelvo.tests.KelvoFixtureGain")),
              fixture.bundle);
    for (const char* resource : {"NOTE", "GENERATED"}) {
        CFStringRef name =
            CFStringCreateWithCString(kCFAllocatorDefault, resource, kCFStringEncodingUTF8);
        Owned<CFURLRef> url(CFBundleCopyResourceURL(fixture.bundle, name, CFSTR("txt"), nullptr));
        EXPECT_NE(url.get(), nullptr) << resource;
        CFRelease(name);
    }
}

TEST(FixtureBundle, ExportsOnlyItsFactory) {
    ASSERT_EQ(gainFixture().status, noErr);
    const std::string so = fixtureExecutable("KelvoFixtureGain");
    void* handle = dlopen(so.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr) << "registration loaded the executable";
    EXPECT_NE(dlsym(handle, "KelvoFixtureGainFactory"), nullptr);
    EXPECT_EQ(dlsym(handle, "_ZN7fixture4TrimEv"), nullptr);   // fixture::Trim()
    EXPECT_EQ(dlsym(handle, "_ZN5ausdk6AUBaseD2Ev"), nullptr); // ausdk::AUBase::~AUBase()
    EXPECT_EQ(dlsym(handle, "_ZTV8GainUnit"), nullptr);        // GainUnit's vtable
    dlclose(handle);
}

TEST(FixtureBundle, TwinWithTheSameCppNamesKeepsItsOwnBehaviour) {
    ASSERT_EQ(gainFixture().status, noErr);
    ASSERT_EQ(twinFixture().status, noErr);
    ASSERT_NE(gainFixture().component, twinFixture().component);
    const AudioComponentDescription ours{fourCC("aufx"), 0, fourCC("Kvlo"), 0, 0};
    EXPECT_GE(AudioComponentCount(&ours), 2u);

    Float32 results[2] = {};
    const AudioComponent components[2] = {gainFixture().component, twinFixture().component};
    for (int i = 0; i < 2; ++i) {
        Instance instance(components[i]);
        ASSERT_EQ(instance.status, noErr);
        ASSERT_EQ(instance.setFormats(48000, 1), noErr);
        Source source{{std::vector<Float32>(8, 1.0f)}};
        ASSERT_EQ(connect(instance.unit, source), noErr);
        ASSERT_EQ(AudioUnitInitialize(instance.unit), noErr);
        Output output;
        output.mNumberBuffers = 1;
        AudioUnitRenderActionFlags flags = 0;
        const AudioTimeStamp time = sampleTime(0);
        ASSERT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 8, output.list()), noErr);
        results[i] = static_cast<const Float32*>(output.mBuffers[0].mData)[7];
    }
    EXPECT_EQ(results[0], 1.0f); // KelvoFixtureGain's fixture::Trim()
    EXPECT_EQ(results[1], 0.5f); // KelvoFixtureGainTwin's fixture::Trim()
}

// The Info.plist names malloc: the executable reaches it through the C library but does not
// define it, so it is no factory of the bundle's, while the factory it does define is found.
TEST(FixtureBundle, AFactoryFoundOnlyInADependencyIsRefused) {
    Owned<CFURLRef> url(fileURL(fixturePath("KelvoFixtureForeign")));
    EXPECT_EQ(AudioComponentRegisterFromBundle(url.get(), nullptr, nullptr),
              kAudioUnitErr_InvalidFile);
    const AudioComponentDescription foreign{fourCC("aufx"), fourCC("Fgn3"), 0, 0, 0};
    EXPECT_EQ(AudioComponentCount(&foreign), 0u);

    const std::string so =
        fixturePath("KelvoFixtureForeign") + "/Contents/" KELVO_BUNDLE_ARCH_FOLDER "/KelvoFixtureForeign.so";
    void* handle = dlopen(so.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr) << "registration loaded the executable";
    EXPECT_NE(dlsym(handle, "malloc"), nullptr);
    dlclose(handle);
    Owned<CFBundleRef> bundle(CFBundleCreate(nullptr, url.get()));
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle.get(), CFSTR("malloc")), nullptr);
    EXPECT_NE(CFBundleGetFunctionPointerForName(bundle.get(), CFSTR("KelvoFixtureForeignFactory")),
              nullptr);
}

TEST(FixtureBundle, BadBundlesRegisterNothing) {
    Owned<CFURLRef> missing(fileURL(fixturePath("KelvoFixtureMissing")));
    EXPECT_EQ(AudioComponentRegisterFromBundle(missing.get(), nullptr, nullptr),
              kAudio_FileNotFoundError);
    EXPECT_EQ(AudioComponentRegisterFromBundle(nullptr, nullptr, nullptr), kAudio_ParamError);

    // Copies of the fixture whose declarations are faulty: one good entry beside one bad one
    // must not be registered either.
    struct Case {
        const char* folder;
        const char* badEntry;
    };
    const Case cases[] = {
        {"ShortCode", "<key>subtype</key><string>Bd1</string>"
                      "<key>factoryFunction</key><string>KelvoFixtureGainFactory</string>"},
        {"NoFactory", "<key>subtype</key><string>Bad2</string>"
                      "<key>factoryFunction</key><string>NoSuchFactory</string>"},
        {"LibraryFactory", "<key>subtype</key><string>Bad3</string>"
                           "<key>factoryFunction</key><string>malloc</string>"},
    };
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("kelvo-ausdk-tests-" + std::to_string(getpid()));
    for (const Case& c : cases) {
        const std::filesystem::path bundle = root / (std::string(c.folder) + ".component");
        const std::filesystem::path executables = bundle / "Contents" / KELVO_BUNDLE_ARCH_FOLDER;
        std::filesystem::create_directories(executables);
        std::filesystem::copy_file(fixtureExecutable("KelvoFixtureGain"),
                                   executables / "KelvoFixtureGain.so",
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(bundle / "Contents/Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
               "<key>CFBundleIdentifier</key><string>com.kelvo.tests.bad."
            << c.folder
            << "</string><key>CFBundleExecutable</key><string>KelvoFixtureGain</string>"
               "<key>AudioComponents</key><array>"
               "<dict><key>type</key><string>aufx</string><key>subtype</key><string>Oka1</string>"
               "<key>manufacturer</key><string>Kvlo</string><key>name</key><string>ok</string>"
               "<key>version</key><integer>1</integer>"
               "<key>factoryFunction</key><string>KelvoFixtureGainFactory</string></dict>"
               "<dict><key>type</key><string>aufx</string><key>manufacturer</key>"
               "<string>Kvlo</string><key>name</key><string>bad</string>"
               "<key>version</key><integer>1</integer>"
            << c.badEntry << "</dict></array></dict></plist>";
        Owned<CFURLRef> url(fileURL(bundle.string()));
        EXPECT_EQ(AudioComponentRegisterFromBundle(url.get(), nullptr, nullptr),
                  kAudioUnitErr_InvalidFile)
            << c.folder;
    }
    const AudioComponentDescription ok{fourCC("aufx"), fourCC("Oka1"), 0, 0, 0};
    EXPECT_EQ(AudioComponentCount(&ok), 0u);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

} // namespace
