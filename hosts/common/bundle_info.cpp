#include "bundle_info.h"

#include "cf_handle.h"
#include "property_list_file.h"

namespace kelvohost {
namespace {

CFTypeRef value(CFDictionaryRef dictionary, const char* key) {
    const CFHandle<CFStringRef> name = makeCFString(key);
    return CFDictionaryGetValue(dictionary, name.get());
}

std::string stringValue(CFDictionaryRef dictionary, const char* key, const std::string& where,
                        std::vector<std::string>& problems) {
    const CFTypeRef found = value(dictionary, key);
    if (found == nullptr || CFGetTypeID(found) != CFStringGetTypeID()) {
        problems.push_back(where + key + (found == nullptr ? " is missing" : " is not a string"));
        return {};
    }
    return toStdString(static_cast<CFStringRef>(found));
}

void codeValue(CFDictionaryRef dictionary, const char* key, const std::string& where,
               std::vector<std::string>& problems, std::string& text, UInt32& code) {
    text = stringValue(dictionary, key, where, problems);
    if (!text.empty() && !fourCharCode(text, code)) {
        problems.push_back(where + key + " '" + text + "' is not four characters");
    }
}

} // namespace

BundleInfo readBundleInfo(const std::filesystem::path& bundlePath) {
    const CFHandle<CFDictionaryRef> list =
        readPropertyListDictionary(bundlePath / "Contents" / "Info.plist");
    const CFDictionaryRef dictionary = list.get();

    BundleInfo info;
    info.identifier = stringValue(dictionary, "CFBundleIdentifier", "", info.problems);
    info.executable = stringValue(dictionary, "CFBundleExecutable", "", info.problems);
    info.name = stringValue(dictionary, "CFBundleName", "", info.problems);

    const CFTypeRef components = value(dictionary, "AudioComponents");
    if (components == nullptr || CFGetTypeID(components) != CFArrayGetTypeID()) {
        info.problems.push_back(components == nullptr ? "AudioComponents is missing"
                                                      : "AudioComponents is not an array");
        return info;
    }
    const auto array = static_cast<CFArrayRef>(components);
    const CFIndex count = CFArrayGetCount(array);
    if (count == 0) {
        info.problems.push_back("AudioComponents is empty");
    }
    for (CFIndex i = 0; i < count; ++i) {
        const std::string where = "AudioComponents[" + std::to_string(i) + "].";
        const CFTypeRef entry = CFArrayGetValueAtIndex(array, i);
        if (entry == nullptr || CFGetTypeID(entry) != CFDictionaryGetTypeID()) {
            info.problems.push_back(where + " is not a dictionary");
            continue;
        }
        const auto component = static_cast<CFDictionaryRef>(entry);
        ComponentDeclaration declaration;
        codeValue(component, "type", where, info.problems, declaration.type, declaration.typeCode);
        codeValue(component, "subtype", where, info.problems, declaration.subtype,
                  declaration.subtypeCode);
        codeValue(component, "manufacturer", where, info.problems, declaration.manufacturer,
                  declaration.manufacturerCode);
        declaration.name = stringValue(component, "name", where, info.problems);
        declaration.factoryFunction =
            stringValue(component, "factoryFunction", where, info.problems);
        const CFTypeRef version = value(component, "version");
        if (version == nullptr || CFGetTypeID(version) != CFNumberGetTypeID()) {
            info.problems.push_back(where + "version" +
                                    (version == nullptr ? " is missing" : " is not a number"));
        } else {
            long long number = 0;
            CFNumberGetValue(static_cast<CFNumberRef>(version), kCFNumberLongLongType, &number);
            declaration.version = number;
        }
        info.components.push_back(std::move(declaration));
    }
    return info;
}

std::string versionText(std::int64_t version) {
    const auto major = (version >> 16) & 0xFFFF;
    const auto minor = (version >> 8) & 0xFF;
    const auto fix = version & 0xFF;
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(fix);
}

} // namespace kelvohost
