// Composite components CC-A and CC-B over the DataBar-14 members: the rows equal
// those of an outside encoder and the golden rows kept here, the size switches
// from CC-A to CC-B where the capacities say, and bad composite data is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "databar/CC.h"
#include "databar/RSS14.h"
#include "databar/RSSENC.h"
#include "databar_support.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

const char* const kZintComposite[] = {"-b 132", "-b 132", "-b 137", "-b 138"};

// zint's rows of the same symbol; the capacity cases carry elements longer than
// their AI allows.
std::vector<std::string> zintRows(int v, const std::string& primary, const std::string& composite) {
    std::string ai = composite;
    for (char& c : ai) {
        if (c == '(') c = '[';
        if (c == ')') c = ']';
    }
    return testsupport::zintRows(
        std::string(kZintComposite[v]) + " --gs1nocheck --primary=" + primary, ai);
}

void expectSameRows(int v, const std::string& primary, const std::string& composite) {
    SCOPED_TRACE(std::to_string(v) + " " + primary + "|" + composite);
    ASSERT_EQ(dbtest::make(v, primary + "|" + composite), 0) << gMsg.last;
    // Row by row and across: the component stands over the linear part as the
    // outside encoder places it.
    const std::vector<std::string> ours = dbtest::alignedRows();
    const std::vector<std::string> theirs = dbtest::trimmed(zintRows(v, primary, composite));
    ASSERT_EQ(ours.size(), theirs.size());
    for (size_t r = 0; r < ours.size(); ++r) EXPECT_EQ(ours[r], theirs[r]) << "row " << r;
}

TEST(Composite, RowsEqualTheOutsideEncoder) {
    for (int v = 0; v < 4; ++v)
        for (const auto& c : testsupport::readCases("databar/composites.txt", 1))
            expectSameRows(v, "2001234567890", c[0]);
}

// Rows kept from the outside encoder (ink only), so that a change shows without it.
TEST(Composite, GoldenRows) {
    ASSERT_EQ(dbtest::make(2, "2001234567890|(21)ABC123"), 0);
    const auto golden = testsupport::readCases("databar/composite_rows.txt", 2);
    const std::vector<std::string> rows = dbtest::moduleRows();
    ASSERT_EQ(rows.size(), golden.size());
    ASSERT_EQ(gRss.rowCount, static_cast<int32_t>(golden.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(dbtest::ink(rows[r]), golden[r][1]) << r;
        EXPECT_EQ(gRss.rowHeight[r], golden[r].integer(0)) << r;
    }
}

// A component is CC-A while a CC-A size holds its bits, CC-B from the next bit.
TEST(Composite, CcaGivesWayToCcbAtTheCapacity) {
    struct Edge {
        int variant;
        int digits;  // numeric pairs of 7 bits after the method bit
        bool ccb;
        int rows;
    };
    const Edge edges[] = {
        {0, 56, false, 7},   // 1 + 28 x 7 = 197 bits: the largest CC-A of 4 columns
        {0, 58, true, 10},   // 204 bits
        {2, 46, false, 12},  // 162 bits: the largest CC-A of 2 columns (167)
        {2, 48, true, 17},   // 169 bits
        {3, 46, false, 12}, {3, 48, true, 17},
    };
    for (const Edge& e : edges) {
        SCOPED_TRACE(std::to_string(e.variant) + " " + std::to_string(e.digits));
        const std::string digits = "(21)" + std::string(static_cast<size_t>(e.digits) - 2, '7');
        ASSERT_EQ(dbtest::make(e.variant, "2001234567890|" + digits), 0) << gMsg.last;
        EXPECT_EQ(gCc.ccb, e.ccb);
        EXPECT_EQ(gCc.rows, e.rows);
        expectSameRows(e.variant, "2001234567890", digits);
    }
}

TEST(Composite, TheLinearPartCarriesTheLinkFlagAndStillReads) {
    for (int v = 0; v < 2; ++v) {
        SCOPED_TRACE(v);
        ASSERT_EQ(dbtest::make(v, "2001234567890"), 0);
        const std::string plain = dbtest::moduleRows().back();
        ASSERT_EQ(dbtest::make(v, "2001234567890|(21)ABC123", 37, true), 0);
        const std::string linked = dbtest::moduleRows().back();
        EXPECT_NE(plain, linked);
        // The outside encoder's linear row with a composite is ours.
        const std::vector<std::string> theirs = zintRows(v, "2001234567890", "(21)ABC123");
        ASSERT_FALSE(theirs.empty());
        EXPECT_EQ(dbtest::ink(theirs.back()), dbtest::ink(linked));
        // The linear part reads, showing the link flag as the reader does: the
        // value 10^13 higher, so a leading 1 and the check digit of those 14 digits.
        const testsupport::Bitmap b =
            testsupport::rasteriseModuleRows(gEl.chNum, gEl.cu_len, 3, 30, 12);
        EXPECT_EQ(testsupport::decode(b, "DataBar").text, "120012345678908");
    }
}

TEST(Composite, BadCompositeDataIsRefused) {
    const std::string tooLong4(160, '!');
    const std::string tooLong2(60, '!');
    struct Bad {
        int variant;
        std::string composite;
    };
    const Bad bad[] = {
        {0, tooLong4},  {1, tooLong4},    {2, tooLong2},  {3, tooLong2}, {0, "(21)AB@C"},
        {0, "(21)A$B"}, {0, "(21)A\xa5"}, {0, "(21)A|B"}, {2, ""},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(std::to_string(b.variant) + " " + b.composite);
        resetMessages();
        EXPECT_EQ(dbtest::make(b.variant, "2001234567890|" + b.composite), 1);
        EXPECT_EQ(gEl.cu_len, 0);
        EXPECT_FALSE(gMsg.last.empty());
    }
    // An item number with parentheses is refused with a composite part as
    // without one, DataBar-14 and Limited alike: its digits alone would make
    // another number.
    for (const int v : {0, 2, 4})
        for (const std::string item : {"2)", "(01)2", "1234(5)"}) {
            SCOPED_TRACE(std::to_string(v) + " " + item);
            resetMessages();
            EXPECT_EQ(dbtest::make(v, item + "|(21)ABC"), 1);
            const std::string withComposite = gMsg.last;
            EXPECT_EQ(dbtest::make(v, item), 1);
            EXPECT_EQ(withComposite, gMsg.last);
        }
    // The longest component that fits is made.
    ASSERT_EQ(dbtest::make(0, "2001234567890|" + std::string(148, '!')), 1);
    ASSERT_EQ(dbtest::make(0, "2001234567890|" + std::string(140, '!')), 0) << gMsg.last;
    EXPECT_TRUE(gCc.ccb);
    EXPECT_EQ(gCc.rows, 44);
}

}  // namespace

