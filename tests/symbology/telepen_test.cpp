#include <string>

#include "symbol_support.h"
#include "symbology/Telepen.h"

using namespace symtest;

namespace {

using Telepen = World;

constexpr int32_t kTelepen = 36;

std::string ourModules() {
    return symbolModules(rowsOf()[0], [](int32_t w) { return w / 1000; });
}

TEST_F(Telepen, ModulesLikeZint) {
    // Start '_', A, B, the check byte 127 - 131 mod 127 = '{', stop 'z'.
    for (const char* ascii : {"AB", "Telepen 0123 ~!{}"}) {
        ASSERT_EQ(make(kTelepen, 0, ascii), 0) << gMsg.last;
        EXPECT_EQ(ourModules(), trimRight(zintRows("TELEPEN", ascii)[0])) << ascii;
    }
    // Numeric: 12345 takes a leading 0.
    ASSERT_EQ(make(kTelepen, 0, "12345", 0, "4"), 0) << gMsg.last;
    EXPECT_EQ(ourModules(), trimRight(zintRows("TELEPEN_NUM", "12345")[0]));
    // Limerick: 6 x 2 = 12, 11 - 1 = 10: 'X', packed with the 6 before it into one byte.
    ASSERT_EQ(make(kTelepen, 3, "000006"), 0) << gMsg.last;
    EXPECT_EQ(ourModules(), trimRight(zintRows("TELEPEN_NUM", "0000006X")[0]));
}

// Check edges that no symbol above reaches.
TEST_F(Telepen, CheckEdges) {
    // 0, 1 to 6 weighted 8 down to 2: 77, divisible by 11: '0'.
    EXPECT_EQ(LimerickCheck("0123456", 7), '0');
    EXPECT_EQ(LimerickCheck("0100000", 7), '4');
    const unsigned char del[] = {127};
    EXPECT_EQ(TeleCheck(del, 1), 0);  // a sum divisible by 127
    const unsigned char nul[] = {0, 0};
    EXPECT_EQ(TeleCheck(nul, 2), 127);
    EXPECT_EQ(Mod11Check("0123456789", 10), '8');  // 1x7 + 2x8 + ... + 8x1 + 9x1 = 135
}

}  // namespace
