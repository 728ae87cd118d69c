// CFBundle: a bundle directory made by the test, its Info.plist, the registry, resources and
// loading its executable with local symbol binding.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace cftest;
namespace fs = std::filesystem;

namespace {

using BundleValueFunction = int (*)();

void writePlist(const fs::path& file, CFDictionaryRef info, CFPropertyListFormat format) {
    Owned<CFDataRef> bytes(CFPropertyListCreateData(nullptr, info, format, 0, nullptr));
    ASSERT_TRUE(bytes);
    std::ofstream(file, std::ios::binary) << cftest::bytes(bytes);
}

Owned<CFURLRef> directoryURL(const fs::path& p) {
    const std::string s = p.string();
    return Owned<CFURLRef>(CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(s.data()), static_cast<CFIndex>(s.size()), true));
}

std::string path(CFURLRef url) {
    if (url == nullptr) {
        return "<null>";
    }
    char buffer[4096];
    CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(buffer), sizeof buffer);
    return buffer;
}

class Bundle : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/cf_bundle_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // Name.component/Contents/{Info.plist, <processor>-linux/<executable>.so, Resources/...}
    static fs::path makeBundle(const std::string& name, const std::string& identifier,
                               const char* module, CFPropertyListFormat format) {
        const fs::path bundle = root / (name + ".component");
        const fs::path contents = bundle / "Contents";
        fs::create_directories(contents / KELVO_BUNDLE_ARCH_FOLDER);
        fs::create_directories(contents / "Resources" / "Backend" / "Inner.component");
        std::ofstream(contents / "Resources" / "face.png") << "png";
        auto info = mutableDictionary();
        CFDictionarySetValue(info, kCFBundleIdentifierKey, str(identifier).get());
        CFDictionarySetValue(info, CFSTR("CFBundleName"), str(name).get());
        CFDictionarySetValue(info, CFSTR("CFBundleVersion"), CFSTR("1.2.3"));
        if (module != nullptr) {
            CFDictionarySetValue(info, kCFBundleExecutableKey, str(name).get());
            fs::copy_file(module, contents / KELVO_BUNDLE_ARCH_FOLDER / (name + ".so"),
                          fs::copy_options::overwrite_existing);
        }
        writePlist(contents / "Info.plist", info, format);
        return bundle;
    }

    static inline fs::path root;
};

} // namespace

