#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pdf417/DataMatrix.h"
#include "platform/macroman.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbol_fixture.h"
#include "symbology/encoders.h"

namespace {

using datamatrix::configuration;
using datamatrix::gDataMatrix;
using Codewords = std::vector<int32_t>;

struct DataMatrix : SymbolTest {
    void SetUp() override {
        SymbolTest::SetUp();
        gSym.code = 38;
    }

    static int32_t make(const std::string& data, const std::string& options = "",
                        int32_t variant = 0) {
        gSym.variation1 = variant;
        setData(data, options);
        return doDataMatrixCode(gData.chMainCode);
    }

    // The data codewords before the pads.
    static Codewords data() {
        return {gDataMatrix.encoded, gDataMatrix.encoded + gDataMatrix.dataCount};
    }
    static int32_t rows() { return configuration[gDataMatrix.format][datamatrix::kSymbolRows]; }
    static int32_t cols() { return configuration[gDataMatrix.format][datamatrix::kSymbolCols]; }

    // What an outside reader makes of the element list, which must hold the
    // symbol's rows and columns exactly.
    static testsupport::Decoded read() {
        EXPECT_EQ(testsupport::blockLetterFault(gEl.chNum, gEl.cu_len, rows(), cols()), "");
        return testsupport::decode(
            testsupport::rasteriseMatrix(testsupport::blockLetterSymbol(gEl.chNum, gEl.cu_len)),
            "DataMatrix");
    }

    static void expectReads(const std::string& latin1) {
        auto d = read();
        ASSERT_TRUE(d.ok) << d.error << " (" << rows() << "x" << cols() << ")";
        EXPECT_EQ(d.bytes, latin1);
    }
};

TEST_F(DataMatrix, KnownAnswers) {
    // The standard's examples, check codewords included.
    ASSERT_EQ(make("123456"), 0);
    EXPECT_EQ(rows(), 10);
    const auto stream = [] {
        return Codewords(gDataMatrix.finalBlock, gDataMatrix.finalBlock + gDataMatrix.finalCount);
    };
    EXPECT_EQ(stream(), (Codewords{142, 164, 186, 114, 25, 5, 88, 102}));
    ASSERT_EQ(make("A", "10X10"), 0);
    EXPECT_EQ(stream(), (Codewords{66, 129, 70, 138, 234, 82, 82, 95}));
    // A size past the module matrix is refused before anything is read or written.
    const int32_t before = gEl.cu_len;
    EXPECT_FALSE(datamatrix::debugMatrix(datamatrix::kMaxSide + 1, 10));
    EXPECT_EQ(gEl.cu_len, before);
}

TEST_F(DataMatrix, Escapes) {
    for (const auto& c : testsupport::readCases("pdf417/datamatrix_escapes.txt", 2)) {
        ASSERT_EQ(make(c[0]), 0) << c.where;
        const auto n = c.numbers(1);
        EXPECT_EQ(data(), Codewords(n.begin(), n.end())) << c.where;
    }
}

TEST_F(DataMatrix, TypedMacRomanTravelsAsLatin1) {
    // Mac Roman 0xE8 (E diaeresis) would be FNC1 and 0x8E (e acute) a bare
    // byte; both must reach the reader as the letters typed.
    ASSERT_EQ(make("\xE8\x8E"), 0);
    EXPECT_EQ(data(), (Codewords{235, 0xCB - 127, 235, 0xE9 - 127}));

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
         {latin1, all, std::string("Cr\217me br\236l\216e"), std::string("price 5\xDB caf\x8E"),
          std::string("\xD2quoted\xD3")}) {
        ASSERT_EQ(make(typed), 0);
        EXPECT_EQ(data()[0] == 241, platform::macRomanToSymbolBytes(typed).utf8)
            << "ECI 26 only beyond Latin-1";
        auto d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, platform::macRomanToUtf8(typed));
    }
}

