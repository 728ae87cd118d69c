#include "program_main.h"

#include "host_error.h"

#include <csignal>
#include <cstdio>
#include <exception>

namespace kelvohost {

int runProgram(const char* name, const std::function<int()>& run) {
    ::signal(SIGPIPE, SIG_IGN);
    try {
        return run();
    } catch (const InputError& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        return exitBadInput;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: error: %s\n", name, error.what());
        return exitFailure;
    }
}

} // namespace kelvohost
