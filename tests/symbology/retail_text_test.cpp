#include <gtest/gtest.h>

#include <cstring>

#include "app/world.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// The text line of M&S Top Bottom prints the digits, not the symbol bytes that
// the encoder leaves in the data.
TEST(RetailText, TopBottomPrintsItsDigits) {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = 34;
    gSym.variation = 2;
    copyBounded(gData.chMainCode, "1234567891");
    copyBounded(gData.chMainCode2, "1234567891");
    gData.len1 = gData.len11 = 10;
    ASSERT_EQ(STRixel(), 0);
    int32_t lastRowEnd = -1;
    for (int32_t i = 0; i < gEl.cu_len; ++i)
        if (gEl.chNum[i] == 13) lastRowEnd = i;
    ASSERT_GE(lastRowEnd, 0);
    std::string digits;
    for (int32_t i = lastRowEnd + 1; i < gEl.cu_len; ++i) {
        unsigned char b = gEl.chNum[i];
        if (b >= '0' + 126 && b <= '9' + 126)
            digits += static_cast<char>(b - 126);
        else
            EXPECT_TRUE(b == '=' || b == 'T' || b == 'B' || b == 'L' || b == 'R') << int(b);
    }
    EXPECT_EQ(digits, "1234567");
}

}  // namespace
