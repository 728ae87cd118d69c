// NSBundle through Core Foundation's registry: by URL, by identifier, and its resources.

#include <Foundation/Foundation.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class Bundle : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/appkit-bundle-XXXXXX";
        root = mkdtemp(pattern);
        path = root + "/KelvoTest.component";
        std::filesystem::create_directories(path + "/Contents/Resources");
        std::ofstream(path + "/Contents/Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
               "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
               "<plist version=\"1.0\"><dict>"
               "<key>CFBundleIdentifier</key><string>com.kelvo.appkit-test</string>"
               "<key>CFBundleExecutable</key><string>KelvoTest</string>"
               "</dict></plist>\n";
        std::ofstream(path + "/Contents/Resources/USER-GUIDE.txt") << "guide";
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::string root, path;
};

TEST_F(Bundle, OpenedByUrlThenFoundByIdentifier) {
    auto opened =
        NSBundle::bundleWithURL(NSURL::fileURLWithPath(NSString(std::string_view(path)), true));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->bundleIdentifier(), NSString("com.kelvo.appkit-test"));
    auto found = NSBundle::bundleWithIdentifier("com.kelvo.appkit-test");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->CFBundle(), opened->CFBundle());
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.kelvo.nothing"), nullptr);
    EXPECT_EQ(found->resourcePath(), NSString(std::string_view(path + "/Contents/Resources")));
}

TEST_F(Bundle, ResourcesAreFoundByNameAndExtensionOrNil) {
    auto bundle = NSBundle::bundleWithPath(NSString(std::string_view(path)));
    ASSERT_TRUE(bundle);
    const NSURL guide = bundle->URLForResource("USER-GUIDE", "txt");
    ASSERT_TRUE(guide);
    EXPECT_EQ(NSString::stringWithContentsOfURL(guide, NSUTF8StringEncoding, nullptr),
              NSString("guide"));
    EXPECT_FALSE(bundle->URLForResource("Iron-Blank-Panel", "png"));
    EXPECT_FALSE(NSBundle::bundleWithPath(NSString(std::string_view(root))));
}

} // namespace
