// DataBar-14, Truncated, Stacked and Stacked Omnidirectional: the module rows
// equal those of an outside encoder, the symbols read back through an outside
// reader, and bad data is refused with a message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "databar/RSS14.h"
#include "databar_support.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// zint's number of each member, by variant.
const char* const kZintType[] = {"-b 29", "-b 29", "-b 79", "-b 80"};

std::vector<std::string> gtins() {
    std::vector<std::string> out;
    for (const auto& c : testsupport::readCases("databar/gtins.txt", 1)) out.push_back(c[0]);
    return out;
}

TEST(DataBar14, RowsEqualTheOutsideEncoder) {
    for (int v = 0; v < 4; ++v) {
        for (const std::string& gtin : gtins()) {
            SCOPED_TRACE(std::to_string(v) + " " + gtin);
            ASSERT_EQ(dbtest::make(v, gtin), 0) << gMsg.last;
            const std::vector<std::string> ours = dbtest::moduleRows();
            const std::vector<std::string> theirs = testsupport::zintRows(kZintType[v], gtin);
            ASSERT_EQ(ours.size(), theirs.size());
            for (size_t r = 0; r < ours.size(); ++r)
                EXPECT_TRUE(testsupport::sameModules(ours[r], theirs[r])) << "row " << r;
        }
    }
}

TEST(DataBar14, RowsAndHeights) {
    struct Expect {
        int variant;
        std::vector<int> heights;
    };
    const Expect cases[] = {{0, {33}}, {1, {13}}, {2, {5, 1, 7}}, {3, {33, 1, 1, 1, 33}}};
    for (const Expect& c : cases) {
        SCOPED_TRACE(c.variant);
        ASSERT_EQ(dbtest::make(c.variant, "2001234567890"), 0);
        ASSERT_EQ(gRss.rowCount, static_cast<int32_t>(c.heights.size()));
        for (size_t r = 0; r < c.heights.size(); ++r) EXPECT_EQ(gRss.rowHeight[r], c.heights[r]);
        const std::vector<std::string> rows = dbtest::moduleRows();
        ASSERT_EQ(rows.size(), c.heights.size());
        for (const std::string& row : rows) EXPECT_EQ(row.size(), c.variant < 2 ? 96u : 50u);
    }
}

TEST(DataBar14, ShortDataIsPaddedAndTheTextCarriesTheCheckDigit) {
    ASSERT_EQ(dbtest::make(0, "1", 37, true), 0);
    const std::vector<std::string> padded = dbtest::moduleRows();
    EXPECT_STREQ(gData.chMainCode2, "(01)00000000000017");
    EXPECT_STREQ(gData.chMainCode, "1");  // the data stays as typed
    // The text row closes the list, without a row end.
    const std::string text(reinterpret_cast<const char*>(gEl.chNum) + gEl.cu_len - 18, 18);
    EXPECT_EQ(text, "(01)00000000000017");
    ASSERT_EQ(dbtest::make(0, "0000000000001"), 0);
    EXPECT_EQ(dbtest::moduleRows(), padded);
    EXPECT_EQ(gEl.chNum[gEl.cu_len - 1], 13);
}

TEST(DataBar14, BadDataIsRefusedWithAMessage) {
    const char* const bad[] = {"20012345678901", "20012A4567890", "12 34", "|(10)ABC",
                               "2001234567890|"};
    for (int v = 0; v < 4; ++v) {
        for (const char* data : bad) {
            SCOPED_TRACE(std::to_string(v) + " " + data);
            resetMessages();
            EXPECT_EQ(dbtest::make(v, data), 1);
            EXPECT_EQ(gEl.cu_len, 0);
            EXPECT_FALSE(gMsg.last.empty());
        }
    }
}

// The element list, drawn, reads back through zxing-cpp (single-row members).
TEST(DataBar14, ReadBackFromTheElementList) {
    for (int v = 0; v < 2; ++v) {
        for (const std::string& gtin : gtins()) {
            SCOPED_TRACE(std::to_string(v) + " " + gtin);
            ASSERT_EQ(dbtest::make(v, gtin, 37, true), 0);
            const std::string want = std::string(gData.chMainCode2).substr(4);
            const testsupport::Bitmap b =
                testsupport::rasteriseModuleRows(gEl.chNum, gEl.cu_len, 3, 60, 12);
            EXPECT_EQ(testsupport::decode(b, "DataBar").text, want);
        }
    }
}

}  // namespace
