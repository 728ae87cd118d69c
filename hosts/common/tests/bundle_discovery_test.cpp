#include "bundle_discovery.h"
#include "host_error.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

// Two plug-in folders holding fake bundles (an Info.plist is all lookup needs).
class BundleFolders : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("kelvo-discovery-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        first_ = root_ / "first";
        second_ = root_ / "second";
        makeBundle(first_ / "KelvoTolvar.component");
        makeBundle(first_ / "KelvoOpalin.component");
        makeBundle(second_ / "KelvoTolvar.component"); // hidden by the first folder's
        makeBundle(second_ / "KelvoFennic.component");
        fs::create_directories(second_ / "Notes.component.txt"); // not a bundle name
        std::ofstream(second_ / "KelvoStray.component") << "a file, not a bundle";
        fs::create_directories(second_ / "KelvoUnbuilt.component" / "Contents"); // no Info.plist
    }
    void TearDown() override { fs::remove_all(root_); }

    static void makeBundle(const fs::path& path) {
        fs::create_directories(path / "Contents");
        std::ofstream(path / "Contents" / "Info.plist") << "<plist/>";
    }

    fs::path root_, first_, second_;
};

TEST_F(BundleFolders, ModelNamesAreProductsWithoutThePrefix) {
    EXPECT_EQ(modelNameForProduct("KelvoTolvar"), "tolvar");
    EXPECT_EQ(modelNameForProduct("KELVOFENNIC"), "fennic");
    EXPECT_EQ(modelNameForProduct("Kelvo"), "kelvo");
    EXPECT_EQ(modelNameForProduct("FixtureGain"), "fixturegain");
}

TEST_F(BundleFolders, SearchPathIsBundlesBesideTheProgramThenThePluginPath) {
    const auto folders = searchFolders("/opt/kelvo/bin", "/a::/b:");
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], fs::path("/opt/kelvo/bundles"));
    EXPECT_EQ(folders[1], fs::path("/a"));
    EXPECT_EQ(folders[2], fs::path("/b"));
    EXPECT_EQ(searchFolders("/opt/kelvo/bin", nullptr).size(), 1u);
}

TEST_F(BundleFolders, FindsEachProductOnceInFolderOrder) {
    const auto bundles = findBundles({first_, second_, root_ / "missing"});
    ASSERT_EQ(bundles.size(), 3u);
    EXPECT_EQ(bundles[0].model, "opalin");
    EXPECT_EQ(bundles[1].model, "tolvar");
    EXPECT_EQ(bundles[1].path, first_ / "KelvoTolvar.component");
    EXPECT_EQ(bundles[2].model, "fennic");
}

TEST_F(BundleFolders, ResolvesModelProductAndPath) {
    const std::vector<fs::path> folders{first_, second_};
    EXPECT_EQ(resolveModel("tolvar", folders).path, first_ / "KelvoTolvar.component");
    EXPECT_EQ(resolveModel("TOLVAR", folders).product, "KelvoTolvar");
    EXPECT_EQ(resolveModel("KelvoFennic", folders).path, second_ / "KelvoFennic.component");
    const std::string direct = (second_ / "KelvoTolvar.component").string() + "/";
    EXPECT_EQ(resolveModel(direct, folders).path, second_ / "KelvoTolvar.component");
    EXPECT_EQ(resolveModel(direct, folders).model, "tolvar");
}

TEST_F(BundleFolders, UnknownModelsNameWhatExists) {
    const std::vector<fs::path> folders{first_, second_};
    try {
        resolveModel("vantor", folders);
        FAIL() << "an absent model resolved";
    } catch (const InputError& error) {
        EXPECT_STREQ(error.what(), "unknown model 'vantor' (available: opalin tolvar fennic)");
    }
    EXPECT_THROW(resolveModel("stray", folders), InputError); // a file named .component
    EXPECT_THROW(resolveModel((root_ / "none.component").string(), folders), InputError);
    EXPECT_THROW(resolveModel(root_.string(), folders), InputError); // no Info.plist
    EXPECT_THROW(resolveModel("tolvar", {}), InputError);
}

} // namespace
} // namespace kelvohost
