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
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

class Expanded : public ::testing::Test {
  protected:
    void SetUp() override {
        resetWorld();
        resetMessages();
        resetDataBarState();
        gMsg.quiet = true;
        gSym.code = 37;
        gSym.variation1 = 5;
        gSym.human = 0;
    }
};

// data is what the AI filter leaves: '#' after variable-length fields.
int32_t make(const char* data, int32_t variation1 = 5, const char* segments = "") {
    gSym.variation1 = variation1;
    std::strcpy(gData.chMainCode, data);
    gData.len1 = static_cast<int32_t>(std::strlen(data));
    std::strcpy(gData.chAddCode, segments);
    return mainRSS14A(kRssExpanded);
}

std::vector<std::string> rows() { return testsupport::moduleRowStrings(gEl.chNum, gEl.cu_len); }

// The rows at the heights the encoder gave them, 2 pixels a module.
testsupport::Bitmap raster() {
    constexpr int kPx = 2;
    constexpr int kQuiet = 12 * kPx;
    const std::vector<std::string> r = rows();
    size_t width = 0;
    int height = 0;
    for (size_t i = 0; i < r.size(); ++i) {
        width = std::max(width, r[i].size());
        height += gRss.rowHeight[i] * kPx;
    }
    testsupport::Bitmap b;
    b.width = static_cast<int>(width) * kPx + 2 * kQuiet;
    b.height = height + 2 * kQuiet;
    b.pixels.assign(static_cast<size_t>(b.width) * b.height, 255);
    int y = kQuiet;
    for (size_t i = 0; i < r.size(); ++i) {
        for (int dy = 0; dy < gRss.rowHeight[i] * kPx; ++dy, ++y)
            for (size_t x = 0; x < r[i].size(); ++x)
                if (r[i][x] == '1')
                    for (int dx = 0; dx < kPx; ++dx)
                        b.pixels[static_cast<size_t>(y) * b.width + kQuiet + x * kPx + dx] = 0;
    }
    return b;
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

std::string withSeparators(std::string data) {
    std::replace(data.begin(), data.end(), '#', '\x1d');
    return data;
}

TEST_F(Expanded, PublicExampleIs200ModulesWideAndReads) {
    ASSERT_EQ(make("0198898765432106320201234515991231"), 0) << gMsg.last;
    const std::vector<std::string> r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].size(), 200u);
    EXPECT_EQ(readBack(), "(01)98898765432106(3202)012345(15)991231");
}

struct Case {
    const char* data;  // after the AI filter
    const char* zint;  // zint's GS1 form
    const char* read;  // what a reader returns
};

// Every row equals zint's, placed across as the encoder aligned them.
void expectSameAsZint(const Case& c, const std::string& options = "-b 31") {
    const std::vector<std::string> ours = dbtest::alignedRows();
    const std::vector<std::string> zint =
        dbtest::trimmed(testsupport::zintRows(options + " --gs1", c.zint));
    ASSERT_EQ(ours.size(), zint.size());
    for (size_t r = 0; r < ours.size(); ++r) EXPECT_EQ(ours[r], zint[r]) << "row " << r;
}

