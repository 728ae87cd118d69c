// URLs, the file manager, file handles and atomic writes, on a scratch folder.

#include <Foundation/Foundation.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/appkit-files-XXXXXX";
        root = mkdtemp(pattern);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    void write(const std::string& relative, const std::string& bytes) {
        std::ofstream(root + "/" + relative, std::ios::binary) << bytes;
    }
    NSURL url(const std::string& relative) const {
        return NSURL::fileURLWithPath(NSString(std::string_view(root + "/" + relative)));
    }
    std::string root;
};

TEST_F(Files, UrlComponentsAndMultiPartAppend) {
    const NSURL library = NSURL::fileURLWithPath("/home/u/Library", true);
    const NSURL folder = library.URLByAppendingPathComponent("Audio/Presets/Kelvo Audio Lab")
                             .URLByAppendingPathComponent("KelvoTolvar")
                             .URLByAppendingPathComponent("User Presets");
    EXPECT_EQ(folder.path(),
              NSString("/home/u/Library/Audio/Presets/Kelvo Audio Lab/KelvoTolvar/User Presets"));
    const NSURL file = folder.URLByAppendingPathComponent("Warm 2.aupreset", false);
    EXPECT_EQ(file.lastPathComponent(), NSString("Warm 2.aupreset"));
    EXPECT_EQ(file.pathExtension(), NSString("aupreset"));
    EXPECT_EQ(file.URLByDeletingPathExtension().lastPathComponent(), NSString("Warm 2"));
    EXPECT_EQ(NSURL::fileURLWithPath("/a/b/../c/./d", false).URLByStandardizingPath().path(),
              NSString("/a/c/d"));
    EXPECT_TRUE(NSURL::cast(file));
    EXPECT_FALSE(NSURL::cast(NSString("/a")));
}

TEST_F(Files, ResourceValuesDoNotFollowALinkItself) {
    write("file.aupreset", "12345");
    std::filesystem::create_directory(root + "/folder");
    symlink((root + "/folder").c_str(), (root + "/link").c_str());
    mkfifo((root + "/pipe.aupreset").c_str(), 0600);
    struct Case {
        const char* name;
        bool directory, regular, link;
    };
    for (const Case& c :
         {Case{"file.aupreset", false, true, false}, Case{"folder", true, false, false},
          Case{"link", false, false, true}, Case{"pipe.aupreset", false, false, false}}) {
        NSHandle value;
        ASSERT_TRUE(url(c.name).getResourceValue(&value, NSURLIsDirectoryKey, nullptr)) << c.name;
        EXPECT_EQ(NSNumber::cast(value).boolValue(), c.directory) << c.name;
        url(c.name).getResourceValue(&value, NSURLIsRegularFileKey, nullptr);
        EXPECT_EQ(NSNumber::cast(value).boolValue(), c.regular) << c.name;
        url(c.name).getResourceValue(&value, NSURLIsSymbolicLinkKey, nullptr);
        EXPECT_EQ(NSNumber::cast(value).boolValue(), c.link) << c.name;
    }
    NSHandle size;
    ASSERT_TRUE(url("file.aupreset").getResourceValue(&size, NSURLFileSizeKey, nullptr));
    EXPECT_EQ(NSNumber::cast(size).longLongValue(), 5);
    NSError error;
    EXPECT_FALSE(url("missing").getResourceValue(&size, NSURLFileSizeKey, &error));
    EXPECT_EQ(error.domain(), NSPOSIXErrorDomain);
    EXPECT_EQ(error.code(), ENOENT);
}

TEST_F(Files, ListingSkipsHiddenNamesAndFailsForAMissingFolder) {
    write("b.aupreset", "");
    write(".hidden.aupreset", "");
    std::filesystem::create_directory(root + "/Sub");
    NSArray entries = NSFileManager::defaultManager()->contentsOfDirectoryAtURL(
        NSURL::fileURLWithPath(NSString(std::string_view(root)), true),
        NSArray::arrayWithObjects({NSURLIsDirectoryKey, NSURLIsSymbolicLinkKey}),
        NSDirectoryEnumerationSkipsHiddenFiles, nullptr);
    std::set<std::string> names;
    for (const NSHandle& entry : entries) {
        names.insert(NSURL::cast(entry).lastPathComponent().stdString());
    }
    EXPECT_EQ(names, (std::set<std::string>{"Sub", "b.aupreset"}));
    NSError error;
    EXPECT_FALSE(NSFileManager::defaultManager()->contentsOfDirectoryAtURL(url("absent"), NSArray(),
                                                                           0, &error));
    EXPECT_TRUE(error);
}

