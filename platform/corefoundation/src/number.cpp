// CFNumber and CFBoolean.

#include "object.h"

#include <CoreFoundation/CFNumber.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

struct __CFNumber final : cf::CFObject {
    __CFNumber(CFNumberType type, bool isFloat, int64_t integer, double real)
        : type(type), isFloat(isFloat), integer(integer), real(real) {}

    CFTypeID typeID() const override { return cf::kNumberTypeID; }
    bool equals(const CFObject& other) const override {
        return CFNumberCompare(this, static_cast<const __CFNumber*>(&other), nullptr) ==
               kCFCompareEqualTo;
    }
    CFHashCode hash() const override {
        // Equal values hash alike across types: an integral real hashes as its integer.
        if (!isFloat) {
            return cf::hashBytes(&integer, sizeof integer);
        }
        if (std::isnan(real)) {
            return 0x7ff8;
        }
        if (real == std::trunc(real) && std::fabs(real) < 9.2e18) {
            const auto asInteger = static_cast<int64_t>(real);
            return cf::hashBytes(&asInteger, sizeof asInteger);
        }
        return cf::hashBytes(&real, sizeof real);
    }
    std::string describe() const override {
        if (!isFloat) {
            return std::to_string(integer);
        }
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", real);
        return text;
    }

    const CFNumberType type;
    const bool isFloat;
    const int64_t integer; // when !isFloat
    const double real;     // when isFloat
};

struct __CFBoolean final : cf::CFObject {
    constexpr explicit __CFBoolean(bool value) : CFObject(true), value(value) {}
    CFTypeID typeID() const override { return cf::kBooleanTypeID; }
    bool equals(const CFObject& other) const override {
        return value == static_cast<const __CFBoolean&>(other).value;
    }
    CFHashCode hash() const override { return value ? 1 : 0; }
    std::string describe() const override { return value ? "true" : "false"; }
    const bool value;
};

namespace {


enum class Kind { Integer, Real, Unknown };

struct TypeInfo {
    Kind kind;
    size_t size;
    bool isSigned;
};

TypeInfo info(CFNumberType type) {
    switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
        return {Kind::Integer, 1, true};
    case kCFNumberSInt16Type:
    case kCFNumberShortType:
        return {Kind::Integer, 2, true};
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
        return {Kind::Integer, 4, true};
    case kCFNumberSInt64Type:
    case kCFNumberLongType:
    case kCFNumberLongLongType:
    case kCFNumberCFIndexType:
    case kCFNumberNSIntegerType:
        return {Kind::Integer, 8, true};
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
        return {Kind::Real, 4, true};
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
    case kCFNumberCGFloatType:
        return {Kind::Real, 8, true};
    default:
        return {Kind::Unknown, 0, false};
    }
}

