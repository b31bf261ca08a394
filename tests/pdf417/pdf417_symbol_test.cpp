// Whole PDF417 symbols: an outside reader reads back the data from the module
// rows, and the front ends size, refuse and restore as users expect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdf417/pdf417_enc.h"
#include "pdf417/pdf417_tables.h"
#include "platform/macroman.h"
#include "support/cases.h"
#include "symbol_fixture.h"
#include "support/reader.h"
#include "symbology/encoders.h"

namespace {

struct Pdf417Symbol : SymbolTest {
    void SetUp() override {
        SymbolTest::SetUp();
        gSym.code = 42;
    }
};

testsupport::Decoded read(const ElementList& el = gEl) {
    // Rows three modules high, a quiet zone of two modules.
    return testsupport::decode(testsupport::rasteriseModuleRows(el.chNum, el.cu_len, 4, 12, 2),
                               "PDF417");
}

int32_t make(const std::string& data, int32_t variation1 = 0) {
    gSym.variation1 = variation1;
    SymbolTest::setData(data);
    switch (variation1) {
        case 1:
            return Barcode2D_CreatePDFByteCompaction();
        case 2:
            return Barcode2D_CreatePDFTruncated();
        default:
            return Barcode2D_CreatePDF();
    }
}

// What a reader finds: text that Latin-1 holds as its Latin-1 bytes (no ECI, so
// the reader's guess at a character set does not count), any other text as the
// characters typed, under ECI 26.
void expectContent(const testsupport::Decoded& d, const std::string& macRoman) {
    const platform::SymbolBytes sent = platform::macRomanToSymbolBytes(macRoman);
    if (sent.utf8)
        EXPECT_EQ(d.text, platform::macRomanToUtf8(macRoman));
    else
        EXPECT_EQ(d.bytes, sent.bytes);
}

struct Rows {
    int count = 0;
    int modules = 0;  // of the first row
};

Rows rows(const ElementList& el = gEl) {
    Rows r;
    int n = 0;
    for (int i = 0; i < el.cu_len; ++i) {
        if (el.chNum[i] == 13) {
            if (r.count++ == 0) r.modules = n;
            n = 0;
        } else {
            ++n;
        }
    }
    return r;
}

void expectReads(const std::string& data, int32_t variation1 = 0) {
    ASSERT_EQ(make(data, variation1), 0) << gMsg.last;
    EXPECT_EQ(gEl.chNum[gEl.cu_len], 0) << "a NUL ends the list";
    testsupport::Decoded d = read();
    ASSERT_TRUE(d.ok) << d.error;
    expectContent(d, data);
}

std::string sampleText(size_t n) {
    const std::string words = "Strixel prints PDF417 labels, 24 per sheet: Lot #A-17/b (ok?) ";
    std::string s;
    while (s.size() < n) s += words;
    return s.substr(0, n);
}

TEST_F(Pdf417Symbol, TextOfEveryLengthStepReadsBack) {
    for (size_t n : {1u, 2u, 40u, 41u, 160u, 161u, 320u, 321u, 600u}) {
        SCOPED_TRACE(n);
        expectReads(sampleText(n));
    }
    expectReads("Hello World, 2024! Mixed CASE text; a+b=c (x@y.com) ~{}|[]\\^_`<>?\"'");
    std::string ascii;
    for (int c = 32; c < 127; ++c) ascii += static_cast<char>(c);
    expectReads(ascii + "\t\r\n" + ascii);
}

TEST_F(Pdf417Symbol, RowsAreAddedUntilTheDataFits) {
    // One character: the 3 x 3 guess holds only the error correction.
    ASSERT_EQ(make("A"), 0);
    EXPECT_EQ(rows().count, 4);
    // Bytes outside text compaction take two codewords each.
    expectReads(std::string(40, '\x8E'));
    EXPECT_GT(rows().count, 7);
}

// Long data grows the symbol by rows, its columns kept, up to 90 rows and the
// 928 codewords a symbol holds.
TEST_F(Pdf417Symbol, LargeSymbolsHoldTheirData) {
    const int widest = 17 * (27 + 4) + 1;  // 27 data columns, as the clamp leaves them
    const std::string sentence =
        "Strixel prints the labels of the warehouse in the order the pickers walk. ";
    for (size_t n : {880u, 1200u}) {
        SCOPED_TRACE(n);
        std::string text;
        while (text.size() < n) text += sentence;
        text.resize(n);
        expectReads(text);
        EXPECT_EQ(rows().modules, widest);
        EXPECT_GT(rows().count, 27);  // taller than the columns are wide
        EXPECT_FALSE(gEl.overflow);
    }
    // Text with long runs of digits that plain text compaction cannot fit sends
    // the runs in numeric compaction.
    std::string lots;
    for (int i = 0; lots.size() < 1800; ++i)
        lots += "Lot " + std::to_string(4006381333931LL + 7919LL * i) +
                std::to_string(1000000000000LL + 104729LL * i) + "0421700000 OK ";
    lots.resize(1800);
    for (const std::string& data :
         {lots, std::string(2047, '7'), "Serial " + std::string(1500, '3') + " end"}) {
        SCOPED_TRACE(data.substr(0, 12));
        expectReads(data);
    }
    // 1,000 bytes in byte compaction.
    std::string bytes;
    for (int i = 0; bytes.size() < 1000; ++i) bytes += static_cast<char>(32 + (i * 37) % 95);
    expectReads(bytes, 1);
}

TEST_F(Pdf417Symbol, TooLongDataIsRefused) {
    // Past 928 codewords even with 90 rows: refused, nothing drawn.
    for (const std::string& data : {std::string(1800, 'a'), std::string(1900, '\x8E')}) {
        quietMessages();
        EXPECT_EQ(make(data), 1);
        EXPECT_EQ(gEl.cu_len, 0);
        EXPECT_EQ(gMsg.inerror, 1);
        EXPECT_NE(gMsg.last.find("too long"), std::string::npos) << gMsg.last;
    }
}

// Symbols that the square held before rows were added keep their exact element
// lists, which also pins the square first guess (7 x 7 for 40 letters, 8 x 8 for 41).
TEST_F(Pdf417Symbol, SquareSymbolsAreUnchanged) {
    for (const auto& c : testsupport::readCases("pdf417/square_symbols.txt", 4)) {
        SCOPED_TRACE(c.where);
        ASSERT_EQ(make(sampleText(static_cast<size_t>(c.integer(1))), c.integer(0)), 0);
        uint64_t h = 1469598103934665603ull;
        for (int i = 0; i < gEl.cu_len; ++i) {
            h ^= gEl.chNum[i];
            h *= 1099511628211ull;
        }
        EXPECT_EQ(gEl.cu_len, c.integer(2));
        EXPECT_EQ(h, static_cast<uint64_t>(c.numbers(3).at(0)));
    }
}

TEST_F(Pdf417Symbol, RandomDataReadsBackInBothCompactions) {
    // Runs of letters, digits, punctuation and high bytes drive every latch,
    // shift and byte shift of text compaction against each other.
    const std::string pools[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                 "abcdefghijklmnopqrstuvwxyz",
                                 "0123456789 ",
                                 "&\r\t,:#-.$/+%*=^",
                                 "\n;<>@[\\]_`~!\"|()?{}'",
                                 "\x80\x8E\x9F\xA7\xC0\xE9\xFF\x01\x1F"};
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 24; ++round) {
        std::string data;
        const size_t length = 1 + next(300);
        while (data.size() < length) {
            const std::string& pool = pools[next(6)];
            for (uint32_t run = 1 + next(4); run > 0 && data.size() < length; --run)
                data += pool[next(static_cast<uint32_t>(pool.size()))];
        }
        SCOPED_TRACE(round);
        expectReads(data, static_cast<int32_t>(round % 2));
    }
}

