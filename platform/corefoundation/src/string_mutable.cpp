// Mutable strings and formatted strings.

#include "string_impl.h"

#include "unicode.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

__CFString* mutableString(CFMutableStringRef s) {
    return s != nullptr && s->isMutable ? s : nullptr;
}

bool validRange(const __CFString* s, CFRange range) {
    return range.location >= 0 && range.length >= 0 &&
           static_cast<size_t>(range.location) <= s->units.size() &&
           static_cast<size_t>(range.length) <= s->units.size() - range.location;
}

// printf with %@ for CF objects (a string gives its text, others their description).
std::string format(CFStringRef formatString, va_list args) {
    const std::string spec = cf::utf8(formatString);
    std::string out;
    size_t i = 0;
    while (i < spec.size()) {
        if (spec[i] != '%') {
            out.push_back(spec[i++]);
            continue;
        }
        // One conversion: flags, width, precision, length, type.
        size_t j = i + 1;
        while (j < spec.size() && std::strchr("-+ #0'", spec[j]) != nullptr) {
            ++j;
        }
        bool starWidth = false;
        bool starPrecision = false;
        if (j < spec.size() && spec[j] == '*') {
            starWidth = true;
            ++j;
        }
        while (j < spec.size() && spec[j] >= '0' && spec[j] <= '9') {
            ++j;
        }
        if (j < spec.size() && spec[j] == '.') {
            ++j;
            if (j < spec.size() && spec[j] == '*') {
                starPrecision = true;
                ++j;
            }
            while (j < spec.size() && spec[j] >= '0' && spec[j] <= '9') {
                ++j;
            }
        }
        std::string length;
        while (j < spec.size() && std::strchr("hlLqjzt", spec[j]) != nullptr) {
            length.push_back(spec[j++]);
        }
        if (j >= spec.size()) {
            out += spec.substr(i);
            break;
        }
        const char type = spec[j];
        std::string piece = spec.substr(i, j + 1 - i);
        ++j;
        if (type == '%') {
            out.push_back('%');
            i = j;
            continue;
        }
        if (type == '@') {
            auto object = va_arg(args, CFTypeRef);
            if (object == nullptr) {
                out += "(null)";
            } else {
                CFStringRef text = CFCopyDescription(object);
                out += cf::utf8(text);
                CFRelease(text);
            }
            i = j;
            continue;
        }
        int width = 0;
        int precision = 0;
        if (starWidth) {
            width = va_arg(args, int);
        }
        if (starPrecision) {
            precision = va_arg(args, int);
        }
        char buffer[512];
        auto emit = [&](auto value) {
            if (starWidth && starPrecision) {
                std::snprintf(buffer, sizeof buffer, piece.c_str(), width, precision, value);
            } else if (starWidth) {
                std::snprintf(buffer, sizeof buffer, piece.c_str(), width, value);
            } else if (starPrecision) {
                std::snprintf(buffer, sizeof buffer, piece.c_str(), precision, value);
            } else {
                std::snprintf(buffer, sizeof buffer, piece.c_str(), value);
            }
            out += buffer;
        };
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
        switch (type) {
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
        case 'c':
            if (length == "l" || length == "z" || length == "t" || length == "j") {
                emit(va_arg(args, long));
            } else if (length == "ll" || length == "q") {
                // The platform's %qd is %lld here.
                if (length == "q") {
                    piece.replace(piece.find('q'), 1, "ll");
                }
                emit(va_arg(args, long long));
            } else {
                emit(va_arg(args, int));
            }
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            if (length == "L") {
                emit(va_arg(args, long double));
            } else {
                emit(va_arg(args, double));
            }
            break;
        case 's': {
            const char* text = va_arg(args, const char*);
            emit(text != nullptr ? text : "(null)");
            break;
        }
        case 'p':
            emit(va_arg(args, void*));
            break;
        default:
            out += piece;
            break;
        }
#pragma GCC diagnostic pop
        i = j;
    }
    return out;
}

} // namespace

extern "C" {

CFStringRef CFStringCreateWithFormat(CFAllocatorRef, CFTypeRef, CFStringRef formatString, ...) {
    if (formatString == nullptr) {
        return nullptr;
    }
    va_list args;
    va_start(args, formatString);
    const std::string text = format(formatString, args);
    va_end(args);
    return cf::makeString(text);
}

CFMutableStringRef CFStringCreateMutable(CFAllocatorRef, CFIndex maxLength) {
    auto* s = new __CFString(std::u16string(), true);
    s->maxLength = maxLength > 0 ? maxLength : 0;
    return s;
}

CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef, CFIndex maxLength, CFStringRef from) {
    auto* s = new __CFString(from != nullptr ? from->units : std::u16string(), true);
    s->maxLength = maxLength > 0 ? maxLength : 0;
    return s;
}

void CFStringAppend(CFMutableStringRef theString, CFStringRef appended) {
    if (auto* s = mutableString(theString); s != nullptr && appended != nullptr) {
        const std::u16string copy = appended->units; // appended may be theString
        s->units += copy;
    }
}

void CFStringAppendCString(CFMutableStringRef theString, const char* cStr,
                           CFStringEncoding encoding) {
    auto* s = mutableString(theString);
    if (s == nullptr || cStr == nullptr) {
        return;
    }
    std::u16string units;
    if (cf::decode(reinterpret_cast<const unsigned char*>(cStr), std::strlen(cStr), encoding, false,
                   units)) {
        s->units += units;
    }
}

void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar* chars,
                              CFIndex numChars) {
    auto* s = mutableString(theString);
    if (s == nullptr || chars == nullptr || numChars <= 0) {
        return;
    }
    s->units.append(reinterpret_cast<const char16_t*>(chars), static_cast<size_t>(numChars));
}

void CFStringAppendFormat(CFMutableStringRef theString, CFTypeRef, CFStringRef formatString, ...) {
    auto* s = mutableString(theString);
    if (s == nullptr || formatString == nullptr) {
        return;
    }
    va_list args;
    va_start(args, formatString);
    const std::string text = format(formatString, args);
    va_end(args);
    std::u16string units;
    cf::decodeUTF8(reinterpret_cast<const unsigned char*>(text.data()), text.size(), units);
    s->units += units;
}

void CFStringInsert(CFMutableStringRef theString, CFIndex idx, CFStringRef inserted) {
    auto* s = mutableString(theString);
    if (s == nullptr || inserted == nullptr || idx < 0 ||
        static_cast<size_t>(idx) > s->units.size()) {
        return;
    }
    const std::u16string copy = inserted->units;
    s->units.insert(static_cast<size_t>(idx), copy);
}

void CFStringDelete(CFMutableStringRef theString, CFRange range) {
    auto* s = mutableString(theString);
    if (s == nullptr || !validRange(s, range)) {
        return;
    }
    s->units.erase(static_cast<size_t>(range.location), static_cast<size_t>(range.length));
}

void CFStringReplace(CFMutableStringRef theString, CFRange range, CFStringRef replacement) {
    auto* s = mutableString(theString);
    if (s == nullptr || replacement == nullptr || !validRange(s, range)) {
        return;
    }
    const std::u16string copy = replacement->units;
    s->units.replace(static_cast<size_t>(range.location), static_cast<size_t>(range.length), copy);
}

void CFStringReplaceAll(CFMutableStringRef theString, CFStringRef replacement) {
    auto* s = mutableString(theString);
    if (s == nullptr || replacement == nullptr) {
        return;
    }
    const std::u16string copy = replacement->units;
    s->units = copy;
}

} // extern "C"
