// NSString over CFString.

#include <Foundation/NSError.h>
#include <Foundation/NSPathUtilities.h>
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>

#include "file_io.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

CFStringRef create(std::string_view utf8) {
    return CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(utf8.data()),
                                   static_cast<CFIndex>(utf8.size()), kCFStringEncodingUTF8, false);
}

// Decodes one UTF-8 sequence at s[i] (advancing i); malformed bytes decode as themselves.
char32_t decode(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b >= 0xf0 ? 3 : b >= 0xe0 ? 2 : b >= 0xc0 ? 1 : 0;
    char32_t c = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0f : extra == 1 ? b & 0x1f : b;
    ++i;
    while (extra-- > 0 && i < s.size()) {
        c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3f);
        ++i;
    }
    return c;
}

void encode(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xc0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xe0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
    } else {
        out.push_back(static_cast<char>(0xf0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
    }
}

// ASCII and Latin-1 letters (× and ÷ are not letters; ß and ÿ have no Latin-1 partner).
char32_t upper(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xe0 && c <= 0xfe && c != 0xf7)) {
        return c - 0x20;
    }
    return c;
}

char32_t lower(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xc0 && c <= 0xde && c != 0xd7)) {
        return c + 0x20;
    }
    return c;
}

template <typename Map> std::string mapped(const std::string& s, Map map) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        encode(out, map(decode(s, i)));
    }
    return out;
}

NSComparisonResult order(int difference) {
    return difference < 0   ? NSOrderedAscending
           : difference > 0 ? NSOrderedDescending
                            : NSOrderedSame;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Case-insensitive comparison with digit runs compared by value.
int naturalCompare(const std::string& a, const std::string& b, bool numeric, bool caseless) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (numeric && isDigit(a[i]) && isDigit(b[j])) {
            std::size_t ie = i, je = j;
            while (ie < a.size() && isDigit(a[ie])) {
                ++ie;
            }
            while (je < b.size() && isDigit(b[je])) {
                ++je;
            }
            std::size_t is = i, js = j;
            while (is + 1 < ie && a[is] == '0') {
                ++is;
            }
            while (js + 1 < je && b[js] == '0') {
                ++js;
            }
            if (ie - is != je - js) {
                return ie - is < je - js ? -1 : 1;
            }
            const int c = a.compare(is, ie - is, b, js, je - js);
            if (c != 0) {
                return c;
            }
            i = ie;
            j = je;
            continue;
        }
        char32_t ca = decode(a, i), cb = decode(b, j);
        if (caseless) {
            ca = lower(ca);
            cb = lower(cb);
        }
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    if (j < b.size()) {
        return -1;
    }
    return 0;
}

std::string trimSlashes(std::string p) {
    while (p.size() > 1 && p.back() == '/') {
        p.pop_back();
    }
    return p;
}

} // namespace

NSString::NSString(const char* utf8) {
    if (utf8) {
        object_ = create(utf8);
    }
}

NSString::NSString(std::string_view utf8) {
    object_ = create(utf8);
}

NSString NSString::bridgeTransfer(CFStringRef string) {
    NSString s;
    s.object_ = string;
    return s;
}

NSString NSString::bridge(CFStringRef string) {
    if (string) {
        CFRetain(string);
    }
    return bridgeTransfer(string);
}

NSString NSString::cast(const NSHandle& object) {
    if (!object || object.typeID() != CFStringGetTypeID()) {
        return NSString();
    }
    return bridge(static_cast<CFStringRef>(object.cf()));
}

NSString NSString::string() {
    return NSString("");
}

NSString NSString::stringWithUTF8String(const char* utf8) {
    return NSString(utf8);
}

NSString NSString::stringWithFormat(const char* format, ...) {
    char small[512];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) {
        va_end(copy);
        return NSString();
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        va_end(copy);
        return NSString(std::string_view(small, static_cast<std::size_t>(n)));
    }
    std::string large(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(large.data(), large.size(), format, copy);
    va_end(copy);
    large.resize(static_cast<std::size_t>(n));
    return NSString(std::string_view(large));
}

NSString NSString::stringWithContentsOfURL(const NSURL& url, NSStringEncoding encoding,
                                           NSError* error) {
    if (!url) {
        foundation::fail(error, ENOENT, "", "opened");
        return NSString();
    }
    std::string bytes;
    if (!foundation::readRegularFile(url.path().stdString(), bytes, error)) {
        return NSString();
    }
    if (encoding != NSUTF8StringEncoding) {
        if (error) {
            *error = NSError(NSCocoaErrorDomain, 261, "The text encoding is not supported.");
        }
        return NSString();
    }
    NSString s{std::string_view(bytes)};
    if (!s && error) {
        *error =
            NSError(NSCocoaErrorDomain, 261,
                    NSString(std::string_view(
                        "The file \u201C" + url.lastPathComponent().stdString() +
                        "\u201D couldn\u2019t be opened because the text is not valid UTF-8.")));
    }
    return s;
}

const char* NSString::UTF8String() const {
    if (!object_) {
        return "";
    }
    if (const char* direct = CFStringGetCStringPtr(cf(), kCFStringEncodingUTF8)) {
        return direct;
    }
    if (!utf8_) {
        const CFIndex size =
            CFStringGetMaximumSizeForEncoding(CFStringGetLength(cf()), kCFStringEncodingUTF8) + 1;
        std::string buffer(static_cast<std::size_t>(size), '\0');
        if (!CFStringGetCString(cf(), buffer.data(), size, kCFStringEncodingUTF8)) {
            buffer.clear();
        }
        buffer.resize(std::strlen(buffer.c_str()));
        utf8_ = std::make_shared<const std::string>(std::move(buffer));
    }
    return utf8_->c_str();
}