TEST_F(Pdf417Symbol, AccentedMacRomanReadsAsLatin1) {
    ASSERT_EQ(make("Caf\x8E M\x9Fller \x84"
                   "and\x9C \xAEr\xBF \x83l\x8Fve"),
              0);
    testsupport::Decoded d = read();
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text, "Café Müller Ñandú Ærø Élève");
}

TEST_F(Pdf417Symbol, ByteCompactionCarriesEveryByte) {
    std::string bytes;
    for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c);
    // Six bytes a group (latch 924) and a remainder (latch 901); one byte by shift.
    for (const std::string& data :
         {bytes, std::string("ABCDEF"), std::string("12345"), std::string("A")})
        expectReads(data, 1);
    // Byte 0 cannot travel in the NUL-terminated data; the builder takes a length.
    std::string all(1, '\0');
    all += bytes;
    gPdf.ByteComp = 1;
    ElementList el;
    ASSERT_EQ(BuildPDF417(kPdfModeModules, "", "", 30, 16, 4,
                          reinterpret_cast<const unsigned char*>(all.data()), all.size(), el, 0),
              kPdfOk);
    testsupport::Decoded d = read(el);
    ASSERT_TRUE(d.ok) << d.error;
    expectContent(d, all);
}

TEST_F(Pdf417Symbol, TruncatedSymbol) {
    expectReads(sampleText(100), 2);
    const Rows r = rows();
    const int c = (r.modules - 1) / 17 - 2;
    EXPECT_EQ(r.modules, 17 * (c + 2) + 1);
    EXPECT_EQ(gEl.chNum[r.modules - 1], 190) << "ends with one bar";
}

