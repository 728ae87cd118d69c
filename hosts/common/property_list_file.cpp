#include "property_list_file.h"

#include "host_error.h"

#include <fstream>
#include <iterator>

namespace kelvohost {

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw InputError(path.string() + ": is a directory");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw InputError(path.string() + (std::filesystem::exists(path, ec)
                                              ? ": cannot open the file"
                                              : ": no such file"));
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (file.bad()) {
        throw InputError(path.string() + ": read error");
    }
    return bytes;
}

CFHandle<CFDictionaryRef> readPropertyListDictionary(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    const CFHandle<CFDataRef> data(
        CFDataCreate(kCFAllocatorDefault, bytes.data(), static_cast<CFIndex>(bytes.size())));
    CFHandle<CFPropertyListRef> list(CFPropertyListCreateWithData(
        kCFAllocatorDefault, data.get(), kCFPropertyListImmutable, nullptr, nullptr));
    if (!list) {
        throw InputError(path.string() + ": not a property list");
    }
    if (CFGetTypeID(list.get()) != CFDictionaryGetTypeID()) {
        throw InputError(path.string() + ": the property list does not hold a dictionary");
    }
    CFRetain(list.get());
    return CFHandle<CFDictionaryRef>(static_cast<CFDictionaryRef>(list.get()));
}

} // namespace kelvohost
