#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/world.h"
#include "pdf417/DataMatrix.h"
#include "platform/macroman.h"
#include "support/reader.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

using datamatrix::configuration;
using datamatrix::gDataMatrix;
using Codewords = std::vector<int32_t>;

struct DataMatrix : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        gSym.code = 38;
    }

    int32_t make(const std::string& data, const std::string& options = "", int32_t variant = 0) {
        gSym.variation1 = variant;
        EXPECT_TRUE(copyBounded(gData.chMainCode, data.c_str()));
        gData.len1 = static_cast<int32_t>(data.size());
        EXPECT_TRUE(copyBounded(gData.chAddCode, options.c_str()));
        gData.len2 = static_cast<int32_t>(options.size());
        return doDataMatrixCode(gData.chMainCode);
    }

    // The data codewords before the pads.
    static Codewords data() {
        return {gDataMatrix.encoded, gDataMatrix.encoded + gDataMatrix.dataCount};
    }
    static Codewords stream() {
        return {gDataMatrix.finalBlock, gDataMatrix.finalBlock + gDataMatrix.finalCount};
    }
    static int32_t rows() { return configuration[gDataMatrix.format][datamatrix::kSymbolRows]; }
    static int32_t cols() { return configuration[gDataMatrix.format][datamatrix::kSymbolCols]; }

    // What an outside reader makes of the element list; the block letters pad
    // the last band with light rows, which are cut back to the symbol here.
    static testsupport::Decoded read() {
        auto m = testsupport::blockLettersToMatrix(gEl.chNum, gEl.cu_len);
        EXPECT_GE(static_cast<int32_t>(m.size()), rows());
        m.resize(static_cast<size_t>(rows()));
        for (const auto& r : m) EXPECT_EQ(static_cast<int32_t>(r.size()), cols());
        return testsupport::decode(testsupport::rasteriseMatrix(m, 4, 4, 4), "DataMatrix");
    }

    void expectReads(const std::string& latin1) {
        auto d = read();
        ASSERT_TRUE(d.ok) << d.error << " (" << rows() << "x" << cols() << ")";
        EXPECT_EQ(d.bytes, latin1);
    }
};

TEST_F(DataMatrix, KnownAnswers) {
    ASSERT_EQ(make("123456"), 0);
    EXPECT_EQ(rows(), 10);
    EXPECT_EQ(stream(), (Codewords{142, 164, 186, 114, 25, 5, 88, 102}));

    ASSERT_EQ(make("A", "10X10"), 0);
    EXPECT_EQ(stream(), (Codewords{66, 129, 70, 138, 234, 82, 82, 95}));
}

TEST_F(DataMatrix, BlockLetterBands) {
    ASSERT_EQ(make("123456"), 0);
    // Ten rows: three bands of ten letters, each ended by 13, then a NUL not
    // counted. Column 0 is the solid finder; the last band's lower two rows
    // lie below the symbol and are light.
    ASSERT_EQ(gEl.cu_len, 33);
    EXPECT_EQ(gEl.chNum[33], 0);
    for (int b = 0; b < 3; ++b) EXPECT_EQ(gEl.chNum[b * 11 + 10], 13);
    EXPECT_EQ(gEl.chNum[0], 't');
    EXPECT_EQ(gEl.chNum[11], 't');
    EXPECT_EQ(gEl.chNum[22], 'e' + 12);
    for (int x = 0; x < 10; ++x) EXPECT_EQ((gEl.chNum[22 + x] - 'e') & 3, 0);
    // A size past the module matrix is refused before anything is read or written.
    EXPECT_FALSE(datamatrix::debugMatrix(datamatrix::kMaxSide + 1, 10));
    EXPECT_EQ(gEl.cu_len, 33);
}

