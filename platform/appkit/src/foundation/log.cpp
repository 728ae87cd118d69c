// NSLog and the host's log sink.

#include <AppKit/AppKitHost.h>
#include <Foundation/NSString.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

std::function<void(const char*)>& sink() {
    static std::function<void(const char*)> current;
    return current;
}

} // namespace

void appkit::setLogSink(std::function<void(const char* line)> newSink) {
    sink() = std::move(newSink);
}

void NSLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string line(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) {
        std::vsnprintf(line.data(), line.size() + 1, format, copy);
    }
    va_end(copy);
    if (sink()) {
        sink()(line.c_str());
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}
