#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QRCode/QREncode.h"
#include "QRCode/QRMask.h"
#include "app/world.h"
#include "platform/macroman.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

using Matrix = std::vector<std::vector<bool>>;
using qrencode::gQR;

constexpr int kL = 0, kM = 1, kQ = 2, kH = 3;

struct QRCodeTest : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }

    static int32_t encode(const std::string& data, int32_t level, int32_t minVersion = 1,
                          int32_t mask = -1) {
        return QRencodeData(data.data(), static_cast<int32_t>(data.size()), level, minVersion, 1,
                            mask);
    }

    // The symbol from the block letters, which must hold it exactly.
    static Matrix symbol() {
        const int side = 4 * gQR.m_nVersion + 17;
        EXPECT_EQ(testsupport::blockLetterFault(gEl.chNum, gEl.cu_len, side, side), "");
        return testsupport::blockLetterSymbol(gEl.chNum, gEl.cu_len);
    }

    static testsupport::Decoded read() {
        return testsupport::decode(testsupport::rasteriseMatrix(symbol(), 3, 3, 4), "QRCode");
    }

    static void expectReads(const std::string& expectedText) {
        const testsupport::Decoded d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, expectedText);
    }
};

// Segments of band 1 (versions 1-9) read back from the data bits, as
// "mode:count" ("7:26" for ECI 26), blank-separated.
std::string segmentsOfBand1() {
    std::string segs;
    int pos = 0;
    auto bits = [&](int n) {
        int v = 0;
        for (int i = 0; i < n; ++i, ++pos)
            v = v * 2 + ((gQR.m_byDataCodeWord[pos >> 3] >> (7 - (pos & 7))) & 1);
        return v;
    };
    while (pos + 4 <= gQR.m_ncDataCodeWordBit) {
        const int mode = bits(4);
        if (mode == 0) break;
        const int count = bits(mode == 7 ? 8 : mode == 1 ? 10 : mode == 2 ? 9 : 8);
        segs += (segs.empty() ? "" : " ") + std::to_string(mode) + ":" + std::to_string(count);
        if (mode == 1) pos += count / 3 * 10 + (count % 3 == 2 ? 7 : count % 3 == 1 ? 4 : 0);
        if (mode == 2) pos += count / 2 * 11 + (count % 2) * 6;
        if (mode == 4) pos += count * 8;
        if (mode == 8) pos += count * 13;
    }
    return segs;
}

TEST_F(QRCodeTest, KnownCodewordsOfVersion1M) {
    ASSERT_EQ(encode("01234567", kM), 0);
    EXPECT_EQ(gQR.m_nVersion, 1);
    const std::vector<int> expected = {16, 32,  12, 86,  97, 128, 236, 17,  236, 17,  236, 17, 236,
                                       17, 236, 17, 165, 36, 212, 193, 237, 54,  199, 135, 44, 85};
    EXPECT_EQ(std::vector<int>(gQR.m_byAllCodeWord, gQR.m_byAllCodeWord + gQR.m_ncAllCodeWord),
              expected);
    expectReads("01234567");
}

TEST_F(QRCodeTest, CountsWithoutAGeneratorWriteNothing) {
    // 0 once ran the shift by -1 bytes.
    uint8_t block[80] = {1, 2, 3};
    const std::vector<uint8_t> before(block, block + 80);
    for (int32_t ec : {0, -1, MAX_RSCODEWORD + 1}) qrencode::GetRSCodeWord(block, 3, ec);
    EXPECT_EQ(std::vector<uint8_t>(block, block + 80), before);
}

// The format information in both copies, read from the finished symbol; bit 0
// is the least significant. Readers correct these bits, so a read-back alone
// does not prove them.
int formatBits(const Matrix& m, bool secondCopy) {
    const int size = static_cast<int>(m.size());
    int v = 0;
    for (int i = 0; i < 15; ++i) {
        bool dark;
        if (!secondCopy) {
            dark = i < 6 ? m[i][8] : i < 8 ? m[i + 1][8] : i == 8 ? m[8][7] : m[8][14 - i];
        } else {
            dark = i < 8 ? m[8][size - 1 - i] : m[size - 15 + i][8];
        }
        v |= (dark ? 1 : 0) << i;
    }
    return v;
}

