// Whole PDF417 symbols: an outside reader reads back the data from the module
// rows, and the front ends size, refuse and restore as users expect.
#define ZX_USE_UTF8 1
#include <ZXing/DecodeHints.h>
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "pdf417/pdf417_enc.h"
#include "pdf417/pdf417_tables.h"
#include "platform/macroman.h"
#include "support/reader.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"

using testsupport::Bitmap;

namespace {

constexpr int kModulePx = 4;
constexpr int kRowPx = 12;  // rows three modules high
constexpr int kQuietModules = 2;

class Pdf417Symbol : public ::testing::Test {
  protected:
    void SetUp() override {
        resetWorld();
        resetMessages();
        gMsg.quiet = true;
        gSym.code = 42;
    }
};

Bitmap raster(const ElementList& el = gEl) {
    return testsupport::rasteriseModuleRows(el.chNum, el.cu_len, kModulePx, kRowPx, kQuietModules);
}

void setData(const std::string& data) {
    ASSERT_LT(data.size(), sizeof gData.chMainCode);
    std::memcpy(gData.chMainCode, data.data(), data.size());
    gData.chMainCode[data.size()] = 0;
    gData.len1 = static_cast<int32_t>(data.size());
}

int32_t make(const std::string& data, int32_t variation1 = 0) {
    gSym.variation1 = variation1;
    setData(data);
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
    testsupport::Decoded d = testsupport::decode(raster(), "PDF417");
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
}

TEST_F(Pdf417Symbol, FirstGuessIsSquare) {
    ASSERT_EQ(make(std::string(40, 'A')), 0);
    EXPECT_EQ(rows().count, 7);
    EXPECT_EQ(rows().modules, 17 * (7 + 4) + 1);
    ASSERT_EQ(make(std::string(41, 'A')), 0);
    EXPECT_EQ(rows().count, 8);
    EXPECT_EQ(rows().modules, 17 * (8 + 4) + 1);
    // Row 1 of a 7 x 7 symbol at level 2 carries the indicators 6 and 2.
    ASSERT_EQ(make(std::string(40, 'A')), 0);
    EXPECT_EQ(gPdf.rows_columns[1][0], 6);
    EXPECT_EQ(gPdf.rows_columns[1][8], 2);
}

TEST_F(Pdf417Symbol, RowsAreAddedUntilTheDataFits) {
    // One character: the 3 x 3 guess holds only the error correction.
    ASSERT_EQ(make("A"), 0);
    EXPECT_EQ(rows().count, 4);
    // Bytes outside text compaction take two codewords each.
    std::string accents(40, '\x8E');
    expectReads(accents);
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
    }
    // Text with long runs of digits that plain text compaction cannot fit sends
    // the runs in numeric compaction.
    std::string lots;
    for (int i = 0; lots.size() < 1800; ++i)
        lots += "Lot " + std::to_string(4006381333931LL + 7919LL * i) +
                std::to_string(1000000000000LL + 104729LL * i) + "0421700000 OK ";
    lots.resize(1800);
    {
        SCOPED_TRACE("lots");
        expectReads(lots);
    }
    {
        SCOPED_TRACE("2047 digits");
        expectReads(std::string(2047, '7'));
    }
    std::string mixedDigits = "Serial " + std::string(1500, '3') + " end";
    expectReads(mixedDigits);
    // 1,000 bytes in byte compaction.
    std::string bytes;
    for (int i = 0; bytes.size() < 1000; ++i) bytes += static_cast<char>(32 + (i * 37) % 95);
    expectReads(bytes, 1);
    // Past 928 codewords even with 90 rows: refused, nothing drawn.
    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(make(std::string(1800, 'a')), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_NE(gMsg.last.find("too long"), std::string::npos);
}

// Symbols that the square held before rows were added keep their exact element
// lists (FNV-1a of the list, from the encoder as it was).
TEST_F(Pdf417Symbol, SquareSymbolsAreUnchanged) {
    const struct {
        int variant, length, bytes;
        uint64_t hash;
    } golden[] = {
        {0, 1, 484, 0xd6249a4ce6bd721aull},      {0, 2, 552, 0x5f918fbfc4913b28ull},
        {0, 5, 552, 0x02c14430a63bcf4full},      {0, 10, 775, 0xce2182e0d6168983ull},
        {0, 20, 775, 0xf10aff1bb06370f9ull},     {0, 39, 1323, 0x78c4ce033cc94311ull},
        {0, 40, 1323, 0x2f15954710a6a9d5ull},    {0, 41, 1648, 0xb3410610c1043953ull},
        {0, 80, 2400, 0xa21cf3843e31bcfdull},    {0, 159, 3783, 0xd7e302eeb07c421full},
        {0, 160, 3783, 0xc420cb18ee58a9e0ull},   {0, 161, 3783, 0x0909deacab5abd42ull},
        {0, 250, 5472, 0xbb776e74c3ec0fd7ull},   {0, 320, 6768, 0x7eeac81ba0c1289dull},
        {0, 321, 7467, 0xc147d0ff64c093b4ull},   {0, 400, 8200, 0x919b9eafb5e949d7ull},
        {0, 450, 8967, 0xfa2affa441aaf9d7ull},   {0, 500, 9768, 0xc368367c377baad7ull},
        {0, 550, 10603, 0x596c5a10d3c9e883ull},  {0, 600, 11472, 0x8981bff690331e23ull},
        {0, 650, 12375, 0x94bb1e35cfeec25dull},  {0, 700, 13312, 0xf58fbd1de5604777ull},
        {0, 800, 15288, 0x55b514b8f1b53bf8ull},  {0, 900, 15341, 0x06dcfeac1bcf6036ull},
        {0, 1000, 15870, 0x507c7a66d25b7576ull}, {1, 1, 484, 0x5c6ac3ac22ff83d7ull},
        {1, 2, 552, 0x81f094f287aa6989ull},      {1, 5, 552, 0xaa3262d34652fa6dull},
        {1, 10, 775, 0xb83ad31c9eb5f48eull},     {1, 20, 930, 0x8ca0da9b3b4648fcull},
        {1, 39, 1323, 0x374ab62955431a72ull},    {1, 40, 1323, 0x04fa902ad69fba95ull},
        {1, 41, 1648, 0xdb401197a70c4389ull},    {1, 80, 2400, 0xf2bca7fa5f8b854full},
        {1, 159, 3783, 0xd9ea5c653efe95bcull},   {1, 160, 3783, 0xbf449b96f1bc01c3ull},
        {1, 161, 3783, 0xe23e701f7a65aa31ull},   {1, 250, 5472, 0x8458bd2c38ff336eull},
        {1, 320, 6768, 0x4c10bc762df0b5eaull},   {1, 321, 7467, 0x92ff770a9357f614ull},
        {1, 400, 8200, 0xec0a75340ab85b51ull},   {1, 450, 8967, 0xcaef61b1d2be7dcfull},
        {1, 500, 9768, 0xfa975761f96126f2ull},   {1, 550, 10603, 0x9de6fb969ef50331ull},
        {1, 600, 11472, 0x23e8e26cd5efcd59ull},  {1, 650, 12375, 0x7bd9d5aa88dcbf86ull},
        {1, 700, 13312, 0x36f31f830e7d1eb4ull},  {1, 800, 15288, 0xf90c3dfad14f6179ull},
        {1, 900, 16399, 0xf8c3f33ad3d20254ull},  {1, 1000, 17986, 0xcddff4336e415282ull},
        {2, 1, 348, 0xee87c31025f29ca9ull},      {2, 2, 416, 0x2462b2c488ce8615ull},
        {2, 5, 416, 0x5eabfdee3fcadab1ull},      {2, 10, 605, 0xc3577a3456292886ull},
        {2, 20, 726, 0xcedcdd432e7a6416ull},     {2, 39, 1085, 0x12dfe0e3b93324f9ull},
        {2, 40, 1085, 0xe376ce713786412aull},    {2, 41, 1376, 0x1041f5ebbec727b1ull},
        {2, 80, 2060, 0x210afd923a4a6211ull},    {2, 159, 3341, 0xa100c207187df1bcull},
        {2, 160, 3341, 0x8fa11fd9468b420bull},   {2, 161, 3341, 0x975ef61e5a3d99d2ull},
        {2, 250, 4928, 0xbb7589f44cb6def7ull},   {2, 320, 6156, 0x687b44f07bba2d97ull},
        {2, 321, 6821, 0xcfde4effe23bd904ull},   {2, 400, 7520, 0x5f0330ff2a56eb10ull},
        {2, 450, 8253, 0xc1395d5d415f6b65ull},   {2, 500, 9020, 0x309d83993cbf507bull},
        {2, 550, 9821, 0xa4132b6c8fd0b002ull},   {2, 600, 10656, 0xcc882fc48e336323ull},
        {2, 650, 11525, 0x62993d36cc6188e5ull},  {2, 700, 12428, 0x98bd1da63e1fc463ull},
        {2, 800, 14336, 0xecda2d21b23d61e1ull},  {2, 900, 15345, 0xde27ef5f1b96f3faull},
        {2, 1000, 16830, 0xa87d81f727eaf11dull},
    };
    for (const auto& g : golden) {
        SCOPED_TRACE(std::to_string(g.variant) + " " + std::to_string(g.length));
        ASSERT_EQ(make(sampleText(static_cast<size_t>(g.length)), g.variant), 0);
        uint64_t h = 1469598103934665603ull;
        for (int i = 0; i < gEl.cu_len; ++i) {
            h ^= gEl.chNum[i];
            h *= 1099511628211ull;
        }
        EXPECT_EQ(gEl.cu_len, g.bytes);
        EXPECT_EQ(h, g.hash);
    }
}

TEST_F(Pdf417Symbol, TextCharacterSets) {
    expectReads("Hello World, 2024! Mixed CASE text; a+b=c (x@y.com) ~{}|[]\\^_`<>?\"'");
    std::string ascii;
    for (int c = 32; c < 127; ++c) ascii += static_cast<char>(c);
    expectReads(ascii + "\t\r\n" + ascii);
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
    testsupport::Decoded d = testsupport::decode(raster(), "PDF417");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text, "Café Müller Ñandú Ærø Élève");
}

