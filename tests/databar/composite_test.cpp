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

std::string squareBrackets(std::string ai) {
    for (char& c : ai) {
        if (c == '(') c = '[';
        if (c == ')') c = ']';
    }
    return ai;
}

// Our rows placed across as the encoder aligned them against the outside
// encoder's rows of the same symbol.
void expectAlignedAs(const std::string& zintOptions, const std::string& zintData) {
    const std::vector<std::string> ours = dbtest::alignedRows();
    const std::vector<std::string> theirs =
        dbtest::trimmed(testsupport::zintRows(zintOptions, zintData));
    ASSERT_EQ(ours.size(), theirs.size());
    for (size_t r = 0; r < ours.size(); ++r) EXPECT_EQ(ours[r], theirs[r]) << "row " << r;
}

// zint's options for the same symbol; the capacity cases carry elements longer
// than their AI allows.
std::string zintOptions(int v, const std::string& primary) {
    return std::string(kZintComposite[v]) + " --gs1nocheck --primary=" + primary;
}

std::vector<std::string> zintRows(int v, const std::string& primary, const std::string& composite) {
    return testsupport::zintRows(zintOptions(v, primary), squareBrackets(composite));
}

void expectSameRows(int v, const std::string& primary, const std::string& composite) {
    SCOPED_TRACE(std::to_string(v) + " " + primary + "|" + composite);
    ASSERT_EQ(dbtest::make(v, primary + "|" + composite), 0) << gMsg.last;
    // Row by row and across: the component stands over the linear part as the
    // outside encoder places it.
    expectAlignedAs(zintOptions(v, primary), squareBrackets(composite));
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

// Limited with CC-A and CC-B components: the separator and the linear row stand
// where the outside encoder puts them under the component.
TEST(Composite, LimitedRowsStandAsTheOutsideEncoderPlacesThem) {
    bool sizes[2] = {};  // CC-A, CC-B met
    const auto limited = [&sizes](const std::string& primary, const std::string& composite) {
        SCOPED_TRACE(primary + "|" + composite);
        ASSERT_EQ(dbtest::make(4, primary + "|" + composite), 0) << gMsg.last;
        sizes[gCc.ccb ? 1 : 0] = true;
        expectAlignedAs("-b 133 --gs1nocheck --primary=" + primary, squareBrackets(composite));
    };
    limited("0361234567890", "(91)ABCDEFGHIJKLMNOPQRSTUVWXYZ1234");
    for (const auto& c : testsupport::readCases("databar/composites.txt", 1)) {
        limited("1501234567890", c[0]);
        limited("0", c[0]);
    }
    // Every size across the step from CC-A to CC-B.
    for (size_t digits = 2; digits <= 64; digits += 2)
        limited("1999999999999", "(21)" + std::string(digits, '7'));
    EXPECT_TRUE(sizes[0] && sizes[1]);
}

// Expanded, Expanded Stacked and the coupon form with a component (among them
// the standard's own example): the component stands as the outside encoder
// places it over the linear part. The outside encoder's separator under the
// component leaves the light parts of the finder patterns from the fifth on
// plain dark, unlike its separators between rows: top rows of up to four here.
TEST(Composite, ExpandedRowsStandAsTheOutsideEncoderPlacesThem) {
    struct Case {
        const char* linear;  // as the AI filter leaves it
        const char* zintLinear;
        const char* composite;
        const char* zintComposite;
        bool oneRow;  // at most 8 characters: Expanded too
    };
    const Case cases[] = {
        {"01937123456789043103001234", "[01]93712345678904[3103]001234", "911A2B3C4D5E",
         "[91]1A2B3C4D5E", true},
        {"0198898765432106", "[01]98898765432106", "21ABC123", "[21]ABC123", true},
        {"0190012345678908320201223315991231", "[01]90012345678908[3202]012233[15]991231",
         "21A1B2C3D4E5F6G7", "[21]A1B2C3D4E5F6G7", true},
        {"019889876543210610ABCDEFGHIJKLMNOPQRST#211234567890AB",
         "[01]98898765432106[10]ABCDEFGHIJKLMNOPQRST[21]1234567890AB",
         "21ABCDEFGHIJKLMNOPQRST#240UVWXYZ0123456789abcdef",
         "[21]ABCDEFGHIJKLMNOPQRST[240]UVWXYZ0123456789abcdef", false},
    };
    for (const Case& c : cases) {
        const std::string data = std::string(c.linear) + "|" + c.composite;
        if (c.oneRow) {
            SCOPED_TRACE(std::string("Expanded ") + c.zintLinear);
            ASSERT_EQ(dbtest::makeDirect(kRssExpanded, 5, data), 0) << gMsg.last;
            expectAlignedAs(std::string("-b 134 --primary=") + c.zintLinear, c.zintComposite);
        }
        for (const int segments : {4, 6, 8})
            for (const int variant : {6, 7}) {
                SCOPED_TRACE(std::to_string(variant) + " in rows of " + std::to_string(segments) +
                             " " + c.zintLinear);
                ASSERT_EQ(dbtest::makeDirect(kRssExpanded, variant, data, std::to_string(segments)),
                          0)
                    << gMsg.last;
                expectAlignedAs(
                    "-b 139 --cols=" + std::to_string(segments / 2) + " --primary=" + c.zintLinear,
                    c.zintComposite);
            }
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