TEST_F(DataMatrix, Escapes) {
    struct Case {
        const char* data;
        Codewords codewords;
    } cases[] = {
        {"AB\\1C", {66, 67, 30, 68}},         // group separator away from the front
        {"\\1AB", {232, 66, 67}},             // FNC1 in front
        {"\\\\", {93}},                       // escaped backslash
        {"A\\", {66}},                        // lone trailing backslash dropped
        {"\\4", {53}},                        // unknown escape keeps the character
        {"\\@\\A\\Z", {1, 2, 27}},            // control bytes
        {"\\d065", {66}},                     // decimal byte
        {"\\d999", {235, 128}},               // capped at 255
        {"X\\d12", {89, 13}},                 // at the end: only what is there
        {"\\dAB", {101, 66, 67}},             // no digits: not an escape
        {"\\d232", {235, 105}},               // escaped bytes are data
        {"\\7000003A", {241, 4, 66}},         // ECI 3
        {"\\7000127", {241, 128, 1}},         // two-codeword ECI
        {"\\7016383", {241, 192, 1, 1}},      // three-codeword ECI
        {"\\7123", {201, 153}},               // too short for ECI: digits
        {"\\2!\"#A", {233, 33, 34, 35, 66}},  // structured append
        {"\\3A", {234, 66}},                  // reader programming, first only
        {"A\\3", {66, 52}},
        {"\\5A", {236, 66}},
        {"\\6A", {237, 66}},
        {"A\\5\\6", {66, 186}},
        {"1\\d0502", {142, 51}},  // digit pairs span escaped digits
    };
    for (const auto& c : cases) {
        ASSERT_EQ(make(c.data), 0) << c.data;
        EXPECT_EQ(data(), c.codewords) << c.data;
    }
}

TEST_F(DataMatrix, TypedMacRomanTravelsAsLatin1) {
    // Mac Roman 0xE8 (E diaeresis) would be FNC1 and 0x8E (e acute) a bare
    // byte; both must reach the reader as the letters typed.
    ASSERT_EQ(make("\xE8\x8E"), 0);
    EXPECT_EQ(data(), (Codewords{235, 0xCB - 127, 235, 0xE9 - 127}));
    ASSERT_EQ(make("Cr\217me br\236l\216e"), 0);
    auto d = read();
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text, "Crème brûlée");

    // Every Mac Roman character typed directly: those that Latin-1 has go as
    // Latin-1 with no ECI, the rest turn the whole text to UTF-8 under ECI 26.
    std::string latin1, all;
    for (int c = 0x80; c <= 0xFF; ++c) {
        const char one = static_cast<char>(c);
        all += one;
        if (platform::macRomanToLatin1(static_cast<unsigned char>(c)) >= 0) latin1 += one;
    }
    EXPECT_EQ(latin1.size(), 128u - 48u);  // 48 Mac Roman characters have no Latin-1 form
    for (const std::string& typed :
         {latin1, all, std::string("price 5\xDB caf\x8E"), std::string("\xD2quoted\xD3")}) {
        ASSERT_EQ(make(typed), 0);
        EXPECT_EQ(data()[0] == 241, typed != latin1) << "ECI 26 only beyond Latin-1";
        auto d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, platform::macRomanToUtf8(typed));
    }
}

TEST_F(DataMatrix, SizeOption) {
    const std::string forty(40, 'A');
    ASSERT_EQ(make(forty, "16X48"), 0);
    EXPECT_EQ(gDataMatrix.format, 29);
    ASSERT_EQ(make(forty, "10X10"), 0);  // too small: automatic choice
    EXPECT_EQ(rows(), 26);
    ASSERT_EQ(make("A", "10X10\r"), 0);  // the field's return is accepted
    EXPECT_EQ(rows(), 10);
    ASSERT_EQ(make(forty, "20X20"), 0);
    EXPECT_EQ(rows(), 26);
    // Either case of X, blanks around the size ignored.
    for (const char* same : {"24x24", " 24X24", "24X24 "}) {
        ASSERT_EQ(make("A", same), 0) << same;
        EXPECT_EQ(rows(), 24) << same;
    }
    EXPECT_EQ(gMsg.shown, 0);
    // A size that does not exist is refused with the list of those that do.
    for (const char* none : {"24X25", "33X33", "24", "X"}) {
        gMsg.last.clear();
        ASSERT_EQ(make("A", none), 1) << none;
        EXPECT_NE(gMsg.last.find("Square: 10, 12, 14"), std::string::npos) << gMsg.last;
        EXPECT_NE(gMsg.last.find("132, 144 (as 24X24); oblong: 8X18, 8X32"), std::string::npos)
            << gMsg.last;
        EXPECT_NE(gMsg.last.find("16X48."), std::string::npos) << gMsg.last;
    }
}

TEST_F(DataMatrix, EmptyOptionsTextLeavesItsNeighbourAlone) {
    gData.chMainCode4[kAddCodeSize - 1] = 13;  // the byte in front of chAddCode
    ASSERT_EQ(make("A", ""), 0);
    EXPECT_EQ(gData.chMainCode4[kAddCodeSize - 1], 13);
}

