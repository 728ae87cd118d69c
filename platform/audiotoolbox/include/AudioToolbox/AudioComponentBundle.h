#pragma once
// Registering the components a bundle declares. Not a platform call: the platform finds
// component bundles by scanning its folders; our hosts name the bundle they want.
//
// A bundle's Info.plist declares its components in an "AudioComponents" array; each entry is a
// dictionary with "type", "subtype" and "manufacturer" (four-character strings), "name"
// (string), "version" (integer) and "factoryFunction" (the exported factory's symbol name).

#include <AudioUnit/AUComponent.h>

#ifdef __cplusplus
extern "C" {
#endif

// [main thread] Creates and loads the bundle at bundleURL (a .component directory), then
// registers each declared component with the factory found by name. Idempotent per bundle
// path: a second call registers nothing and reports the same bundle and count.
// *outBundle (may be NULL) receives the bundle, owned by the process-wide bundle registry
// (+0: do not release). *outCount (may be NULL) receives the number of components declared.
// Statuses: kAudio_ParamError (NULL URL), kAudio_FileNotFoundError (no bundle there),
// kAudioUnitErr_InvalidFile (executable does not load, no or malformed AudioComponents
// entries, a factory the executable does not itself define, as CFBundleGetFunctionPointerForName
// finds it); nothing is registered when a status is not noErr.
OSStatus AudioComponentRegisterFromBundle(CFURLRef bundleURL, CFBundleRef* outBundle,
                                          UInt32* outCount);

#ifdef __cplusplus
} // extern "C"
#endif
