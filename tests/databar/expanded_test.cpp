// DataBar Expanded and Expanded Stacked: zxing-cpp reads them back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "databar/RSSENC.h"
#include "databar/RSSEXP.h"
#include "databar_support.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

int32_t make(const char* data, int32_t variation1 = 5, const char* segments = "") {
    return dbtest::makeDirect(kRssExpanded, variation1, data, segments);
}

std::vector<std::string> rows() { return dbtest::moduleRows(); }

// The rows at the heights the encoder gave them, 2 pixels a module.
testsupport::Bitmap raster() {
    const std::vector<std::string> r = rows();
    std::vector<std::string> tall;
    for (size_t i = 0; i < r.size(); ++i)
        tall.insert(tall.end(), static_cast<size_t>(gRss.rowHeight[i]), r[i]);
    return testsupport::rasteriseMatrix(tall, 2, 2, 12);
}

std::string readBack() {
    const testsupport::Bitmap b = raster();
    const testsupport::Decoded d = testsupport::decode(b, "DataBarExpanded");
    return d.ok ? d.text : "(unread: " + d.error + ")";
}

// zbarimg's reading: the data with FNC1 as the group separator.
std::string zbarReads() {
    const std::string path = testsupport::tempPath("expanded.pgm");
    testsupport::writePGM(raster(), path);
    std::string out = testsupport::zbarimg(path).out;
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// Every row equals zint's (GS1 form), placed across as the encoder aligned them.
void expectSameAsZint(const std::string& zintData, const std::string& options = "-b 31") {
    const std::vector<std::string> ours = dbtest::alignedRows();
    const std::vector<std::string> zint =
        dbtest::trimmed(testsupport::zintRows(options + " --gs1", zintData));
    ASSERT_EQ(ours.size(), zint.size());
    for (size_t r = 0; r < ours.size(); ++r) EXPECT_EQ(ours[r], zint[r]) << "row " << r;
}

std::string withSeparators(std::string data) {
    std::replace(data.begin(), data.end(), '#', '\x1d');
    return data;
}

// Each compressed and general-purpose encodation method: the rows equal zint's,
// and a reader reads the data (zxing-cpp 1.4 finds no symbol of four or five
// characters; zbar reads those).
TEST(Expanded, EveryMethodReadsAndEqualsZint) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    for (const auto& c : testsupport::readCases("databar/expanded.txt", 3)) {
        SCOPED_TRACE(c[0]);
        ASSERT_EQ(make(c[0].c_str()), 0) << gMsg.last;
        if (rows()[0].size() > 134)
            EXPECT_EQ(readBack(), c[2]);
        else
            EXPECT_EQ(zbarReads(), withSeparators(c[0]));
        expectSameAsZint(c[1]);
    }
}

// Stacked in rows of every even number of segments: zint's rows, the reader's
// reading, and bar rows with three separator rows between each two.
TEST(Expanded, StackedRowsForEverySegmentCount) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    for (const auto& c : testsupport::readCases("databar/expanded_stacked.txt", 4)) {
        const size_t characters = static_cast<size_t>(c.integer(3));
        for (int segments : {2, 4, 6, 8, 10, 20}) {
            SCOPED_TRACE(c[0] + " in rows of " + std::to_string(segments));
            ASSERT_EQ(make(c[0].c_str(), 6, std::to_string(segments).c_str()), 0) << gMsg.last;
            EXPECT_EQ(gMsg.shown, 0);
            const size_t barRows = (characters + segments - 1) / segments;
            EXPECT_EQ(rows().size(), barRows + 3 * (barRows - 1));
            if (characters > 5) {
                EXPECT_EQ(readBack(), c[2]);
            }
            expectSameAsZint(c[1], "-b 81 --cols=" + std::to_string(segments / 2));
        }
    }
    // One character more than 22 does not fit.
    EXPECT_EQ(make("019889876543210610ABCDEFGHIJKLMNOPQRST#211234567890ABCD", 5), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST(Expanded, SegmentsPerRowOutsideTheEvenRangeAreRefused) {
    const char* data = "0198898765432106320201234515991231";  // 8 symbol characters
    for (const char* segments :
         {"0", "3", "abc", "22", "21", "1", "-4", "6abc", "99999999999", "020"}) {
        SCOPED_TRACE(segments);
        EXPECT_EQ(make(data, 6, segments), 1);
        EXPECT_EQ(gEl.cu_len, 0);
        EXPECT_NE(gMsg.last.find("from 2 to 20"), std::string::npos) << gMsg.last;
    }
    // Empty options give four, blanks and a closing return aside.
    for (const char* segments : {"", " 4 ", "4\r"}) {
        ASSERT_EQ(make(data, 6, segments), 0) << gMsg.last;
        // Two rows of four characters with three separator rows between them.
        EXPECT_EQ(rows().size(), 2u + 3u);
        EXPECT_EQ(readBack(), "(01)98898765432106(3202)012345(15)991231");
    }
    // Expanded itself takes no segment option: always one row.
    ASSERT_EQ(make(data, 5, "2"), 0);
    EXPECT_EQ(rows().size(), 1u);
    ASSERT_EQ(make(data, 5, "3"), 0);
}

TEST(Expanded, CompositeNeedsFourSegments) {
    EXPECT_EQ(make("0198898765432106|10ABC", 6, "2"), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_EQ(gMsg.last, "Composite must be at least 4 segments wide");
}

TEST(Expanded, CouponHeaderShowsPrefixAndOfferCode) {
    ASSERT_TRUE(couponHeader("8110106141416543213500110000310123196000"));
    EXPECT_STREQ(gData.chHeadCode, "0614141-654321");
    EXPECT_EQ(gData.len3, 14);
    ASSERT_TRUE(couponHeader("81106123456789012345678"));  // the longest prefix
    EXPECT_STREQ(gData.chHeadCode, "123456789012-345678");
    EXPECT_FALSE(couponHeader("8110712345678901234567890"));  // no length digit 7
    EXPECT_FALSE(couponHeader("811010614141654"));            // the offer code cut short
    EXPECT_FALSE(couponHeader("8110"));
    EXPECT_EQ(dbtest::makeDirect(kRssExpanded, 7, "811091234", "", true), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

}  // namespace