TEST_F(QRCodeTest, FormatBitsOfEachLevelWithMaskZero) {
    const int expected[4] = {0x77C4, 0x5412, 0x355F, 0x1689};  // L, M, Q, H
    for (int level = 0; level < 4; ++level) {
        ASSERT_EQ(encode("HELLO WORLD", level, 1, 0), 0);
        const Matrix m = symbol();
        EXPECT_EQ(formatBits(m, false), expected[level]) << "level " << level;
        EXPECT_EQ(formatBits(m, true), expected[level]) << "level " << level;
        EXPECT_TRUE(m[m.size() - 8][8]);  // the dark module
        expectReads("HELLO WORLD");
    }
}

TEST_F(QRCodeTest, PenaltyOfAHandCountedMatrix) {
    // 21 x 21 light function modules but a dark run of exactly 5 at the start
    // of row 0, which adds nothing. Rows: 16-run 14, twenty 21-runs 19 each;
    // columns: five 20-runs 18 each, sixteen 21-runs 19 each (N1 788). Of the
    // 400 2 x 2 blocks, the five touching the dark run are mixed (N2 1185).
    // 436 of 441 light is 98 %, 9 steps of 5 from one half (N4 90).
    static uint8_t m[MAX_MODULESIZE][MAX_MODULESIZE];
    for (int x = 0; x < 21; ++x)
        for (int y = 0; y < 21; ++y) m[x][y] = qrencode::kModuleFunction;
    for (int x = 0; x < 5; ++x) m[x][0] |= qrencode::kModuleFunctionDark;
    qrmask::loadMatrix(m, 21);
    for (int mask = 0; mask < 8; ++mask) EXPECT_EQ(qrmask::countPenalty(mask), 788 + 1185 + 90);
}

TEST_F(QRCodeTest, VersionInformation) {
    ASSERT_EQ(encode("x", kL, 7), 0);
    const Matrix m = symbol();
    ASSERT_EQ(m.size(), 45u);
    int topRight = 0, bottomLeft = 0;
    for (int i = 0; i < 18; ++i) {
        topRight |= m[i / 3][45 - 11 + i % 3] << i;
        bottomLeft |= m[45 - 11 + i % 3][i / 3] << i;
    }
    EXPECT_EQ(topRight, 0x07C94);
    EXPECT_EQ(bottomLeft, 0x07C94);
    expectReads("x");
}

// Byte data that fills version v at the level; versions whose byte capacity is
// beyond the 2048-byte data buffer are reached through the minimum version.
TEST_F(QRCodeTest, EveryVersionAtEveryLevelReads) {
    const std::string pattern = "abcdefghijklmnopqrstuvwxyz_#!?=&";
    for (int level = 0; level < 4; ++level) {
        for (int v = 1; v <= 40; ++v) {
            const int cap = QR_VersonInfo[v].ncDataCodeWord[level];
            const int countBits = v <= 9 ? 8 : 16;
            int n = (cap * 8 - 4 - countBits) / 8;
            int minVersion = 1;
            if (n > 2048) {
                n = 2048;
                minVersion = v;
            }
            std::string data;
            for (int i = 0; i < n; ++i) data += pattern[(i * 7 + v) % pattern.size()];
            ASSERT_EQ(encode(data, level, minVersion), 0) << "level " << level << " version " << v;
            ASSERT_EQ(gQR.m_nVersion, v) << "level " << level << " length " << n;
            const testsupport::Decoded d = read();
            ASSERT_TRUE(d.ok) << "level " << level << " version " << v << ": " << d.error;
            ASSERT_EQ(d.text, data) << "level " << level << " version " << v;
        }
    }
}

TEST_F(QRCodeTest, SegmentsAndCharacterSets) {
    // The rows are raw bytes, as an import field that is no UTF-8 gives them.
    qrencode::gQROrigin.foreignBytes = true;
    for (const auto& c : testsupport::readCases("QRCode/segments.txt", 3)) {
        SCOPED_TRACE(c.where);
        const std::string& data = c[0];
        ASSERT_EQ(encode(data, kM), 0);
        ASSERT_LE(gQR.m_nVersion, 9);
        EXPECT_EQ(segmentsOfBand1(), c[2]);
        const testsupport::Decoded d = read();
        ASSERT_TRUE(d.ok) << d.error;
        if (c[1].empty())
            EXPECT_EQ(d.bytes, platform::macRomanToSymbolBytes(data).bytes);
        else
            EXPECT_EQ(d.text, c[1]);
    }
}