// Each compressed encodation method of the GTIN with weights, prices and dates.
TEST_F(Expanded, CompressedMethodsReadAndEqualZint) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    const Case cases[] = {
        // 1: any GTIN
        {"0198898765432106", "[01]98898765432106", "(01)98898765432106"},
        // 0100: kilograms below 32768
        {"0190012345678908310300175", "", ""},
        {"01900123456789083103001750", "[01]90012345678908[3103]001750",
         "(01)90012345678908(3103)001750"},
        // 0101: pounds
        {"01900123456789083202001750", "[01]90012345678908[3202]001750",
         "(01)90012345678908(3202)001750"},
        {"01900123456789083203012233", "[01]90012345678908[3203]012233",
         "(01)90012345678908(3203)012233"},
        // 0111000 and 0111001: weights without a date
        {"01900123456789083102012233", "[01]90012345678908[3102]012233",
         "(01)90012345678908(3102)012233"},
        {"01900123456789083201012233", "[01]90012345678908[3201]012233",
         "(01)90012345678908(3201)012233"},
        // 0111xxx with each date
        {"0190012345678908310201223311240131", "[01]90012345678908[3102]012233[11]240131",
         "(01)90012345678908(3102)012233(11)240131"},
        {"0190012345678908320101223313240131", "[01]90012345678908[3201]012233[13]240131",
         "(01)90012345678908(3201)012233(13)240131"},
        {"0198898765432106320201234515991231", "[01]98898765432106[3202]012345[15]991231",
         "(01)98898765432106(3202)012345(15)991231"},
        {"0190012345678908310201223317240131", "[01]90012345678908[3102]012233[17]240131",
         "(01)90012345678908(3102)012233(17)240131"},
    };
    for (const Case& c : cases) {
        if (c.zint[0] == 0) continue;
        SCOPED_TRACE(c.data);
        ASSERT_EQ(make(c.data), 0) << gMsg.last;
        // zxing-cpp 1.4 finds no symbol of five characters; zbar reads it.
        if (std::strlen(c.data) == 16)
            EXPECT_EQ(zbarReads(), withSeparators(c.data));
        else
            EXPECT_EQ(readBack(), c.read);
        expectSameAsZint(c);
    }
}

}  // namespace

namespace {

TEST_F(Expanded, StackedRowsReadForEverySegmentCount) {
    const char* data = "0198898765432106320201234515991231";
    for (const char* segments : {"2", "4", "6", "8", "10", "20"}) {
        SCOPED_TRACE(segments);
        ASSERT_EQ(make(data, 6, segments), 0) << gMsg.last;
        EXPECT_EQ(gMsg.shown, 0);
        EXPECT_EQ(readBack(), "(01)98898765432106(3202)012345(15)991231");
        expectSameAsZint({data, "[01]98898765432106[3202]012345[15]991231", ""},
                         "-b 81 --cols=" + std::to_string(std::atoi(segments) / 2));
    }
}

}  // namespace

