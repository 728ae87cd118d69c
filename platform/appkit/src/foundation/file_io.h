#pragma once
// File helpers shared by NSData, NSString and NSFileHandle: errors with the platform's
// descriptions and a read that never blocks on a pipe.

#include <Foundation/NSError.h>

#include <string>

namespace foundation {

// "The file “name” couldn’t be <verb>: <strerror>" in NSPOSIXErrorDomain.
NSError posixError(int code, const std::string& path, const char* verb);
void fail(NSError* error, int code, const std::string& path, const char* verb);

// Reads a whole regular file (more than limit bytes, when limit > 0, fails with EFBIG).
// Opens without blocking and refuses anything but a regular file (EISDIR for a folder, EINVAL
// for a pipe, device or socket).
bool readRegularFile(const std::string& path, std::string& out, NSError* error,
                     std::size_t limit = 0);

// Writes bytes to path; atomically (temporary file and rename) when atomic.
bool writeFile(const std::string& path, const void* bytes, std::size_t length, bool atomic,
               NSError* error);

} // namespace foundation
