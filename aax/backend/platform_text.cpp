#include "backend/platform_text.h"

#include <stdexcept>
#include <vector>

namespace kelvoaax {

void check(OSStatus status, const char* text) {
    if (status != 0) {
        throw std::runtime_error(std::string(text) + ": " + std::to_string(status));
    }
}

std::string string(CFStringRef text) {
    if (text == nullptr) {
        return {};
    }
    const CFIndex room =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    if (room <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(room), '\0');
    if (!CFStringGetCString(text, buffer.data(), room, kCFStringEncodingUTF8)) {
        return {};
    }
    return std::string(buffer.data());
}

} // namespace kelvoaax
