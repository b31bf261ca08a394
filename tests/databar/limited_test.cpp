// DataBar Limited: no reader in the test machine decodes it, so the rows are
// held against zint's.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "databar/RSSENC.h"
#include "databar/RSSLIM.h"
#include "databar_support.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

int32_t make(const char* data) { return dbtest::makeDirect(kRssLimited, 4, data); }

std::vector<std::string> rows() { return dbtest::moduleRows(); }

TEST(Limited, RowsEqualZint) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    for (const auto& c : testsupport::readCases("databar/limited_gtins.txt", 1)) {
        const std::string& gtin = c[0];
        SCOPED_TRACE(gtin);
        ASSERT_EQ(make(gtin.c_str()), 0) << gMsg.last;
        const std::vector<std::string> ours = rows();
        ASSERT_EQ(ours.size(), 1u);
        // 74 modules of symbol and 5 light ones after the right guard.
        ASSERT_EQ(ours[0].size(), 79u);
        EXPECT_EQ(ours[0].substr(72), "0100000");
        const std::vector<std::string> zint = testsupport::zintRows("-b 30", gtin);
        ASSERT_EQ(zint.size(), 1u);
        EXPECT_TRUE(testsupport::sameModules(ours[0], zint[0])) << ours[0] << "\n" << zint[0];
    }
}

TEST(Limited, NumbersPastTheRangeAreRefused) {
    EXPECT_EQ(make("2000000000000"), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_NE(gMsg.last.find("2000000000000"), std::string::npos) << gMsg.last;
    EXPECT_EQ(make("9999999999999"), 1);
    EXPECT_EQ(make("12345678901234"), 1);  // 14 digits
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_EQ(make("12345A"), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST(Limited, CompositeLinkageChangesTheCharacters) {
    uint8_t alone[kLimElements];
    uint8_t linked[kLimElements];
    ASSERT_EQ(RSSLimEnc("1501234567890", alone, 0), 1);
    ASSERT_EQ(RSSLimEnc("1501234567890", linked, 1), 1);
    EXPECT_NE(std::memcmp(alone, linked, kLimElements), 0);
    EXPECT_EQ(RSSLimEnc("2000000000000", linked, 1), 0);
}

TEST(Limited, SeparatorIsTheComplementWithLightEnds) {
    uint8_t elements[kLimElements];
    ASSERT_EQ(RSSLimEnc("0950110153001", elements, 1), 1);
    RssParams params;
    const PrintRow& sep = separatorLim(params, elements);
    std::string below = "01";
    bool dark = false;
    for (uint8_t w : elements) {
        below += std::string(w, dark ? '1' : '0');
        dark = !dark;
    }
    below += "01";
    std::string above;
    dark = !sep.whtFirst;
    for (int32_t i = 0; i < sep.elmCnt; ++i) {
        above += std::string(sep.elements[i], dark ? '1' : '0');
        dark = !dark;
    }
    ASSERT_EQ(above.size(), below.size());
    EXPECT_EQ(above.substr(0, 4), "0000");
    EXPECT_EQ(above.substr(above.size() - 4), "0000");
    for (size_t i = 4; i + 4 < below.size(); ++i) EXPECT_NE(above[i], below[i]) << "module " << i;
}

}  // namespace
