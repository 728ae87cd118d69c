// A helper program for the plistlib cross-check (plistlib_check.py):
//   plist_tool write <dir>   writes sample.xml and sample.bin, the same dictionary in both formats
//   plist_tool dump <file>   reads a property list and prints it in a typed canonical form
//   plist_tool rewrite <in> <out> xml|binary   reads a property list and writes it again in the
//                            format; when the writer refuses it, says why and writes nothing
// The canonical form matches plistlib_check.py's: s<utf-8 hex>, i<integer>, r<%.17g>, b0/b1,
// d<hex>, a[...], {<key hex>=<value>;...} with keys sorted by their UTF-8 bytes.

#include "cf_test_support.h"

#include <CoreFoundation/CoreFoundation.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using cftest::hex;

// Every character, U+0000 included.
std::string utf8(CFStringRef s) {
    const CFRange all = CFRangeMake(0, CFStringGetLength(s));
    CFIndex used = 0;
    CFStringGetBytes(s, all, kCFStringEncodingUTF8, 0, false, nullptr, 0, &used);
    std::string out(static_cast<size_t>(used), '\0');
    CFStringGetBytes(s, all, kCFStringEncodingUTF8, 0, false, reinterpret_cast<UInt8*>(out.data()),
                     used, &used);
    return out;
}

std::string dump(CFTypeRef v) {
    const CFTypeID type = CFGetTypeID(v);
    if (type == CFStringGetTypeID()) {
        return "s" + hex(utf8(static_cast<CFStringRef>(v)));
    }
    if (type == CFBooleanGetTypeID()) {
        return CFBooleanGetValue(static_cast<CFBooleanRef>(v)) ? "b1" : "b0";
    }
    if (type == CFNumberGetTypeID()) {
        const auto n = static_cast<CFNumberRef>(v);
        if (CFNumberIsFloatType(n)) {
            double d = 0;
            CFNumberGetValue(n, kCFNumberFloat64Type, &d);
            if (std::isnan(d)) {
                return "rnan";
            }
            char text[40];
            std::snprintf(text, sizeof text, "r%.17g", d);
            return text;
        }
        long long i = 0;
        CFNumberGetValue(n, kCFNumberLongLongType, &i);
        return "i" + std::to_string(i);
    }
    if (type == CFDataGetTypeID()) {
        const auto d = static_cast<CFDataRef>(v);
        return "d" + hex(std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(d)),
                                     static_cast<size_t>(CFDataGetLength(d))));
    }
    if (type == CFArrayGetTypeID()) {
        const auto a = static_cast<CFArrayRef>(v);
        std::string out = "a[";
        for (CFIndex i = 0; i < CFArrayGetCount(a); ++i) {
            out += dump(CFArrayGetValueAtIndex(a, i)) + ",";
        }
        return out + "]";
    }
    if (type == CFDictionaryGetTypeID()) {
        const auto d = static_cast<CFDictionaryRef>(v);
        const auto count = static_cast<size_t>(CFDictionaryGetCount(d));
        std::vector<const void*> keys(count);
        std::vector<const void*> values(count);
        CFDictionaryGetKeysAndValues(d, keys.data(), values.data());
        std::vector<std::pair<std::string, std::string>> entries;
        for (size_t i = 0; i < count; ++i) {
            entries.emplace_back(utf8(static_cast<CFStringRef>(keys[i])), dump(values[i]));
        }
        std::sort(entries.begin(), entries.end());
        std::string out = "{";
        for (const auto& [k, val] : entries) {
            out += hex(k) + "=" + val + ";";
        }
        return out + "}";
    }
    return "?";
}

CFStringRef string(const char* s) {
    return CFStringCreateWithCString(nullptr, s, kCFStringEncodingUTF8);
}

void set(CFMutableDictionaryRef d, const char* key, CFTypeRef value) {
    CFStringRef k = string(key);
    CFDictionarySetValue(d, k, value);
    CFRelease(k);
    CFRelease(value);
}

