// CFURL for file paths.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <unistd.h>

using namespace cftest;

namespace {

std::string path(CFURLRef url) {
    UInt8 buffer[PATH_MAX];
    if (!CFURLGetFileSystemRepresentation(url, true, buffer, sizeof buffer)) {
        return "<none>";
    }
    return reinterpret_cast<const char*>(buffer);
}

Owned<CFURLRef> fileURL(const char* p, bool isDirectory) {
    return Owned<CFURLRef>(
        CFURLCreateFromFileSystemRepresentation(nullptr, reinterpret_cast<const UInt8*>(p),
                                                static_cast<CFIndex>(std::strlen(p)), isDirectory));
}

} // namespace

TEST(URL, PathsRoundTripAndSplit) {
    auto bundle = fileURL("/opt/kelvo/KelvoTolvar.component/", true);
    EXPECT_EQ(path(bundle), "/opt/kelvo/KelvoTolvar.component");
    EXPECT_TRUE(CFURLHasDirectoryPath(bundle));
    EXPECT_EQ(text(CFURLGetString(bundle)), "file:///opt/kelvo/KelvoTolvar.component/");
    Owned<CFStringRef> last(CFURLCopyLastPathComponent(bundle));
    EXPECT_EQ(text(last), "KelvoTolvar.component");
    Owned<CFStringRef> extension(CFURLCopyPathExtension(bundle));
    EXPECT_EQ(text(extension), "component");
    Owned<CFURLRef> contents(
        CFURLCreateCopyAppendingPathComponent(nullptr, bundle, CFSTR("Contents"), true));
    Owned<CFURLRef> info(
        CFURLCreateCopyAppendingPathComponent(nullptr, contents, CFSTR("Info.plist"), false));
    EXPECT_EQ(path(info), "/opt/kelvo/KelvoTolvar.component/Contents/Info.plist");
    EXPECT_FALSE(CFURLHasDirectoryPath(info));
    Owned<CFURLRef> up(CFURLCreateCopyDeletingLastPathComponent(nullptr, info));
    EXPECT_TRUE(CFEqual(up, contents));
    Owned<CFStringRef> asString(CFURLCopyFileSystemPath(info, kCFURLPOSIXPathStyle));
    EXPECT_EQ(text(asString), "/opt/kelvo/KelvoTolvar.component/Contents/Info.plist");
    Owned<CFURLRef> plain(CFURLCreateCopyDeletingPathExtension(nullptr, info));
    EXPECT_EQ(path(plain), "/opt/kelvo/KelvoTolvar.component/Contents/Info");
}

TEST(URL, EdgeCasesOfNamesAndRoots) {
    auto root = fileURL("/", true);
    EXPECT_EQ(path(root), "/");
    Owned<CFURLRef> rootUp(CFURLCreateCopyDeletingLastPathComponent(nullptr, root));
    EXPECT_EQ(path(rootUp), "/");
    auto hidden = fileURL("/home/user/.config", true);
    EXPECT_EQ(CFURLCopyPathExtension(hidden), nullptr);
    auto doubled = fileURL("/a//b///", false);
    EXPECT_EQ(path(doubled), "/a/b");
    auto spaced = fileURL("/tmp/Warm Body \xE2\x88\x92 3.aupreset", false);
    EXPECT_EQ(text(CFURLGetString(spaced)), "file:///tmp/Warm%20Body%20%E2%88%92%203.aupreset");
    Owned<CFURLRef> parsed(CFURLCreateWithString(nullptr, CFURLGetString(spaced), nullptr));
    EXPECT_TRUE(CFEqual(parsed, spaced));
    Owned<CFURLRef> fromString(
        CFURLCreateWithFileSystemPath(nullptr, CFSTR("/tmp/x"), kCFURLPOSIXPathStyle, false));
    EXPECT_EQ(path(fromString), "/tmp/x");
    UInt8 small[4];
    EXPECT_FALSE(CFURLGetFileSystemRepresentation(fromString, true, small, sizeof small));
}

TEST(URL, RelativePathsResolveAgainstTheCurrentDirectory) {
    char cwd[PATH_MAX];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    auto relative = fileURL("bundles/X.component", true);
    EXPECT_EQ(path(relative), std::string(cwd) + "/bundles/X.component");
}
