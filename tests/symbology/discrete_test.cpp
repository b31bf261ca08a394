// The families that no reader decodes: 2 of 5, IATA and Matrix 2 of 5,
// Plessey, MSI, the Laetus pharmacode and the SICK code. zint writes the same
// symbols as a second encoder; golden element lists pin the rest.
#include <string>
#include <vector>

#include "symbol_support.h"

using namespace symtest;

namespace {

using Bytes = std::vector<unsigned char>;

// zint's barcode numbers.
constexpr int kZintMatrix = 2;
constexpr int kZintIata = 4;
constexpr int kZintIndustrial = 7;
constexpr int kZintMsi = 47;
constexpr int kZintPharmacode = 51;
constexpr int kZintPlessey = 86;

// The first row of the element list with its end byte.
Bytes firstRow() {
    Bytes row;
    for (int32_t i = 0; i < gEl.cu_len; ++i) {
        row.push_back(gEl.chNum[i]);
        if (gEl.chNum[i] == 13) break;
    }
    return row;
}

std::string zintPattern(int type, const std::string& data, const std::string& extra = "") {
    return testsupport::narrowWide(testsupport::zintRuns(type, data, extra));
}

// Bars of a pharmacode-style row: 't' thin, 'T' thick.
std::string barsOf(const std::vector<int>& runs, int thin) {
    std::string s;
    for (size_t i = 0; i < runs.size(); i += 2) s += runs[i] > thin ? 'T' : 't';
    return s;
}

using TwoOfFive = World;

TEST_F(TwoOfFive, RowsAgreeWithZint) {
    for (const char* d : {"0123456789", "12", "90210"}) {
        SCOPED_TRACE(d);
        ASSERT_EQ(make(21, 0, d), 0);
        EXPECT_EQ(pattern(), zintPattern(kZintIndustrial, d));
        ASSERT_EQ(make(21, 1, d), 0);
        EXPECT_EQ(pattern(), zintPattern(kZintIata, d));
        ASSERT_EQ(make(21, 2, d), 0);
        EXPECT_EQ(pattern(), zintPattern(kZintMatrix, d));
    }
}

TEST_F(TwoOfFive, RatioDoesNotChangeTheWideElements) {
    ASSERT_EQ(make(21, 0, "12"), 0);
    const Bytes row = firstRow();
    for (int ratio : {0, 3, 2, -1}) {
        gSym.ratio = ratio;
        ASSERT_EQ(make(21, 0, "12"), 0);
        EXPECT_EQ(firstRow(), row) << ratio;
    }
}

using Plessey = World;

TEST_F(Plessey, CheckCharactersAndRowAgreeWithZint) {
    for (const char* d : {"1234", "0", "FFFF", "1A2B3C4D5E6F7890"}) {
        SCOPED_TRACE(d);
        ASSERT_EQ(make(20, 0, d), 0);
        EXPECT_EQ(pattern(), zintPattern(kZintPlessey, d));
        EXPECT_EQ(textLine(), d);  // the check characters are not printed
    }
}

TEST_F(Plessey, WithoutCheck) {
    ASSERT_EQ(make(20, 0, "1234", 1), 0);
    // start 1101, four characters, termination: no check bits between.
    EXPECT_EQ(runs().size(), 2u * (4 + 4 * 4) + 9);
}

using Msi = World;

TEST_F(Msi, CheckDigitsAgreeWithZint) {
    ASSERT_EQ(make(35, 0, "1234567"), 0);
    EXPECT_EQ(textLine(), "1234567");
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, "1234567", "--vers=1"));
    // Long data: the check digit is worked digit by digit.
    const std::string longer = "98765432109876543210987";
    ASSERT_EQ(make(35, 0, longer), 0);
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, longer, "--vers=1"));
    // MSI 10-10: two check digits, the first one printed.
    ASSERT_EQ(make(35, 2, "1234567"), 0);
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, "1234567", "--vers=2"));
    EXPECT_EQ(textLine(), "12345674");
    ASSERT_EQ(make(35, 0, "1234567", 1), 0);
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, "1234567"));
}

TEST_F(Msi, BelgianLayout) {
    ASSERT_EQ(make(35, 1, "123456"), 0);
    EXPECT_EQ(textLine(), "1234-566");
}

using Pharmacode = World;

TEST_F(Pharmacode, GoldenBars) {
    const struct {
        const char* data;
        const char* bars;
    } golden[] = {{"3", "tt"}, {"4", "tT"}, {"5", "Tt"}, {"6", "TT"}, {"7", "ttt"}, {"21", "tTTt"}};
    for (const auto& g : golden) {
        ASSERT_EQ(make(17, 0, g.data), 0) << g.data;
        EXPECT_EQ(barsOf(runs(), 1000), g.bars) << g.data;
    }
}

TEST_F(Pharmacode, RowsAgreeWithZintAcrossTheRange) {
    for (const char* d : {"3", "21", "1234", "65535", "131070"}) {
        SCOPED_TRACE(d);
        ASSERT_EQ(make(17, 0, d), 0);
        std::vector<int> modules;
        for (int w : runs()) modules.push_back(w / 1000);
        EXPECT_EQ(modules, testsupport::zintRuns(kZintPharmacode, d));
    }
}

TEST_F(Pharmacode, BarInputMiniAndTwoNumbers) {
    ASSERT_EQ(make(17, 2, "0110"), 0);
    EXPECT_EQ(barsOf(runs(), 1000), "tTTt");
    EXPECT_EQ(textLine(), "21");
    // Only the first of two numbers is encoded and printed.
    ASSERT_EQ(make(17, 0, "21 99"), 0);
    EXPECT_EQ(barsOf(runs(), 1000), "tTTt");
    EXPECT_EQ(textLine(), "21 ");
    // The add-on field carries a second pharmacode behind the first.
    ASSERT_EQ(make(17, 0, "3", 0, "4"), 0);
    EXPECT_EQ(barsOf(runs(), 1000), "tttT");
}

TEST_F(Pharmacode, DarkBackgroundWidensTheLastSpace) {
    gSym.transpar_ent = 1;
    gSym.cyan22 = 80;
    ASSERT_EQ(make(17, 0, "21"), 0);
    const Bytes row = firstRow();
    EXPECT_EQ(row[row.size() - 4], '/');  // before the last (thin) bar and its space
}

using Sick = World;

TEST_F(Sick, GoldenBars) {
    const struct {
        const char* data;
        const char* addOn;
        const char* bars;
    } golden[] = {{"10", "", "TtTt"},
                  {"8", "", "Tttt"},
                  {"1", "", "T"},
                  {"5", "8", "tttttTtT"},
                  {"32767", "", "TTTTTTTTTTTTTTT"},
                  {"1", "0", "T"}};
    for (const auto& g : golden) {
        ASSERT_EQ(make(12, 0, g.data, 0, g.addOn), 0) << g.data;
        EXPECT_EQ(barsOf(runs(), 1000), g.bars) << g.data << " / " << g.addOn;
    }
}

}  // namespace
