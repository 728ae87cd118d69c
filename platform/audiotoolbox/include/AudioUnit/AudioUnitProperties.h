#pragma once
// Audio Unit property IDs, scopes, and the records the properties carry.
//
// Promises: the platform's numbers and layouts (8-byte pointers): AudioUnitParameterInfo 104
// bytes, AUPreset 16, HostCallbackInfo 40, AudioUnitCocoaViewInfo 8 + 8 per class name,
// AUChannelInfo 4, AURenderCallbackStruct 16. Ownership per property (unit side: ausdk):
// - ClassInfo (CFPropertyListRef, 8 bytes): get hands the caller +1 (the caller releases);
//   set borrows the caller's list.
// - ParameterInfo (element = parameter ID): cfNameString is the caller's to release when the
//   flags carry kAudioUnitParameterFlag_CFNameRelease.
// - ParameterValueStrings (element = parameter ID), FactoryPresets (CFArrayRef, 8 bytes): +1,
//   the caller releases the array (FactoryPresets items are AUPreset* owned by the unit).
// - PresentPreset (AUPreset): get gives a presetName the caller releases.
// - CocoaUI: the caller releases the URL and every class name.

#include <AudioUnit/AUComponent.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    kAudioUnitScope_Global = 0,
    kAudioUnitScope_Input = 1,
    kAudioUnitScope_Output = 2,
    kAudioUnitScope_Group = 3,
    kAudioUnitScope_Part = 4,
    kAudioUnitScope_Note = 5,
};

enum {
    kAudioUnitType_Effect = 0x61756678, // 'aufx'
};

enum {
    kAudioUnitProperty_ClassInfo = 0,
    kAudioUnitProperty_MakeConnection = 1,
    kAudioUnitProperty_SampleRate = 2,
    kAudioUnitProperty_ParameterList = 3,
    kAudioUnitProperty_ParameterInfo = 4,
    kAudioUnitProperty_StreamFormat = 8,
    kAudioUnitProperty_ElementCount = 11,
    kAudioUnitProperty_Latency = 12,
    kAudioUnitProperty_SupportedNumChannels = 13,
    kAudioUnitProperty_MaximumFramesPerSlice = 14,
    kAudioUnitProperty_ParameterValueStrings = 16,
    kAudioUnitProperty_TailTime = 20,
    kAudioUnitProperty_BypassEffect = 21,
    kAudioUnitProperty_LastRenderError = 22,
    kAudioUnitProperty_SetRenderCallback = 23,
    kAudioUnitProperty_FactoryPresets = 24,
    kAudioUnitProperty_HostCallbacks = 27,
    kAudioUnitProperty_InPlaceProcessing = 29,
    kAudioUnitProperty_CocoaUI = 31,
    kAudioUnitProperty_PresentPreset = 36,
};

typedef UInt32 AudioUnitParameterUnit;
enum {
    kAudioUnitParameterUnit_Generic = 0,
    kAudioUnitParameterUnit_Indexed = 1,
    kAudioUnitParameterUnit_Boolean = 2,
    kAudioUnitParameterUnit_Percent = 3,
    kAudioUnitParameterUnit_Seconds = 4,
    kAudioUnitParameterUnit_SampleFrames = 5,
    kAudioUnitParameterUnit_Phase = 6,
    kAudioUnitParameterUnit_Rate = 7,
    kAudioUnitParameterUnit_Hertz = 8,
    kAudioUnitParameterUnit_Cents = 9,
    kAudioUnitParameterUnit_RelativeSemiTones = 10,
    kAudioUnitParameterUnit_MIDINoteNumber = 11,
    kAudioUnitParameterUnit_MIDIController = 12,
    kAudioUnitParameterUnit_Decibels = 13,
    kAudioUnitParameterUnit_LinearGain = 14,
    kAudioUnitParameterUnit_Degrees = 15,
    kAudioUnitParameterUnit_EqualPowerCrossfade = 16,
    kAudioUnitParameterUnit_MixerFaderCurve1 = 17,
    kAudioUnitParameterUnit_Pan = 18,
    kAudioUnitParameterUnit_Meters = 19,
    kAudioUnitParameterUnit_AbsoluteCents = 20,
    kAudioUnitParameterUnit_Octaves = 21,
    kAudioUnitParameterUnit_BPM = 22,
    kAudioUnitParameterUnit_Beats = 23,
    kAudioUnitParameterUnit_Milliseconds = 24,
    kAudioUnitParameterUnit_Ratio = 25,
    kAudioUnitParameterUnit_CustomUnit = 26,
};

