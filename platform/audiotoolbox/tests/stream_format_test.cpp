// The linear PCM description: flags, packet and frame sizes for float and integer samples,
// packed and aligned high, either byte order, interleaved or one buffer a channel.

#include <CoreAudioTypes/CoreAudioTypes.h>

#include <gtest/gtest.h>

namespace {

TEST(LinearPCMDescription, FieldsFollowTheSampleLayout) {
    struct Case {
        const char* name;
        Float64 rate;
        UInt32 channels, validBits, totalBits;
        bool isFloat, bigEndian, nonInterleaved;
        AudioFormatFlags flags;
        UInt32 bytesPerFrame;
    };
    const Case cases[] = {
        // What the units take: 0x29.
        {"float, one buffer a channel", 48000, 2, 32, 32, true, false, true,
         kAudioFormatFlagsNativeFloatPacked | kAudioFormatFlagIsNonInterleaved, 4},
        {"16-bit integer, interleaved", 44100, 2, 16, 16, false, false, false,
         kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsPacked, 4},
        {"24 bits high in 32, big-endian, six channels", 96000, 6, 24, 32, false, true, false,
         kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsBigEndian |
             kAudioFormatFlagIsAlignedHigh,
         24},
        {"double, big-endian, mono", 8000, 1, 64, 64, true, true, false,
         kAudioFormatFlagIsFloat | kAudioFormatFlagIsBigEndian | kAudioFormatFlagIsPacked, 8},
        {"24 bits high in 32, one buffer a channel", 48000, 8, 24, 32, false, false, true,
         kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsAlignedHigh |
             kAudioFormatFlagIsNonInterleaved,
         4},
    };
    for (const Case& c : cases) {
        AudioStreamBasicDescription format;
        format.mReserved = 0xA5A5A5A5;
        FillOutASBDForLPCM(format, c.rate, c.channels, c.validBits, c.totalBits, c.isFloat,
                           c.bigEndian, c.nonInterleaved);
        EXPECT_EQ(format.mSampleRate, c.rate) << c.name;
        EXPECT_EQ(format.mFormatID, static_cast<AudioFormatID>(kAudioFormatLinearPCM)) << c.name;
        EXPECT_EQ(format.mFormatFlags, c.flags) << c.name;
        EXPECT_EQ(format.mBytesPerPacket, c.bytesPerFrame) << c.name;
        EXPECT_EQ(format.mFramesPerPacket, 1u) << c.name;
        EXPECT_EQ(format.mBytesPerFrame, c.bytesPerFrame) << c.name;
        EXPECT_EQ(format.mChannelsPerFrame, c.channels) << c.name;
        EXPECT_EQ(format.mBitsPerChannel, c.validBits) << c.name;
        EXPECT_EQ(format.mReserved, 0xA5A5A5A5u) << c.name << ": not the description's to set";
    }
}

TEST(LinearPCMDescription, InterleavedUnlessSaidOtherwise) {
    AudioStreamBasicDescription format{};
    FillOutASBDForLPCM(format, 48000, 2, 32, 32, true, false);
    EXPECT_EQ(format.mFormatFlags & kAudioFormatFlagIsNonInterleaved, 0u);
    EXPECT_EQ(format.mBytesPerFrame, 8u);
}

} // namespace