namespace {

TEST_F(Expanded, SegmentsPerRowOutsideTheEvenRangeFallBackToFour) {
    const char* data = "0198898765432106320201234515991231";  // 8 symbol characters
    for (const char* segments : {"0", "3", "abc", "22", "-4", "1"}) {
        SCOPED_TRACE(segments);
        resetMessages();
        gMsg.quiet = true;
        ASSERT_EQ(make(data, 6, segments), 0) << gMsg.last;
        EXPECT_EQ(gMsg.shown, 1);
        // Two rows of four characters with three separator rows between them.
        EXPECT_EQ(rows().size(), 2u + 3u);
        EXPECT_EQ(readBack(), "(01)98898765432106(3202)012345(15)991231");
    }
    // Expanded itself takes no segment option: always one row.
    ASSERT_EQ(make(data, 5, "2"), 0);
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(Expanded, CompositeNeedsFourSegments) {
    EXPECT_EQ(make("0198898765432106|10ABC", 6, "2"), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_EQ(gMsg.last, "Composite must be at least 4 segments wide");
}

TEST_F(Expanded, CouponHeaderShowsPrefixAndOfferCode) {
    ASSERT_TRUE(couponHeader("8110106141416543213500110000310123196000"));
    EXPECT_STREQ(gData.chHeadCode, "0614141-654321");
    EXPECT_EQ(gData.len3, 14);
    ASSERT_TRUE(couponHeader("81106123456789012345678"));  // the longest prefix
    EXPECT_STREQ(gData.chHeadCode, "123456789012-345678");
    EXPECT_FALSE(couponHeader("8110712345678901234567890"));  // no length digit 7
    EXPECT_FALSE(couponHeader("811010614141654"));            // the offer code cut short
    EXPECT_FALSE(couponHeader("8110"));
    gSym.human = 1;
    EXPECT_EQ(make("811091234", 7), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(Expanded, SymbolCharacterWeightsFollowTheFinders) {
    // Value 0 of the first group: odd widths 7,2,2,1 ... (12 modules), even 1,1,1,2.
    uint8_t forward[8];
    uint8_t mirrored[8];
    const int32_t sum = symCharPat(forward, 0, 0, 1, true);
    symCharPat(mirrored, 0, 0, 1, false);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(forward[i], mirrored[7 - i]);
    int32_t odd = 0, even = 0, expected = 0, w = 1;
    for (int i = 0; i < 8; ++i) {
        (i % 2 ? even : odd) += forward[i];
        expected = (expected + forward[i] * w) % 211;
        w = w * 3 % 211;
    }
    EXPECT_EQ(odd, 12);
    EXPECT_EQ(even, 5);
    EXPECT_EQ(sum, expected);
}

}  // namespace

namespace {

// Five, six and eight symbol characters: rows that end in a lone character,
// in a pair and full rows, with every start colour and direction.
TEST_F(Expanded, StackedRowsEqualZint) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    const Case cases[] = {
        {"0198898765432106", "[01]98898765432106", ""},
        {"01900123456789083202001750", "[01]90012345678908[3202]001750", ""},
        {"0198898765432106320201234515991231", "[01]98898765432106[3202]012345[15]991231", ""},
    };
    for (const Case& c : cases)
        for (int segments : {2, 4, 6}) {
            SCOPED_TRACE(std::string(c.data) + " in rows of " + std::to_string(segments));
            ASSERT_EQ(make(c.data, 6, std::to_string(segments).c_str()), 0) << gMsg.last;
            expectSameAsZint(c, "-b 81 --cols=" + std::to_string(segments / 2));
        }
}

}  // namespace

namespace {

// The methods that leave data to general-purpose compaction, in each of its modes.
TEST_F(Expanded, GeneralPurposeMethodsReadAndEqualZint) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    const Case cases[] = {
        // 1 and the rest: alphanumeric
        {"019889876543210610ABC-123/X", "[01]98898765432106[10]ABC-123/X",
         "(01)98898765432106(10)ABC-123/X"},
        // 01100: a price without currency
        {"01900123456789083922795", "[01]90012345678908[3922]795", "(01)90012345678908(3922)795"},
        // 01101: a price with its currency
        {"019001234567890839329787950", "[01]90012345678908[3932]9787950",
         "(01)90012345678908(3932)9787950"},
        // 00: numeric, FNC1 after a variable field, ISO/IEC 646 letters
        {"10123456#2112", "[10]123456[21]12", "(10)123456(21)12"},
        {"21abc def!%&#10X", "[21]abc def!%&[10]X", "(21)abc def!%&(10)X"},
        {"8110106141416543213500110000310123196000", "[8110]106141416543213500110000310123196000",
         "(8110)106141416543213500110000310123196000"},
        // a lone last digit
        {"101", "[10]1", "(10)1"},
        {"10123", "[10]123", "(10)123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        ASSERT_EQ(make(c.data), 0) << gMsg.last;
        if (rows()[0].size() > 134)
            EXPECT_EQ(readBack(), c.read);
        else
            EXPECT_EQ(zbarReads(), withSeparators(c.data));
        expectSameAsZint(c);
    }
}

}  // namespace

namespace {

// The longest symbols, 22 characters, in rows of every even width.
TEST_F(Expanded, LongStackedSymbolsReadForEverySegmentCount) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    const Case c{"019889876543210610ABCDEFGHIJKLMNOPQRST#211234567890AB",
                 "[01]98898765432106[10]ABCDEFGHIJKLMNOPQRST[21]1234567890AB",
                 "(01)98898765432106(10)ABCDEFGHIJKLMNOPQRST(21)1234567890AB"};
    for (int segments : {2, 4, 6, 8, 10, 20}) {
        SCOPED_TRACE(segments);
        ASSERT_EQ(make(c.data, 6, std::to_string(segments).c_str()), 0) << gMsg.last;
        const size_t rowsOfBars = (22 + segments - 1) / segments;
        EXPECT_EQ(rows().size(), rowsOfBars + 3 * (rowsOfBars - 1));
        EXPECT_EQ(readBack(), c.read);
        expectSameAsZint(c, "-b 81 --cols=" + std::to_string(segments / 2));
    }
    // One character more does not fit.
    EXPECT_EQ(make("019889876543210610ABCDEFGHIJKLMNOPQRST#211234567890ABCD", 5), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

}  // namespace