typedef UInt32 AudioUnitParameterOptions;
enum {
    kAudioUnitParameterFlag_CFNameRelease = (1U << 4),
    kAudioUnitParameterFlag_OmitFromPresets = (1U << 13),
    kAudioUnitParameterFlag_MeterReadOnly = (1U << 15),
    kAudioUnitParameterFlag_HasClump = (1U << 20),
    kAudioUnitParameterFlag_ValuesHaveStrings = (1U << 21),
    kAudioUnitParameterFlag_DisplayLogarithmic = (1U << 22),
    kAudioUnitParameterFlag_IsHighResolution = (1U << 23),
    kAudioUnitParameterFlag_NonRealTime = (1U << 24),
    kAudioUnitParameterFlag_CanRamp = (1U << 25),
    kAudioUnitParameterFlag_ExpertMode = (1U << 26),
    kAudioUnitParameterFlag_HasCFNameString = (1U << 27),
    kAudioUnitParameterFlag_IsGlobalMeta = (1U << 28),
    kAudioUnitParameterFlag_IsElementMeta = (1U << 29),
    kAudioUnitParameterFlag_IsReadable = (1U << 30),
    kAudioUnitParameterFlag_IsWritable = (1U << 31),
};

typedef struct AudioUnitParameterInfo {
    char name[52]; // the units leave it empty and use cfNameString
    CFStringRef unitName;
    UInt32 clumpID;
    CFStringRef cfNameString;
    AudioUnitParameterUnit unit;
    AudioUnitParameterValue minValue;
    AudioUnitParameterValue maxValue;
    AudioUnitParameterValue defaultValue;
    AudioUnitParameterOptions flags;
} AudioUnitParameterInfo;

typedef struct AUChannelInfo {
    SInt16 inChannels; // negative: a wildcard
    SInt16 outChannels;
} AUChannelInfo;

typedef struct AURenderCallbackStruct {
    AURenderCallback inputProc;
    void* inputProcRefCon;
} AURenderCallbackStruct;

typedef struct AUPreset {
    SInt32 presetNumber; // factory presets from 0; -1 for a state or user preset
    CFStringRef presetName;
} AUPreset;

typedef struct AudioUnitCocoaViewInfo {
    CFURLRef mCocoaAUViewBundleLocation;
    CFStringRef mCocoaAUViewClass[1]; // as many as the property size allows
} AudioUnitCocoaViewInfo;

// Host callbacks: every out pointer may be NULL.
typedef OSStatus (*HostCallback_GetBeatAndTempo)(void* inHostUserData, Float64* outCurrentBeat,
                                                 Float64* outCurrentTempo);
typedef OSStatus (*HostCallback_GetMusicalTimeLocation)(void* inHostUserData,
                                                        UInt32* outDeltaSampleOffsetToNextBeat,
                                                        Float32* outTimeSig_Numerator,
                                                        UInt32* outTimeSig_Denominator,
                                                        Float64* outCurrentMeasureDownBeat);
typedef OSStatus (*HostCallback_GetTransportState)(void* inHostUserData, Boolean* outIsPlaying,
                                                   Boolean* outTransportStateChanged,
                                                   Float64* outCurrentSampleInTimeLine,
                                                   Boolean* outIsCycling,
                                                   Float64* outCycleStartBeat,
                                                   Float64* outCycleEndBeat);
typedef OSStatus (*HostCallback_GetTransportState2)(
    void* inHostUserData, Boolean* outIsPlaying, Boolean* outIsRecording,
    Boolean* outTransportStateChanged, Float64* outCurrentSampleInTimeLine, Boolean* outIsCycling,
    Float64* outCycleStartBeat, Float64* outCycleEndBeat);

typedef struct HostCallbackInfo {
    void* hostUserData;
    HostCallback_GetBeatAndTempo beatAndTempoProc;
    HostCallback_GetMusicalTimeLocation musicalTimeLocationProc;
    HostCallback_GetTransportState transportStateProc;
    HostCallback_GetTransportState2 transportStateProc2;
} HostCallbackInfo;

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(AudioUnitParameterInfo) == 104, "parameter info layout");
static_assert(sizeof(AUChannelInfo) == 4, "channel info layout");
static_assert(sizeof(AURenderCallbackStruct) == 16, "render callback layout");
static_assert(sizeof(AUPreset) == 16, "preset layout");
static_assert(sizeof(AudioUnitCocoaViewInfo) == 16, "Cocoa view info layout");
static_assert(sizeof(HostCallbackInfo) == 40, "host callback layout");
#endif
