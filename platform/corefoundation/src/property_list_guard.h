// Structural checks run on property-list bytes before the parser sees them. The parser
// (libplist) recurses without limit, expands shared binary objects without counting and reads
// numbers leniently; these checks refuse what it would crash on, blow up on or misread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cf::plist {

// Largest input read, and limits on what it may expand to.
constexpr size_t kMaximumInputBytes = 64u << 20;
constexpr unsigned kMaximumNesting = 512;
constexpr uint64_t kMaximumExpandedObjects = 1u << 20;
constexpr uint64_t kMaximumExpandedBytes = 256u << 20;

// Each returns an empty string when the bytes may be handed to the parser, else why not.
std::string checkBinary(const uint8_t* bytes, size_t length);
std::string checkXML(const uint8_t* bytes, size_t length);

} // namespace cf::plist
