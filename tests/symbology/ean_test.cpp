#include <cstring>

#include "symbol_support.h"
#include "symbology/encoders.h"

using namespace symtest;
using testsupport::readCases;

namespace {

using Ean13 = World;
using Ean8 = World;
using EanFamily = World;

TEST_F(EanFamily, EveryCaseReadsBack) {
    int n = 0;
    for (const auto& c : readCases("symbology/ean_reads.txt", 8)) {
        SCOPED_TRACE(c[0] + " " + c[1] + "/" + c[2] + " " + c[3] + " " + c[4]);
        SetUp();
        gSym.code = c.integer(1);
        gSym.variation1 = c.integer(2);
        setData(c[3], c[4]);
        ASSERT_EQ(encoderNamed(c[0])(), 0) << gMsg.last;
        EXPECT_EQ(readBack(c[5].c_str(), c[6].find(' ') != std::string::npos).text, c[6]);
        if (!c[7].empty()) {
            EXPECT_EQ(zbarRead("symbol" + std::to_string(n++), c[4] != ""), c[7]);
        }
    }
}

// The dispatcher drops the Plus code's add-on after using it as the header.
TEST_F(Ean13, PlusCodeWithoutItsAddOn) {
    gSym.code = 26;
    setData("501234567890", "34");
    gData.len2 = 0;
    gData.len22 = 2;
    ASSERT_EQ(EAN13(), 0);
    EXPECT_EQ(rowsOf()[0].size(), 67u);
}

TEST_F(Ean13, WidthsAndBarWidthSteps) {
    setData("127812781278");
    ASSERT_EQ(EAN13(), 0);
    const std::string row = rowsOf()[0];
    // Every digit is 2310 um; the guards and quiet zones whole modules.
    int32_t total = 0;
    for (unsigned char b : row) total += std::abs(charToWidth(b));
    EXPECT_EQ(total, 95 * 330 + 18 * 330);
    for (size_t d = 0; d < 6; ++d) {
        int32_t digit = 0;
        for (size_t k = 0; k < 4; ++k) digit += std::abs(charToWidth(row[9 + 4 * d + k]));
        EXPECT_EQ(digit, 2310);
    }
    // Three-module bars are 254 when BW is 0, 202 + BW otherwise.
    SetUp();
    setData("000000000000");
    ASSERT_EQ(EAN13(), 0);
    EXPECT_NE(rowsOf()[0].find(static_cast<char>(254)), std::string::npos);
    SetUp();
    gSym.BW = 3;
    setData("000000000000");
    ASSERT_EQ(EAN13(), 0);
    const std::string thin = rowsOf()[0];
    EXPECT_EQ(thin.find(static_cast<char>(254)), std::string::npos);
    EXPECT_NE(thin.find(static_cast<char>(205)), std::string::npos);
    EXPECT_EQ(byteAt(thin, 6), 193);
}

TEST_F(Ean13, RefusesWhatItCannotEncode) {
    setData("50123456789");
    EXPECT_EQ(EAN13(), 1);
    EXPECT_EQ(gMsg.last, "EAN 13 needs 12 digits.");
    EXPECT_EQ(gEl.cu_len, 0);

    SetUp();
    setData("5012345A7890");
    EXPECT_EQ(EAN13(), 1);
    EXPECT_EQ(gMsg.last,
              "EAN 13 data may hold digits only. Remove the other characters and try again.");
    EXPECT_STREQ(gData.chMainCode, "5012345A7890");  // no check digit over it

    SetUp();
    setData("501234567890", "5x495");
    EXPECT_EQ(EAN13(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(Ean13, TallSymbolStaysInsideTheList) {
    setData("501234567890", "52495");
    gSym.Hei = 1e9;
    ASSERT_EQ(EAN13(), 0);
    EXPECT_FALSE(gEl.overflow);
    EXPECT_LE(gEl.cu_len, static_cast<int32_t>(kElementListSize));
    auto rows = rowsOf();
    EXPECT_EQ(rows.back(), "5" + S(7) + "012345" + S(5) + "678900" + S(3) + "?=?=");
    for (size_t r = 2; r + 1 < rows.size(); ++r) ASSERT_EQ(rows[r].size(), 101u) << r;
}

TEST_F(Ean8, RefusesShortOrNonDigitData) {
    gSym.variation1 = 5;  // no length rule in front of this variant
    setData("96385");
    EXPECT_EQ(EAN8(), 1);
    EXPECT_EQ(gMsg.last, "EAN 8 needs 7 digits.");
    SetUp();
    gSym.code = 16;
    setData("96-8507");
    EXPECT_EQ(EAN8(), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

// Direct calls with data the length rule would have stopped: nothing is written
// past a buffer, and the result says whether a symbol was made (ISSN refuses
// digits past its issue, as the length rule leaves them to it).
TEST_F(EanFamily, EmptyAndOverlongDataStayInBounds) {
    struct Entry {
        int code, v;
        int32_t (*fn)();
    };
    const Entry entries[] = {{0, 0, EAN13},    {0, 2, EAN13}, {3, 0, EAN8},  {3, 1, EAN8},
                             {16, 1, EAN8},    {10, 0, UPCA}, {10, 3, UPCA}, {11, 0, UPCE},
                             {11, 1, UPRecon}, {1, 0, ISBN},  {1, 2, ISBN},  {1, 3, ISBN},
                             {2, 0, ISSN}};
    const std::string longDigits(kMainCodeSize - 1, '0');
    for (const Entry& e : entries) {
        for (const std::string& d : {std::string(), longDigits}) {
            SetUp();
            gSym.code = e.code;
            gSym.variation1 = e.v;
            setData(d, "12345");
            EXPECT_EQ(e.fn(), d.empty() || e.code == 2 ? 1 : 0)
                << e.code << "/" << e.v << " " << d.size();
            EXPECT_FALSE(gEl.overflow);
            if (d.empty()) {
                EXPECT_EQ(gEl.cu_len, 0);
            }
        }
    }
}

}  // namespace
