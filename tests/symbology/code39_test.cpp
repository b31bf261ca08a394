#include <gtest/gtest.h>

#include <string>

#include "linear_support.h"
#include "symbology/Code39.h"

namespace {

using lineartest::expectRefused;
using lineartest::make;
using lineartest::read;
using lineartest::textLine;
using testsupport::ReadOptions;

struct Code39 : lineartest::World {};

constexpr int32_t kCode39 = 6;

struct ReadCase {
    const char* name;
    int32_t variant;
    int32_t nCheck;
    const char* data;
    const char* want;  // what the reader reports, the modulo-43 check removed
};

const ReadCase kReads[] = {
    {"plain", 0, 0, "CODE39", "CODE39"},
    {"plain without check", 0, 1, "CODE39", "CODE39"},
    {"all characters", 0, 0, "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ-.$/+%",
     "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ-.$/+%"},
    {"full ascii", 10, 0, "Code39 lower-case!", "Code39 lower-case!"},
    {"full ascii controls", 10, 0, "\x01\x7f@[a%", "\x01\x7f@[a%"},
    {"full ascii without check", 10, 1, "a", "a"},
    {"code 32", 3, 1, "A01234567", "0CSSBD"},
    {"code 32 checked", 3, 0, "A01234567", "0CSSBD"},
    {"pzn7", 4, 1, "PZN-1234562", "-1234562"},
    {"pzn8", 14, 1, "PZN-12345678", "-12345678"},
    {"hibc", 5, 0, "+A123BJC5D6E71", "+A123BJC5D6E71"},
    {"dynix", 2, 0, "2123456789012", "21234567890124"},
    {"dynix spaced", 2, 0, "2 1234 56789012", "21234567890124"},
    {"dutch", 6, 0, "12345678901234", "1234567890123"},
    {"portuguese", 7, 0, "123456789", "1234567"},
    {"act", 8, 0, "ABC123456", "ABC12345A"},
    {"act of eight", 8, 0, "12 4-678", "12 4-678C"},
    {"alice", 9, 0, "X29000Z1234", "X29000A1234"},
    {"carl", 11, 0, "123456789", "1234567895"},
    {"ameritech", 12, 0, "91", "910"},
    {"msi", 13, 0, "1234567", "12345674"},
};

TEST_F(Code39, EveryVariantReadsBack) {
    for (const ReadCase& c : kReads) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(make(kCode39, c.variant, c.data, c.nCheck), 0) << gMsg.last;
        ReadOptions opt;
        opt.code39FullAscii = c.variant == 10;
        opt.code39Check = c.nCheck == 0;
        const testsupport::Decoded d = read("Code39", opt);
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, c.want);
    }
}

TEST_F(Code39, CheckCharacterOfTheStandardExample) {
    ASSERT_EQ(make(kCode39, 0, "CODE39"), 0);
    EXPECT_EQ(read("Code39").text, "CODE39W");
    // Full ASCII: the check counts the characters encoded, "+A" for 'a' (41 + 10).
    ASSERT_EQ(make(kCode39, 10, "a"), 0);
    EXPECT_EQ(read("Code39").text, "+A8");
}

TEST_F(Code39, EveryRatioReads) {
    struct Ratio {
        const char* options;
        double size;
    };
    for (Ratio r : {Ratio{"3", 100}, Ratio{"2", 100}, Ratio{"2.2", 100}, Ratio{"2.5", 100},
                    Ratio{"9", 120}, Ratio{"9", 80}, Ratio{"9", 60}, Ratio{"9", 40}}) {
        SCOPED_TRACE(std::string(r.options) + " at " + std::to_string(r.size));
        gSym.Siz = r.size;
        ASSERT_EQ(make(kCode39, 0, "RATIO-3", 0, r.options), 0);
        EXPECT_EQ(read("Code39", ReadOptions{false, true, false}).text, "RATIO-3");
    }
}

