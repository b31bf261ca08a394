#include <gtest/gtest.h>

#include <string>

#include "linear_support.h"
#include "symbology/Telepen.h"

namespace {

using lineartest::expectRefused;
using lineartest::make;
using lineartest::rowsOf;
using lineartest::symbolModules;
using lineartest::textLine;
using lineartest::trimRight;
using lineartest::zintRows;

struct Telepen : lineartest::World {};

constexpr int32_t kTelepen = 36;

int32_t thousandths(int32_t w) { return w / 1000; }

std::string ourModules() { return symbolModules(rowsOf()[0], thousandths); }

TEST_F(Telepen, AsciiLikeZint) {
    // Start '_', A, B, the check byte 127 - 131 mod 127 = '{', stop 'z'.
    ASSERT_EQ(make(kTelepen, 0, "AB"), 0) << gMsg.last;
    EXPECT_EQ(ourModules(), trimRight(zintRows("TELEPEN", "AB")[0]));
    const std::string all = "Telepen 0123 ~!{}";
    ASSERT_EQ(make(kTelepen, 0, all), 0);
    EXPECT_EQ(ourModules(), trimRight(zintRows("TELEPEN", all)[0]));
}

TEST_F(Telepen, NumericLikeZint) {
    // 12345 takes a leading 0: the pairs 01, 23 and 45 are the bytes 28, 50, 72.
    unsigned char packed[4] = {};
    ASSERT_EQ(telepen_numeric("012345", 6, packed), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(packed), 3), "\x1c\x32\x48");
    ASSERT_EQ(make(kTelepen, 0, "12345", 0, "4"), 0) << gMsg.last;
    EXPECT_EQ(ourModules(), trimRight(zintRows("TELEPEN_NUM", "12345")[0]));
}

TEST_F(Telepen, LimerickCheck) {
    // 0, 1 to 6 weighted 8 down to 2: 77, divisible by 11: '0'.
    EXPECT_EQ(LimerickCheck("0123456", 7), '0');
    EXPECT_EQ(LimerickCheck("0100000", 7), '4');
    gSym.human = 1;
    // 6 x 2 = 12, 11 - 1 = 10: 'X', packed with the 6 before it into one byte.
    ASSERT_EQ(make(kTelepen, 3, "000006"), 0) << gMsg.last;
    EXPECT_EQ(textLine(), "000006X");
    EXPECT_EQ(ourModules(), trimRight(zintRows("TELEPEN_NUM", "0000006X")[0]));
}

TEST_F(Telepen, Checks) {
    const unsigned char telepen[] = "Telepen";
    EXPECT_EQ(TeleCheck(telepen, 7), '-');  // 717 mod 127 = 82; 127 - 82 = 45
    const unsigned char del[] = {127};
    EXPECT_EQ(TeleCheck(del, 1), 0);  // a sum divisible by 127
    const unsigned char nul[] = {0, 0};
    EXPECT_EQ(TeleCheck(nul, 2), 127);
    EXPECT_EQ(Mod11Check("0123456789", 10), '8');  // 1x7 + 2x8 + ... + 8x1 + 9x1 = 135
}

TEST_F(Telepen, TextLines) {
    gSym.human = 1;
    ASSERT_EQ(make(kTelepen, 0, "AB", 1), 0);
    EXPECT_EQ(textLine(), "AB");
    ASSERT_EQ(make(kTelepen, 0, "123456789", 0, "6"), 0) << gMsg.last;
    EXPECT_EQ(textLine(), "123 456789 3");
    ASSERT_EQ(make(kTelepen, 0, "1234567", 0, "7"), 0) << gMsg.last;
    EXPECT_EQ(textLine(), "WP P1234567 9");
    ASSERT_EQ(make(kTelepen, 2, "2123456789012"), 0) << gMsg.last;
    EXPECT_EQ(textLine(), "2  1234  56789012  4");
    EXPECT_EQ(std::string(gData.chMainCode), "2123456789012");
}

TEST_F(Telepen, Refusals) {
    expectRefused(kTelepen, 0, "caf\x8e");
    EXPECT_EQ(make(kTelepen, 0, "12A4", 0, "4"), 1);
    EXPECT_EQ(make(kTelepen, 0, "X1", 0, "4"), 1);
    EXPECT_EQ(make(kTelepen, 3, "12345"), 1);  // Limerick needs 6 digits
    EXPECT_EQ(make(kTelepen, 2, "12AB"), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

}  // namespace