TEST_F(Pdf417Symbol, MacroSegments) {
    struct Case {
        const char* data;
        int32_t variation1;
        const char* text;
        int index;
        const char* fileId;  // three digits a file ID codeword
        bool last;
    };
    for (Case c : {Case{"*L7;12\\3*HELLO World", 0, "HELLO World", 7, "012003", true},
                   Case{"*3;800*part three", 1, "part three", 3, "800", false},
                   Case{"*5*no file ID field", 0, "no file ID field", 5, "001", false},
                   Case{"*6;*empty file ID", 0, "empty file ID", 6, "", false}}) {
        SCOPED_TRACE(c.data);
        ASSERT_EQ(make(c.data, c.variation1), 0) << gMsg.last;
        const testsupport::Decoded d = read();
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, c.text);
        EXPECT_EQ(d.sequenceIndex, c.index);
        EXPECT_EQ(d.sequenceId, c.fileId);
        EXPECT_EQ(d.lastInSequence, c.last);
    }
}

TEST_F(Pdf417Symbol, BadMacroHeaderIsRefused) {
    for (const char* bad : {"**X", "*7X", "*;12*X", "*100000*X", "*7;x*X"}) {
        quietMessages();
        EXPECT_EQ(make(bad), 1) << bad;
        EXPECT_EQ(gEl.cu_len, 0) << bad;
        EXPECT_NE(gMsg.last.find("Macro PDF417"), std::string::npos) << bad;
    }
}

TEST_F(Pdf417Symbol, EveryLevelThroughTheBuilder) {
    struct Case {
        int level, rows, columns, truncated;
    };
    // A level-8 symbol needs 514 places; only truncated rows of 27 columns fit
    // that many into the element list.
    for (Case c :
         {Case{1, 6, 4, 0}, Case{2, 8, 6, 0}, Case{3, 10, 6, 0}, Case{4, 10, 8, 0},
          Case{5, 12, 10, 0}, Case{6, 15, 12, 0}, Case{7, 18, 18, 0}, Case{8, 20, 27, 1}}) {
        SCOPED_TRACE(c.level);
        gPdf.ByteComp = 0;
        ElementList el;
        const std::string data = "Level " + std::to_string(c.level) + " symbol";
        ASSERT_EQ(BuildPDF417(kPdfModeModules, "", "", c.rows, c.columns, c.level, data.c_str(), el,
                              c.truncated),
                  kPdfOk);
        EXPECT_EQ(gPdf.eclen, 2 << c.level);
        testsupport::Decoded d = read(el);
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.text, data);
    }
}

