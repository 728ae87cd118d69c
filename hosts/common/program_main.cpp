#include "program_main.h"

#include "host_error.h"
#include "printable_text.h"

#include <csignal>
#include <cstdio>
#include <exception>

namespace kelvohost {

int runProgram(const char* name, const std::function<int()>& run) {
    ::signal(SIGPIPE, SIG_IGN);
    try {
        return run();
    } catch (const InputError& error) {
        std::fprintf(stderr, "%s: %s\n", name, printableText(error.what()).c_str());
        return exitBadInput;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: error: %s\n", name, printableText(error.what()).c_str());
        return exitFailure;
    }
}

void printWarning(const char* name, const std::string& text) {
    std::fprintf(stderr, "%s: warning: %s\n", name, printableText(text).c_str());
}

} // namespace kelvohost
