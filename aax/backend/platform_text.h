#pragma once
// Turning platform results into the bridge's exceptions, and platform strings into UTF-8.

#include <CoreFoundation/CoreFoundation.h>

#include <string>

namespace kelvoaax {

// Nothing for status 0; otherwise a std::runtime_error "<text>: <status>" (signed decimal).
void check(OSStatus status, const char* text);

// UTF-8 of a CF string: empty for null or a string that does not convert; otherwise the text
// up to its first zero byte.
std::string string(CFStringRef text);

} // namespace kelvoaax