TEST_F(Pdf417Symbol, ByteCompactionCarriesEveryByte) {
    std::string bytes;
    for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c);
    expectReads(bytes, 1);
    expectReads("12345", 1);
    expectReads("A", 1);
    // Byte 0 cannot travel in the NUL-terminated data; the builder takes a length.
    std::string all(1, '\0');
    all += bytes;
    gPdf.ByteComp = 1;
    ElementList el;
    ASSERT_EQ(BuildPDF417(kPdfModeModules, "", "", 30, 16, 4,
                          reinterpret_cast<const unsigned char*>(all.data()), all.size(), el, 0),
              kPdfOk);
    testsupport::Decoded d = testsupport::decode(raster(el), "PDF417");
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

ZXing::Result readMacro(const Bitmap& bmp) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::PDF417);
    hints.setTryHarder(true);
    hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
    return ZXing::ReadBarcode({bmp.pixels.data(), bmp.width, bmp.height, ZXing::ImageFormat::Lum},
                              hints);
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
        ZXing::Result r = readMacro(raster());
        ASSERT_TRUE(r.isValid()) << r.error().msg();
        EXPECT_EQ(r.text(), c.text);
        EXPECT_EQ(r.sequenceIndex(), c.index);
        EXPECT_EQ(r.sequenceId(), c.fileId);
        EXPECT_EQ(r.isLastInSequence(), c.last);
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
        testsupport::Decoded d = testsupport::decode(raster(el), "PDF417");
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
    testsupport::Decoded d = testsupport::decode(raster(), "PDF417");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.text, "CORRECT ME 1234");
}

