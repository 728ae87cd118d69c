// CFBundle: bundle directories, their Info.plist, resources and executable.
//
// What this stand-in promises:
// - A bundle is a directory laid out as
//     <Name>.component/Contents/Info.plist               (XML or binary property list)
//     <Name>.component/Contents/<processor>-linux/<CFBundleExecutable>.so
//     <Name>.component/Contents/Resources/...
//   (any extension: .component, .aaxplugin, .bundle ...), the executable's folder named after
//   the processor the library is built for (x86_64-linux, aarch64-linux). CFBundleCreate
//   refuses (NULL) a directory without a readable Info.plist dictionary.
// - One process-wide registry: creating a bundle for the same directory again returns the same
//   object (retained), and CFBundleGetBundleWithIdentifier finds every bundle created in the
//   process by its CFBundleIdentifier. A bundle entered in the registry lives for the process;
//   releasing the caller's reference does not remove it.
// - CFBundleLoadExecutable opens the shared object with dlopen(RTLD_NOW | RTLD_LOCAL): symbols
//   bind locally, so bundles that define the same C++ symbols load side by side. A loaded
//   executable stays loaded for the life of the process (CFBundleUnloadExecutable does nothing).
// - CFBundleGetFunctionPointerForName and CFBundleGetDataPointerForName find only what the
//   bundle's executable itself defines, loading it first if needed: NULL when the name is
//   absent or defined only in a library the executable depends on (libc's malloc, say), so no
//   other library's function is ever taken for the bundle's entry point.
// - CFBundleCopyResourceURL returns NULL when the file does not exist.
// - The main bundle stands for the running program's directory; it has no identifier unless an
//   Info.plist sits next to the program's Contents folder.
#pragma once

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFURL.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct __CFBundle* CFBundleRef;

// Info.plist keys.
CF_EXPORT const CFStringRef kCFBundleInfoDictionaryVersionKey;
CF_EXPORT const CFStringRef kCFBundleExecutableKey;
CF_EXPORT const CFStringRef kCFBundleIdentifierKey;
CF_EXPORT const CFStringRef kCFBundleVersionKey;
CF_EXPORT const CFStringRef kCFBundleNameKey;
CF_EXPORT const CFStringRef kCFBundleDevelopmentRegionKey;

CF_EXPORT CFTypeID CFBundleGetTypeID(void);

// (+1) or NULL. [main thread, or any thread: the registry is locked]
CF_EXPORT CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
// (+0) or NULL. [any thread]
CF_EXPORT CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);
// (+0) Every bundle in the registry, in creation order; the array is a snapshot owned by the
// library and stays valid until the next call. [any thread]
CF_EXPORT CFArrayRef CFBundleGetAllBundles(void);
// (+0) [any thread]
CF_EXPORT CFBundleRef CFBundleGetMainBundle(void);

// (+0) [any thread]
CF_EXPORT CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
CF_EXPORT CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
CF_EXPORT CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
CF_EXPORT UInt32 CFBundleGetVersionNumber(CFBundleRef bundle);

// (+1) [any thread]
CF_EXPORT CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
CF_EXPORT CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle);
CF_EXPORT CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);
// resourceType is the extension (with or without a leading "."), may be NULL when the name
// carries it; subDirName (under Resources) may be NULL.
CF_EXPORT CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                           CFStringRef resourceType, CFStringRef subDirName);
// (+1) Every resource with the extension in the subdirectory, sorted by name.
CF_EXPORT CFArrayRef CFBundleCopyResourceURLsOfType(CFBundleRef bundle, CFStringRef resourceType,
                                                    CFStringRef subDirName);

// [any thread]
CF_EXPORT Boolean CFBundleLoadExecutable(CFBundleRef bundle);
// Like CFBundleLoadExecutable; the dlerror text goes into *error on failure.
CF_EXPORT Boolean CFBundleLoadExecutableAndReturnError(CFBundleRef bundle, CFErrorRef* error);
CF_EXPORT Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle);
CF_EXPORT void CFBundleUnloadExecutable(CFBundleRef bundle);
CF_EXPORT void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);
CF_EXPORT void* CFBundleGetDataPointerForName(CFBundleRef bundle, CFStringRef symbolName);

#ifdef __cplusplus
}
#endif
