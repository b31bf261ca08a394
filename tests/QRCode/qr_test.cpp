#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/world.h"
#include "QRCode/QREncode.h"
#include "QRCode/QRMask.h"
#include "platform/macroman.h"
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

    // The symbol from the block letters, cut to its square (the last band is
    // padded with light rows).
    static Matrix symbol() {
        Matrix m = testsupport::blockLettersToMatrix(gEl.chNum, gEl.cu_len);
        if (!m.empty()) m.resize(m[0].size());
        return m;
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

constexpr int kNumeric = 1, kAlpha = 2, kByte = 4, kECI = 7, kKanji = 8;

// Segment modes and counts of band 1 (versions 1-9), read back from the data bits.
std::vector<std::pair<int, int>> segmentsOfBand1() {
    std::vector<std::pair<int, int>> segs;
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
        if (mode == kECI) {
            segs.emplace_back(mode, bits(8));
            continue;
        }
        const int countBits = mode == 1 ? 10 : mode == 2 ? 9 : 8;
        const int count = bits(countBits);
        segs.emplace_back(mode, count);
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
    ASSERT_EQ(gQR.m_ncAllCodeWord, 26);
    for (int i = 0; i < 26; ++i) EXPECT_EQ(gQR.m_byAllCodeWord[i], expected[i]) << "codeword " << i;
    EXPECT_EQ(symbol().size(), 21u);
    expectReads("01234567");
}

TEST_F(QRCodeTest, FieldArithmeticAndGenerator) {
    const auto& gf = qrtables::kGalois;
    EXPECT_EQ(gf.byExpToInt[8], 29);  // 2^8 reduced by 0x11D
    EXPECT_EQ(gf.byExpToInt[25], 3);
    EXPECT_EQ(gf.byIntToExp[29], 8);
    // The 7-codeword generator of version 1-L, as exponents.
    const std::vector<int> g7 = {87, 229, 146, 149, 238, 102, 21};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(qrtables::byRSExp[7][k], g7[k]);
    // Counts without a generator write nothing (0 once ran the shift by -1 bytes).
    uint8_t block[80] = {1, 2, 3};
    const std::vector<uint8_t> before(block, block + 80);
    for (int32_t ec : {0, -1, MAX_RSCODEWORD + 1}) qrencode::GetRSCodeWord(block, 3, ec);
    EXPECT_EQ(std::vector<uint8_t>(block, block + 80), before);
}

// The format information in both copies, read from the finished symbol; bit 0
// is the least significant.
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
    const std::string data(240, 'x');  // 240 bytes need version 10 at level L
    ASSERT_EQ(encode(data, kL, 7), 0);
    EXPECT_EQ(gQR.m_nVersion, 10);
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
            ASSERT_EQ(symbol().size(), static_cast<size_t>(4 * v + 17));
            const testsupport::Decoded d = read();
            ASSERT_TRUE(d.ok) << "level " << level << " version " << v << ": " << d.error;
            ASSERT_EQ(d.text, data) << "level " << level << " version " << v;
        }
    }
}

TEST_F(QRCodeTest, GrowsPastOneByteTooMany) {
    // Version 1-H holds 7 bytes; one more needs version 2.
    ASSERT_EQ(encode("abcdefg", kH), 0);
    EXPECT_EQ(gQR.m_nVersion, 1);
    ASSERT_EQ(encode("abcdefgh", kH), 0);
    EXPECT_EQ(gQR.m_nVersion, 2);
    expectReads("abcdefgh");
}

