// State validation against hostile dictionaries: one valid state as the base saves it, and a
// table of single changes to it, each accepted or refused.

#include "model.h"
#include "state/validate.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr unsigned tolvar = 0x546F6C76;       // 'Tolv'
constexpr unsigned manufacturer = 0x4B766C6F; // 'Kvlo'

// An owned CF reference.
template <class T> struct Owned {
    T ref = nullptr;
    Owned() = default;
    explicit Owned(T r) : ref(r) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() {
        if (ref != nullptr)
            CFRelease(ref);
    }
    operator T() const { return ref; }
};

CFStringRef string(const std::string& text) {
    return CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
}

void setNumber(CFMutableDictionaryRef d, const char* key, double value) {
    Owned<CFStringRef> k(string(key));
    Owned<CFNumberRef> n(CFNumberCreate(nullptr, kCFNumberFloat64Type, &value));
    CFDictionarySetValue(d, k, n);
}

void setInteger(CFMutableDictionaryRef d, const char* key, std::int32_t value) {
    Owned<CFStringRef> k(string(key));
    Owned<CFNumberRef> n(CFNumberCreate(nullptr, kCFNumberSInt32Type, &value));
    CFDictionarySetValue(d, k, n);
}

void setValue(CFMutableDictionaryRef d, const char* key, CFTypeRef value) {
    Owned<CFStringRef> k(string(key));
    CFDictionarySetValue(d, k, value);
}

void setString(CFMutableDictionaryRef d, const char* key, const std::string& text) {
    Owned<CFStringRef> s(string(text));
    setValue(d, key, s);
}

void remove(CFMutableDictionaryRef d, const char* key) {
    Owned<CFStringRef> k(string(key));
    CFDictionaryRemoveValue(d, k);
}

CFMutableDictionaryRef dictionary() {
    return CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

// The blob: big-endian scope, element, count, then (ID, float bits) pairs.
struct Blob {
    std::uint32_t scope = 0, element = 0;
    std::vector<std::pair<std::uint32_t, float>> entries;
    int count = -1; // -1: the number of entries
    int extra = 0;  // bytes appended (or removed, when negative)

    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out;
        auto put = [&](std::uint32_t v) {
            for (int shift = 24; shift >= 0; shift -= 8)
                out.push_back((v >> shift) & 0xFF);
        };
        put(scope);
        put(element);
        put(count < 0 ? static_cast<std::uint32_t>(entries.size())
                      : static_cast<std::uint32_t>(count));
        for (const auto& [id, value] : entries) {
            std::uint32_t bits;
            std::memcpy(&bits, &value, 4);
            put(id);
            put(bits);
        }
        if (extra > 0)
            out.insert(out.end(), extra, 0);
        if (extra < 0)
            out.resize(out.size() + extra);
        return out;
    }
};

Blob defaults() {
    Blob blob;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        blob.entries.emplace_back(id, classic::definitions[id].defaultValue);
    }
    return blob;
}

void setBlob(CFMutableDictionaryRef d, const Blob& blob) {
    const std::vector<std::uint8_t> bytes = blob.bytes();
    Owned<CFDataRef> data(CFDataCreate(nullptr, bytes.data(), static_cast<CFIndex>(bytes.size())));
    setValue(d, "data", data);
}

// A state as the base class saves it.
CFMutableDictionaryRef savedState() {
    CFMutableDictionaryRef d = dictionary();
    setInteger(d, "version", 0);
    setInteger(d, "type", 0x61756678);
    setInteger(d, "subtype", tolvar);
    setInteger(d, "manufacturer", manufacturer);
    setBlob(d, defaults());
    setString(d, "name", "Studio Start");
    return d;
}

CFMutableDictionaryRef elementNames(unsigned scopes, unsigned names, unsigned keyLength = 1,
                                    unsigned valueLength = 4) {
    CFMutableDictionaryRef outer = dictionary();
    for (unsigned s = 0; s < scopes; ++s) {
        Owned<CFMutableDictionaryRef> inner(dictionary());
        for (unsigned n = 0; n < names; ++n) {
            std::string key = std::to_string(n);
            key.append(keyLength, 'k');
            setString(inner, key.c_str(), std::string(valueLength, 'v'));
        }
        setValue(outer, std::to_string(s).c_str(), inner);
    }
    return outer;
}

struct Case {
    const char* what;
    std::function<void(CFMutableDictionaryRef)> change;
    bool valid;
};