TEST_F(Files, CreateDirectoryWithIntermediatesIsIdempotentAndRefusesFiles) {
    NSFileManager* manager = NSFileManager::defaultManager();
    NSError error;
    EXPECT_TRUE(manager->createDirectoryAtURL(url("a/b/c"), true, NSDictionary(), &error));
    EXPECT_TRUE(manager->createDirectoryAtURL(url("a/b/c"), true, NSDictionary(), &error));
    bool directory = false;
    EXPECT_TRUE(manager->fileExistsAtPath(url("a/b/c").path(), &directory));
    EXPECT_TRUE(directory);
    write("plain", "x");
    EXPECT_FALSE(manager->createDirectoryAtURL(url("plain/inner"), true, NSDictionary(), &error));
    EXPECT_TRUE(error);
}

TEST_F(Files, AtomicWriteReplacesWholeAndReadsBack) {
    write("preset.aupreset", "old contents");
    const NSData data = NSData::dataWithBytes("new", 3);
    NSError error;
    ASSERT_TRUE(data.writeToURL(url("preset.aupreset"), NSDataWritingAtomic, &error));
    const NSData back = NSData::dataWithContentsOfURL(url("preset.aupreset"), 0, &error);
    EXPECT_TRUE(back.isEqualToData(data));
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u); // no temporary left behind
    struct stat info {};
    stat((root + "/preset.aupreset").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_FALSE(data.writeToURL(url("no/such/folder/x"), NSDataWritingAtomic, &error));
    EXPECT_EQ(error.code(), ENOENT);
}

TEST_F(Files, ReadsRefuseAPipeWithoutBlocking) {
    mkfifo((root + "/pipe.aupreset").c_str(), 0600);
    NSError error;
    EXPECT_FALSE(NSData::dataWithContentsOfURL(url("pipe.aupreset"), 0, &error));
    EXPECT_EQ(error.code(), EINVAL);
    auto handle = NSFileHandle::fileHandleForReadingFromURL(url("pipe.aupreset"), &error);
    ASSERT_TRUE(handle);
    EXPECT_FALSE(handle->isRegularFile());
    EXPECT_FALSE(handle->readDataUpToLength(10, &error));
    EXPECT_FALSE(
        NSString::stringWithContentsOfURL(url("pipe.aupreset"), NSUTF8StringEncoding, &error));
}

TEST_F(Files, BoundedReadStopsAtTheLimit) {
    write("big", std::string(1048577, 'x'));
    auto handle = NSFileHandle::fileHandleForReadingFromURL(url("big"), nullptr);
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->isRegularFile());
    EXPECT_EQ(handle->readDataUpToLength(1048577, nullptr).length(), 1048577u);
    EXPECT_EQ(handle->readDataUpToLength(10, nullptr).length(), 0u);
    EXPECT_TRUE(handle->closeAndReturnError(nullptr));
    NSError error;
    EXPECT_FALSE(NSFileHandle::fileHandleForReadingFromURL(url("absent"), &error));
    EXPECT_EQ(error.code(), ENOENT);
}

TEST_F(Files, TextFilesReadAsUtf8) {
    write("guide.txt", "Tolvar \u00B7 guide\n");
    write("bad.txt", "\xff\xfe\xfd");
    NSError error;
    EXPECT_EQ(NSString::stringWithContentsOfURL(url("guide.txt"), NSUTF8StringEncoding, &error),
              NSString("Tolvar \u00B7 guide\n"));
    EXPECT_FALSE(NSString::stringWithContentsOfURL(url("bad.txt"), NSUTF8StringEncoding, &error));
    EXPECT_FALSE(NSString::stringWithContentsOfURL(NSURL(), NSUTF8StringEncoding, &error));
}

TEST_F(Files, LibraryFolderFollowsHome) {
    setenv("HOME", root.c_str(), 1);
    EXPECT_EQ(NSHomeDirectory(), NSString(std::string_view(root)));
    const NSURL library = NSURL::cast(NSFileManager::defaultManager()
                                          ->URLsForDirectory(NSLibraryDirectory, NSUserDomainMask)
                                          .firstObject());
    EXPECT_EQ(library.path(), NSString(std::string_view(root + "/Library")));
    EXPECT_EQ(NSString("~/x").stringByStandardizingPath(), NSString(std::string_view(root + "/x")));
}

} // namespace
