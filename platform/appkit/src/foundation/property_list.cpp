// Property-list serialisation through Core Foundation.

#include <Foundation/NSPropertyList.h>

NSData NSPropertyListSerialization::dataWithPropertyList(const NSHandle& plist,
                                                         NSPropertyListFormat format,
                                                         NSPropertyListWriteOptions options,
                                                         NSError* error) {
    if (!plist) {
        if (error) {
            *error = NSError(NSCocoaErrorDomain, 3851, "The property list is empty.");
        }
        return NSData();
    }
    CFErrorRef cfError = nullptr;
    CFDataRef data = CFPropertyListCreateData(kCFAllocatorDefault, plist.cf(),
                                              static_cast<CFPropertyListFormat>(format),
                                              static_cast<CFOptionFlags>(options), &cfError);
    if (cfError) {
        CFRelease(cfError);
    }
    if (!data) {
        if (error) {
            *error = NSError(NSCocoaErrorDomain, 3851,
                             "The property list could not be written in this format.");
        }
        return NSData();
    }
    return NSData::bridgeTransfer(data);
}

NSHandle NSPropertyListSerialization::propertyListWithData(const NSData& data,
                                                           NSPropertyListReadOptions options,
                                                           NSPropertyListFormat* format,
                                                           NSError* error) {
    if (!data) {
        if (error) {
            *error = NSError(NSCocoaErrorDomain, 3840, "The data is empty.");
        }
        return NSHandle();
    }
    CFPropertyListFormat cfFormat = 0;
    CFErrorRef cfError = nullptr;
    CFPropertyListRef plist = CFPropertyListCreateWithData(
        kCFAllocatorDefault, data.cf(), static_cast<CFOptionFlags>(options), &cfFormat, &cfError);
    if (cfError) {
        CFRelease(cfError);
    }
    if (!plist) {
        if (error) {
            *error = NSError(NSCocoaErrorDomain, 3840,
                             "The data couldn\u2019t be read because it isn\u2019t in the correct "
                             "format.");
        }
        return NSHandle();
    }
    if (format) {
        *format = static_cast<NSPropertyListFormat>(cfFormat);
    }
    return NSHandle::bridgeTransfer(plist);
}