TEST_F(QRCodeTest, SegmentationOfTheModes) {
    struct Case {
        std::string data;
        std::vector<std::pair<int, int>> segments;
    };
    const std::vector<Case> cases = {
        {"0123456789012345", {{kNumeric, 16}}},
        {"HTTP://EXAMPLE.COM/A-1", {{kAlpha, 22}}},
        {"hello, world", {{kByte, 12}}},
        {"abc123456789", {{kByte, 3}, {kNumeric, 9}}},  // nine digits leave the byte segment
        {"abc12345", {{kByte, 8}}},                     // five do not
        {"AB1234567890123", {{kAlpha, 2}, {kNumeric, 13}}},
        {"AB123456789012", {{kAlpha, 14}}},
        {"12345678901234abc", {{kNumeric, 14}, {kByte, 3}}},
        // Space and ':' are alphanumeric: the run " 4711: 0123456789 " ends the bytes.
        {"Order 4711: 0123456789 pcs", {{kByte, 5}, {kAlpha, 18}, {kByte, 3}}},
        {"order#4711#0123456789#pcs", {{kByte, 11}, {kNumeric, 10}, {kByte, 4}}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(encode(c.data, kM), 0) << c.data;
        ASSERT_LE(gQR.m_nVersion, 9);
        EXPECT_EQ(segmentsOfBand1(), c.segments) << c.data;
        expectReads(c.data);
    }
}

TEST_F(QRCodeTest, LevelAndMinimumVersionOptions) {
    // "Q4": level Q, at least version 4.
    ASSERT_EQ(encode("STRIXEL", kQ, 4), 0);
    EXPECT_EQ(gQR.m_nVersion, 4);
    EXPECT_EQ(symbol().size(), 33u);
    EXPECT_EQ((formatBits(symbol(), false) ^ 0x5412) >> 13, 3);  // level bits of Q
    expectReads("STRIXEL");
    // "H1": level H, version 1, growing when the data needs it.
    ASSERT_EQ(encode("STRIXEL", kH, 1), 0);
    EXPECT_EQ(gQR.m_nVersion, 1);
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

TEST_F(QRCodeTest, KanjiFromShiftJisPairs) {
    struct Case {
        std::string sjis;
        std::string utf8;
        std::vector<std::pair<int, int>> segments;
    };
    const std::vector<Case> cases = {
        {"\x8A\xBF\x8E\x9A\x83\x65\x83\x58\x83\x67", "漢字テスト", {{kKanji, 5}}},
        {"\x93\xFA\x96\x7B", "日本", {{kKanji, 2}}},
        {"\x83\x41\x83\x43\x83\x58\x83\x4E\x83\x8A\x81\x5B\x83\x80",
         "アイスクリーム",
         {{kKanji, 7}}},
        {"\x95\x69\x94\xD4"
         "ABC-123"
         "\x8A\xBF\x8E\x9A",
         "品番ABC-123漢字",
         {{kKanji, 2}, {kAlpha, 7}, {kKanji, 2}}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(encode(c.sjis, kM), 0);
        EXPECT_EQ(segmentsOfBand1(), c.segments) << c.utf8;
        expectReads(c.utf8);
    }
}

TEST_F(QRCodeTest, AccentedMacRomanLettersReadAsThemselves) {
    struct Case {
        std::string macRoman;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"Cr\x8Fme", "Crème"},  // è + m is also a Shift-JIS pair
        {"Gr\x9A\xA7"
         "e",
         "Größe"},                 // ö + ß too
        {"\x8El\x8Fve", "élève"},  // two such pairs in a row
        {"pr\x8E"
         "f\x8Er\x8E"
         "e",
         "préférée"},
        {"Z\x9Frich \xA3"
         "12",
         "Zürich £12"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(encode(c.macRoman, kM), 0) << c.utf8;
        EXPECT_FALSE(gQR.m_bShiftJis) << c.utf8;
        // Latin-1 is what the standard has readers assume: no ECI, the Latin-1
        // bytes (a reader's guess at another character set does not count).
        const std::vector<std::pair<int, int>> segs = segmentsOfBand1();
        ASSERT_GE(segs.size(), 1u);
        EXPECT_EQ(segs[0].first, kByte) << c.utf8;
        const testsupport::Decoded d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.bytes, platform::macRomanToSymbolBytes(c.macRoman).bytes) << c.utf8;
    }
}

// Characters that Latin-1 lacks send the whole text as UTF-8 under ECI 26.
TEST_F(QRCodeTest, TextBeyondLatin1TravelsAsUtf8) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"price 5\xDB caf\x8E", "price 5€ café"},
        {"\xD2quoted\xD3 \xD4it\xD5s\xD5", "“quoted” ‘it’s’"},
        {"\xA0 \xAA \xF0", "† ™ \uF8FF"},
    };
    for (const auto& [macRoman, utf8] : cases) {
        ASSERT_EQ(encode(macRoman, kM), 0) << utf8;
        const std::vector<std::pair<int, int>> segs = segmentsOfBand1();
        ASSERT_GE(segs.size(), 2u);
        EXPECT_EQ(segs[0], std::make_pair(kECI, 26)) << utf8;
        expectReads(utf8);
    }
    ASSERT_EQ(encode("plain ASCII", kM), 0);
    EXPECT_NE(segmentsOfBand1()[0].first, kECI);
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

TEST_F(QRCodeTest, BlockLetterBands) {
    ASSERT_EQ(encode("A", kL), 0);
    // 21 rows make 6 bands of 21 letters, each ended by 13, then a NUL.
    ASSERT_EQ(gEl.cu_len, 6 * 22);
    for (int band = 0; band < 6; ++band) EXPECT_EQ(gEl.chNum[band * 22 + 21], 13);
    EXPECT_EQ(gEl.chNum[gEl.cu_len], 0);
    EXPECT_EQ(gEl.chNum[0], 'e' + 15);  // finder corner: four dark rows
    for (int i = 0; i < gEl.cu_len; ++i) {
        const unsigned char c = gEl.chNum[i];
        ASSERT_TRUE(c == 13 || (c >= 'e' && c <= 't')) << i;
    }
    // The last band holds only row 20: its letters are 'e' or 'e' + 8.
    for (int x = 0; x < 21; ++x) EXPECT_EQ((gEl.chNum[5 * 22 + x] - 'e') & 7, 0);
}

}  // namespace
