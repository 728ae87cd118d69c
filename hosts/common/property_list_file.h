#pragma once
// Reading a property list file (XML or binary) such as a saved unit state, an .aupreset file
// or a bundle's Info.plist.

#include "cf_handle.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace kelvohost {

// A whole file's bytes; throws InputError when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path);

// The file's top-level dictionary (+1, held by the handle). Throws InputError when the file
// cannot be read, does not parse, or does not hold a dictionary.
CFHandle<CFDictionaryRef> readPropertyListDictionary(const std::filesystem::path& path);

} // namespace kelvohost