Blob with(std::function<void(Blob&)> edit) {
    Blob blob = defaults();
    edit(blob);
    return blob;
}

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

const std::vector<Case> cases = {
    {"as saved", [](auto) {}, true},
    {"a part key", [](auto d) { setInteger(d, "part", 0); }, false},
    {"version 1", [](auto d) { setInteger(d, "version", 1); }, false},
    {"version missing", [](auto d) { remove(d, "version"); }, false},
    {"version a string", [](auto d) { setString(d, "version", "0"); }, false},
    {"version not finite", [](auto d) { setNumber(d, "version", std::nan("")); }, false},
    {"version 0.0 as a real", [](auto d) { setNumber(d, "version", 0.0); }, true},
    {"another model", [](auto d) { setInteger(d, "subtype", 0x4F70616C); }, false},
    {"another manufacturer", [](auto d) { setInteger(d, "manufacturer", 0x4170706C); }, false},
    {"subtype missing", [](auto d) { remove(d, "subtype"); }, false},
    {"manufacturer missing", [](auto d) { remove(d, "manufacturer"); }, false},
    {"type missing", [](auto d) { remove(d, "type"); }, true},
    {"another type", [](auto d) { setInteger(d, "type", 0x61756D75); }, false},
    {"name missing", [](auto d) { remove(d, "name"); }, true},
    {"name of 4096 units", [](auto d) { setString(d, "name", std::string(4096, 'n')); }, true},
    {"name of 4097 units", [](auto d) { setString(d, "name", std::string(4097, 'n')); }, false},
    {"name counted in UTF-16 units",
     [](auto d) {
         std::string name;
         for (int i = 0; i < 2049; ++i)
             name += "\xF0\x9D\x84\x9E"; // 2 units each: 4098
         setString(d, "name", name);
     },
     false},
    {"name a number", [](auto d) { setInteger(d, "name", 3); }, false},
    {"render quality 0", [](auto d) { setInteger(d, "render-quality", 0); }, true},
    {"render quality 127", [](auto d) { setInteger(d, "render-quality", 127); }, true},
    {"render quality 128", [](auto d) { setInteger(d, "render-quality", 128); }, false},
    {"render quality 1.5", [](auto d) { setNumber(d, "render-quality", 1.5); }, false},
    {"render quality -1", [](auto d) { setInteger(d, "render-quality", -1); }, false},
    {"render quality a string", [](auto d) { setString(d, "render-quality", "64"); }, false},
    {"element names, 5 by 8",
     [](auto d) {
         Owned<CFMutableDictionaryRef> e(elementNames(5, 8));
         setValue(d, "element-name", e);
     },
     true},
    {"element names, 6 scopes",
     [](auto d) {
         Owned<CFMutableDictionaryRef> e(elementNames(6, 1));
         setValue(d, "element-name", e);
     },
     false},
    {"element names, 9 in a scope",
     [](auto d) {
         Owned<CFMutableDictionaryRef> e(elementNames(1, 9));
         setValue(d, "element-name", e);
     },
     false},
    {"element name key of 17 units",
     [](auto d) {
         Owned<CFMutableDictionaryRef> e(elementNames(1, 1, 16)); // "0" + 16 = 17
         setValue(d, "element-name", e);
     },
     false},
    {"element name of 4097 units",
     [](auto d) {
         Owned<CFMutableDictionaryRef> e(elementNames(1, 1, 1, 4097));
         setValue(d, "element-name", e);
     },
     false},
    {"element names not a dictionary", [](auto d) { setString(d, "element-name", "x"); }, false},
    {"element name scope not a dictionary",
     [](auto d) {
         Owned<CFMutableDictionaryRef> e(dictionary());
         setString(e, "0", "x");
         setValue(d, "element-name", e);
     },
     false},
    {"element name not a string",
     [](auto d) {
         Owned<CFMutableDictionaryRef> e(dictionary());
         Owned<CFMutableDictionaryRef> inner(dictionary());
         setInteger(inner, "1", 1);
         setValue(e, "0", inner);
         setValue(d, "element-name", e);
     },
     false},
    {"data missing", [](auto d) { remove(d, "data"); }, false},
    {"data a string", [](auto d) { setString(d, "data", "blob"); }, false},
    {"13 entries", [](auto d) { setBlob(d, with([](Blob& b) { b.entries.pop_back(); })); }, true},
    {"1 entry, 20 bytes", [](auto d) { setBlob(d, with([](Blob& b) { b.entries.resize(1); })); },
     true},
    {"no entry, 12 bytes", [](auto d) { setBlob(d, with([](Blob& b) { b.entries.clear(); })); },
     false},
    {"15 entries, 132 bytes",
     [](auto d) { setBlob(d, with([](Blob& b) { b.entries.emplace_back(0, 2.0f); })); }, false},
    {"count 15 over 14 entries", [](auto d) { setBlob(d, with([](Blob& b) { b.count = 15; })); },
     false},
    {"count 13 over 14 entries", [](auto d) { setBlob(d, with([](Blob& b) { b.count = 13; })); },
     false},
    {"length not 12 + 8n",
     [](auto d) {
         setBlob(d, with([](Blob& b) {
                     b.extra = 4;
                     b.entries.pop_back();
                 }));
     },
     false},
    {"length off by one", [](auto d) { setBlob(d, with([](Blob& b) { b.extra = -1; })); }, false},
    {"scope 1", [](auto d) { setBlob(d, with([](Blob& b) { b.scope = 1; })); }, false},
    {"element 1", [](auto d) { setBlob(d, with([](Blob& b) { b.element = 1; })); }, false},
    {"an ID twice", [](auto d) { setBlob(d, with([](Blob& b) { b.entries[13].first = 0; })); },
     false},
    {"ID 14", [](auto d) { setBlob(d, with([](Blob& b) { b.entries[13].first = 14; })); }, false},
    {"Gain 2.5 on an indexed row",
     [](auto d) { setBlob(d, with([](Blob& b) { b.entries[0].second = 2.5f; })); }, false},
    {"Pad 0.5 on a switch",
     [](auto d) { setBlob(d, with([](Blob& b) { b.entries[6].second = 0.5f; })); }, false},
    {"Level 2.5 on a continuous row",
     [](auto d) { setBlob(d, with([](Blob& b) { b.entries[1].second = 2.5f; })); }, true},
    {"Input Trim 30 above 24",
     [](auto d) { setBlob(d, with([](Blob& b) { b.entries[8].second = 30; })); }, false},
    {"Output Trim below -36",
     [](auto d) { setBlob(d, with([](Blob& b) { b.entries[9].second = -36.5f; })); }, false},
    {"a NaN value", [](auto d) { setBlob(d, with([](Blob& b) { b.entries[1].second = nan; })); },
     false},
    {"an infinite value",
     [](auto d) { setBlob(d, with([](Blob& b) { b.entries[10].second = inf; })); }, false},
    {"IDs in any order",
     [](auto d) { setBlob(d, with([](Blob& b) { std::swap(b.entries[0], b.entries[13]); })); },
     true},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.what;
}

