#include "pdf417/pdf417_enc.h"

#include <cmath>
#include <cstring>

#include "pdf417/pdf417_compact.h"
#include "pdf417/pdf417_ec.h"
#include "pdf417/pdf417_tables.h"
#include "symbology/codebars.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"

Pdf417State gPdf;

namespace {

constexpr int32_t kDefaultLevel = 5;  // for a level outside 1..8
constexpr int32_t kClampedRows = 89;
constexpr int32_t kClampedColumns = 29;

constexpr const char* kTooLongText =
    "The data is too long for one PDF417 symbol. Shorten it, or spread it over several "
    "symbols with Macro PDF417 headers.";
constexpr const char* kBadMacroText =
    "The Macro PDF417 header cannot be read. Begin the data with *index;file ID* (or *L... "
    "for the last segment): index a number from 0 to 99998, the file ID numbers separated "
    "by \\.";

// Module bytes of one row, with its 13.
constexpr int32_t rowBytes(int32_t dataColumns, int32_t truncated) {
    const int32_t columns = truncated ? dataColumns + 1 : dataColumns + 2;
    const int32_t stop = truncated ? 1 : kPdfStopModules;
    return kPdfStartModules + columns * kPdfModulesPerCodeword + stop + 1;
}
// The standard's largest symbol, 90 rows of 30 data columns, fits the element list.
static_assert(kElementListSize >= kPdfMaxRows * static_cast<size_t>(rowBytes(30, 0)) + 1);

void putModules(ElementList& out, uint32_t bits, int32_t count) {
    for (int32_t b = count - 1; b >= 0; --b) outbit2(out, static_cast<int32_t>(bits >> b & 1));
}

int32_t ceilDiv(int32_t a, int32_t b) { return (a + b - 1) / b; }

// The three values that the row indicators carry in turn: rows, level and
// columns. Row r shows value r mod 3 on the left and the one before it on the right.
int32_t indicatorValue(int32_t row, int32_t which) {
    const int32_t R = gPdf.number_of_rows;
    const int32_t c = gPdf.number_of_columns - 2;
    const int32_t base = 30 * (row / 3);
    switch (which) {
        case 0:
            return base + (R - 1) / 3;
        case 1:
            return base + 3 * gPdf.ec_level + (R - 1) % 3;
        default:
            return base + c - 1;
    }
}

}  // namespace

void outbit2(ElementList& out, int32_t bit) { out.put(bit ? kDarkModule : kLightModule); }

int32_t do_row_begin(int32_t row, int32_t ecCount) { return indicatorValue(row, row % 3); }

int32_t do_row_end(int32_t row, int32_t ecCount) { return indicatorValue(row, (row + 2) % 3); }

void do_rows_columns(int32_t ecCount, int32_t truncated) {
    const int32_t c = gPdf.number_of_columns - 2;
    for (int32_t r = 0; r < gPdf.number_of_rows; ++r) {
        int32_t* row = gPdf.rows_columns[r];
        row[0] = do_row_begin(r, ecCount);
        for (int32_t i = 0; i < c; ++i) row[i + 1] = gPdf.datall[c * r + i];
        // A truncated symbol has no right indicator; its place shows 17 spaces.
        row[c + 1] = truncated ? kPdfCodewordValues : do_row_end(r, ecCount);
    }
}

void PDF417_encodeText(ElementList& out, int32_t truncated) {
    const int32_t last = truncated ? gPdf.number_of_columns - 2 : gPdf.number_of_columns - 1;
    for (int32_t r = 0; r < gPdf.number_of_rows; ++r) {
        const uint32_t* cluster = PDF417_BITS[r % 3];
        putModules(out, kPdfStartPattern, kPdfStartModules);
        for (int32_t col = 0; col <= last; ++col)
            putModules(out, cluster[gPdf.rows_columns[r][col]], kPdfModulesPerCodeword);
        if (truncated)
            outbit2(out, 1);
        else
            putModules(out, kPdfStopPattern, kPdfStopModules);
        out.put(kRowEnd);
    }
    out.terminate();
}

int32_t BuildPDF417(int32_t mode, const char* text1, const char* text2, int32_t rows,
                    int32_t dataColumns, int32_t level, const char* data, ElementList& out,
                    int32_t truncated) {
    return BuildPDF417(mode, text1, text2, rows, dataColumns, level,
                       reinterpret_cast<const unsigned char*>(data), std::strlen(data), out,
                       truncated);
}

