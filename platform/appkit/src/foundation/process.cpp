// The main thread and the process identifier.

#include <AppKit/AppKitHost.h>
#include <Foundation/NSThread.h>

#include <atomic>

#include <sys/syscall.h>
#include <unistd.h>

bool NSThread::isMainThread() {
    // Linux gives the initial thread the process's own id.
    return static_cast<pid_t>(::syscall(SYS_gettid)) == ::getpid();
}

namespace {

std::atomic<int> playedProcess{0}; // 0: the process's own identifier

} // namespace

void appkit::setProcessIdentifier(int identifier) {
    playedProcess.store(identifier, std::memory_order_relaxed);
}

NSProcessInfo* NSProcessInfo::processInfo() {
    static NSProcessInfo info;
    return &info;
}

int NSProcessInfo::processIdentifier() const {
    const int played = playedProcess.load(std::memory_order_relaxed);
    return played != 0 ? played : static_cast<int>(::getpid());
}