// Overwrites codeword `col` (1 = first data column) of module row `row` with the
// pattern of another codeword of the same cluster.
void spoil(ElementList& el, int row, int col, int codeword) {
    const Rows r = rows(el);
    unsigned char* p = el.chNum + row * (r.modules + 1) + 17 + col * 17;
    const uint32_t bits = PDF417_BITS[row % 3][codeword];
    for (int b = 0; b < 17; ++b) p[b] = (bits >> (16 - b) & 1) ? 190 : 59;
}

TEST_F(Pdf417Symbol, Level2CorrectsFourWrongCodewords) {
    ASSERT_EQ(make(std::string("CORRECT ME 1234")), 0);
    ASSERT_EQ(gPdf.ec_level, 2);
    spoil(gEl, 0, 1, 100);
    spoil(gEl, 1, 2, 200);
    spoil(gEl, 2, 3, 300);
    spoil(gEl, 3, 1, 400);
    testsupport::Decoded d = read();
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text, "CORRECT ME 1234");
}

TEST_F(Pdf417Symbol, SettingsAndDataSurviveGeneration) {
    gSym.Siz = 100.5;
    gSym.Hei = 12.25;
    gSym.BW = 1;
    const std::string data = sampleText(300) + "\x8E";
    setData(data, "H1");
    ASSERT_EQ(Barcode2D_CreatePDF(), 0);
    EXPECT_EQ(gSym.Siz, 100.5);
    EXPECT_EQ(gSym.Hei, 12.25);
    EXPECT_EQ(gSym.BW, 1);
    EXPECT_EQ(gData.chAddCode[0], 0);
    EXPECT_EQ(gData.len2, 0);
    EXPECT_EQ(std::string(gData.chMainCode2), data);
    EXPECT_EQ(gData.len11, 301);
    // The data is not converted in place: a second run makes the same symbol.
    EXPECT_EQ(std::string(gData.chMainCode), data);
    const std::vector<unsigned char> first(gEl.chNum, gEl.chNum + gEl.cu_len);
    ASSERT_EQ(Barcode2D_CreatePDF(), 0);
    EXPECT_EQ(std::vector<unsigned char>(gEl.chNum, gEl.chNum + gEl.cu_len), first);
}

TEST_F(Pdf417Symbol, SizingWritesTheHandOverSettings) {
    setData(std::string(41, 'x'));
    calcpdfrowcols();
    EXPECT_EQ(gSym.BW, 3);
    EXPECT_EQ(gSym.Hei, 8);
    EXPECT_EQ(gSym.Siz, 8);
    setData(std::string(321, 'x'));
    calcpdfrowcols();
    EXPECT_EQ(gSym.BW, 5);
}

TEST_F(Pdf417Symbol, BuilderRefusesWithoutWritingAndClamps) {
    ElementList el;
    el.put(7);
    EXPECT_EQ(BuildPDF417(kPdfModeModules, "", "", 3, 3, 2, "AB", el, 0), kPdfNoRoomForEC);
    EXPECT_EQ(el.cu_len, 1);
    EXPECT_EQ(BuildPDF417(kPdfModeModules, "", "", 3, 1, 2, std::string(60, 'A').c_str(), el, 0),
              kPdfNoRoomForData);
    EXPECT_EQ(el.cu_len, 1);
    // More places than a symbol may hold.
    EXPECT_EQ(BuildPDF417(kPdfModeModules, "", "", 40, 27, 2, "AB", el, 0), kPdfTooLarge);
    EXPECT_EQ(el.cu_len, 1);

    el.clear();
    // Too few rows become 3; too many columns 27 data columns.
    ASSERT_EQ(BuildPDF417(kPdfModeModules, "", "", 1, 29, 0, "AB", el, 0), kPdfOk);
    EXPECT_EQ(gPdf.number_of_rows, 3);
    EXPECT_EQ(gPdf.number_of_columns, 29);
    EXPECT_EQ(gPdf.eclen, 64);  // level 0 becomes 5
    el.clear();
    ASSERT_EQ(BuildPDF417(kPdfModeModules, "", "", 3, INT32_MAX, 1, "AB", el, 0), kPdfOk);
    EXPECT_EQ(gPdf.number_of_columns, 29);
}

}  // namespace