namespace {

// The separators under a component and between the stacked rows single out the
// light parts of the finder patterns: every finder on either side, against the
// outside encoder.
TEST(Composite, SeparatorsOverEveryFinderPattern) {
    bool left[2][9] = {}, right[2][9] = {};
    auto finder = [](const uint8_t* w) {
        static constexpr uint8_t kFirst[9][3] = {{3, 8, 2}, {3, 5, 5}, {3, 3, 7},
                                                 {3, 1, 9}, {2, 7, 4}, {2, 5, 6},
                                                 {2, 3, 8}, {1, 5, 7}, {1, 3, 9}};
        for (int f = 0; f < 9; ++f)
            if (w[0] == kFirst[f][0] && w[1] == kFirst[f][1] && w[2] == kFirst[f][2]) return f;
        return -1;
    };
    uint64_t seed = 12345;
    int checked = 0;
    for (int n = 0; n < 5000 && checked < 40; ++n) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::string gtin = std::to_string(seed % 10000000000000ULL);
        const std::string digits = std::string(13 - gtin.size(), '0') + gtin;
        for (int linked = 0; linked < 2; ++linked) {
            uint8_t el[kRss14Elements];
            RSS14enc(digits.c_str(), el, linked);
            const uint8_t reversed[3] = {el[33], el[32], el[31]};
            const int l = finder(el + 8), r = finder(reversed);
            if (l < 0 || r < 0 || (left[linked][l] && right[linked][r])) continue;
            left[linked][l] = right[linked][r] = true;
            ++checked;
            SCOPED_TRACE(digits + (linked ? " linked" : ""));
            if (linked) {
                expectSameRows(0, gtin, "(21)A1");
                expectSameRows(3, gtin, "(21)A1");
                continue;
            }
            ASSERT_EQ(dbtest::make(3, gtin), 0);
            const std::vector<std::string> ours = dbtest::alignedRows();
            const std::vector<std::string> theirs =
                dbtest::trimmed(testsupport::zintRows("-b 80", gtin));
            EXPECT_EQ(ours, theirs);
        }
    }
    for (int linked = 0; linked < 2; ++linked)
        for (int f = 0; f < 9; ++f) {
            EXPECT_TRUE(left[linked][f]) << linked << " " << f;
            EXPECT_TRUE(right[linked][f]) << linked << " " << f;
        }
}

}  // namespace
