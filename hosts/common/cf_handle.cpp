#include "cf_handle.h"

#include <vector>

namespace kelvohost {

std::string toStdString(CFStringRef string) {
    if (string == nullptr) {
        return {};
    }
    const CFIndex length = CFStringGetLength(string);
    const CFIndex room = CFStringGetMaximumSizeForEncoding(length, kCFStringEncodingUTF8) + 1;
    std::vector<char> buffer(static_cast<std::size_t>(room), '\0');
    if (!CFStringGetCString(string, buffer.data(), room, kCFStringEncodingUTF8)) {
        return {};
    }
    return std::string(buffer.data());
}

CFHandle<CFStringRef> makeCFString(const std::string& text) {
    return CFHandle<CFStringRef>(
        CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8));
}

std::string fourCharText(UInt32 code) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<unsigned char>((code >> (24 - 8 * i)) & 0xFFu);
        text[static_cast<std::size_t>(i)] =
            (byte >= 0x20 && byte < 0x7F) ? static_cast<char>(byte) : '?';
    }
    return text;
}

bool fourCharCode(const std::string& text, UInt32& code) {
    if (text.size() != 4) {
        return false;
    }
    code = 0;
    for (const char c : text) {
        code = (code << 8) | static_cast<unsigned char>(c);
    }
    return true;
}

} // namespace kelvohost
