// The layout of a binary property list ("bplist00"): the trailer, the offset table and every
// object reachable from the top, each checked to lie inside the data before anything reads it.
// The reader builds CF objects from this table alone, so it never meets a bad offset, a cycle
// or a nesting or expansion beyond the limits in property_list_guard.h.
#pragma once

#include "property_list_binary_format.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cf::plist {

enum class Kind : uint8_t {
    Unparsed,
    Boolean,
    Integer,
    Real,
    Data,
    ASCIIString,
    UTF16String,
    Array,
    Dictionary
};

struct BinaryObject {
    uint64_t at = 0; // first byte of the content: the value, the characters or the references
    // Booleans: 0 or 1. Integers and reals: the width in bytes. Data and strings: bytes or
    // UTF-16 units. Arrays: elements. Dictionaries: pairs (keys first, then values).
    uint64_t count = 0;
    Kind kind = Kind::Unparsed;

    bool isString() const { return kind == Kind::ASCIIString || kind == Kind::UTF16String; }
    uint64_t references() const {
        return kind == Kind::Array ? count : kind == Kind::Dictionary ? 2 * count : 0;
    }
};

class BinaryLayout {
public:
    BinaryLayout(const uint8_t* bytes, size_t length) : b_(bytes), n_(length) {}

    // Empty when the list may be read, else why not. Parses every object reachable from the
    // top one; dictionary keys are strings; texts are valid (ASCII below 128, UTF-16 without
    // lone surrogates); integers fit in 64 signed bits.
    std::string check();

    // After a successful check: the top object, any reachable object, and references.
    uint64_t top() const { return top_; }
    const BinaryObject& object(uint64_t index) const { return objects_[index]; }
    uint64_t reference(const BinaryObject& container, uint64_t i) const {
        return readBig(b_ + container.at + i * refSize_, refSize_);
    }
    const uint8_t* content(const BinaryObject& o) const { return b_ + o.at; }

private:
    bool readCount(uint64_t& at, uint8_t low, uint64_t& count) const;
    std::string parse(uint64_t index);
    std::string walk();

    const uint8_t* b_;
    const size_t n_;
    size_t offsetSize_ = 0;
    size_t refSize_ = 0;
    uint64_t count_ = 0;
    uint64_t top_ = 0;
    uint64_t tableOffset_ = 0;
    std::vector<BinaryObject> objects_;
};

} // namespace cf::plist
