#include <string>
#include <vector>

#include "symbol_support.h"
#include "symbology/Postal.h"

using namespace symtest;

namespace {

using Postal = World;

constexpr int32_t kRoyalMail = 30, kPostnet = 31, kFIM = 32;
constexpr size_t kLeadingBlanks = 3;

// Every bar position and gap is one module.
std::string bandModules(const std::string& row, size_t skip) {
    const std::string m = moduleString(row, [](int32_t) { return 1; });
    return trimRight(m.substr(std::min(skip, m.size())));
}

void expectBandsLikeZint(const char* zintType, const std::string& data, size_t bands, size_t skip) {
    const std::vector<std::string> ours = rowsOf();
    const std::vector<std::string> zint = zintRows(zintType, data);
    ASSERT_EQ(zint.size(), bands);
    ASSERT_GE(ours.size(), bands);
    for (size_t b = 0; b < bands; ++b) {
        SCOPED_TRACE("band " + std::to_string(b));
        EXPECT_EQ(bandModules(ours[b], skip), trimRight(zint[b]));
    }
}

TEST_F(Postal, RoyalMailBandsAndCheck) {
    ASSERT_EQ(make(kRoyalMail, 0, "SN34RD1A"), 0) << gMsg.last;
    EXPECT_EQ(gData.chMainCode[8], 'K');  // behind the data, outside len1
    EXPECT_EQ(gData.len1, 8);
    expectBandsLikeZint("RM4SCC", "SN34RD1A", 3, kLeadingBlanks);
    // Lower case encodes as upper case.
    ASSERT_EQ(make(kRoyalMail, 0, "sn34rd1a"), 0);
    expectBandsLikeZint("RM4SCC", "SN34RD1A", 3, kLeadingBlanks);
    // Row sum 2 and column sum 5 (k = 11): the check character A, bars 2323.
    ASSERT_EQ(make(kRoyalMail, 0, "30"), 0);
    EXPECT_EQ(gData.chMainCode[2], 'A');
    expectBandsLikeZint("RM4SCC", "30", 3, kLeadingBlanks);
}

TEST_F(Postal, KixHasNoStartStopOrCheck) {
    gSym.human = 1;
    ASSERT_EQ(make(kRoyalMail, 1, "2500GG30250"), 0) << gMsg.last;
    expectBandsLikeZint("KIX", "2500GG30250", 3, kLeadingBlanks);
    EXPECT_EQ(textLine(), "2500GG30250");
}

TEST_F(Postal, PostnetBandsAndCheck) {
    ASSERT_EQ(make(kPostnet, 0, "12345"), 0) << gMsg.last;
    EXPECT_EQ(gData.chMainCode[5], '5');
    expectBandsLikeZint("POSTNET", "12345", 2, 0);
    // Frame bars included: 2 + 6 x 5 bars in each band.
    const std::string m = moduleString(rowsOf()[1], [](int32_t) { return 1; });
    EXPECT_EQ(m.size(), 2u * (2 + 6 * 5));
    // A digit sum divisible by 10: the check digit 0, tall-tall-short-short-short.
    ASSERT_EQ(make(kPostnet, 0, "55"), 0);
    EXPECT_EQ(gData.chMainCode[2], '0');
    expectBandsLikeZint("POSTNET", "55", 2, 0);
}

TEST_F(Postal, FimPatterns) {
    for (const char* letter : {"A", "B", "C", "D"}) {
        SCOPED_TRACE(letter);
        ASSERT_EQ(make(kFIM, 0, letter), 0);
        const std::vector<std::string> zint = zintRows("FIM", letter);
        ASSERT_EQ(zint.size(), 1u);
        EXPECT_EQ(bandModules(rowsOf()[0], 0), trimRight(zint[0]));
    }
}

}  // namespace