TEST_F(DataMatrix, SizeOption) {
    const std::string forty(40, 'A');
    struct Case {
        std::string data;
        const char* option;
        int32_t rows;
    } cases[] = {
        {forty, "16X48", 16},
        {forty, "10X10", 26},  // too small: automatic choice
        {forty, "20X20", 26},
        {"A", "10X10\r", 10},  // the field's return is accepted
        // Either case of X, blanks around the size ignored.
        {"A", "24x24", 24},
        {"A", " 24X24", 24},
        {"A", "24X24 ", 24},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(make(c.data, c.option), 0) << c.option;
        EXPECT_EQ(rows(), c.rows) << c.option;
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

// Full symbols read back whole, which proves the placement, every generator
// and, for 144x144, the order of the two short blocks' check codewords.
TEST_F(DataMatrix, EveryForcedSizeReads) {
    for (int32_t f = 0; f < datamatrix::kSizeCount; ++f) {
        SCOPED_TRACE(datamatrix::kOptionWords[f]);
        // Full of letters (one codeword each), then short with pads.
        std::string full;
        for (int32_t i = 0; i < configuration[f][datamatrix::kTotalData]; ++i)
            full += static_cast<char>('A' + i % 26);
        for (const std::string& data : {full, std::string("Hi")}) {
            ASSERT_EQ(make(data, datamatrix::kOptionWords[f]), 0);
            ASSERT_EQ(gDataMatrix.format, f);
            expectReads(data);
        }
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
    // Element strings typed in parentheses go without them, a separator after
    // each element of no predefined length that has more behind it.
    // A separator typed between bracketed elements, or at the end, is not put in twice.
    for (const char* typed :
         {"\\1(01)09506000134352(10)ABC123(21)XYZ", "(01)09506000134352(10)ABC123\\1(21)XYZ\\1"}) {
        SCOPED_TRACE(typed);
        ASSERT_EQ(make(typed, "", 2), 0);
        auto d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.symbologyId, "]d2");
        EXPECT_EQ(d.text, "010950600013435210ABC123\03521XYZ");
    }
    // A separator typed inside a value ends it before the AI behind it; after an
    // escaped backslash, "1" is data.
    const std::pair<const char*, const char*> inValue[] = {
        {"(10)AB\\121C", "10AB\03521C"},
        {"(10)AB\\\\1(21)C", "10AB\\1\03521C"},
    };
    for (const auto& [typed, text] : inValue) {
        SCOPED_TRACE(typed);
        ASSERT_EQ(make(typed, "", 2), 0);
        auto d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, text);
    }
    // Sixteen digits after FNC1 are eight digit pairs.
    ASSERT_EQ(make("\\11234567890123456", "", 2), 0);
    EXPECT_EQ(data(), (Codewords{232, 142, 164, 186, 208, 220, 142, 164, 186}));
}

TEST_F(DataMatrix, EscapesAndEveryByteRead) {
    std::string everyByte, expected;
    for (int v = 0; v < 256; ++v) {
        char e[8];
        std::snprintf(e, sizeof e, "\\d%03d", v);
        everyByte += e;
        expected += static_cast<char>(v);
    }
    std::string text;
    for (int i = 0; text.size() < 1500; ++i) text += "Lot " + std::to_string(i * 7919) + "/x; ";
    text.resize(1500);
    // The 05 and 06 macros: the reader wraps the message.
    const std::pair<std::string, std::string> cases[] = {
        {"\\5AB", "[)>\03605\035AB\036\004"},
        {"\\6AB", "[)>\03606\035AB\036\004"},
        {"\\\\x\\@\\M\\Z-\\1y", std::string("\\x\0\r\x1A-\x1Dy", 8)},
        {everyByte, expected},
        {text, text},
    };
    for (const auto& [typed, bytes] : cases) {
        ASSERT_EQ(make(typed), 0) << typed.substr(0, 20);
        expectReads(bytes);
    }
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
        quietMessages();
        EXPECT_EQ(make(c.data), 1) << c.why;
        EXPECT_FALSE(gMsg.last.empty()) << c.why;
        EXPECT_EQ(gEl.cu_len, before) << c.why;  // the element list is left as it was
    }
    EXPECT_EQ(make(std::string(1558, 'A')), 0);
    EXPECT_EQ(make(std::string(2047, '7')), 0);                      // digit pairs: 1024 codewords
    EXPECT_EQ(doDataMatrixCode(std::string(3000, '7').c_str()), 1);  // longer than the data buffer
}

}  // namespace
