#include "PixelView.h"

#include <gtest/gtest.h>

namespace {

TEST(PixelView, SubBytePixelsLeaveTheirNeighboursAlone) {
    std::uint8_t row[2] = {0xFF, 0x00};
    WritePixelValue(row, 3, 1, 0);
    WritePixelValue(row, 9, 1, 1);
    EXPECT_EQ(row[0], 0xEF);
    EXPECT_EQ(row[1], 0x40);
    EXPECT_EQ(ReadPixelValue(row, 3, 1), 0u);
    EXPECT_EQ(ReadPixelValue(row, 9, 1), 1u);

    std::uint8_t nibbles[2] = {0x12, 0x34};
    WritePixelValue(nibbles, 1, 4, 0xF);
    WritePixelValue(nibbles, 2, 4, 0x0);
    EXPECT_EQ(nibbles[0], 0x1F);
    EXPECT_EQ(nibbles[1], 0x04);
    EXPECT_EQ(ReadPixelValue(nibbles, 3, 4), 4u);
}

TEST(PixelView, WideValuesAreLittleEndian) {
    std::uint8_t row[8] = {};
    WritePixelValue(row, 1, 24, 0x00ABCDEF);
    EXPECT_EQ(row[3], 0xEF);
    EXPECT_EQ(row[5], 0xAB);
    EXPECT_EQ(ReadPixelValue(row, 1, 24), 0x00ABCDEFu);
    WritePixelValue(row, 1, 32, 0x01020304);
    EXPECT_EQ(row[4], 0x04);
    EXPECT_EQ(row[7], 0x01);
    EXPECT_EQ(ReadPixelValue(row, 3, 16), 0x0102u);
}

TEST(PixelView, StridesArePaddedToFourBytes) {
    EXPECT_EQ(DibStride(5, 1), 4);
    EXPECT_EQ(DibStride(9, 4), 8);
    EXPECT_EQ(DibStride(5, 24), 16);
    EXPECT_EQ(RowPayloadBytes(5, 24), 15);
    EXPECT_EQ(RowPayloadBytes(9, 4), 5);
}

TEST(PixelView, ValidityCatchesOverlappingRowsAndOddDepths) {
    std::uint8_t bits[64] = {};
    EXPECT_TRUE((TPixelView{4, 4, 12, 24, bits}.IsValid()));
    EXPECT_TRUE((TPixelView{4, 4, -12, 24, bits + 36}.IsValid()));
    EXPECT_FALSE((TPixelView{4, 4, 8, 24, bits}.IsValid()));
    EXPECT_FALSE((TPixelView{4, 4, 12, 12, bits}.IsValid()));
    EXPECT_FALSE((TPixelView{4, 4, 12, 24, nullptr}.IsValid()));
    EXPECT_TRUE((TPixelView{0, 0, 0, 24, nullptr}.IsValid()));
}

} // namespace
