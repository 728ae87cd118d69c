// Limits on what a property list may be and expand to, and the structural check run on XML
// before its parser (libplist) sees it. That parser recurses without limit and reads numbers
// leniently; the check refuses what it would crash on, blow up on or misread. Binary lists are
// checked by BinaryLayout (property_list_binary_layout.h) and read without libplist.
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

// An empty string when the bytes may be handed to the XML parser, else why not.
std::string checkXML(const uint8_t* bytes, size_t length);

} // namespace cf::plist
