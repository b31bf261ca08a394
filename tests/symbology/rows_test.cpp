#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "symbol_support.h"

namespace {

using symtest::setData;

// Bar, space, bar, bar (two bytes of one bar), then the right quiet zone.
const std::string kRow = "\xBE;\xBE\xC4?=";

struct Rows : symtest::World {
    // A first row as a linear encoder leaves it.
    static void firstRow(const std::string& bytes) {
        for (unsigned char b : bytes) gEl.put(b);
    }
    static int countRowEnds() {
        int n = 0;
        for (int i = 0; i < gEl.cu_len; ++i) n += gEl.chNum[i] == 13;
        return n;
    }
    // The text line behind a one-row symbol made from the current data.
    static std::string textLine() {
        gEl.clear();
        firstRow(kRow);
        Vector(kRowUnit10pt);
        Humans1();
        return after(static_cast<int>(kRow.size()) + 1);
    }
    static std::string after(int from) {
        return std::string(reinterpret_cast<const char*>(gEl.chNum) + from, gEl.cu_len - from);
    }
};

// Height 0 and two row units of 3527 um at 100 % give one row, exactly three
// units three rows; every row is a copy of the first.
TEST_F(Rows, RowsByHeight) {
    firstRow(kRow);
    Vector(kRowUnit10pt);
    EXPECT_EQ(gEl.cu_len, 7);
    EXPECT_EQ(gEl.chNum[6], 13);
    EXPECT_EQ(gRows.glastbar[0], 2);  // the last bar starts at the 190 before the 196

    for (const auto& [height, rows] : {std::pair{7.054, 1}, {10.581, 3}, {10.580, 2}}) {
        gEl.clear();
        firstRow(kRow);
        gSym.Hei = height;
        Vector(kRowUnit10pt);
        ASSERT_EQ(countRowEnds(), rows) << height;
        for (int r = 1; r < rows; ++r)
            EXPECT_EQ(std::memcmp(gEl.chNum, gEl.chNum + 7 * r, 7), 0) << "row " << r;
    }
}

TEST_F(Rows, ItfSixEndsWithoutRowEnd) {
    gSym.code = 14;
    firstRow(kRow);
    gSym.Hei = 10.581;
    Vector(kRowUnit5pt);
    EXPECT_NE(gEl.chNum[gEl.cu_len - 1], 13);
    EXPECT_NE(charToWidth(gEl.chNum[gEl.cu_len - 1]), kNoElement);
}

TEST_F(Rows, TallSymbolStopsAtWholeRowsAndLeavesRoomForText) {
    setData("ABCDEFGHIJ");
    firstRow(std::string(500, '\xBE'));
    gSym.Hei = 100000;
    Vector(kRowUnit10pt);
    EXPECT_FALSE(gEl.overflow);
    EXPECT_EQ(gEl.cu_len % 501, 0);
    Humans1();
    EXPECT_FALSE(gEl.overflow);
    EXPECT_EQ(after(gEl.cu_len - 10), "ABCDEFGHIJ");
}

TEST_F(Rows, FirstRowThatFillsTheListDoesNotPassItsEnd) {
    firstRow(std::string(kElementListSize, '\xBE'));
    Vector(kRowUnit10pt);
    Humans1();
    EXPECT_TRUE(gEl.overflow);
    EXPECT_EQ(gEl.cu_len, static_cast<int32_t>(kElementListSize));
}

TEST_F(Rows, Code128TextUsesBarFontBrackets) {
    gSym.code = 7;
    setData("(01)123");
    EXPECT_EQ(textLine(), ">01<123");
    pstrSet(gSym.fontBelow, "Helvetica");
    EXPECT_EQ(textLine(), "(01)123");
}

TEST_F(Rows, InterleavedLayouts) {
    // The encoder leaves the data with its check digit 1; the text takes the
    // printed copy and that last digit.
    auto itf = [](int variant) {
        gSym.variation1 = variant;
        setData("1234567890123");
        std::strcpy(gData.chMainCode, "12345678901231");
        gData.len1 = 14;
        return textLine();
    };
    gSym.code = 4;
    EXPECT_EQ(itf(3), "1234567890123 1");
    EXPECT_EQ(gData.len1, 14);
    EXPECT_EQ(itf(13), "1?23?45678?90123?1");  // groups of 1, 2, 5, 5 and 1 digits
    gSym.chSpace = 1;
    EXPECT_EQ(itf(0), "1?2?3???4?5?6?7?8???9?0?1?2?3???1");

    // Next 9: hyphens after the third and sixth digits, no check digit.
    gSym.variation1 = 14;
    gSym.nCheck = 1;
    setData("123456789");
    EXPECT_EQ(textLine(), "123-456-789");
}

// The DataBar driver writes the printed text; the data stays as typed.
TEST_F(Rows, DataBarTextIsThePrintedCopy) {
    gSym.code = 37;
    setData("950110153000");
    std::strcpy(gData.chMainCode2, "(01)09501101530003");
    gData.len11 = 18;
    EXPECT_EQ(textLine(), "(01)09501101530003");
    EXPECT_STREQ(gData.chMainCode, "950110153000");
}

TEST_F(Rows, PlainTextVariants) {
    gSym.code = 6;
    gSym.variation1 = 6;
    setData("1234567");
    gData.chMainCode[7] = 'K';  // the check character behind the data
    gData.chMainCode[8] = 0;
    EXPECT_EQ(textLine(), "*1234567K*");

    gSym.code = 35;
    gSym.variation1 = 1;
    setData("1234567");
    EXPECT_EQ(textLine(), "1234-567");

    gSym.code = 20;
    setData("12345678");
    EXPECT_EQ(textLine(), "123 456 78");
}

TEST_F(Rows, ShoeLetters) {
    gSym.code = 15;
    gSym.variation = 1;
    setData("1234567891");
    std::string want = "===L===";
    for (char c : std::string("1234")) want += static_cast<char>(c + 126);
    want += "==";
    for (char c : std::string("567")) want += static_cast<char>(c + 126);
    want += "====L===";
    EXPECT_EQ(textLine(), want);
}

}  // namespace