TEST_F(Code39, WideElementsFollowTheRatio) {
    // The start character '*' behind the eight bytes of light margin: narrow
    // bar, wide space, narrow bar, narrow space, wide bar, narrow space, wide
    // bar, narrow space, narrow bar, gap.
    auto startOf = [] { return lineartest::rowsOf()[0].substr(8, 16); };
    ASSERT_EQ(make(kCode39, 0, "1", 1, "3"), 0);
    EXPECT_EQ(startOf(),
              std::string("\x82\x80\x80\x80\x82\x80\x82\x82\x82\x80\x82\x82\x82\x80\x82\x80"));
    gSym.BW = 2;
    ASSERT_EQ(make(kCode39, 0, "1", 1, "2.5"), 0);
    EXPECT_EQ(lineartest::rowsOf()[0].substr(8, 10),
              std::string("\x84\x81\x84\x80\x8e\x80\x8e\x80\x84\x80"));
}

TEST_F(Code39, TextLines) {
    gSym.human = 1;
    ASSERT_EQ(make(kCode39, 2, "2123456789012"), 0);
    EXPECT_EQ(textLine(), "2  1234  56789012  4");
    EXPECT_EQ(std::string(gData.chMainCode), "2123456789012");  // given back as entered
    ASSERT_EQ(make(kCode39, 2, "2 1234 56789012"), 0);
    EXPECT_EQ(textLine(), "2 1234 567890124");
    ASSERT_EQ(make(kCode39, 11, "123456789"), 0);
    EXPECT_EQ(textLine(), "12345  67895");
    ASSERT_EQ(make(kCode39, 5, "+A123BJC5D6E71"), 0);
    EXPECT_EQ(textLine(), "+A123BJC5D6E71G");
    ASSERT_EQ(make(kCode39, 6, "1234567890123"), 0);
    EXPECT_EQ(textLine(), "*12345678901238*");
    ASSERT_EQ(make(kCode39, 3, "A01234567"), 0);
    EXPECT_EQ(textLine(), "A012345676");
    ASSERT_EQ(make(kCode39, 4, "PZN-1234562"), 0);
    EXPECT_EQ(textLine(), "PZN-1234562");
    ASSERT_EQ(make(kCode39, 0, "CODE39"), 0);
    EXPECT_EQ(textLine(), "CODE39");
}

TEST_F(Code39, VariantChecks) {
    EXPECT_EQ(ALICECheck("X29000"), 'A');  // digit sum 11
    EXPECT_EQ(ALICECheck("X10000"), 'K');
    EXPECT_EQ(CARLMod10Check("100000001", 9), '0');        // 9 + 1
    EXPECT_EQ(CARLMod10Check("12345678901234", 14), '5');  // weights run below zero
    EXPECT_EQ(ACTCheck("ABC123456"), 'A');                 // 1461 mod 23 = 12
    // 8 characters and the terminating NUL: the sum is negative (-572), its
    // remainder taken as 3, not -20.
    EXPECT_EQ(ACTCheck("12 4-678"), 'C');
    char six[7] = {};
    Code32To39("000000000", six);
    EXPECT_STREQ(six, "000000");
    Code32To39("999999999", six);
    EXPECT_STREQ(six, "XTPLHZ");
    EXPECT_EQ(code32Check("A0123456"), '6');
}

TEST_F(Code39, Refusals) {
    expectRefused(kCode39, 0, "code39");    // lower case outside full ASCII
    expectRefused(kCode39, 0, "AB*CD");     // the start/stop character inside the data
    expectRefused(kCode39, 10, "caf\x8e");  // no ASCII character
    expectRefused(kCode39, 3, "A0123456");  // Code 32 needs eight digits
    expectRefused(kCode39, 3, "A01234X67");
    expectRefused(kCode39, 4, "PZN-123456");
    expectRefused(kCode39, 14, "PZN-1234567");
    expectRefused(kCode39, 8, "1234567");
    expectRefused(kCode39, 9, "X2900");
    expectRefused(kCode39, 9, "XAB000Z1234");
    expectRefused(kCode39, 2, "12A4");
    expectRefused(kCode39, 12, "-");
    expectRefused(kCode39, 2, "   ");
}

}  // namespace
