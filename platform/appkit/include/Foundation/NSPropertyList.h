#pragma once
// NSPropertyListSerialization: property lists to and from data, through Core Foundation.
//
// Promises:
// - dataWithPropertyList writes the XML (NSPropertyListXMLFormat_v1_0) or binary
//   (NSPropertyListBinaryFormat_v1_0) form; the same list gives the same bytes.
// - propertyListWithData reads either form and reports which in *format; nil and an
//   NSCocoaErrorDomain error when the data is not a property list.

#include <Foundation/NSData.h>
#include <Foundation/NSError.h>

typedef NSUInteger NSPropertyListFormat;
enum : NSUInteger {
    NSPropertyListOpenStepFormat = 1,
    NSPropertyListXMLFormat_v1_0 = 100,
    NSPropertyListBinaryFormat_v1_0 = 200,
};

typedef NSUInteger NSPropertyListReadOptions;
typedef NSUInteger NSPropertyListWriteOptions;
enum : NSUInteger {
    NSPropertyListImmutable = 0,
    NSPropertyListMutableContainers = 1,
    NSPropertyListMutableContainersAndLeaves = 2,
};

class FOUNDATION_EXPORT NSPropertyListSerialization {
public:
    static NSData dataWithPropertyList(const NSHandle& plist, NSPropertyListFormat format,
                                       NSPropertyListWriteOptions options, NSError* error);
    static NSHandle propertyListWithData(const NSData& data, NSPropertyListReadOptions options,
                                         NSPropertyListFormat* format, NSError* error);
};
