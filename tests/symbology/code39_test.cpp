#include <string>

#include "symbol_support.h"
#include "symbology/Codabar.h"
#include "symbology/Code39.h"

using namespace symtest;
using testsupport::ReadOptions;

namespace {

using Code39 = World;

constexpr int32_t kCode39 = 6;

TEST_F(Code39, EveryVariantReadsBack) {
    for (const auto& c : testsupport::readCases("symbology/code39_reads.txt", 5)) {
        SCOPED_TRACE(c[0]);
        const int32_t variant = c.integer(1), nCheck = c.integer(2);
        ASSERT_EQ(make(kCode39, variant, c[3], nCheck), 0) << gMsg.last;
        ReadOptions opt;
        opt.code39FullAscii = variant == 10;
        // Code 32 and PZN carry their own check digit and no modulo-43 character.
        opt.code39Check = nCheck == 0 && variant != 3 && variant != 4 && variant != 14;
        const testsupport::Decoded d = read("Code39", opt);
        EXPECT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, c[4]);
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
    for (const auto& [ratio, size] : {std::pair{"3", 100},
                                      {"2", 100},
                                      {"2.2", 100},
                                      {"2.5", 100},
                                      {"9", 120},
                                      {"9", 80},
                                      {"9", 60},
                                      {"9", 40}}) {
        SCOPED_TRACE(std::string(ratio) + " at " + std::to_string(size));
        gSym.Siz = size;
        ASSERT_EQ(make(kCode39, 0, "RATIO-3", 0, ratio), 0);
        EXPECT_EQ(read("Code39", ReadOptions{false, true, false}).text, "RATIO-3");
    }
}

// Check edges that no symbol above reaches.
TEST_F(Code39, VariantCheckEdges) {
    EXPECT_EQ(ALICECheck("X10000"), 'K');
    EXPECT_EQ(CARLMod10Check("100000001", 9), '0');        // 9 + 1
    EXPECT_EQ(CARLMod10Check("12345678901234", 14), '5');  // weights run below zero
    EXPECT_EQ(PZNCheck("000003", 6, 2), 0);                // remainder 10: no such PZN
    EXPECT_EQ(MSICheckMod10("1234 ", 5), '4');             // a trailing space takes no place
    char six[7] = {};
    Code32To39("000000000", six);
    EXPECT_STREQ(six, "000000");
    Code32To39("999999999", six);
    EXPECT_STREQ(six, "XTPLHZ");
}

}  // namespace
