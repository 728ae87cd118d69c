// Property lists: the entry points. Reading is in property_list_read_binary.cpp and
// property_list_read_xml.cpp, writing in property_list_write_binary.cpp and
// property_list_write_xml.cpp.

#include "error_impl.h"
#include "property_list_guard.h"
#include "property_list_read.h"
#include "property_list_write.h"

#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFPropertyList.h>

#include <cstring>
#include <string>

namespace {

void fail(CFErrorRef* error, CFIndex code, const std::string& why) {
    cf::setError(error, kCFErrorDomainCocoa, code, why);
}

bool isBinary(const UInt8* bytes, size_t length) {
    return length >= 6 && std::memcmp(bytes, "bplist", 6) == 0;
}

// The UTF-8 byte-order mark some editors write before an XML list. It is no part of the
// document: the XML reader never sees it, and nothing else may come before a list.
size_t byteOrderMarkLength(const UInt8* bytes, size_t length) {
    return length >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

bool looksLikeXML(const UInt8* bytes, size_t length) {
    size_t i = 0;
    while (i < length &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) {
        ++i;
    }
    return i < length && bytes[i] == '<';
}

} // namespace

extern "C" {

CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef, CFDataRef data,
                                               CFOptionFlags options, CFPropertyListFormat* format,
                                               CFErrorRef* error) {
    if (error != nullptr) {
        *error = nullptr;
    }
    if (data == nullptr) {
        fail(error, kCFPropertyListReadCorruptError, "no data");
        return nullptr;
    }
    const UInt8* bytes = CFDataGetBytePtr(data);
    const auto length = static_cast<size_t>(CFDataGetLength(data));
    if (length == 0 || bytes == nullptr) {
        fail(error, kCFPropertyListReadCorruptError, "empty data");
        return nullptr;
    }
    if (length > cf::plist::kMaximumInputBytes) {
        fail(error, kCFPropertyListReadCorruptError, "property list larger than 64 MiB");
        return nullptr;
    }
    const bool binary = isBinary(bytes, length);
    const size_t mark = binary ? 0 : byteOrderMarkLength(bytes, length);
    if (!binary && !looksLikeXML(bytes + mark, length - mark)) {
        fail(error, kCFPropertyListReadUnknownVersionError, "neither XML nor binary");
        return nullptr;
    }
    std::string why;
    CFTypeRef list = binary ? cf::plist::readBinary(bytes, length, options, why)
                            : cf::plist::readXML(bytes + mark, length - mark, options, why);
    if (list == nullptr) {
        fail(error, kCFPropertyListReadCorruptError, "malformed property list: " + why);
        return nullptr;
    }
    if (format != nullptr) {
        *format = binary ? kCFPropertyListBinaryFormat_v1_0 : kCFPropertyListXMLFormat_v1_0;
    }
    return list;
}

CFDataRef CFPropertyListCreateData(CFAllocatorRef, CFPropertyListRef propertyList,
                                   CFPropertyListFormat format, CFOptionFlags, CFErrorRef* error) {
    if (error != nullptr) {
        *error = nullptr;
    }
    if (format != kCFPropertyListXMLFormat_v1_0 && format != kCFPropertyListBinaryFormat_v1_0) {
        fail(error, kCFPropertyListWriteStreamError, "only XML and binary can be written");
        return nullptr;
    }
    std::string why;
    std::string bytes;
    const bool written = format == kCFPropertyListBinaryFormat_v1_0
                             ? cf::plist::writeBinary(propertyList, bytes, why)
                             : cf::plist::writeXML(propertyList, bytes, why);
    if (!written) {
        fail(error, kCFPropertyListWriteStreamError, "cannot write " + why);
        return nullptr;
    }
    return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()),
                        static_cast<CFIndex>(bytes.size()));
}

} // extern "C"
