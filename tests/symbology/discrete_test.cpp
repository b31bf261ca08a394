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
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, "1234567", "--vers=1"));
    // Long data: the check digit is worked digit by digit.
    const std::string longer = "98765432109876543210987";
    ASSERT_EQ(make(35, 0, longer), 0);
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, longer, "--vers=1"));
    // MSI 10-10: two check digits, the first one printed.
    ASSERT_EQ(make(35, 2, "1234567"), 0);
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, "1234567", "--vers=2"));
    ASSERT_EQ(make(35, 0, "1234567", 1), 0);
    EXPECT_EQ(pattern(), zintPattern(kZintMsi, "1234567"));
}

using Pharmacode = World;

TEST_F(Pharmacode, RowsAgreeWithZintAcrossTheRange) {
    for (const char* d : {"3", "21", "1234", "65535", "131070"}) {
        SCOPED_TRACE(d);
        ASSERT_EQ(make(17, 0, d), 0);
        std::vector<int> modules;
        for (int w : runs()) modules.push_back(w / 1000);
        EXPECT_EQ(modules, testsupport::zintRuns(kZintPharmacode, d));
    }
}

TEST_F(Pharmacode, DarkBackgroundWidensTheLastSpace) {
    gSym.transpar_ent = 1;
    gSym.cyan22 = 80;
    ASSERT_EQ(make(17, 0, "21"), 0);
    const Bytes row = firstRow();
    EXPECT_EQ(row[row.size() - 4], '/');  // before the last (thin) bar and its space
}

}  // namespace
