#pragma once
// Core Audio data types: the stream description, buffers and time stamps that cross the Audio
// Unit calls. Plain C layouts, the same sizes as on the platform with 8-byte pointers
// (AudioStreamBasicDescription 40 bytes, AudioBuffer 16, AudioTimeStamp 64).
//
// Promises: the layouts and constants below, and FillOutASBDForLPCM for C++; nothing else (no
// audio-format services).

#include <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

// Generic statuses shared by every audio call.
enum {
    kAudio_UnimplementedError = -4,
    kAudio_FileNotFoundError = -43,
    kAudio_ParamError = -50,
    kAudio_MemFullError = -108,
};

typedef UInt32 AudioFormatID;
typedef UInt32 AudioFormatFlags;

enum {
    kAudioFormatLinearPCM = 0x6C70636D, // 'lpcm'
};

enum {
    kAudioFormatFlagIsFloat = (1U << 0),
    kAudioFormatFlagIsBigEndian = (1U << 1),
    kAudioFormatFlagIsSignedInteger = (1U << 2),
    kAudioFormatFlagIsPacked = (1U << 3),
    kAudioFormatFlagIsAlignedHigh = (1U << 4),
    kAudioFormatFlagIsNonInterleaved = (1U << 5),
    kAudioFormatFlagIsNonMixable = (1U << 6),
    kAudioFormatFlagsAreAllClear = 0x80000000U,
    kAudioFormatFlagsNativeEndian = 0, // little-endian host
    kAudioFormatFlagsNativeFloatPacked =
        kAudioFormatFlagIsFloat | kAudioFormatFlagsNativeEndian | kAudioFormatFlagIsPacked,
};

typedef struct AudioStreamBasicDescription {
    Float64 mSampleRate;
    AudioFormatID mFormatID;
    AudioFormatFlags mFormatFlags;
    UInt32 mBytesPerPacket;
    UInt32 mFramesPerPacket;
    UInt32 mBytesPerFrame;
    UInt32 mChannelsPerFrame;
    UInt32 mBitsPerChannel;
    UInt32 mReserved;
} AudioStreamBasicDescription;

// One channel of non-interleaved audio (mNumberChannels 1) or an interleaved block.
typedef struct AudioBuffer {
    UInt32 mNumberChannels;
    UInt32 mDataByteSize;
    void* mData; // may be NULL: "give me your own buffer" in a render call
} AudioBuffer;

// Variable length: mNumberBuffers entries follow, the first declared here.
typedef struct AudioBufferList {
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[1];
} AudioBufferList;

typedef struct SMPTETime {
    SInt16 mSubframes;
    SInt16 mSubframeDivisor;
    UInt32 mCounter;
    UInt32 mType;
    UInt32 mFlags;
    SInt16 mHours;
    SInt16 mMinutes;
    SInt16 mSeconds;
    SInt16 mFrames;
} SMPTETime;

enum {
    kAudioTimeStampNothingValid = 0,
    kAudioTimeStampSampleTimeValid = (1U << 0),
    kAudioTimeStampHostTimeValid = (1U << 1),
    kAudioTimeStampRateScalarValid = (1U << 2),
    kAudioTimeStampWordClockTimeValid = (1U << 3),
    kAudioTimeStampSMPTETimeValid = (1U << 4),
};

typedef struct AudioTimeStamp {
    Float64 mSampleTime;
    UInt64 mHostTime;
    Float64 mRateScalar;
    UInt64 mWordClockTime;
    SMPTETime mSMPTETime;
    UInt32 mFlags;
    UInt32 mReserved;
} AudioTimeStamp;

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(AudioStreamBasicDescription) == 40, "stream description layout");
static_assert(sizeof(AudioBuffer) == 16, "buffer layout");
static_assert(sizeof(AudioBufferList) == 24, "buffer list layout");
static_assert(sizeof(AudioTimeStamp) == 64, "time stamp layout");

// Describes linear PCM: the rate and channel count, samples of validBitsPerChannel significant
// bits in totalBitsPerChannel (packed when the two are equal, else aligned high), float or
// signed integer, in either byte order, interleaved or one buffer a channel. A packet is one
// frame; its bytes are one sample's when non-interleaved, else a sample's for every channel.
// mReserved is left as it was. [any thread]
inline void FillOutASBDForLPCM(AudioStreamBasicDescription& outASBD, Float64 inSampleRate,
                               UInt32 inChannelsPerFrame, UInt32 inValidBitsPerChannel,
                               UInt32 inTotalBitsPerChannel, bool inIsFloat, bool inIsBigEndian,
                               bool inIsNonInterleaved = false) {
    AudioFormatFlags flags = inIsFloat ? kAudioFormatFlagIsFloat : kAudioFormatFlagIsSignedInteger;
    if (inIsBigEndian) {
        flags |= kAudioFormatFlagIsBigEndian;
    }
    flags |= inValidBitsPerChannel == inTotalBitsPerChannel ? kAudioFormatFlagIsPacked
                                                            : kAudioFormatFlagIsAlignedHigh;
    if (inIsNonInterleaved) {
        flags |= kAudioFormatFlagIsNonInterleaved;
    }
    const UInt32 bytesPerFrame =
        (inIsNonInterleaved ? 1 : inChannelsPerFrame) * (inTotalBitsPerChannel / 8);
    outASBD.mSampleRate = inSampleRate;
    outASBD.mFormatID = kAudioFormatLinearPCM;
    outASBD.mFormatFlags = flags;
    outASBD.mBytesPerPacket = bytesPerFrame;
    outASBD.mFramesPerPacket = 1;
    outASBD.mBytesPerFrame = bytesPerFrame;
    outASBD.mChannelsPerFrame = inChannelsPerFrame;
    outASBD.mBitsPerChannel = inValidBitsPerChannel;
}
#endif