TEST_F(Pdf417Symbol, TooLongDataIsRefused) {
    // Past 928 codewords.
    EXPECT_EQ(make(std::string(1900, '\x8E')), 1);
    EXPECT_EQ(gEl.cu_len, 0);
    EXPECT_FALSE(gMsg.last.empty());
    EXPECT_EQ(gMsg.inerror, 1);
    // Within 928 codewords the element list holds the symbol.
    resetMessages();
    EXPECT_EQ(make(std::string(1200, 'A')), 0);
    EXPECT_FALSE(gEl.overflow);
}

TEST_F(Pdf417Symbol, BadMacroHeaderIsRefused) {
    for (const char* bad : {"**X", "*7X", "*;12*X", "*100000*X", "*7;x*X"}) {
        resetMessages();
        gMsg.quiet = true;
        EXPECT_EQ(make(bad), 1) << bad;
        EXPECT_EQ(gEl.cu_len, 0) << bad;
        EXPECT_NE(gMsg.last.find("Macro PDF417"), std::string::npos) << bad;
    }
}

TEST_F(Pdf417Symbol, SettingsAndDataSurviveGeneration) {
    gSym.Siz = 100.5;
    gSym.Hei = 12.25;
    gSym.BW = 1;
    std::strcpy(gData.chAddCode, "H1");
    gData.len2 = 2;
    const std::string data = sampleText(300) + "\x8E";
    ASSERT_EQ(make(data), 0);
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
