// The two writers behind CFPropertyListCreateData, and what they share: which values a list
// may hold, which text each format carries exactly, and the order of a dictionary's entries.
// Both write the same list as the same bytes every time (saved states are compared byte for
// byte), so a dictionary's entries go out sorted by key.
#pragma once

#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFString.h>

#include <string>
#include <vector>

namespace cf::plist {

// Each returns true and the bytes, or false and why not.
bool writeBinary(CFTypeRef list, std::string& bytes, std::string& why);
bool writeXML(CFTypeRef list, std::string& text, std::string& why);

enum class ValueKind { String, Boolean, Integer, Real, Data, Array, Dictionary };

// The kind of a value at this nesting depth; false, with why, for NULL, a value nested too
// deeply (or a container that holds itself) and any type a property list cannot hold.
bool kindOf(CFTypeRef value, unsigned depth, ValueKind& kind, std::string& why);

// Whether the format carries the text exactly; false, with why, if not.
bool writable(CFStringRef s, bool xml, std::string& why);

struct KeyedValue {
    CFStringRef key;
    CFTypeRef value;
};

// The dictionary's entries sorted by key (by UTF-16 units); false, with why, for a key that is
// not a string or that the format cannot carry.
bool sortedEntries(CFDictionaryRef dictionary, bool xml, std::vector<KeyedValue>& entries,
                   std::string& why);

} // namespace cf::plist
