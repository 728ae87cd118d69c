#pragma once
// A unit bundle's Info.plist as the hosts read it: the bundle keys and the AudioComponents
// declarations. Read leniently: a missing or mistyped key is recorded as a problem, so the
// validator can report every one and the other hosts can refuse the bundle with the first.

#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvohost {

struct ComponentDeclaration {
    std::string type; // four-character texts as written
    std::string subtype;
    std::string manufacturer;
    UInt32 typeCode = 0; // their codes, when they are four characters
    UInt32 subtypeCode = 0;
    UInt32 manufacturerCode = 0;
    std::string name;
    std::int64_t version = 0;
    std::string factoryFunction;
};

struct BundleInfo {
    std::string identifier; // CFBundleIdentifier
    std::string executable; // CFBundleExecutable
    std::string name;       // CFBundleName
    std::vector<ComponentDeclaration> components;
    std::vector<std::string> problems; // empty when every key is present and well formed
};

// Throws InputError when the file cannot be read or is not a property list dictionary.
BundleInfo readBundleInfo(const std::filesystem::path& bundlePath);

// "1.0.0" for 0x00010000: major in the high 16 bits, then minor and bug-fix bytes.
std::string versionText(std::int64_t version);

} // namespace kelvohost
