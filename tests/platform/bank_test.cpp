// Bank peeks and pokes: little-endian layout and bounds.
#include <gtest/gtest.h>

#include "platform/bank.h"

TEST(Bank, LittleEndianValues) {
    Bank b(12);
    b.PokeInt(0, 0x11223344);
    b.PokeShort(4, 0xBEEF);
    b.PokeFloat(8, 1.5f);
    EXPECT_EQ(b.PeekByte(0), 0x44);
    EXPECT_EQ(b.PeekByte(3), 0x11);
    EXPECT_EQ(b.PeekInt(0), 0x11223344);
    EXPECT_EQ(b.PeekShort(4), 0xBEEF);
    EXPECT_EQ(b.PeekByte(5), 0xBE);
    EXPECT_EQ(b.PeekFloat(8), 1.5f);
    b.PokeInt(0, -2);
    EXPECT_EQ(b.PeekInt(0), -2);
}

TEST(Bank, OutOfRangeIsHarmless) {
    Bank b(3);
    b.PokeInt(1, 0x01020304);  // would cross the end
    EXPECT_EQ(b.PeekInt(0), 0);
    EXPECT_EQ(b.PeekShort(2), 0);
    EXPECT_EQ(b.PeekByte(3), 0);
    EXPECT_EQ(b.PeekByte(SIZE_MAX), 0);
    EXPECT_TRUE(b.Has(0, 3));
    EXPECT_FALSE(b.Has(1, 3));
    EXPECT_FALSE(b.Has(SIZE_MAX, 2));
    b.Resize(5);
    EXPECT_EQ(b.PeekByte(4), 0);
    b.Resize(0);
    EXPECT_EQ(b.Size(), 0u);
}
