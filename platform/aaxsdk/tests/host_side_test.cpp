// The host side's data-in port: the newest packet only, copied, within the port's size.

#include <AAXHost/PacketMailbox.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

int taken(aaxhost::PacketMailbox& mailbox) {
    const void* packet = mailbox.take();
    int value = -1;
    if (packet != nullptr) {
        std::memcpy(&value, packet, sizeof value);
    }
    return value;
}

TEST(PacketMailbox, HandsTheReaderTheNewestPacket) {
    aaxhost::PacketMailbox mailbox(8);
    EXPECT_EQ(mailbox.take(), nullptr) << "nothing posted yet";
    int value = 1;
    EXPECT_TRUE(mailbox.post(&value, sizeof value));
    value = 2;
    EXPECT_TRUE(mailbox.post(&value, sizeof value));
    value = 3; // the caller's buffer changes; the posted copy does not
    EXPECT_EQ(taken(mailbox), 2);
    EXPECT_EQ(taken(mailbox), 2) << "kept until a newer one";
    const long long big = 0;
    EXPECT_FALSE(mailbox.post(&big, 9));
    EXPECT_FALSE(mailbox.post(nullptr, 4));
    value = 4;
    EXPECT_TRUE(mailbox.post(&value, 2));
    const auto* bytes = static_cast<const unsigned char*>(mailbox.take());
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[2], 0) << "the rest of the slot is zeroed";
}

} // namespace
