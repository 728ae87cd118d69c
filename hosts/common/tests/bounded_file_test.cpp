#include "bounded_file.h"
#include "host_error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

class BoundedFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("kelvo-bounded-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path write(const std::string& name, const std::string& content) const {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // The message readBoundedFile refuses the path with, or "" when it reads it.
    static std::string refusal(const fs::path& path, std::size_t limit) {
        try {
            readBoundedFile(path, limit);
        } catch (const InputError& error) {
            return error.what();
        }
        return {};
    }

    fs::path folder_;
};

TEST_F(BoundedFile, ReadsARegularFileUpToTheLimit) {
    const std::string content("ten\0 bytes", 10);
    EXPECT_EQ(readBoundedFile(write("ten", content), 10),
              std::vector<std::uint8_t>(content.begin(), content.end()));
    EXPECT_TRUE(readBoundedFile(write("empty", ""), 10).empty());
    EXPECT_EQ(refusal(write("eleven", content + "!"), 10),
              (folder_ / "eleven").string() + ": too large: 11 bytes, more than the limit of 10");
}

TEST_F(BoundedFile, RefusesWhatIsNotARegularFileAtOnce) {
    const fs::path fifo = folder_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader that waits for a writer would never return; the test then plays the writer so
    // that it fails instead of hanging.
    auto reading = std::async(std::launch::async, [&] { return refusal(fifo, 1024); });
    if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "reading a FIFO waited for a writer";
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    }
    EXPECT_EQ(reading.get(), fifo.string() + ": is a FIFO, not a regular file");
    EXPECT_EQ(refusal("/dev/zero", 1024), "/dev/zero: is a device, not a regular file");
    EXPECT_EQ(refusal(folder_, 1024), folder_.string() + ": is a directory");
    EXPECT_EQ(refusal(folder_ / "absent", 1024), (folder_ / "absent").string() + ": no such file");
}

TEST_F(BoundedFile, RefusesAHugeFileByItsSizeWithoutReadingIt) {
    const fs::path huge = folder_ / "huge";
    { std::ofstream(huge).put('x'); }
    fs::resize_file(huge, 100'000'000); // sparse: no disk space, but 100 MB to a reader
    EXPECT_EQ(refusal(huge, 1048576),
              huge.string() + ": too large: 100000000 bytes, more than the limit of 1048576");
}

} // namespace
} // namespace kelvohost