int32_t BuildPDF417(int32_t mode, const char* text1, const char* text2, int32_t rows,
                    int32_t dataColumns, int32_t level, const unsigned char* data, size_t length,
                    ElementList& out, int32_t truncated) {
    if (level > kPdfMaxLevel || level < kPdfMinLevel) level = kDefaultLevel;
    if (rows > kPdfMaxRows) rows = kClampedRows;
    if (rows < kPdfMinRows) rows = kPdfMinRows;
    int32_t columns = dataColumns > kPdfMaxColumns ? kPdfMaxColumns + 1 : dataColumns + 2;
    if (columns > kPdfMaxColumns) columns = kClampedColumns;
    if (columns < 3) columns = 3;
    gPdf.ec_level = level;
    gPdf.number_of_rows = rows;
    gPdf.number_of_columns = columns;
    gPdf.eclen = pdfEcCount(level);
    gPdf.needed = 0;
    const int32_t capacity = (columns - 2) * rows;

    // The data is converted in a copy: the caller's text must read the same
    // when the symbol is made again.
    if (length >= sizeof gPdf.work) return kPdfTooLarge;
    std::memcpy(gPdf.work, data, length);
    const int32_t r = pdfDataCodewords(gPdf.work, length);
    if (r != kPdfOk) return r;

    const int32_t used = gPdf.codeindex + gPdf.macrolen;
    gPdf.needed = used + gPdf.eclen;
    if (used > capacity) return kPdfNoRoomForData;
    if (capacity - used < gPdf.eclen) return kPdfNoRoomForEC;
    // Reed-Solomon over GF(929) covers at most 928 codewords, and the whole
    // symbol must fit the element list.
    if (capacity > kPdfMaxSymbolCodewords) return kPdfTooLarge;
    if (!out.fits(static_cast<size_t>(rows) * rowBytes(columns - 2, truncated) + 1))
        return kPdfTooLarge;

    doPads(gPdf.codeindex, gPdf.eclen, gPdf.macrolen);
    for (int32_t i = 0; i < gPdf.macrolen; ++i) put_back(gPdf.macrostr[i]);
    put_back_len(gPdf.codeindex);
    generateEC(gPdf.datall, gPdf.codeindex, gPdf.eclen);
    do_rows_columns(gPdf.eclen, truncated);
    PDF417_encodeText(out, truncated);
    return kPdfOk;
}

void calcpdfrowcols() {
    const size_t n = strnlen(gData.chMainCode, sizeof gData.chMainCode);
    int32_t level = 5;
    int32_t e = 64;
    if (n <= 40) {
        level = 2;
        e = 8;
    } else if (n <= 160) {
        level = 3;
        e = 16;
    } else if (n <= 320) {
        level = 4;
        e = 32;
    }
    // 0.8333 as written, not 5/6: the sizes of symbols in print follow it.
    const double s = std::floor(std::sqrt(e + 0.8333 * static_cast<double>(n)) + 1);
    gSym.BW = level;
    gSym.Hei = s;
    gSym.Siz = s;
}

namespace {

int32_t refuse(const char* text) {
    gEl.clear();
    MessageText(text);
    gMsg.inerror = 1;
    return 1;
}

// The first guess is square; rows are added (the columns kept) until the data
// and its error correction fit, and taken away when the square passes the 928
// codewords that a symbol holds.
int32_t buildSized(int32_t rows, int32_t columns, int32_t level, const unsigned char* data,
                   size_t n, int32_t truncated) {
    int32_t r = BuildPDF417(kPdfModeModules, "", "", rows, columns, level, data, n, gEl, truncated);
    if ((r == kPdfNoRoomForData || r == kPdfNoRoomForEC || r == kPdfTooLarge) && gPdf.needed > 0) {
        const int32_t fit = ceilDiv(gPdf.needed, gPdf.number_of_columns - 2);
        const bool retry = r != kPdfTooLarge || fit < rows;
        rows = fit < kPdfMinRows ? kPdfMinRows : fit;
        if (retry && rows <= kPdfMaxRows)
            r = BuildPDF417(kPdfModeModules, "", "", rows, columns, level, data, n, gEl, truncated);
    }
    return r;
}

// The three front ends differ in the compaction and the truncated flag.
int32_t createPdf(int32_t byteComp, int32_t truncated) {
    const double savedHei = gSym.Hei;
    const double savedSiz = gSym.Siz;
    const int32_t savedBW = gSym.BW;
    gPdf.ByteComp = byteComp;
    gData.chAddCode[0] = 0;
    gData.len2 = 0;
    gData.len22 = 0;
    gData.chMainCode[sizeof gData.chMainCode - 1] = 0;
    const size_t n = std::strlen(gData.chMainCode);
    std::memcpy(gData.chMainCode2, gData.chMainCode, n + 1);
    gData.len1 = gData.len11 = static_cast<int32_t>(n);
    gEl.clear();

    calcpdfrowcols();
    int32_t rows = static_cast<int32_t>(gSym.Hei);
    const int32_t columns = static_cast<int32_t>(gSym.Siz);
    const int32_t level = gSym.BW;
    gSym.Hei = savedHei;
    gSym.Siz = savedSiz;
    gSym.BW = savedBW;

    const auto* data = reinterpret_cast<const unsigned char*>(gData.chMainCode);
    int32_t r = buildSized(rows, columns, level, data, n, truncated);
    // Text that no symbol holds may still fit with its runs of digits in numeric
    // compaction; text that fits as it is keeps its codewords.
    if (byteComp == 0 && (r == kPdfNoRoomForData || r == kPdfNoRoomForEC || r == kPdfTooLarge)) {
        gPdf.numericRuns = true;
        r = buildSized(rows, columns, level, data, n, truncated);
        gPdf.numericRuns = false;
    }
    if (r == kPdfBadMacro) return refuse(kBadMacroText);
    if (r != kPdfOk) return refuse(kTooLongText);
    return 0;
}

}  // namespace

int32_t Barcode2D_CreatePDF() { return createPdf(0, 0); }
int32_t Barcode2D_CreatePDFByteCompaction() { return createPdf(1, 0); }
int32_t Barcode2D_CreatePDFTruncated() { return createPdf(1, 1); }
