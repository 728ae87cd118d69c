#include <AAXHost/Module.h>

namespace aaxhost {
namespace {

std::string text(CFStringRef string) {
    if (string == nullptr) {
        return {};
    }
    const CFIndex room =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8) + 1;
    std::string buffer(static_cast<std::size_t>(room), '\0');
    if (!CFStringGetCString(string, buffer.data(), room, kCFStringEncodingUTF8)) {
        return {};
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

} // namespace

std::unique_ptr<Module> loadModule(const std::string& path, const Refusals& refusals) {
    auto module = std::make_unique<Module>();
    module->path = path;
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = url != nullptr ? CFBundleCreate(nullptr, url) : nullptr;
    if (url != nullptr) {
        CFRelease(url);
    }
    if (bundle == nullptr) {
        throw LoadError("not a bundle (no Contents/Info.plist)");
    }
    // The registry keeps the bundle for the life of the process.
    module->bundle = bundle;
    CFRelease(bundle);
    module->identifier = text(CFBundleGetIdentifier(bundle));

    CFErrorRef error = nullptr;
    if (!CFBundleLoadExecutableAndReturnError(bundle, &error)) {
        std::string why = "the executable does not load";
        if (error != nullptr) {
            CFStringRef description = CFErrorCopyDescription(error);
            const std::string detail = text(description);
            if (description != nullptr) {
                CFRelease(description);
            }
            CFRelease(error);
            if (!detail.empty()) {
                why += ": " + detail;
            }
        }
        throw LoadError(why);
    }
    CFStringRef symbol =
        CFStringCreateWithCString(nullptr, AAX_DescribeModuleSymbol, kCFStringEncodingUTF8);
    void* entry = CFBundleGetFunctionPointerForName(bundle, symbol);
    CFRelease(symbol);
    if (entry == nullptr) {
        throw LoadError(std::string("its executable does not define ") + AAX_DescribeModuleSymbol);
    }
    module->entryPoint = reinterpret_cast<AAX_DescribeModuleProc>(entry);
    module->description = describe(module->entryPoint, refusals);
    return module;
}

} // namespace aaxhost
