// Property lists: reading and writing XML and binary property lists.
//
// What this stand-in promises:
// - Types: CFString, CFNumber (integer or real kept apart: a number made from an integer type
//   is written as <integer>, from a real type as <real>; integers are 64-bit signed), CFBoolean,
//   CFData, CFArray, CFDictionary with string keys. Dates, UIDs and anything else are refused.
// - Text is written exactly or not at all: a binary list holds every string and key whole,
//   U+0000 included; strings (and keys) holding an unpaired surrogate are refused in both
//   formats, and U+0000 and the other control characters but tab, line feed and carriage return
//   are refused in XML (XML 1.0 cannot hold them). Integers read from a file must fit in 64
//   signed bits.
// - Text is read exactly: every string and key of a binary list whole, by its stored length,
//   U+0000 included, so "data\0shadow" is a key of its own beside "data". XML is read as XML
//   defines it: raw line ends as line feeds, character references only in their strict
//   spelling and only to characters XML can hold (never U+0000). A dictionary that holds one
//   key twice, however it is spelled, is refused in either format.
// - Output is deterministic: dictionary keys are written in sorted order (by UTF-16 units), so
//   the same property list gives the same bytes every time, in XML and in binary. The binary
//   layout (object numbering, sharing, widths) never changes, so a list saved once is written
//   again byte for byte.
// - Reading accepts XML and binary (and reports which in *format); an XML list may open with
//   a UTF-8 byte-order mark (EF BB BF), a binary one may not. Malformed, truncated or hostile
//   input gives NULL and an error, never a crash: inputs over 64 MiB, nesting deeper
//   than 512 containers, binary object references that form a cycle, offsets or counts
//   outside the data, binary lists that would expand (through shared objects) to more than
//   2^20 objects or 256 MiB, document type subsets and unknown entities in XML, and numbers
//   whose text is not a plain integer or real are all refused.
// - Every CFErrorRef* out-argument may be NULL.
#pragma once

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFError.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef CFOptionFlags CFPropertyListMutabilityOptions;
enum {
    kCFPropertyListImmutable = 0,
    kCFPropertyListMutableContainers = 1,
    kCFPropertyListMutableContainersAndLeaves = 2
};

typedef CFIndex CFPropertyListFormat;
enum {
    kCFPropertyListOpenStepFormat = 1,
    kCFPropertyListXMLFormat_v1_0 = 100,
    kCFPropertyListBinaryFormat_v1_0 = 200
};

// (+1) or NULL with *error set. format may be NULL. [any thread]
CF_EXPORT CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef allocator, CFDataRef data,
                                                         CFOptionFlags options,
                                                         CFPropertyListFormat* format,
                                                         CFErrorRef* error);
// (+1) XML or binary bytes, or NULL with *error set (unsupported type, non-string key, format
// other than XML or binary). options must be 0. [any thread]
CF_EXPORT CFDataRef CFPropertyListCreateData(CFAllocatorRef allocator,
                                             CFPropertyListRef propertyList,
                                             CFPropertyListFormat format, CFOptionFlags options,
                                             CFErrorRef* error);
// (+1) A deep copy; containers (and with ...AndLeaves strings and data) mutable as asked.
// NULL when the list holds a type a property list cannot.
CF_EXPORT CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef allocator,
                                                         CFPropertyListRef propertyList,
                                                         CFOptionFlags mutabilityOption);
// Whether the list holds only property-list types (and string keys) and could be written in the
// format.
CF_EXPORT Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format);

#ifdef __cplusplus
}
#endif