// The sample dictionary; plistlib_check.py holds the same value as EXPECTED_SAMPLE.
CFDictionaryRef sample() {
    CFMutableDictionaryRef d = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                         &kCFTypeDictionaryValueCallBacks);
    const SInt32 version = 0;
    const SInt32 type = 'aufx';
    const SInt32 negative = -42;
    const SInt64 large = 1234567890123456789LL;
    const Float64 real = 0.1;
    const Float64 integral = 2.0;
    const Float32 single = 0.5f;
    set(d, "version", CFNumberCreate(nullptr, kCFNumberSInt32Type, &version));
    set(d, "type", CFNumberCreate(nullptr, kCFNumberSInt32Type, &type));
    set(d, "negative", CFNumberCreate(nullptr, kCFNumberSInt32Type, &negative));
    set(d, "large", CFNumberCreate(nullptr, kCFNumberSInt64Type, &large));
    set(d, "real", CFNumberCreate(nullptr, kCFNumberFloat64Type, &real));
    set(d, "integral real", CFNumberCreate(nullptr, kCFNumberFloat64Type, &integral));
    set(d, "single", CFNumberCreate(nullptr, kCFNumberFloat32Type, &single));
    set(d, "name",
        string("Vocals / Warm Body \xE2\x88\x92 3 dB \xC2\xB7 \xE2\x80\xA6 \xF0\x9F\x8E\x9B <&>"));
    set(d, "empty", string(""));
    set(d, "yes", CFRetain(kCFBooleanTrue));
    set(d, "no", CFRetain(kCFBooleanFalse));
    const UInt8 blob[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 7, 0x41, 0x20, 0, 0};
    set(d, "data", CFDataCreate(nullptr, blob, sizeof blob));
    CFMutableArrayRef list = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    CFStringRef item = string("item");
    CFArrayAppendValue(list, item);
    CFArrayAppendValue(list, item);
    CFRelease(item);
    CFArrayAppendValue(list, kCFBooleanTrue);
    set(d, "list", list);
    CFMutableDictionaryRef inner = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    set(inner, "\xC3\xA9l\xC3\xA9ment", string("part"));
    set(d, "element-name", inner);
    set(d, "line ends", string("a\r\nb\rc\td\n"));
    return d;
}

bool writeFile(const std::string& path, CFDataRef data) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(CFDataGetBytePtr(data)), CFDataGetLength(data));
    return static_cast<bool>(out);
}

// Prints why, from the error (which it releases), and returns 1.
int refused(CFErrorRef error) {
    CFStringRef why = error != nullptr ? CFErrorCopyDescription(error) : nullptr;
    std::cerr << "refused: " << (why != nullptr ? utf8(why) : "?") << "\n";
    if (why != nullptr) {
        CFRelease(why);
    }
    if (error != nullptr) {
        CFRelease(error);
    }
    return 1;
}

// The list in the file (+1), or NULL and the reader's error.
CFPropertyListRef readList(const char* path, CFErrorRef* error) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CFDataRef data = CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                                  static_cast<CFIndex>(bytes.size()));
    CFPropertyListRef list = CFPropertyListCreateWithData(nullptr, data, 0, nullptr, error);
    CFRelease(data);
    return list;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "write" && argc == 3) {
        CFDictionaryRef d = sample();
        bool ok = true;
        for (const auto& [format, name] :
             {std::pair{kCFPropertyListXMLFormat_v1_0, "sample.xml"},
              std::pair{kCFPropertyListBinaryFormat_v1_0, "sample.bin"}}) {
            CFDataRef bytes = CFPropertyListCreateData(nullptr, d, format, 0, nullptr);
            ok = ok && bytes != nullptr && writeFile(std::string(argv[2]) + "/" + name, bytes);
            if (bytes != nullptr) {
                CFRelease(bytes);
            }
        }
        CFRelease(d);
        return ok ? 0 : 1;
    }
    if (command == "dump" && argc == 3) {
        CFErrorRef error = nullptr;
        CFPropertyListRef list = readList(argv[2], &error);
        if (list == nullptr) {
            return refused(error);
        }
        std::cout << dump(list) << "\n";
        CFRelease(list);
        return 0;
    }
    const std::string format = argc == 5 ? argv[4] : "";
    if (command == "rewrite" && (format == "xml" || format == "binary")) {
        CFErrorRef error = nullptr;
        CFPropertyListRef list = readList(argv[2], &error);
        if (list == nullptr) {
            return refused(error);
        }
        CFDataRef bytes = CFPropertyListCreateData(
            nullptr, list,
            format == "xml" ? kCFPropertyListXMLFormat_v1_0 : kCFPropertyListBinaryFormat_v1_0, 0,
            &error);
        CFRelease(list);
        if (bytes == nullptr) {
            return refused(error);
        }
        const bool written = writeFile(argv[3], bytes);
        CFRelease(bytes);
        return written ? 0 : 1;
    }
    std::cerr << "usage: plist_tool write <dir> | dump <file> | rewrite <in> <out> xml|binary\n";
    return 2;
}
