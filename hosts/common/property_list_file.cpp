#include "property_list_file.h"

#include "bounded_file.h"
#include "host_error.h"

#include <cstdint>
#include <vector>

namespace kelvohost {

CFHandle<CFDictionaryRef> readPropertyListDictionary(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = readBoundedFile(path, propertyListFileLimit);
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
