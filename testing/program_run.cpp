#include "testing/program_run.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvo::testing {

Outcome runProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& scratch,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
    const std::filesystem::path out = scratch / ".stdout.txt";
    const std::filesystem::path err = scratch / ".stderr.txt";
    const pid_t child = fork();
    if (child == 0) {
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = fileText(out);
    outcome.err = fileText(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return outcome;
}

std::vector<std::string> folderListing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        names.push_back(entry.path().lexically_relative(folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace kelvo::testing