// Full symbols read back whole, which proves the placement and, for 144x144,
// the order of the two short blocks' check codewords.
TEST_F(DataMatrix, EveryForcedSizeReads) {
    for (int32_t f = 0; f < datamatrix::kSizeCount; ++f) {
        SCOPED_TRACE(datamatrix::kOptionWords[f]);
        // Full of letters (one codeword each), then short with pads.
        std::string full;
        for (int32_t i = 0; i < configuration[f][datamatrix::kTotalData]; ++i)
            full += static_cast<char>('A' + i % 26);
        ASSERT_EQ(make(full, datamatrix::kOptionWords[f]), 0);
        ASSERT_EQ(gDataMatrix.format, f);
        EXPECT_EQ(gDataMatrix.dataCount, configuration[f][datamatrix::kTotalData]);
        expectReads(full);
        ASSERT_EQ(make("Hi", datamatrix::kOptionWords[f]), 0);
        ASSERT_EQ(gDataMatrix.format, f);
        expectReads("Hi");
    }
}

TEST_F(DataMatrix, GS1WithFNC1) {
    const std::string gs1 = "010950600013435210ABC123\\121XYZ";
    // The dispatcher puts "\1" in front for EAN DataMatrix; again on every call.
    for (const char* prefix : {"\\1", "", "\\1\\1\\1"}) {
        ASSERT_EQ(make(prefix + gs1, "", 2), 0);
        EXPECT_EQ(data()[0], datamatrix::kFNC1);
        EXPECT_NE(data()[1], datamatrix::kFNC1);
        auto d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.symbologyId, "]d2");
        EXPECT_EQ(d.text, "010950600013435210ABC123\03521XYZ");
    }
    // Sixteen digits after FNC1 are eight digit pairs.
    ASSERT_EQ(make("\\11234567890123456", "", 2), 0);
    EXPECT_EQ(data(), (Codewords{232, 142, 164, 186, 208, 220, 142, 164, 186}));
}

TEST_F(DataMatrix, EscapesRead) {
    ASSERT_EQ(make("\\5AB"), 0);  // 05 macro: the reader wraps the message
    expectReads("[)>\03605\035AB\036\004");
    ASSERT_EQ(make("\\6AB"), 0);
    expectReads("[)>\03606\035AB\036\004");
    ASSERT_EQ(make("\\\\x\\@\\M\\Z-\\1y"), 0);
    expectReads(std::string("\\x\0\r\x1A-\x1Dy", 8));
}

TEST_F(DataMatrix, EveryByteValue) {
    std::string data, expected;
    for (int v = 0; v < 256; ++v) {
        char e[8];
        std::snprintf(e, sizeof e, "\\d%03d", v);
        data += e;
        expected += static_cast<char>(v);
    }
    ASSERT_EQ(make(data), 0);
    expectReads(expected);
}

TEST_F(DataMatrix, LongData) {
    std::string text;
    for (int i = 0; text.size() < 1500; ++i) text += "Lot " + std::to_string(i * 7919) + "/x; ";
    text.resize(1500);
    ASSERT_EQ(make(text), 0);
    expectReads(text);
}

TEST_F(DataMatrix, Refusals) {
    ASSERT_EQ(make("123456"), 0);
    const int32_t before = gEl.cu_len;
    struct Case {
        std::string data;
        const char* why;
    } cases[] = {
        {std::string(1559, 'A'), "one codeword too many"},
        {std::string(1500, '\xE9'), "upper shifts double the codewords"},
        {"\\", "empty after escapes"},
    };
    for (const auto& c : cases) {
        resetMessages();
        gMsg.quiet = true;
        EXPECT_EQ(make(c.data), 1) << c.why;
        EXPECT_FALSE(gMsg.last.empty()) << c.why;
        EXPECT_EQ(gEl.cu_len, before) << c.why;  // the element list is left as it was
    }
    EXPECT_EQ(make(std::string(1558, 'A')), 0);
    EXPECT_EQ(make(std::string(2047, '7')), 0);                      // digit pairs: 1024 codewords
    EXPECT_EQ(doDataMatrixCode(std::string(3000, '7').c_str()), 1);  // longer than the data buffer
}

}  // namespace
