#include "removal_on_signal.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace kelvohost {
namespace {

constexpr std::array<int, 4> endingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// What the handler reads. A slot's path is written before the slot is armed, and the handler
// only reads armed slots; the flags are lock-free atomics, which a handler may use.
constexpr std::size_t slotCount = 4;
char pendingPaths[slotCount][PATH_MAX + 1];
std::atomic<bool> armed[slotCount];
static_assert(std::atomic<bool>::is_always_lock_free);

std::size_t alive = 0; // [main thread]
struct sigaction previous[endingSignals.size()];
bool installed[endingSignals.size()];

// [any thread] Only async-signal-safe calls: unlink, then the signal once more with the
// handler reset (SA_RESETHAND), delivered as soon as this handler returns.
void removeThenEnd(int signal) {
    for (std::size_t i = 0; i < slotCount; ++i) {
        if (armed[i].load(std::memory_order_acquire)) {
            ::unlink(pendingPaths[i]);
        }
    }
    ::raise(signal);
}

void installHandlers() {
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

void restoreHandlers() {
    for (std::size_t i = 0; i < endingSignals.size(); ++i) {
        if (installed[i]) {
            ::sigaction(endingSignals[i], &previous[i], nullptr);
        }
    }
}

} // namespace

RemovalOnSignal::RemovalOnSignal(const std::filesystem::path& path) {
    const std::string& text = path.native();
    if (text.size() > PATH_MAX) {
        throw std::logic_error("temporary path too long");
    }
    slot_ = 0;
    while (slot_ < slotCount && armed[slot_].load(std::memory_order_relaxed)) {
        ++slot_;
    }
    if (slot_ == slotCount) {
        throw std::logic_error("too many temporary files to remove on a signal");
    }
    std::memcpy(pendingPaths[slot_], text.c_str(), text.size() + 1);
    armed[slot_].store(true, std::memory_order_release);
    if (alive++ == 0) {
        installHandlers();
    }
}

RemovalOnSignal::~RemovalOnSignal() {
    if (--alive == 0) {
        restoreHandlers();
    }
    armed[slot_].store(false, std::memory_order_release);
}

} // namespace kelvohost
