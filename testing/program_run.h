#pragma once
// Running a host program as its user runs it, for the tests of the command-line hosts: the
// program in a child process with some environment variables set, its exit status and what it
// wrote to stdout and stderr; and the files a folder holds, to see that a refused command left
// nothing behind.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kelvo::testing {

struct Outcome {
    int status = -1; // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// scratch: a folder the captured output passes through (nothing is left there).
Outcome runProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& scratch,
                   const std::vector<std::pair<std::string, std::string>>& environment = {});

// Every path below folder, relative to it, sorted.
std::vector<std::string> folderListing(const std::filesystem::path& folder);

// A whole file's bytes as text; empty when it cannot be read.
std::string fileText(const std::filesystem::path& path);

} // namespace kelvo::testing
