// The main thread and the process identifier.

#include <Foundation/NSThread.h>

#include <sys/syscall.h>
#include <unistd.h>

bool NSThread::isMainThread() {
    // Linux gives the initial thread the process's own id.
    return static_cast<pid_t>(::syscall(SYS_gettid)) == ::getpid();
}

NSProcessInfo* NSProcessInfo::processInfo() {
    static NSProcessInfo info;
    return &info;
}

int NSProcessInfo::processIdentifier() const {
    return static_cast<int>(::getpid());
}
