#pragma once
// The Audio Unit framework's umbrella: components, the unit calls and the properties.
#include <AudioUnit/AUComponent.h>
#include <AudioUnit/AudioComponent.h>
#include <AudioUnit/AudioUnitProperties.h>
