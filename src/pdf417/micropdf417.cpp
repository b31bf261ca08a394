#include "pdf417/micropdf417.h"

#include <cstring>
#include <string_view>

#include "pdf417/pdf417_compact.h"
#include "pdf417/pdf417_ec.h"
#include "pdf417/pdf417_tables.h"
#include "platform/macroman.h"
#include "symbology/codebars.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"

namespace {

constexpr int32_t kColumns = 4;
constexpr int32_t kMaxCodewords = kMicroPdfMaxRows * kColumns;

constexpr const char* kTooLongText =
    "The data is too long for a MicroPDF417 symbol: it holds at most 148 bytes, fewer when a "
    "character that Latin-1 lacks, such as the euro sign, makes each accented letter take two or "
    "three. Shorten the data, or choose PDF417.";

}  // namespace

uint8_t* appendRuns(uint32_t bits, int32_t modules, uint8_t* w) {
    int32_t run = 0;
    uint32_t colour = 1;
    for (int32_t b = modules - 1; b >= 0; --b) {
        const uint32_t m = bits >> b & 1;
        if (m != colour) {
            *w++ = static_cast<uint8_t>(run);
            run = 0;
            colour = m;
        }
        ++run;
    }
    *w++ = static_cast<uint8_t>(run);
    return w;
}

void microPdfRow4(int32_t pattern, int32_t offset, const int32_t* codewords, uint8_t* widths) {
    const uint32_t* cluster = PDF417_BITS[pattern % 3];
    const auto rap = [&](const uint16_t* table, int32_t shift) {
        return table[(pattern + shift) % kMicroPdfRapPatterns];
    };
    uint8_t* w = widths;
    *w++ = 1;
    w = appendRuns(rap(kMicroPdfSideRap, 0), kMicroPdfRapModules, w);
    w = appendRuns(cluster[codewords[0]], kPdfModulesPerCodeword, w);
    w = appendRuns(cluster[codewords[1]], kPdfModulesPerCodeword, w);
    w = appendRuns(rap(kMicroPdfCentreRap, offset), kMicroPdfRapModules, w);
    w = appendRuns(cluster[codewords[2]], kPdfModulesPerCodeword, w);
    w = appendRuns(cluster[codewords[3]], kPdfModulesPerCodeword, w);
    w = appendRuns(rap(kMicroPdfSideRap, 2 * offset), kMicroPdfRapModules, w);
    *w++ = 1;  // the stop bar
    *w = 1;
}

int32_t CC4encmicrobyte(const unsigned char* data, size_t length, MicroPdfRows& out, bool utf8) {
    out.rows = 0;
    if (length == 0 || length > kMicroPdfMaxBytes) return 0;
    gPdf.codeindex = 0;
    gPdf.g_mode = 0;
    gPdf.overflow = false;
    if (utf8) {
        put_back(kPdfECI);
        put_back(platform::kEciUtf8);
    }
    newbyte_compact(data, length);
    const int32_t used = gPdf.codeindex;

    const MicroPdfSize* size = nullptr;
    for (const MicroPdfSize& s : kMicroPdf4ColumnSizes)
        if (s.dataCodewords >= used) {
            size = &s;
            break;
        }
    if (size == nullptr || gPdf.overflow) return 0;

    int32_t cw[kMaxCodewords];
    std::memcpy(cw, gPdf.datall, sizeof(int32_t) * used);
    for (int32_t i = used; i < size->dataCodewords; ++i) cw[i] = kPdfPad;
    pdfErrorCodewords(cw, size->dataCodewords, size->ecCodewords, cw + size->dataCodewords);

    for (int32_t r = 0; r < size->rows; ++r)
        microPdfRow4((size->startPattern - 1 + r) % kMicroPdfRapPatterns, size->offset,
                     cw + r * kColumns, out.widths[r]);
    out.rows = size->rows;
    return out.rows;
}

bool putMicroPdfRows(const MicroPdfRows& rows, ElementList& list) {
    for (int32_t r = 0; r < rows.rows; ++r) {
        bool dark = false;
        for (uint8_t w : rows.widths[r]) {
            for (uint8_t i = 0; i < w; ++i) list.put(dark ? kDarkModule : kLightModule);
            dark = !dark;
        }
        list.put(kRowEnd);
    }
    return !list.overflow;
}

int32_t MicroPDF417() {
    gEl.clear();
    gData.chMainCode[sizeof gData.chMainCode - 1] = 0;
    const size_t n = std::strlen(gData.chMainCode);
    // The printed copy is the data itself: the symbol must read the same when
    // it is made again for the file.
    std::memcpy(gData.chMainCode2, gData.chMainCode, n + 1);
    gData.len1 = gData.len11 = static_cast<int32_t>(n);
    // The reader shows the bytes as Latin-1, or as UTF-8 behind ECI 26, as in PDF417.
    const platform::SymbolBytes text =
        platform::macRomanToSymbolBytes(std::string_view(gData.chMainCode, n));
    static MicroPdfRows rows;
    if (CC4encmicrobyte(reinterpret_cast<const unsigned char*>(text.bytes.data()),
                        text.bytes.size(), rows, text.utf8) == 0 ||
        !putMicroPdfRows(rows, gEl)) {
        gEl.clear();
        MessageText(kTooLongText);
        gMsg.inerror = 1;
        return 1;
    }
    gEl.terminate();
    return 0;
}