// Text typed or given in UTF-8 is Mac OS Roman, whose accented letters pair
// with the letters after them into Shift-JIS codes ("r\x8Esum\x8E"): it goes as
// its Latin-1 bytes (or UTF-8 under ECI 26), never as Kanji.
TEST_F(QRCodeTest, AccentedTextIsNeverReadAsShiftJis) {
    for (const char* utf8 : {"r\u00e9sum\u00e9_\u00e9t\u00e9_v2", "caf\u00e9_\u00e9t\u00e9_2024",
                             "l\u2019\u00e9t\u00e9_2024", "\u00c9T\u00c9s", "\u00e9@\u00e9@"}) {
        SCOPED_TRACE(utf8);
        std::string roman;
        ASSERT_TRUE(platform::utf8ToMacRoman(utf8, &roman));
        ASSERT_EQ(encode(roman, kM), 0);
        EXPECT_FALSE(gQR.m_bShiftJis);
        EXPECT_EQ(segmentsOfBand1().find("8:"), std::string::npos) << segmentsOfBand1();
        const testsupport::Decoded d = read();
        ASSERT_TRUE(d.ok) << d.error;
        const platform::SymbolBytes sent = platform::macRomanToSymbolBytes(roman);
        EXPECT_EQ(d.bytes, sent.bytes);  // the reader's guess at a character set aside
        if (sent.utf8) {
            EXPECT_EQ(d.text, utf8);
        }
    }
    // The bytes of a Shift-JIS file still read as Japanese.
    qrencode::gQROrigin.foreignBytes = true;
    ASSERT_EQ(encode("\x93\xFA\x96\x7B\x8C\xEA", kM), 0);
    EXPECT_EQ(segmentsOfBand1(), "8:3");
    expectReads("\u65e5\u672c\u8a9e");
}

TEST_F(QRCodeTest, LevelAndMinimumVersionOptions) {
    // Version 1-H holds 7 bytes; one more needs version 2.
    ASSERT_EQ(encode("abcdefg", kH), 0);
    EXPECT_EQ(gQR.m_nVersion, 1);
    ASSERT_EQ(encode("abcdefgh", kH), 0);
    EXPECT_EQ(gQR.m_nVersion, 2);
    // 240 bytes need version 10 at level L, above a minimum of 7.
    ASSERT_EQ(encode(std::string(240, 'x'), kL, 7), 0);
    EXPECT_EQ(gQR.m_nVersion, 10);
    // "Q4": level Q, at least version 4.
    ASSERT_EQ(encode("STRIXEL", kQ, 4), 0);
    EXPECT_EQ(gQR.m_nVersion, 4);
    EXPECT_EQ((formatBits(symbol(), false) ^ 0x5412) >> 13, 3);  // level bits of Q
    expectReads("STRIXEL");
    const std::string longer(80, 'k');
    ASSERT_EQ(encode(longer, kQ, 4), 0);
    EXPECT_EQ(gQR.m_nVersion, 7);
    expectReads(longer);
    // A minimum larger than needed is kept, its room filled with pads.
    ASSERT_EQ(encode("01234567", kM, 5), 0);
    EXPECT_EQ(gQR.m_nVersion, 5);
    EXPECT_EQ(gQR.m_byDataCodeWord[85], 17);
    EXPECT_EQ(gQR.m_byDataCodeWord[84], 236);
    expectReads("01234567");
}

TEST_F(QRCodeTest, LongDataReads) {
    std::string data;
    for (int i = 0; data.size() < 2000; ++i)
        data += "Item " + std::to_string(i) + ": QTY 12, lot ab-7; ";
    data.resize(2000);
    ASSERT_EQ(encode(data, kL), 0);
    EXPECT_GE(gQR.m_nVersion, 30);
    expectReads(data);
    const std::string digits(2000, '7');
    ASSERT_EQ(encode(digits, kH), 0);
    expectReads(digits);
}

TEST_F(QRCodeTest, RefusalsSayWhyAndLeaveNoSymbol) {
    ASSERT_EQ(encode("", kL), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_NE(gMsg.last.find("no data"), std::string::npos) << gMsg.last;

    // Version 40-H holds 1273 bytes; level L takes them all.
    const std::string bytes(1274, 'z');
    gMsg = MessageState{};
    gMsg.quiet = true;
    ASSERT_EQ(encode("ok", kL), 0);  // a symbol from before must not survive a refusal
    ASSERT_EQ(encode(bytes, kH), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_NE(gMsg.last.find("level H"), std::string::npos) << gMsg.last;
    ASSERT_EQ(encode(std::string(1273, 'z'), kH), 0);
    EXPECT_EQ(gQR.m_nVersion, 40);
    ASSERT_EQ(encode(bytes, kL), 0);

    // Without growing, data too long for the minimum version is refused.
    ASSERT_EQ(QRencodeData("0123456789012345678", 19, kH, 1, 0, -1), 1);
    EXPECT_EQ(gEl.cu_len, 0);
}

}  // namespace
