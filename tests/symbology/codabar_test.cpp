#include <gtest/gtest.h>

#include <string>

#include "linear_support.h"
#include "symbology/Codabar.h"

namespace {

using lineartest::expectRefused;
using lineartest::make;
using lineartest::read;
using lineartest::rowsOf;
using lineartest::textLine;

struct Codabar : lineartest::World {};

constexpr int32_t kCodabar = 8;
const testsupport::ReadOptions kStartStop{false, false, true};

TEST_F(Codabar, ReadsWithItsStartAndStop) {
    struct Case {
        int32_t variant, nCheck;
        const char* data;
        const char* want;
    };
    for (const Case& c :
         {Case{0, 1, "A0123456789-$:/.+B", "A0123456789-$:/.+B"}, Case{0, 1, "T12N", "T12N"},
          Case{0, 1, "*12E", "*12E"}, Case{1, 0, "C123D", "C123D"},
          Case{0, 0, "2123456789012", "A21234567890124B"}, Case{2, 0, "91", "A910B"},
          Case{3, 0, "1234567", "B12345674A"}}) {
        SCOPED_TRACE(c.data);
        ASSERT_EQ(make(kCodabar, c.variant, c.data, c.nCheck), 0) << gMsg.last;
        const testsupport::Decoded d = read("Codabar", kStartStop);
        EXPECT_TRUE(d.ok) << d.error;
        // zxing names the alternate start/stop letters by their main names.
        std::string want = c.want;
        for (char& ch : want)
            ch = ch == 'T' ? 'A' : ch == 'N' ? 'B' : ch == '*' ? 'C' : ch == 'E' ? 'D' : ch;
        EXPECT_EQ(d.text, want);
        EXPECT_EQ(std::string(gData.chMainCode), c.data);  // the data is given back
    }
}

TEST_F(Codabar, Elements) {
    // '1' is 0000110 with the 2.5 : 1 bytes, then the inter-character space.
    ASSERT_EQ(make(kCodabar, 0, "1", 1), 0);
    EXPECT_EQ(rowsOf()[0], std::string("\x82\x80\x82\x80\x8c\x81\x82\x80"));
    // Film: a wide space and a 330 um space behind every character.
    ASSERT_EQ(make(kCodabar, 1, "11", 1), 0);
    EXPECT_EQ(rowsOf()[0], std::string("\x82\x80\x82\x80\x8c\x81\x82\x80\x81;"
                                       "\x82\x80\x82\x80\x8c\x81\x82\x80\x81;"));
    // A space only widens the gap.
    ASSERT_EQ(make(kCodabar, 0, "1 1", 1), 0);
    EXPECT_EQ(rowsOf()[0], std::string("\x82\x80\x82\x80\x8c\x81\x82\x80\x80"
                                       "\x82\x80\x82\x80\x8c\x81\x82\x80"));
}

TEST_F(Codabar, LibraryChecksAndText) {
    EXPECT_EQ(dynixDigit("2123456789012", 13), '4');
    EXPECT_EQ(dynixDigit("2 1234 56789012", 15), '4');  // spaces take no place
    EXPECT_EQ(ameritechDigit("91", 2), '0');            // 9 + 1: divisible by 10
    EXPECT_EQ(ameritechDigit("55", 2), '4');
    gSym.human = 1;
    ASSERT_EQ(make(kCodabar, 0, "2123456789012"), 0);
    EXPECT_EQ(textLine(), "2  1234  56789012  4");
    ASSERT_EQ(make(kCodabar, 2, "21234567890"), 0);
    EXPECT_EQ(textLine(), "2  1234  56789  09");
}

TEST_F(Codabar, Refusals) {
    expectRefused(kCodabar, 0, "a12b", 1);
    expectRefused(kCodabar, 1, "A1%B", 0);
    expectRefused(kCodabar, 0, "12A4", 0);  // a library number holds digits only
    expectRefused(kCodabar, 2, "1-2", 0);
}

}  // namespace
