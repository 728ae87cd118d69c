// CFString comparison and search.

#include "string_impl.h"

#include "unicode.h"

#include <cstdlib>
#include <string>

namespace {

char16_t fold(char16_t u) {
    if (u >= u'A' && u <= u'Z') {
        return static_cast<char16_t>(u + 0x20);
    }
    // Latin-1 capitals À..Þ, except the multiplication sign.
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) {
        return static_cast<char16_t>(u + 0x20);
    }
    return u;
}

bool isDigit(char16_t u) {
    return u >= u'0' && u <= u'9';
}

std::u16string folded(std::u16string text) {
    for (char16_t& u : text) {
        u = fold(u);
    }
    return text;
}

CFComparisonResult sign(long c) {
    return c < 0 ? kCFCompareLessThan : (c > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo);
}

CFComparisonResult compare(const char16_t* a, size_t na, const char16_t* b, size_t nb,
                           CFStringCompareFlags flags) {
    const bool caseless = (flags & kCFCompareCaseInsensitive) != 0;
    const bool numeric = (flags & kCFCompareNumerically) != 0;
    size_t i = 0;
    size_t j = 0;
    while (i < na && j < nb) {
        if (numeric && isDigit(a[i]) && isDigit(b[j])) {
            // Compare the digit runs by value: strip leading zeros, then longer is larger,
            // then digit by digit.
            size_t ei = i;
            size_t ej = j;
            while (ei < na && isDigit(a[ei])) {
                ++ei;
            }
            while (ej < nb && isDigit(b[ej])) {
                ++ej;
            }
            size_t si = i;
            size_t sj = j;
            while (si + 1 < ei && a[si] == u'0') {
                ++si;
            }
            while (sj + 1 < ej && b[sj] == u'0') {
                ++sj;
            }
            if (ei - si != ej - sj) {
                return ei - si < ej - sj ? kCFCompareLessThan : kCFCompareGreaterThan;
            }
            for (size_t k = 0; k < ei - si; ++k) {
                if (a[si + k] != b[sj + k]) {
                    return a[si + k] < b[sj + k] ? kCFCompareLessThan : kCFCompareGreaterThan;
                }
            }
            i = ei;
            j = ej;
            continue;
        }
        const char16_t x = caseless ? fold(a[i]) : a[i];
        const char16_t y = caseless ? fold(b[j]) : b[j];
        if (x != y) {
            return x < y ? kCFCompareLessThan : kCFCompareGreaterThan;
        }
        ++i;
        ++j;
    }
    return sign(static_cast<long>(na - i) - static_cast<long>(nb - j));
}

} // namespace

extern "C" {

CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFStringCompareFlags flags) {
    const std::u16string empty;
    const std::u16string& x = a != nullptr ? a->units : empty;
    const std::u16string& y = b != nullptr ? b->units : empty;
    return compare(x.data(), x.size(), y.data(), y.size(), flags);
}

CFComparisonResult CFStringCompareWithOptions(CFStringRef a, CFStringRef b, CFRange range,
                                              CFStringCompareFlags flags) {
    if (a == nullptr || b == nullptr || range.location < 0 || range.length < 0 ||
        static_cast<size_t>(range.location) > a->units.size() ||
        static_cast<size_t>(range.length) > a->units.size() - range.location) {
        return CFStringCompare(a, b, flags);
    }
    return compare(a->units.data() + range.location, static_cast<size_t>(range.length),
                   b->units.data(), b->units.size(), flags);
}

CFRange CFStringFind(CFStringRef s, CFStringRef find, CFStringCompareFlags flags) {
    if (s == nullptr || find == nullptr || find->units.empty() ||
        find->units.size() > s->units.size()) {
        return CFRangeMake(kCFNotFound, 0);
    }
    const bool caseless = (flags & kCFCompareCaseInsensitive) != 0;
    const std::u16string text = caseless ? folded(s->units) : s->units;
    const std::u16string needle = caseless ? folded(find->units) : find->units;
    const bool backwards = (flags & kCFCompareBackwards) != 0;
    const bool anchored = (flags & kCFCompareAnchored) != 0;
    size_t at;
    if (anchored) {
        const size_t start = backwards ? text.size() - needle.size() : 0;
        at = text.compare(start, needle.size(), needle) == 0 ? start : std::u16string::npos;
    } else {
        at = backwards ? text.rfind(needle) : text.find(needle);
    }
    if (at == std::u16string::npos) {
        return CFRangeMake(kCFNotFound, 0);
    }
    return CFRangeMake(static_cast<CFIndex>(at), static_cast<CFIndex>(needle.size()));
}

Boolean CFStringHasPrefix(CFStringRef s, CFStringRef prefix) {
    if (s == nullptr || prefix == nullptr) {
        return false;
    }
    return s->units.starts_with(prefix->units);
}

Boolean CFStringHasSuffix(CFStringRef s, CFStringRef suffix) {
    if (s == nullptr || suffix == nullptr) {
        return false;
    }
    return s->units.ends_with(suffix->units);
}

SInt32 CFStringGetIntValue(CFStringRef s) {
    const long long v = std::strtoll(cf::utf8(s).c_str(), nullptr, 10);
    return v > 0x7fffffffLL ? 0x7fffffff : (v < -0x80000000LL ? -0x7fffffff - 1 : SInt32(v));
}

double CFStringGetDoubleValue(CFStringRef s) {
    return std::strtod(cf::utf8(s).c_str(), nullptr);
}

} // extern "C"