int64_t readInteger(const void* p, size_t size) {
    switch (size) {
    case 1: {
        int8_t v;
        std::memcpy(&v, p, 1);
        return v;
    }
    case 2: {
        int16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    case 4: {
        int32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    default: {
        int64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }
    }
}

// Stores v into a signed integer of `size` bytes, clamped; false when clamped.
bool writeInteger(void* p, size_t size, int64_t v) {
    const int bits = static_cast<int>(size * 8);
    const int64_t maximum =
        bits == 64 ? std::numeric_limits<int64_t>::max() : (int64_t{1} << (bits - 1)) - 1;
    const int64_t minimum = -maximum - 1;
    const bool exact = v >= minimum && v <= maximum;
    const int64_t c = v < minimum ? minimum : (v > maximum ? maximum : v);
    switch (size) {
    case 1: {
        const auto x = static_cast<int8_t>(c);
        std::memcpy(p, &x, 1);
        break;
    }
    case 2: {
        const auto x = static_cast<int16_t>(c);
        std::memcpy(p, &x, 2);
        break;
    }
    case 4: {
        const auto x = static_cast<int32_t>(c);
        std::memcpy(p, &x, 4);
        break;
    }
    default:
        std::memcpy(p, &c, 8);
        break;
    }
    return exact;
}

} // namespace

extern "C" {

// Never destroyed: code running during exit (a bundle's static destructors) may still use them.
const CFBooleanRef kCFBooleanTrue = new __CFBoolean(true);
const CFBooleanRef kCFBooleanFalse = new __CFBoolean(false);

CFTypeID CFNumberGetTypeID(void) {
    return cf::kNumberTypeID;
}
CFTypeID CFBooleanGetTypeID(void) {
    return cf::kBooleanTypeID;
}

Boolean CFBooleanGetValue(CFBooleanRef b) {
    return b != nullptr && b->value;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* valuePtr) {
    const TypeInfo t = info(type);
    if (t.kind == Kind::Unknown || valuePtr == nullptr) {
        return nullptr;
    }
    if (t.kind == Kind::Integer) {
        return new __CFNumber(type, false, readInteger(valuePtr, t.size), 0.0);
    }
    double real;
    if (t.size == 4) {
        float f;
        std::memcpy(&f, valuePtr, 4);
        real = f;
    } else {
        std::memcpy(&real, valuePtr, 8);
    }
    return new __CFNumber(type, true, 0, real);
}

CFNumberType CFNumberGetType(CFNumberRef n) {
    return n != nullptr ? n->type : kCFNumberSInt32Type;
}

CFIndex CFNumberGetByteSize(CFNumberRef n) {
    return n != nullptr ? static_cast<CFIndex>(info(n->type).size) : 0;
}

Boolean CFNumberIsFloatType(CFNumberRef n) {
    return n != nullptr && n->isFloat;
}

Boolean CFNumberGetValue(CFNumberRef n, CFNumberType type, void* valuePtr) {
    const TypeInfo t = info(type);
    if (n == nullptr || valuePtr == nullptr || t.kind == Kind::Unknown) {
        return false;
    }
    if (t.kind == Kind::Integer) {
        if (!n->isFloat) {
            return writeInteger(valuePtr, t.size, n->integer);
        }
        const double r = n->real;
        if (std::isnan(r)) {
            writeInteger(valuePtr, t.size, 0);
            return false;
        }
        // 2^63 is the first double above every int64.
        int64_t v;
        bool exact = r == std::trunc(r);
        if (r >= 9223372036854775808.0) {
            v = std::numeric_limits<int64_t>::max();
            exact = false;
        } else if (r < -9223372036854775808.0) {
            v = std::numeric_limits<int64_t>::min();
            exact = false;
        } else {
            v = static_cast<int64_t>(r);
        }
        return writeInteger(valuePtr, t.size, v) && exact;
    }
    const double r = n->isFloat ? n->real : static_cast<double>(n->integer);
    bool exact = n->isFloat || (r < 9223372036854775808.0 && static_cast<int64_t>(r) == n->integer);
    if (t.size == 4) {
        const auto f = static_cast<float>(r);
        exact = exact && (std::isnan(r) || static_cast<double>(f) == r);
        std::memcpy(valuePtr, &f, 4);
    } else {
        std::memcpy(valuePtr, &r, 8);
    }
    return exact;
}

CFComparisonResult CFNumberCompare(CFNumberRef a, CFNumberRef b, void*) {
    if (a == nullptr || b == nullptr) {
        return a == b ? kCFCompareEqualTo
                      : (a == nullptr ? kCFCompareLessThan : kCFCompareGreaterThan);
    }
    auto order = [](auto x, auto y) {
        return x < y ? kCFCompareLessThan : (x > y ? kCFCompareGreaterThan : kCFCompareEqualTo);
    };
    if (!a->isFloat && !b->isFloat) {
        return order(a->integer, b->integer);
    }
    if (a->isFloat && b->isFloat) {
        // NaN sorts below everything and equals itself, so that equality stays an equivalence.
        if (std::isnan(a->real) || std::isnan(b->real)) {
            return order(!std::isnan(a->real), !std::isnan(b->real));
        }
        return order(a->real, b->real);
    }
    // Integer against real, exactly: compare the real with the integer's neighbourhood.
    const bool aIsReal = a->isFloat;
    const double r = aIsReal ? a->real : b->real;
    const int64_t i = aIsReal ? b->integer : a->integer;
    CFComparisonResult realVsInteger;
    if (std::isnan(r)) {
        realVsInteger = kCFCompareLessThan;
    } else if (r >= 9223372036854775808.0) {
        realVsInteger = kCFCompareGreaterThan;
    } else if (r < -9223372036854775808.0) {
        realVsInteger = kCFCompareLessThan;
    } else {
        const double t = std::trunc(r);
        const auto ti = static_cast<int64_t>(t);
        if (ti != i) {
            realVsInteger = order(ti, i);
        } else {
            realVsInteger = order(r, t);
        }
    }
    if (aIsReal) {
        return realVsInteger;
    }
    return static_cast<CFComparisonResult>(-realVsInteger);
}

} // extern "C"
