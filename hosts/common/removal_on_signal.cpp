#include "removal_on_signal.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace kelvohost {
namespace {

constexpr std::array<int, 3> endingSignals{SIGINT, SIGTERM, SIGHUP};

// What the handler reads: written before the handlers are installed, so it needs no lock.
char pendingPath[PATH_MAX + 1];
volatile sig_atomic_t armed = 0;
struct sigaction previous[endingSignals.size()];
bool installed[endingSignals.size()];

// [any thread] Only async-signal-safe calls: unlink, then the signal once more with the
// handler reset (SA_RESETHAND), delivered as soon as this handler returns.
void removeThenEnd(int signal) {
    if (armed != 0) {
        ::unlink(pendingPath);
    }
    ::raise(signal);
}

} // namespace

RemovalOnSignal::RemovalOnSignal(const std::filesystem::path& path) {
    if (armed != 0) {
        throw std::logic_error("one temporary file at a time is removed on a signal");
    }
    const std::string& text = path.native();
    if (text.size() > PATH_MAX) {
        throw std::logic_error("temporary path too long");
    }
    std::memcpy(pendingPath, text.c_str(), text.size() + 1);
    armed = 1;
    for (std::size_t i = 0; i < endingSignals.size(); ++i) {
        installed[i] = false;
        struct sigaction current {};
        if (::sigaction(endingSignals[i], nullptr, &current) != 0 ||
            current.sa_handler == SIG_IGN) {
            continue; // an ignored signal (nohup, a background job) stays ignored
        }
        struct sigaction action {};
        action.sa_handler = removeThenEnd;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        installed[i] = ::sigaction(endingSignals[i], &action, &previous[i]) == 0;
    }
}

RemovalOnSignal::~RemovalOnSignal() {
    for (std::size_t i = 0; i < endingSignals.size(); ++i) {
        if (installed[i]) {
            ::sigaction(endingSignals[i], &previous[i], nullptr);
        }
    }
    armed = 0;
}

} // namespace kelvohost
