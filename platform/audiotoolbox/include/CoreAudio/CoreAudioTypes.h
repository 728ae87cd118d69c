#pragma once
// The older spelling of the Core Audio types header.
#include <CoreAudioTypes/CoreAudioTypes.h>
