// The EAN family through the generation dispatcher, as the program makes it.
#include "ean_support.h"

using namespace eantest;

namespace {

struct EanDispatch : World {
    static void type(int code, int variant = 0) {
        gSym.code = code;
        gSym.variation1 = variant;
    }
};

TEST_F(EanDispatch, LengthRuleAndReadBack) {
    type(0);
    setData("40063813339");
    EXPECT_EQ(STRixel(), 1);
    EXPECT_EQ(gMsg.last, "EAN 13 needs 12 digits.");

    setData("4006381333931");  // a 13th digit is cut by the length rule
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "4006381333931");
    EXPECT_STREQ(gData.chMainCode3, "4006381333931");

    // An add-on of another length is dropped; the main symbol is made.
    setData("501234567890", "123");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(rowsOf().size(), 3u);
    EXPECT_EQ(readBack("EAN-13").text, "5012345678900");

    setData("501234567890", "52495");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13", true).text, "5012345678900 52495");
}

TEST_F(EanDispatch, RetailPrefixes) {
    type(0, 6);
    setData("12345");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "5015025123455");
    EXPECT_STREQ(gData.chHeadCode, "         Item Code: 12345");

    type(0, 12);
    setData("12345678");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "4850123456781");
    EXPECT_EQ(textLine(), S(7) + "485012" + S(5) + "3456781" + S(3));

    // Plus and PIP carry their add-on as the text above; MotherCare drops it.
    type(26);
    setData("400638133393", "AB");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "4006381333931");
    EXPECT_STREQ(gData.chHeadCode, "AB ");
    type(27);
    setData("400638133393", "1234");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "4006381333931");
    EXPECT_STREQ(gData.chHeadCode, "PIP   1234");
    type(25);
    setData("400638133393", "52495");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(rowsOf()[0].size(), 67u);
    EXPECT_EQ(readBack("EAN-13").text, "4006381333931");
}

TEST_F(EanDispatch, WhSmithAndUpcE) {
    type(3, 1);
    setData("12345");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-8").text, "00123457");

    type(11, 1);
    setData("0123456");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("UPC-E").text, "01234565");
    EXPECT_STREQ(gData.chMainCode4, "0123456");  // the data as entered

    for (int v : {0, 1}) {
        type(11, v);
        setData(v == 0 ? "21234500006" : "2123456");
        EXPECT_EQ(STRixel(), 1) << v;
        EXPECT_EQ(gMsg.last, messageText(65)) << v;
        EXPECT_EQ(gEl.cu_len, 0) << v;
    }
}

TEST_F(EanDispatch, BooksAndSerials) {
    type(1);
    setData("030640615");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "9780306406157");
    type(1, 3);
    setData("977186197271");
    EXPECT_EQ(STRixel(), 1);
    EXPECT_EQ(gMsg.last, "ISBN's must start with 978 or 979");
    // ISSN data is never cut: eight digits still take the issue number 00.
    type(2);
    setData("03178479");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13").text, "9770317847001");
    type(2);
    setData("031784712", "05");
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(readBack("EAN-13", true).text, "9770317847124 05");
}

}  // namespace