TEST_F(Bundle, CreateReadsInfoPlistAndEntersTheRegistry) {
    const fs::path dir =
        makeBundle("KelvoTestOne", "com.kelvo.test.one", nullptr, kCFPropertyListXMLFormat_v1_0);
    auto url = directoryURL(dir);
    Owned<CFBundleRef> bundle(CFBundleCreate(nullptr, url));
    ASSERT_TRUE(bundle);
    EXPECT_EQ(text(CFBundleGetIdentifier(bundle)), "com.kelvo.test.one");
    EXPECT_EQ(text(static_cast<CFStringRef>(
                  CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleName")))),
              "KelvoTestOne");
    EXPECT_EQ(CFDictionaryGetCount(CFBundleGetInfoDictionary(bundle)), 3);
    EXPECT_EQ(CFBundleGetVersionNumber(bundle), 0x01230000u);

    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.kelvo.test.one")), bundle.get());
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.kelvo.test.none")), nullptr);

    // The same directory, named another way, gives the same object, retained.
    const CFIndex before = CFGetRetainCount(bundle);
    auto other = directoryURL(dir / "Contents" / "..");
    Owned<CFBundleRef> again(CFBundleCreate(nullptr, other));
    EXPECT_EQ(again.get(), bundle.get());
    EXPECT_EQ(CFGetRetainCount(bundle), before + 1);

    Owned<CFURLRef> bundleURL(CFBundleCopyBundleURL(bundle));
    EXPECT_EQ(path(bundleURL), fs::canonical(dir).string());
    EXPECT_TRUE(CFURLHasDirectoryPath(bundleURL));
}

TEST_F(Bundle, StaysRegisteredAfterTheCallerReleasesIt) {
    const fs::path dir = makeBundle("KelvoTestKept", "com.kelvo.test.kept", nullptr,
                                    kCFPropertyListBinaryFormat_v1_0);
    CFBundleRef bundle = CFBundleCreate(nullptr, directoryURL(dir));
    ASSERT_NE(bundle, nullptr);
    CFRelease(bundle);
    CFBundleRef found = CFBundleGetBundleWithIdentifier(CFSTR("com.kelvo.test.kept"));
    ASSERT_EQ(found, bundle);
    EXPECT_EQ(text(CFBundleGetIdentifier(found)), "com.kelvo.test.kept");
    EXPECT_TRUE(CFArrayContainsValue(
        CFBundleGetAllBundles(), CFRangeMake(0, CFArrayGetCount(CFBundleGetAllBundles())), found));
}

TEST_F(Bundle, ResourcesAreFoundOnlyWhenTheyExist) {
    const fs::path dir =
        makeBundle("KelvoTestRes", "com.kelvo.test.res", nullptr, kCFPropertyListXMLFormat_v1_0);
    Owned<CFBundleRef> bundle(CFBundleCreate(nullptr, directoryURL(dir)));
    ASSERT_TRUE(bundle);
    const fs::path resources = fs::canonical(dir) / "Contents" / "Resources";
    Owned<CFURLRef> folder(CFBundleCopyResourcesDirectoryURL(bundle));
    EXPECT_EQ(path(folder), resources.string());
    const struct {
        const char* name;
        const char* type;
        const char* subdir;
        const char* expected; // relative to Resources, NULL when absent
    } cases[] = {
        {"face", "png", nullptr, "face.png"},
        {"face", ".png", nullptr, "face.png"},
        {"face.png", nullptr, nullptr, "face.png"},
        {"face", "jpg", nullptr, nullptr},
        {"missing", "png", nullptr, nullptr},
        {"Inner", "component", "Backend", "Backend/Inner.component"},
        {"Inner", "component", nullptr, nullptr},
        {"../Info", "plist", nullptr, nullptr}, // nothing outside Resources
    };
    for (const auto& c : cases) {
        Owned<CFURLRef> url(CFBundleCopyResourceURL(
            bundle, str(c.name), c.type != nullptr ? str(c.type).get() : nullptr,
            c.subdir != nullptr ? str(c.subdir).get() : nullptr));
        if (c.expected == nullptr) {
            EXPECT_FALSE(url) << c.name;
        } else {
            EXPECT_EQ(path(url), (resources / c.expected).string()) << c.name;
        }
    }
    Owned<CFURLRef> inner(
        CFBundleCopyResourceURL(bundle, CFSTR("Inner"), CFSTR("component"), CFSTR("Backend")));
    EXPECT_TRUE(CFURLHasDirectoryPath(inner));
}

TEST_F(Bundle, LoadsTheExecutableAndFindsFunctions) {
    const fs::path dir = makeBundle("KelvoTestA", "com.kelvo.test.a", CF_TEST_MODULE_A,
                                    kCFPropertyListBinaryFormat_v1_0);
    Owned<CFBundleRef> bundle(CFBundleCreate(nullptr, directoryURL(dir)));
    ASSERT_TRUE(bundle);
    Owned<CFURLRef> executable(CFBundleCopyExecutableURL(bundle));
    EXPECT_EQ(
        path(executable),
        (fs::canonical(dir) / "Contents" / KELVO_BUNDLE_ARCH_FOLDER / "KelvoTestA.so").string());
    EXPECT_FALSE(CFBundleIsExecutableLoaded(bundle));
    ASSERT_TRUE(CFBundleLoadExecutable(bundle));
    EXPECT_TRUE(CFBundleIsExecutableLoaded(bundle));
    auto function = reinterpret_cast<BundleValueFunction>(
        CFBundleGetFunctionPointerForName(bundle, CFSTR("KelvoTestBundleValue")));
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function(), 11);
    EXPECT_EQ(CFBundleGetDataPointerForName(bundle, CFSTR("KelvoTestBundleValue")),
              reinterpret_cast<void*>(function));
}

// A look-up through the executable's handle also searches the libraries it depends on; a name
// found there is not the bundle's, and calling it as the bundle's entry point would run another
// library's function.
TEST_F(Bundle, FindsOnlyWhatItsOwnExecutableDefines) {
    const fs::path dir = makeBundle("KelvoTestOwn", "com.kelvo.test.own", CF_TEST_MODULE_A,
                                    kCFPropertyListXMLFormat_v1_0);
    Owned<CFBundleRef> bundle(CFBundleCreate(nullptr, directoryURL(dir)));
    ASSERT_TRUE(CFBundleLoadExecutable(bundle));
    const std::string executable = (dir / "Contents" / KELVO_BUNDLE_ARCH_FOLDER / "KelvoTestOwn.so").string();
    void* handle = ::dlopen(executable.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    const struct {
        const char* name;
        bool reachable; // through the handle
    } cases[] = {
        {"malloc", true}, // the C library's
        {"stdout", true}, // the C library's data
        {"KelvoTestMissing", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(::dlsym(handle, c.name) != nullptr, c.reachable) << c.name;
        EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, str(c.name)), nullptr) << c.name;
        EXPECT_EQ(CFBundleGetDataPointerForName(bundle, str(c.name)), nullptr) << c.name;
    }
    ::dlclose(handle);
    EXPECT_NE(CFBundleGetFunctionPointerForName(bundle, CFSTR("KelvoTestBundleValue")), nullptr);
}

TEST_F(Bundle, TwoBundlesWithTheSameSymbolsLoadSideBySide) {
    const fs::path a = makeBundle("KelvoTestSideA", "com.kelvo.test.side.a", CF_TEST_MODULE_A,
                                  kCFPropertyListXMLFormat_v1_0);
    const fs::path b = makeBundle("KelvoTestSideB", "com.kelvo.test.side.b", CF_TEST_MODULE_B,
                                  kCFPropertyListXMLFormat_v1_0);
    Owned<CFBundleRef> first(CFBundleCreate(nullptr, directoryURL(a)));
    Owned<CFBundleRef> second(CFBundleCreate(nullptr, directoryURL(b)));
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    // Found through the function pointer without an explicit load.
    auto fa = reinterpret_cast<BundleValueFunction>(
        CFBundleGetFunctionPointerForName(first, CFSTR("KelvoTestBundleValue")));
    auto fb = reinterpret_cast<BundleValueFunction>(
        CFBundleGetFunctionPointerForName(second, CFSTR("KelvoTestBundleValue")));
    ASSERT_NE(fa, nullptr);
    ASSERT_NE(fb, nullptr);
    EXPECT_NE(reinterpret_cast<void*>(fa), reinterpret_cast<void*>(fb));
    // With global binding the second bundle's call of kelvotest::sharedValue would reach the
    // first bundle's copy and give 12.
    EXPECT_EQ(fa(), 11);
    EXPECT_EQ(fb(), 22);
}

TEST_F(Bundle, RefusesWhatIsNotABundle) {
    const fs::path empty = root / "Empty.component";
    fs::create_directories(empty / "Contents");
    EXPECT_EQ(CFBundleCreate(nullptr, directoryURL(empty)), nullptr);
    EXPECT_EQ(CFBundleCreate(nullptr, directoryURL(root / "Missing.component")), nullptr);
    const fs::path broken = root / "Broken.component";
    fs::create_directories(broken / "Contents");
    std::ofstream(broken / "Contents" / "Info.plist") << "<plist><dict><key>x</key></dict>";
    EXPECT_EQ(CFBundleCreate(nullptr, directoryURL(broken)), nullptr);
    EXPECT_EQ(CFBundleCreate(nullptr, nullptr), nullptr);

    // A bundle without an executable is a bundle, but has nothing to load.
    const fs::path dir = makeBundle("KelvoTestNoCode", "com.kelvo.test.nocode", nullptr,
                                    kCFPropertyListXMLFormat_v1_0);
    Owned<CFBundleRef> bundle(CFBundleCreate(nullptr, directoryURL(dir)));
    ASSERT_TRUE(bundle);
    EXPECT_FALSE(CFBundleLoadExecutable(bundle));
    CFErrorRef error = nullptr;
    EXPECT_FALSE(CFBundleLoadExecutableAndReturnError(bundle, &error));
    ASSERT_NE(error, nullptr);
    CFRelease(error);
    EXPECT_EQ(CFBundleCopyExecutableURL(bundle), nullptr);
}
