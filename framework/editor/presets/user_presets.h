#pragma once
// User preset files: one ".aupreset" property list per preset in the product's folder under
// the user's Audio Presets, holding the unit's class-info state with "name" set to the file's
// stem. Written as XML, read in any property list format, and applied only after the same
// validation the unit's restore uses, so another model's file never reaches the unit.

#include <AudioUnit/AudioUnit.h>
#include <Foundation/Foundation.h>

#include <cstdint>

namespace rackpresets {

// 1 MiB: far above any real state (124 bytes of parameters for Tolvar), small enough that a
// wrong file cannot make the editor hold much memory.
inline constexpr NSUInteger sizeLimit = 1048576;

// The user preset folder, ~/Library/Audio/Presets/Kelvo Audio Lab/<Product>/User Presets,
// standardized. Creates nothing. [main thread]
NSURL userFolder();

// Reads, validates and applies a preset file. False on any failure, with error filled only
// when the system reported one (unreadable or unparsable file); a file that is too large, not
// a regular file, of another model or refused by the unit fails without one. [main thread]
bool load(AudioUnit unit, const NSURL& file, NSError* error);

// Writes the unit's state as a preset named name, atomically. False when the state cannot be
// had or fails validation (no error) or serialising or writing fails (error filled).
// [main thread]
bool save(AudioUnit unit, const NSURL& file, const NSString& name, NSError* error);

} // namespace rackpresets
