#pragma once
// A folder of the test's own under the system's temporary folder, removed after the test.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace kelvohost {

class TemporaryFolder : public ::testing::Test {
protected:
    void SetUp() override {
        // A parameterised test's name holds a slash.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        folder_ = std::filesystem::temp_directory_path() /
                  ("kelvo-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path path(const std::string& name) const { return folder_ / name; }

    std::filesystem::path folder_;
};

} // namespace kelvohost
