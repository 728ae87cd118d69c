#pragma once
// Reading a property list file (XML or binary) such as a saved unit state, an .aupreset file
// or a bundle's Info.plist.

#include "cf_handle.h"

#include <cstddef>
#include <filesystem>

namespace kelvohost {

// 1 MiB, the limit the editors put on user preset files: far above any real state or
// Info.plist, small enough that a wrong file cannot make a host hold much memory.
inline constexpr std::size_t propertyListFileLimit = 1048576;

// The file's top-level dictionary (+1, held by the handle). The file is read as
// readBoundedFile reads it, with propertyListFileLimit. Throws InputError when the file cannot
// be read, is not a regular file, is too large, does not parse, or does not hold a dictionary.
// [any thread]
CFHandle<CFDictionaryRef> readPropertyListDictionary(const std::filesystem::path& path);

} // namespace kelvohost
