// MicroPDF417: no reader in the test machine decodes it, so the module rows are
// held against zint's for the bytes a reader must show (Latin-1, or UTF-8 behind
// ECI 26), which proves the character set, the compaction, the error correction
// and the row patterns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/macroman.h"
#include "support/reader.h"
#include "symbol_fixture.h"
#include "symbology/info.h"

namespace {

struct MicroPdf : SymbolTest {
    void SetUp() override {
        SymbolTest::SetUp();
        gSym.code = 41;
        gSym.variation1 = -1;
    }
    static int32_t make(const std::string& data) {
        setData(data);
        return STRixel();
    }
    static std::vector<std::string> rows() {
        return testsupport::moduleRowStrings(gEl.chNum, gEl.cu_len);
    }
};

// Typed (Mac OS Roman) letters whose Latin-1 bytes no text compaction holds, so
// that zint takes byte compaction too.
std::string binaryData(size_t n) {
    std::string letters;
    for (int b = 0x80; b <= 0xFF; ++b)
        if (platform::macRomanToLatin1(static_cast<unsigned char>(b)) >= 0xA0)
            letters += static_cast<char>(b);
    std::string s;
    for (size_t i = 0; i < n; ++i) s += letters[(i * 37 + 11) % letters.size()];
    return s;
}

// Our rows, each without the light module at either end, against zint's.
void expectRowsLikeZint(const std::string& options, const std::string& bytes) {
    const std::vector<std::string> ours = testsupport::moduleRowStrings(gEl.chNum, gEl.cu_len);
    const std::vector<std::string> zint = testsupport::zintRows(options, bytes);
    ASSERT_EQ(ours.size(), zint.size());
    for (size_t r = 0; r < ours.size(); ++r) {
        ASSERT_EQ(ours[r].size(), 101u);
        EXPECT_EQ(ours[r].front(), '0');
        EXPECT_EQ(ours[r].back(), '0');
        EXPECT_TRUE(testsupport::sameModules(ours[r].substr(1, 99), zint[r])) << "row " << r;
    }
}

TEST_F(MicroPdf, RowsEqualZintForEverySize) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    // The last length of each size and the first of the next, multiples of six
    // (latch 924) among them.
    const size_t lengths[] = {26, 27, 28, 30,  34,  35,  45,  46, 63,
                              64, 86, 87, 107, 108, 129, 130, 148};
    std::vector<size_t> rowCounts;
    for (size_t n : lengths) {
        SCOPED_TRACE(n);
        std::string data = binaryData(n);
        if (n == 30 || n == 148) {  // a letter and a control byte travel as they stand
            data[3] = 'a';
            data[4] = '\x01';
        }
        ASSERT_EQ(make(data), 0) << gMsg.last;
        expectRowsLikeZint("-b 84 --cols=4", platform::macRomanToSymbolBytes(data).bytes);
        const size_t count = rows().size();
        if (rowCounts.empty() || rowCounts.back() != count) rowCounts.push_back(count);
    }
    EXPECT_EQ(rowCounts, (std::vector<size_t>{10, 12, 15, 20, 26, 32, 38, 44}));
}

TEST_F(MicroPdf, AccentedLettersReadAsTyped) {
    ASSERT_TRUE(testsupport::requireProgram("zint", "zint"));
    // Long enough for the sizes of ten rows and more, which are the ones we make.
    // "é" goes as Latin-1 E9; with the euro sign, which Latin-1 lacks, the text
    // goes as UTF-8 behind ECI 26.
    ASSERT_EQ(make(std::string(30, '\x8E')), 0) << gMsg.last;
    expectRowsLikeZint("-b 84 --cols=4", std::string(30, '\xE9'));
    std::string typed, utf8;
    for (int i = 0; i < 4; ++i) {
        typed += "\xDB\x8A\xCE\xE7";  // €äŒÁ
        utf8 += "\xE2\x82\xAC\xC3\xA4\xC5\x92\xC3\x81";
    }
    ASSERT_EQ(make(typed), 0) << gMsg.last;
    expectRowsLikeZint("-b 84 --cols=4 --eci=26", utf8);
    // The ECI takes room: 147 bytes of UTF-8 fill the largest size, 148 pass it.
    ASSERT_EQ(make(std::string(49, '\xDB')), 0) << gMsg.last;
    EXPECT_EQ(rows().size(), 44u);
    EXPECT_EQ(make(std::string(49, '\xDB') + "a"), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(MicroPdf, DataPastTheLargestSizeIsRefused) {
    ASSERT_EQ(make(binaryData(148)), 0);
    EXPECT_EQ(rows().size(), 44u);
    EXPECT_EQ(make(binaryData(149)), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_NE(gMsg.last.find("148"), std::string::npos) << gMsg.last;
    EXPECT_EQ(make(std::string(1500, 'x')), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

TEST_F(MicroPdf, MadeAgainTheSymbolIsTheSame) {
    // The file writer makes the symbol a second time from the same data.
    ASSERT_EQ(make("Lot 17, 2024-03-31"), 0);
    const std::vector<std::string> first = rows();
    ASSERT_EQ(STRixel(), 0);
    EXPECT_EQ(rows(), first);
    EXPECT_STREQ(gData.chMainCode2, "Lot 17, 2024-03-31");
}

}  // namespace