class StateValidation : public ::testing::TestWithParam<Case> {};

TEST_P(StateValidation, AcceptsOrRefuses) {
    const Case& c = GetParam();
    Owned<CFMutableDictionaryRef> state(savedState());
    c.change(state);
    EXPECT_EQ(kelvostate::validate(state.ref, classic::definitions, tolvar, manufacturer), c.valid)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(Tolvar, StateValidation, ::testing::ValuesIn(cases), [](const auto& info) {
    std::string name = info.param.what;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    }
    return name;
});

TEST(StateValidationInput, RefusesWhatIsNotADictionary) {
    EXPECT_FALSE(kelvostate::validate(nullptr, classic::definitions, tolvar, manufacturer));
    Owned<CFStringRef> text(string("state"));
    EXPECT_FALSE(kelvostate::validate(text.ref, classic::definitions, tolvar, manufacturer));
}

TEST(StateInteger, PresentNumberFiniteAndEqual) {
    Owned<CFMutableDictionaryRef> d(dictionary());
    setInteger(d, "i", 7);
    setNumber(d, "r", 7.0);
    setNumber(d, "half", 7.5);
    setNumber(d, "nan", std::nan(""));
    setString(d, "s", "7");
    Owned<CFStringRef> i(string("i")), r(string("r")), half(string("half")), n(string("nan")),
        s(string("s")), missing(string("missing"));
    EXPECT_TRUE(kelvostate::integer(d, i, 7));
    EXPECT_TRUE(kelvostate::integer(d, r, 7));
    EXPECT_FALSE(kelvostate::integer(d, i, 8));
    EXPECT_FALSE(kelvostate::integer(d, half, 7));
    EXPECT_FALSE(kelvostate::integer(d, n, 0));
    EXPECT_FALSE(kelvostate::integer(d, s, 7));
    EXPECT_FALSE(kelvostate::integer(d, missing, 0));
}

} // namespace