std::string NSString::stdString() const {
    return std::string(UTF8String());
}

NSUInteger NSString::length() const {
    return object_ ? static_cast<NSUInteger>(CFStringGetLength(cf())) : 0;
}

bool NSString::isEqualToString(const NSString& other) const {
    if (!object_ || !other.object_) {
        return !object_ && !other.object_;
    }
    return std::strcmp(UTF8String(), other.UTF8String()) == 0;
}

bool operator==(const NSString& a, const NSString& b) {
    return a.isEqualToString(b);
}

NSComparisonResult NSString::compare(const NSString& other) const {
    return order(std::strcmp(UTF8String(), other.UTF8String()));
}

NSComparisonResult NSString::compare(const NSString& other, NSStringCompareOptions options) const {
    return order(naturalCompare(stdString(), other.stdString(), options & NSNumericSearch,
                                options & NSCaseInsensitiveSearch));
}

NSComparisonResult NSString::caseInsensitiveCompare(const NSString& other) const {
    return compare(other, NSCaseInsensitiveSearch);
}

NSComparisonResult NSString::localizedStandardCompare(const NSString& other) const {
    const std::string a = stdString(), b = other.stdString();
    const int natural = naturalCompare(a, b, true, true);
    // Names that differ only in case or leading zeros still get a stable order.
    return order(natural != 0 ? natural : a.compare(b));
}

bool NSString::hasPrefix(const NSString& prefix) const {
    const std::string s = stdString(), p = prefix.stdString();
    return !p.empty() && s.compare(0, p.size(), p) == 0;
}

bool NSString::hasSuffix(const NSString& suffix) const {
    const std::string s = stdString(), p = suffix.stdString();
    return !p.empty() && s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

NSString NSString::uppercaseString() const {
    return object_ ? NSString(std::string_view(mapped(stdString(), upper))) : NSString();
}

NSString NSString::lowercaseString() const {
    return object_ ? NSString(std::string_view(mapped(stdString(), lower))) : NSString();
}

NSString NSString::stringByAppendingString(const NSString& other) const {
    return NSString(std::string_view(stdString() + other.stdString()));
}

double NSString::doubleValue() const {
    return std::strtod(UTF8String(), nullptr);
}

int NSString::intValue() const {
    return static_cast<int>(std::strtol(UTF8String(), nullptr, 10));
}

NSString NSString::lastPathComponent() const {
    const std::string p = trimSlashes(stdString());
    if (p == "/") {
        return NSString("/");
    }
    const auto slash = p.rfind('/');
    return NSString(std::string_view(slash == std::string::npos ? p : p.substr(slash + 1)));
}

NSString NSString::pathExtension() const {
    const std::string last = lastPathComponent().stdString();
    const auto dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return NSString("");
    }
    return NSString(std::string_view(last.substr(dot + 1)));
}

NSString NSString::stringByDeletingPathExtension() const {
    const std::string p = trimSlashes(stdString());
    const auto slash = p.rfind('/');
    const auto dot = p.rfind('.');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    if (dot == std::string::npos || dot <= start) {
        return NSString(std::string_view(p));
    }
    return NSString(std::string_view(p.substr(0, dot)));
}

NSString NSString::stringByDeletingLastPathComponent() const {
    const std::string p = trimSlashes(stdString());
    const auto slash = p.rfind('/');
    if (slash == std::string::npos) {
        return NSString("");
    }
    if (slash == 0) {
        return NSString("/");
    }
    return NSString(std::string_view(p.substr(0, slash)));
}

NSString NSString::stringByAppendingPathComponent(const NSString& component) const {
    std::string p = stdString();
    std::string c = component.stdString();
    while (!c.empty() && c.front() == '/') {
        c.erase(c.begin());
    }
    if (p.empty()) {
        return NSString(std::string_view(trimSlashes(c)));
    }
    if (p.back() != '/') {
        p.push_back('/');
    }
    return NSString(std::string_view(trimSlashes(p + c)));
}

NSString NSString::stringByAppendingPathExtension(const NSString& extension) const {
    return NSString(std::string_view(trimSlashes(stdString()) + "." + extension.stdString()));
}

NSString NSString::stringByStandardizingPath() const {
    std::string p = stdString();
    if (!p.empty() && p[0] == '~' && (p.size() == 1 || p[1] == '/')) {
        p = NSHomeDirectory().stdString() + p.substr(1);
    }
    const bool absolute = !p.empty() && p[0] == '/';
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= p.size()) {
        const auto slash = p.find('/', i);
        const std::string part =
            p.substr(i, slash == std::string::npos ? std::string::npos : slash - i);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") {
                parts.pop_back();
            } else if (!absolute) {
                parts.push_back(part);
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string::npos) {
            break;
        }
        i = slash + 1;
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (k > 0) {
            out.push_back('/');
        }
        out += parts[k];
    }
    return NSString(std::string_view(out));
}

bool NSString::isAbsolutePath() const {
    const char* s = UTF8String();
    return s[0] == '/' || s[0] == '~';
}

const char* NSString::fileSystemRepresentation() const {
    return UTF8String();
}
