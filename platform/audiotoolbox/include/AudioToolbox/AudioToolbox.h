#pragma once
// AudioToolbox's umbrella: the Audio Unit calls, the listener utilities and the host-side
// bundle registration.
//
// What this stand-in is: the in-process half of the platform's audio plug-in interface,
// shared by every host and bundle in the process (one component registry, one listener
// registry). Units are written against ausdk (AudioUnitSDK/), which implements the plug-in
// side of these calls.
#include <AudioToolbox/AudioComponentBundle.h>
#include <AudioToolbox/AudioUnitUtilities.h>
#include <AudioUnit/AudioUnit.h>
#include <CoreAudioTypes/CoreAudioTypes.h>
