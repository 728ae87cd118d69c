// Checks of a binary property list's layout: the trailer, the offset table, every object's
// extent, object references (range, cycles), nesting depth and the size the list expands to
// when shared objects are copied out.

#include "property_list_binary_layout.h"

#include "property_list_guard.h"

#include <algorithm>
#include <vector>

namespace cf::plist {
namespace {

bool validUTF16(const uint8_t* p, uint64_t units) {
    for (uint64_t i = 0; i < units; ++i) {
        const unsigned u = static_cast<unsigned>(p[2 * i] << 8 | p[2 * i + 1]);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= units) {
                return false;
            }
            const unsigned next = static_cast<unsigned>(p[2 * i + 2] << 8 | p[2 * i + 3]);
            if (next < 0xDC00 || next > 0xDFFF) {
                return false;
            }
            ++i;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

} // namespace

std::string BinaryLayout::check() {
    if (n_ < kBinaryHeaderBytes + 1 + kTrailerBytes ||
        std::string_view(reinterpret_cast<const char*>(b_), kBinaryHeaderBytes) != kBinaryMagic) {
        return "not a binary property list, or truncated";
    }
    const uint8_t* t = b_ + n_ - kTrailerBytes;
    offsetSize_ = t[kTrailerOffsetSize];
    refSize_ = t[kTrailerReferenceSize];
    count_ = readBig(t + kTrailerObjectCount, 8);
    top_ = readBig(t + kTrailerTopObject, 8);
    tableOffset_ = readBig(t + kTrailerTableOffset, 8);
    const uint64_t tableLimit = n_ - kTrailerBytes;
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) {
        return "bad offset or reference size in the trailer";
    }
    if (count_ < 1 || top_ >= count_) {
        return "bad object count or top object";
    }
    if (count_ > kMaximumExpandedObjects) {
        return "too many objects";
    }
    if (tableOffset_ < kBinaryHeaderBytes + 1 || tableOffset_ > tableLimit ||
        count_ > (tableLimit - tableOffset_) / offsetSize_) {
        return "offset table outside the data";
    }
    objects_.assign(count_, BinaryObject{});
    return walk();
}

// The count that follows a marker whose low nibble is kCountFollows: an integer object of 1..8
// bytes.
bool BinaryLayout::readCount(uint64_t& at, uint8_t low, uint64_t& count) const {
    if (low != kCountFollows) {
        count = low;
        return true;
    }
    if (at >= tableOffset_) {
        return false;
    }
    const uint8_t marker = b_[at++];
    if (marker >> 4 != kIntegerObject || (marker & 0x0F) > 3) {
        return false;
    }
    const uint64_t size = uint64_t{1} << (marker & 0x0F);
    if (size > tableOffset_ - at) {
        return false;
    }
    count = readBig(b_ + at, size);
    at += size;
    return true;
}

std::string BinaryLayout::parse(uint64_t index) {
    const uint64_t offset = readBig(b_ + tableOffset_ + index * offsetSize_, offsetSize_);
    if (offset < kBinaryHeaderBytes || offset >= tableOffset_) {
        return "object offset outside the data";
    }
    uint64_t at = offset + 1;
    const uint8_t marker = b_[offset];
    const uint8_t high = marker >> 4;
    const uint8_t low = marker & 0x0F;
    BinaryObject& o = objects_[index];
    auto fits = [&](uint64_t count, uint64_t unit) { return count <= (tableOffset_ - at) / unit; };
    auto leaf = [&](Kind kind, uint64_t count) {
        o = {at, count, kind};
        return std::string();
    };
    switch (high) {
    case kSimpleObject:
        return marker == kFalseMarker || marker == kTrueMarker
                   ? leaf(Kind::Boolean, marker == kTrueMarker ? 1 : 0)
                   : "unsupported object (null or fill)";
    case kIntegerObject: {
        if (low > 4 || !fits(uint64_t{1} << low, 1)) {
            return "bad integer";
        }
        if (low == 4) {
            // 128-bit integers: only values that fit in 64 signed bits are kept exactly.
            const uint64_t upper = readBig(b_ + at, 8);
            const uint64_t lower = readBig(b_ + at + 8, 8);
            const bool positive = upper == 0 && lower <= uint64_t{INT64_MAX};
            const bool negative = upper == UINT64_MAX && lower > uint64_t{INT64_MAX};
            if (!positive && !negative) {
                return "integer out of range";
            }
        }
        return leaf(Kind::Integer, uint64_t{1} << low);
    }
    case kRealObject:
        return (low == 2 || low == 3) && fits(uint64_t{1} << low, 1)
                   ? leaf(Kind::Real, uint64_t{1} << low)
                   : "bad real";
    case kDateObject:
        return "dates are not supported";
    case kDataObject:
    case kASCIIStringObject:
    case kUTF16StringObject: {
        uint64_t count = 0;
        if (!readCount(at, low, count)) {
            return "bad length";
        }
        if (!fits(count, high == kUTF16StringObject ? 2 : 1)) {
            return "data or string past the end";
        }
        if (high == kASCIIStringObject) {
            for (uint64_t i = 0; i < count; ++i) {
                if (b_[at + i] >= 0x80) {
                    return "ASCII string with a byte above 127";
                }
            }
        } else if (high == kUTF16StringObject && !validUTF16(b_ + at, count)) {
            return "UTF-16 string with a lone surrogate";
        }
        return leaf(high == kDataObject          ? Kind::Data
                    : high == kASCIIStringObject ? Kind::ASCIIString
                                                 : Kind::UTF16String,
                    count);
    }
    case kArrayObject:
    case kDictionaryObject: {
        uint64_t count = 0;
        if (!readCount(at, low, count)) {
            return "bad count";
        }
        const uint64_t refs = high == kDictionaryObject ? 2 : 1;
        if (count > UINT64_MAX / refs || !fits(count * refs, refSize_)) {
            return "container past the end";
        }
        o = {at, count, high == kDictionaryObject ? Kind::Dictionary : Kind::Array};
        for (uint64_t i = 0; i < o.references(); ++i) {
            if (reference(o, i) >= count_) {
                return "object reference out of range";
            }
        }
        return {};
    }
    default:
        return "unsupported object type";
    }
}

// Depth-first over references from the top object, iteratively (no recursion on hostile
// input), remembering each object's nesting height and expanded size.
std::string BinaryLayout::walk() {
    enum : uint8_t { kNew, kOpen, kDone };
    std::vector<uint8_t> state(count_, kNew);
    std::vector<uint32_t> height(count_, 0);
    std::vector<uint64_t> weight(count_, 0); // objects once shared ones are copied out
    std::vector<uint64_t> bytes(count_, 0);  // data and text bytes likewise
    struct Frame {
        uint64_t index;
        uint64_t next;
    };
    std::vector<Frame> stack;
    auto enter = [&](uint64_t index) -> std::string {
        if (objects_[index].kind == Kind::Unparsed) {
            if (std::string why = parse(index); !why.empty()) {
                return why;
            }
        }
        state[index] = kOpen;
        stack.push_back({index, 0});
        // The stack holds the containers open on the path to here, plus the object itself.
        return stack.size() > kMaximumNesting + 1 ? "nested too deeply" : "";
    };
    if (std::string why = enter(top_); !why.empty()) {
        return why;
    }
    while (!stack.empty()) {
        const uint64_t index = stack.back().index;
        const BinaryObject& o = objects_[index];
        const uint64_t references = o.references();
        if (stack.back().next < references) {
            const uint64_t position = stack.back().next++;
            const uint64_t child = reference(o, position);
            if (state[child] == kOpen) {
                return "object references form a cycle";
            }
            if (state[child] == kNew) {
                if (std::string why = enter(child); !why.empty()) {
                    return why;
                }
            }
            if (o.kind == Kind::Dictionary && position < o.count && !objects_[child].isString()) {
                return "dictionary key is not a string";
            }
            continue;
        }
        uint32_t h = 0;
        uint64_t w = 1;
        uint64_t p = o.kind == Kind::Data || o.kind == Kind::ASCIIString ? o.count
                     : o.kind == Kind::UTF16String                       ? 2 * o.count
                                                                         : 0;
        for (uint64_t i = 0; i < references; ++i) {
            const uint64_t child = reference(o, i);
            h = std::max(h, height[child]);
            w = saturatingAdd(w, weight[child]);
            p = saturatingAdd(p, bytes[child]);
        }
        const bool container = o.kind == Kind::Array || o.kind == Kind::Dictionary;
        height[index] = container ? h + 1 : 0;
        weight[index] = w;
        bytes[index] = p;
        if (height[index] > kMaximumNesting) {
            return "nested too deeply";
        }
        if (w > kMaximumExpandedObjects || p > kMaximumExpandedBytes) {
            return "expands to too many objects";
        }
        state[index] = kDone;
        stack.pop_back();
    }
    return {};
}

} // namespace cf::plist
