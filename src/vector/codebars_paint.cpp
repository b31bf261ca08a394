#include "vector/codebars_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "labels/labelDoc.h"
#include "databar/RSSENC.h"
#include "pdf417/DataMatrix.h"
#include "picture/services.h"
#include "platform/textmetrics.h"
#include "symbology/codebars.h"
#include "symbology/rows.h"
#include "symbology/state.h"
#include "vector/blocks.h"
#include "vector/chars.h"
#include "vector/emit.h"
#include "vector/glyphs.h"
#include "vector/page.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textruns.h"
#include "vector/units.h"

namespace {

constexpr double kUmPerPoint = 352.77777777777777;
constexpr double kHeightPointsPerMm = 2.8346;   // row tops of the module-row symbols
constexpr double kTrackUm = 283.4645669291338;  // tracking step per character, micrometres

// Glyph advances of the header and text lines, in glyph units.
constexpr int32_t kModule = 330;         // the retail module
constexpr int32_t kCell = 7 * kModule;   // a digit
constexpr int32_t kDash = 2000;          // '-' and ' ' in headers
constexpr double kTextSideRoom = 2;      // points the DataBar line is set left of centre
constexpr double kDescentOfSize = 0.22;  // the parentheses' depth under the baseline, of the size
constexpr int32_t kNarrowGlyph = 1320;   // '(' ')' '?' of the bar font
constexpr int32_t kWideSpace = 2540, kNarrowSpace = 1016;  // counted half in text lines
constexpr int32_t kMaxRows = 512;
constexpr int32_t kRoyalMailBands = 3, kPostnetBands = 2;  // a text unit high each
constexpr double kSeparatorOfTextUnit = 0.1;  // a DataBar separator row (a module) high
// A row of stacked bars lower than half a module is no row a scanner can follow.
constexpr double kLeastStackedBarsOfModule = 0.5;
// Code 128 and GS1-128, and the Code 128 variants whose line is not the data:
// the two retail lines set apart and the line spaced by '='.
constexpr int32_t kCode128Code = 5, kGs1128Code = 7;
constexpr int32_t kMsRetailLine = 2, kMsRetailLine2 = 3, kSpacedRetailLine = 13;

// A length in micrometres to units of 1e-5 point.
int32_t umToE5(double um) { return trunc32(um * 72 * 3.937007874015748e-5 * 100000); }

bool among(int32_t v, std::initializer_list<int32_t> set) {
    return std::find(set.begin(), set.end(), v) != set.end();
}

double widthFactor(int32_t code) {
    if (code == 5 || code == 7) return 2;
    if (code == 39) return 0.5;  // Codablock F rows are measured at half their elements
    if (among(code, {19, 20, 21, 24, 28, 30, 31, 32, 35, 36})) return 0.5;
    return 1;
}

// The EAN and UPC family: digits set one by one under their symbol characters.
bool retailCode(int32_t code) { return among(code, {0, 1, 2, 3, 10, 11, 16, 25, 26, 27}); }

// The layouts whose text line holds one digit per symbol character in the
// standard places; their digits are centred on the characters. The retail
// variants group, drop or add digits: their glyphs follow the text line itself.
bool digitsOnCells(int32_t code, int32_t v) {
    switch (code) {
        case 0:
            return !among(v, {2, 3, 9, 12});
        case 3:
        case 10:
            return v == 0 || (code == 10 && v == 1);
        case 16:
        case 25:
            return false;
        default:
            return retailCode(code);
    }
}

// The text set above the bars instead of under them.
bool textAboveBars() {
    const int32_t code = gSym.code;
    return gSym.attTop == 1 && code > 3 && !among(code, {10, 11, 16, 25, 26, 27, 30, 31, 32});
}

bool isDigitGlyph(unsigned char ch) { return (ch >= '0' && ch <= '9') || (ch >= 174 && ch <= 183); }

// The working values of one call.
struct Painter {
    int32_t T = 0;
    double tb = 0;  // the text baseline from which headers hang, points
    int32_t B = 0, left = 0, item = -1, baseY = 0;
    double inset = 0;
    double m = 1, f = 1;
    int32_t L = 1;  // left margin of the bars, points
    int32_t t = 0;  // text height reserved under the bars
    bool barFont = true, ocrb = false;
    double addOnStart = -1;  // running x of the first raised bar (micrometres at 100 %)
    int32_t addOnRise = 0;
    int32_t textRowStart = -1;  // the human-readable line: [textRowStart, cu_len)
    int32_t barRowStart = -1;   // the linear row painted
    int32_t barRowEnd = -1;

    // The origin of a header or add-on glyph x micrometres right of the box.
    int32_t glyphX(double xUm) const {
        return sum32(trunc32((left + inset + gSym.extraMargin + 1) * kPerPoint), umToE5(xUm));
    }
};

// ---------------------------------------------------------------- rows

int32_t rowStarts(int32_t* starts, int32_t max) {
    int32_t n = 0;
    const int32_t len = gEl.cu_len;
    if (len <= 0) return 0;
    starts[n++] = 0;
    for (int32_t i = 0; i < len && n < max; ++i)
        if (gEl.chNum[i] == kRowEnd && i + 1 < len) starts[n++] = i + 1;
    return n;
}

int32_t rowEnd(int32_t start) {
    int32_t i = start;
    while (i < gEl.cu_len && gEl.chNum[i] != kRowEnd) ++i;
    return i;
}

// A row that holds anything but modules is the human-readable line.
bool isTextRow(int32_t start) {
    const int32_t end = rowEnd(start);
    for (int32_t i = start; i < end; ++i) {
        const unsigned char b = gEl.chNum[i];
        if (b != kDarkModule && b != kLightModule) return true;
    }
    return false;
}

// The width of element byte b within a bar run. A symbol generated with a
// bar-font step BW carries it on the last byte of every bar; that byte reads as
// the bar it was made from. Bytes that are no element add nothing.
int32_t runByteWidth(const int32_t* widths, unsigned char b, bool lastOfRun) {
    if (lastOfRun && gSym.BW > 0 && b >= gSym.BW) {
        const int32_t w = widths[static_cast<unsigned char>(b - gSym.BW)];
        if (w > 0 && w != kNoElement) return w;
    }
    const int32_t w = widths[b];
    return w == kNoElement ? 0 : w;
}

// Calls bar(x, W, runEnd) for every run of bar elements of the row from start,
// x and W in micrometres at 100 %, runEnd the index after the run; returns the
// index of the row's end.
template <typename Bar>
int32_t walkRuns(int32_t i, Bar bar) {
    double x = 0;
    const int32_t len = gEl.cu_len;
    const unsigned char* list = gEl.chNum;
    const int32_t* widths = elementWidths();
    while (i < len && list[i] != kRowEnd) {
        const unsigned char b = list[i];
        if (widths[b] < 0) {  // a space
            x -= widths[b];
            ++i;
            continue;
        }
        // The run's bytes in one pass; its last byte is then read as the end of a bar.
        int64_t W = 0;
        int32_t end = i;
        for (; end < len && list[end] != kRowEnd && widths[list[end]] >= 0; ++end)
            W += runByteWidth(widths, list[end], false);
        const unsigned char last = list[end - 1];
        W += runByteWidth(widths, last, true) - runByteWidth(widths, last, false);
        i = end;
        if (W <= 0) continue;  // bytes that are no element
        bar(x, static_cast<double>(W), i);
        x += static_cast<double>(W);
    }
    return i;
}

// x and width of a run in units of 1e-5 point, with the reduction applied.
void runGeometry(const Painter& p, double x, double W, int32_t* xE5, int32_t* wE5) {
    int32_t w = trunc32(W * p.m * p.f) - gSym.BWidthRed;
    if (w < 0) w = 0;
    const int32_t xUm = trunc32(trunc32(x * p.m) * p.f);
    *xE5 = sum32(umToE5(xUm), int64_t{p.L} * static_cast<int64_t>(kPerPoint));
    *wE5 = umToE5(w);
}

// ---------------------------------------------------------------- header

// Advances (glyph units) of header characters whose routine returned 0.
struct Advances {
    int32_t digit = kCell;
    int32_t dash = kDash;    // '-' and ' '
    int32_t letter = kCell;  // 'I' and '[' (the bar font's I)
    int32_t of(unsigned char ch) const {
        if (ch == '-' || ch == ' ') return dash;
        if (ch == 'I' || ch == '[') return letter;
        return digit;
    }
};

// Draws n characters of text with getCharacterOut2 (second) or getCharacterOut,
// starting startUnits glyph units right of the header origin, on baseline y.
void headerRun(const Painter& p, const unsigned char* text, int32_t n, int32_t startUnits,
               bool second, double y, const Advances& a) {
    double units = startUnits;
    for (int32_t k = 0; k < n; ++k) {
        const unsigned char ch = text[k];
        if (ch == kRowEnd || ch == 0) break;
        const int32_t gx = p.glyphX(units * gVec.gCtexsizeX);
        const int32_t gy = trunc32((y - p.inset) * kPerPoint);
        const int32_t adv = second ? getCharacterOut2(&ch, gx, gy) : getCharacterOut(&ch, gx, gy);
        units += adv != 0 ? adv : a.of(ch);
    }
}

int32_t headerLength() {
    int32_t n = std::clamp(gData.len3, 0, static_cast<int32_t>(kHeadCodeSize));
    for (int32_t k = 0; k < n; ++k)
        if (gData.chHeadCode[k] == kRowEnd || gData.chHeadCode[k] == 0) return k;
    return n;
}

const unsigned char* headText() { return reinterpret_cast<const unsigned char*>(gData.chHeadCode); }

// A header set in a PostScript font at size points, x points right of the origin.
void headerInFont(const Painter& p, const unsigned char* font, double size, double xPt, double y,
                  const char* text, int32_t n) {
    if (n <= 0) return;
    SetAnyEpsFontP(size * kPerPoint, size * kPerPoint, font, -1);
    TextPositionAccurate(trunc32((p.left + p.inset + gSym.extraMargin + 1 + xPt) * kPerPoint),
                         trunc32((y - p.inset) * kPerPoint));
    DrawTextEPS(text, 0, n - 1);
}

void isbnHeader(Painter& p) {
    const int32_t v = gSym.variation1;
    const bool aboveDiffers = !samePstr(gSym.fontAbove, gSym.defFont);
    const bool belowDiffers = !samePstr(gSym.fontBelow, gSym.defFont);
    const bool narrow = v == 2 || v == 3;
    Advances a;
    a.digit = narrow ? 2100 : kCell;
    a.dash = narrow ? 1700 : kDash;
    a.letter = belowDiffers ? 1000 : aboveDiffers ? 1500 : 1700;

    double y = p.tb;
    int32_t start = 0;
    if (aboveDiffers) {
        SetDrawTxtSize2(trunc32(60 * p.m));
        if (!narrow) start = 1980;
    } else {
        SetDrawTxtSize(trunc32((v == 4 ? 60 : 80) * p.m));
        if (v == 4) y += 0.2 * p.T;
    }
    if (belowDiffers) start = 1080;
    if (!narrow) start += 3700;

    const unsigned char* h = headText();
    const int32_t n = headerLength();
    if (v != 4 || n < 5) {
        headerRun(p, h, n, start, aboveDiffers, y, a);
        return;
    }
    // ISBN-13 from an ISBN-10: the ten-digit line, then the thirteen-digit line
    // whose last character is the EAN check digit kept behind the header.
    unsigned char line[kHeadCodeSize + 16];
    auto build = [&](const char* middle, bool thirteen) {
        int32_t k = 0;
        std::memcpy(line, h, 4);
        k = 4;
        for (const char* s = middle; *s; ++s) line[k++] = static_cast<unsigned char>(*s);
        for (int32_t j = 5; j < n; ++j) line[k++] = h[j];
        const int32_t check = gData.len3 + 1;
        if (thirteen && check < static_cast<int32_t>(kHeadCodeSize)) line[k - 1] = h[check];
        return k;
    };
    headerRun(p, line, build("-10: ", false), start, aboveDiffers, y, a);
    headerRun(p, line, build("-13: 978-", true), 3700, aboveDiffers, y - 0.6 * p.T, a);
}

// The header above the symbol; moves the text baseline as the layout needs.
void drawHeader(Painter& p) {
    const int32_t code = gSym.code, v = gSym.variation1;
    const int32_t T = p.T;
    if (code == 0 && v == 6) {
        SetDrawTxtSize2(trunc32(8 * p.m) * 8);
        headerInFont(p, gSym.gHelvetica, 8 * p.m, 6600 * gVec.gCtexsizeX / kUmPerPoint,
                     p.tb + 0.2 * T, gData.chHeadCode, headerLength());
        p.tb -= 1.2 * T;
        return;
    }
    if (code == 0 && v == 11) {
        unsigned char times[256];
        pstrSet(times, "Times");
        const int32_t n = headerLength();
        int16_t fnum = 0;
        platform::GetFNum(times, &fnum);
        platform::TextFont(fnum);
        platform::TextSize(10);
        const int32_t w = platform::TextWidth(gData.chHeadCode, 0, static_cast<int16_t>(n));
        SetDrawTxtSize2(100);
        const int16_t right =
            static_cast<int16_t>(p.B - p.left - w - trunc32(gSym.Siz * 0.0654) - 2);
        const double x = right - (p.left + p.inset + gSym.extraMargin);
        headerInFont(p, times, 10, x, p.tb, gData.chHeadCode, n);
        if (gSym.drawExtraText == 1) {
            SetDrawTxtSize2(80);
            headerInFont(p, times, 8, 19600 * gVec.gCtexsizeX / kUmPerPoint, p.tb, "CODE    ", 8);
        }
        p.tb -= 24;
        return;
    }
    if (code == 7 && v == 14) {
        p.tb -= 24;
        return;
    }
    if (code == 1) {
        isbnHeader(p);
    } else if (among(code, {26, 27, 14}) || (code == 2 && v == 0) || gSym.HaTex == 1) {
        p.tb -= 0.1 * T;
        const bool second = !samePstr(gSym.fontAbove, gSym.defFont);
        int32_t start = 3300;
        if (second) {
            SetDrawTxtSize2(trunc32((bigText(code) ? 20 : 10) * p.m) * 8);
            start += 330;
        } else {
            const int32_t size = bigText(code) ? 200 : (code == 26 || code == 27) ? 120 : 100;
            SetDrawTxtSize(trunc32(size * p.m));
            if (code == 26) start += 17820;
        }
        headerRun(p, headText(), headerLength(), start, second, p.tb, Advances{});
    } else {
        return;
    }
    p.tb += 0.2 * T;
    p.tb -= T;
}

// ---------------------------------------------------------------- linear bars

// The index of the first byte of the last bar run in the first row.
int32_t lastBarOfFirstRow() {
    const int32_t end = rowEnd(0);
    int32_t i = end;
    while (i > 0 && charToWidth(gEl.chNum[i - 1]) < 0) --i;
    while (i > 0 && charToWidth(gEl.chNum[i - 1]) >= 0) --i;
    return i;
}

void secondColourSet() {
    const int32_t c = gSym.cyan2, m = gSym.magenta2, y = gSym.yellow2, k = gSym.black2;
    gSym.cyan2 = gSym.cyan22;
    gSym.magenta2 = gSym.magenta22;
    gSym.yellow2 = gSym.yellow22;
    gSym.black2 = gSym.black22;
    if (gSym.cyan22 < 60 && gSym.black22 < 60 && gSym.magenta22 < 60)
        gSym.cyan2 = gSym.magenta2 = gSym.yellow2 = gSym.black2 = 100;
    doColour(kColourFill);
    gSym.cyan2 = c;
    gSym.magenta2 = m;
    gSym.yellow2 = y;
    gSym.black2 = k;
}

// The height kept for the text line: a custom text size larger than T.
int32_t textReserve(int32_t T) {
    const int32_t code = gSym.code;
    return (gSym.customTeSize == 0 || code == 30 || code == 31) ? T
                                                                : std::max(gSym.customTeSize, T);
}

// A bar's drop and rise as painted: a variant above 254 raises no bar; text
// above the bars shortens every bar by its height from the top.
void paintedDropRise(bool textAbove, int32_t t, double* d, int32_t* r) {
    if (gSym.variation1 > 254) *r = 0;
    if (textAbove) *d = *r = t;
}

void paintLinear(Painter& p) {
    const int32_t code = gSym.code;
    const bool fourState = code == 30 || code == 31;
    int32_t i = 0;
    if (fourState) {
        gSym.multi_line = code == 30 ? kRoyalMailBands : kPostnetBands;
    } else {
        if (code == kSmallEanCode) return;  // digits only
        i = linearPaintStart(gEl.chNum, gEl.cu_len);
        if (i >= gEl.cu_len) return;
    }
    const bool addOnCode =
        among(code, {0, 1, 2, 10, 11, 25, 26, 27}) || (code == 7 && gSym.variation1 == 14);
    const bool textAbove = textAboveBars();
    const bool secondForLast = gSym.transpar_ent == 1 && (code == 12 || code == 17);
    const int32_t lastBar = secondForLast ? lastBarOfFirstRow() : 0;
    const int32_t textY = trunc32(p.tb - (p.t - p.T));
    int32_t counter = 0;

    while (i < gEl.cu_len) {
        const int32_t rowStart = i;
        if (p.barRowStart < 0) p.barRowStart = rowStart;
        i = walkRuns(i, [&](double x, double W, int32_t runEnd) {
            ++counter;
            double d = CheckDrop(counter, p.T);
            int32_t r = CheckTopDrop(counter, p.T);
            if (r > 0 && p.addOnStart < 0 && addOnCode) {
                p.addOnStart = x;
                p.addOnRise = r;
            }
            paintedDropRise(textAbove, p.t, &d, &r);
            int32_t xE5 = 0, wE5 = 0;
            runGeometry(p, x, W, &xE5, &wE5);
            if (gSym.grip > 0) {
                const ItemColours c = itemSecondColours(p.item);
                doBackColour(kColourStroke, c.c, c.m, c.y, c.k);
                Emit().fixed5(umToE5(gSym.grip)).s(" w\r");
                if (fourState)
                    DrawMultiLineBlockg(xE5, wE5, p.T, trunc32(p.inset), textY, trunc32(d), r, p.t,
                                        p.left, p.baseY);
                else
                    DrawBlockg(xE5, wE5, p.T, p.inset, textY, d, r, p.t, p.left, p.baseY);
                doColour(kColourFill);
                TEInsert2("0 w\r");
            }
            if (secondForLast && runEnd - rowStart > lastBar) secondColourSet();
            if (fourState)
                DrawMultiLineBlock(xE5, wE5, p.T, trunc32(p.inset), textY, trunc32(d), r, p.t,
                                   p.left, p.baseY);
            else
                DrawBlock(xE5, wE5, p.T, p.inset, textY, d, r, p.t, p.left, p.baseY);
        });
        if (p.barRowEnd < 0) p.barRowEnd = i;
        --gSym.multi_line;
        if (i >= gEl.cu_len || gSym.multi_line <= 0) break;
        ++i;  // the next row of a four-state code
    }
    gSym.multi_line = 0;
}

// ---------------------------------------------------------------- module rows

// Every run of the row from start as a DrawBlock2 from yTop down to yBottom.
// `shift`: micrometres at 100 % the row stands right of the symbol's left edge.
void paintRunRow(const Painter& p, int32_t start, double yTop, double yBottom, double shift = 0) {
    walkRuns(start, [&](double x, double W, int32_t) {
        int32_t xE5 = 0, wE5 = 0;
        runGeometry(p, x + shift, W, &xE5, &wE5);
        DrawBlock2(xE5, wE5, p.T, trunc32(p.inset), 0, 0, yTop, yBottom, p.left, p.baseY);
    });
}

// The rows of a PDF417 or MicroPDF417 that are painted: all but a text row at the end.
int32_t moduleRowStarts(int32_t* starts) {
    int32_t n = rowStarts(starts, kMaxRows);
    if (n > 0 && gSym.human > 0 && isTextRow(starts[n - 1])) --n;
    return n;
}

void paintModuleRows(Painter& p) {
    int32_t starts[kMaxRows];
    const int32_t n = moduleRowStarts(starts);
    const double h = 3 * 0.1 * p.T;
    double top = trunc32(gSym.Hei * kHeightPointsPerMm);
    for (int32_t r = 0; r < n; ++r) {
        paintRunRow(p, starts[r], top, top - h);
        top -= h;
    }
}

void paintBlockLetters(Painter& p) {
    const int32_t H = trunc32(p.m * p.f * 4000 * 0.0028346456692913383 * 100000);
    double y = 0;
    // The first band's place: under the row count of the size asked for, or hung
    // from the top of the square box when no size (or a size the symbol did not
    // take) was asked for; both measured from the base of the item.
    int32_t bands = 0;
    for (int32_t i = 0; i < gEl.cu_len && gEl.chNum[i] != 0; ++i)
        if (gEl.chNum[i] == kRowEnd || i + 1 == gEl.cu_len) ++bands;
    // The size asked for counts only when the encoder took it: a too small one
    // gives way to a larger symbol with perhaps as many bands.
    const datamatrix::DataMatrixState& dm = datamatrix::gDataMatrix;
    const bool sizeTaken = gSym.code == 38 && dm.format >= 0 && dm.format == dm.preferredFormat;
    const int32_t rows =
        sizeTaken ? datamatrix::configuration[dm.format][datamatrix::kSymbolRows] : 0;
    // Every module is moved right and up by offset (the inset's whole points).
    const int32_t offset = trunc32(p.left + p.inset);
    if (rows > 0 && (rows + 3) / 4 == bands) {
        y = (H / 4) * (rows - 1) - H;
    } else {
        // The top row stands as far below the top of the symbol's own white box
        // as the first column stands right of its left edge. Hung from the
        // item's whole-point width instead, it stood up to a point above the box
        // (the width rounded up), the desktop and the command line, which round
        // that width apart, placed it a point apart, and cut marks raised it to
        // the top of their room.
        const double side = p.L + (offset - p.left);
        y = (symbolExtent().height - side - (offset - p.left)) * kPerPoint - H - H / 4;
    }
    y += (p.baseY - p.left) * kPerPoint;
    int32_t w = trunc32(1000 * p.m * p.f) - gSym.BWidthRed;
    if (w < 0) w = 0;
    const int32_t wE5 = umToE5(w);
    // The bands of four module rows, one block letter (its modules from the
    // bottom up) a column.
    std::vector<std::vector<int32_t>> letters(1);
    for (int32_t i = 0; i < gEl.cu_len; ++i) {
        const unsigned char b = gEl.chNum[i];
        if (b == 0) break;
        if (b == kRowEnd) {
            letters.emplace_back();
            continue;
        }
        const int32_t v = b - 'e';
        letters.back().push_back(v > 0 && v < 16 ? v : 0);
    }
    auto dark = [&](size_t band, size_t c, int32_t bit) {
        return band < letters.size() && c < letters[band].size() &&
               (letters[band][c] & (1 << bit)) != 0;
    };
    auto columnX = [&](size_t c) {
        return sum32(umToE5(trunc32(trunc32(static_cast<double>(c) * 1000 * p.m) * p.f)),
                     int64_t{p.L} * static_cast<int64_t>(kPerPoint));
    };
    // A reduction shrinks the dark areas, not their inside: a module reaches
    // its right and upper neighbours where they are dark, so that no light
    // hairline cuts the symbol into a grid.
    const bool reduced = gSym.BWidthRed > 0;
    const double q = H / 4;
    for (size_t band = 0; band < letters.size(); ++band, y -= H)
        for (size_t c = 0; c < letters[band].size(); ++c) {
            const int32_t xE5 = columnX(c);
            for (int32_t bit = 0; bit < 4; ++bit) {
                if (!dark(band, c, bit)) continue;
                int32_t wide = wE5;
                if (reduced && dark(band, c + 1, bit))
                    wide = std::max(wE5, sum32(columnX(c + 1), -int64_t{xE5}));
                // The module above: the next bit, or the lowest of the band above.
                const bool darkAbove =
                    bit < 3 ? dark(band, c, bit + 1) : band > 0 && dark(band - 1, c, 0);
                const double above = bit < 3 ? y + (bit + 2) * q : y + H + q;
                const double upTo =
                    reduced && darkAbove ? above : -std::numeric_limits<double>::infinity();
                Draw2DBlock(xE5, wE5, q, offset, y + bit * q, 0, 0, 0, wide, upTo);
            }
        }
}

// Codablock F: every row is a Code 128 row of its own; the rows share the bar
// height, stacked from the top.
void paintStackedRows(Painter& p) {
    int32_t starts[kMaxRows];
    const int32_t n = rowStarts(starts, kMaxRows);
    if (n == 0) return;
    const double top = trunc32(gSym.Hei * kHeightPointsPerMm);
    const double h = top / n;
    for (int32_t r = 0; r < n; ++r) paintRunRow(p, starts[r], top - r * h, top - (r + 1) * h);
}

// The rows of a DataBar symbol in the element list as the painter lays them
// out: row(r, yTop, yBottom, stackedBars) in points for each painted row, top
// down; stackedBars marks a row of bars that shares the height with separator
// rows. T is the text unit. The text row, when it is there, is returned (-1
// when not).
template <class Row>
int32_t layDataBarRows(int32_t T, int32_t* starts, Row&& row) {
    const int32_t v = gSym.variation1;
    const double s = kSeparatorOfTextUnit * T;
    int32_t n = rowStarts(starts, kMaxRows);
    int32_t textRow = -1;
    if (n > 0 && isTextRow(starts[n - 1])) {
        textRow = starts[n - 1];
        if (gSym.human > 0) --n;
    }
    // The rows of the linear part: [firstLinear, n); composite rows before firstLinear - 1.
    int32_t firstLinear = 0;
    if (v == 2) {
        if (n > 3) firstLinear = n - 3;
    } else if (v == 3) {
        if (n > 5) firstLinear = n - 5;
    } else if (v == 6 || v == 7) {
        firstLinear = 0;  // the composite row count of Expanded symbols is not known here
    } else if (n >= 2) {
        firstLinear = n - 1;
    }
    const bool withText = gSym.human > 0;
    double top = trunc32(gSym.Hei * kHeightPointsPerMm);
    double A = gSym.Hei * kHeightPointsPerMm;
    // The coupon's header line stands above its rows.
    if (v == 7 && gSym.human == 1) top = A = gSym.Hei * kHeightPointsPerMm - 1.2 * T;
    if (firstLinear > 0) {
        for (int32_t r = 0; r < firstLinear - 1; ++r) {
            row(r, top, top - 3 * s, false);
            top -= 3 * s;
        }
        row(firstLinear - 1, top, top - s, false);
        top -= s;
        A = top;
    }
    const double base = withText ? T : 0;  // the text stands under the lowest row
    const int32_t linear = n - firstLinear;
    if (linear <= 0) return textRow;
    if (v == 2 && linear == 3) {
        const double Ap = withText ? A - T : A;
        const double X = (withText && v != 7) ? T : 0;
        const double h = Ap / 2 + (withText ? T : 0);
        row(firstLinear, A, h + s, true);
        row(firstLinear + 1, Ap / 2 + s + X, h - s, false);
        row(firstLinear + 2, Ap / 2 - s + X, X, true);
    } else if (v == 3 && linear == 5) {
        const double h = (A - base) / 2;
        const double b = A - h + 1.5 * s;
        row(firstLinear, A, b, true);
        for (int32_t k = 1; k <= 3; ++k) row(firstLinear + k, b - (k - 1) * s, b - k * s, false);
        row(firstLinear + 4, b - 3 * s, base, true);
    } else if (v == 6 || v == 7) {
        const int32_t barRows = (linear + 3) / 4;
        const double h = (A - base) / barRows - s;
        double y = A;
        for (int32_t r = firstLinear; r < n; ++r) {
            const bool bar = (r - firstLinear) % 4 == 0;
            const double height = bar ? h - 1.5 * s : s;
            row(r, y, y - height, bar);
            y -= height;
        }
    } else {
        for (int32_t r = firstLinear; r < n; ++r) row(r, A, base, false);
    }
    return textRow;
}

// No row of a DataBar symbol is turned over: each stands above its bottom. A
// row of bars between separator rows is at least half a separator (a module)
// high: a thinner one would leave the separators and the text, no symbol.
bool dataBarRowsFit() {
    const int32_t T = symbolTextUnit();
    const double module = kSeparatorOfTextUnit * T;
    // The rows' edges are worked out from the height: allow for their rounding.
    constexpr double kSlack = 1e-9;
    int32_t starts[kMaxRows];
    bool fit = true;
    layDataBarRows(T, starts, [&](int32_t, double yTop, double yBottom, bool stackedBars) {
        const double least = stackedBars ? kLeastStackedBarsOfModule * module - kSlack : 0;
        fit = fit && yTop - yBottom >= least;
    });
    return fit;
}

// DataBar-14 and Limited print "(01)" and 14 digits; the Expanded types print
// their whole line of element strings.
int32_t dataBarTextLimit(int32_t variant) {
    constexpr int32_t kGtinLine = 18;
    constexpr int32_t kFirstExpanded = 5;
    return variant < kFirstExpanded ? kGtinLine : std::numeric_limits<int32_t>::max();
}

// DataBar and its composite components: module rows in a composite part, a
// separator and the linear part, whose rows take their heights from the bar height.
void paintDataBar(Painter& p) {
    const int32_t v = gSym.variation1;
    const int32_t T = p.T;
    int32_t textSize = gSym.customTeSize != 0 ? gSym.customTeSize : T;
    auto textWidth = [&](const char* text, int32_t len) {
        int16_t fnum = 0;
        platform::GetFNum(gSym.fontBelow, &fnum);
        platform::TextFont(fnum);
        platform::TextSize(static_cast<int16_t>(textSize));
        return platform::TextWidth(text, 0, static_cast<int16_t>(len));
    };
    // A text line centred over `box` points less its width w, on baseline y.
    auto centredText = [&](const char* text, int32_t len, int32_t w, double box, double y) {
        SetAnyEpsFontP(textSize * kPerPoint, textSize * kPerPoint, gSym.fontBelow, -1);
        TextPositionAccurate(
            trunc32(((box - w) / 2.0 - kTextSideRoom + p.left + p.inset + gSym.extraMargin) *
                    kPerPoint),
            trunc32((y + p.inset) * kPerPoint));
        if (len > 0) DrawTextEPS(text, 0, len - 1);
    };
    if (v == 7 && gSym.human == 1) {
        // The whole header: company prefix, '-' and offer code.
        const int32_t len = headerLength();
        const int32_t w = textWidth(gData.chHeadCode, len);
        if (len > 0) centredText(gData.chHeadCode, len, w, p.B, p.tb);
    }
    int32_t starts[kMaxRows];
    const int32_t textRow =
        layDataBarRows(T, starts, [&](int32_t r, double yTop, double yBottom, bool) {
            // A composite component and the linear part stand as the DataBar
            // encoder aligned them.
            const double shift =
                r < gRss.rowCount ? gRss.rowOffset[r] * charToWidth(kDarkModule) : 0;
            paintRunRow(p, starts[r], yTop, yBottom, shift);
        });
    if (gSym.human == 1 && v != 7 && textRow >= 0) {
        const int32_t len = std::min(dataBarTextLimit(v), rowEnd(textRow) - textRow);
        const char* text = reinterpret_cast<const char*>(gEl.chNum + textRow);
        // The line stays inside the symbol's box: a line wider than the box is
        // set smaller, and its descenders stand on the box's lower edge.
        const double box = p.B;  // the box's width
        int32_t w = textWidth(text, len);
        const double room = box - 2 * kTextSideRoom;
        const int32_t fullSize = textSize;
        if (w > room && w > 0) {
            textSize = std::max(1, static_cast<int32_t>(fullSize * room / w));
            w = textWidth(text, len);
        }
        centredText(text, len, w, box, p.baseY + kDescentOfSize * textSize);
        textSize = fullSize;
    }
}

// ---------------------------------------------------------------- text

// The digit cells of the painted EAN or UPC row, micrometres at 100 %: after
// the quiet zone and the start guard, the digits of the left half, the centre
// guard and the digits of the right half, four elements each.
int32_t retailCells(const Painter& p, double* cells, int32_t max) {
    const int32_t code = gSym.code;
    int32_t leftDigits = 6, rightDigits = 6;
    if (code == 3 || code == 16) leftDigits = rightDigits = 4;
    if (code == 11) rightDigits = 0;
    if (p.barRowStart < 0) return 0;
    int32_t i = p.barRowStart;
    const int32_t end = p.barRowEnd;
    double x = 0;
    const int32_t* widths = elementWidths();
    while (i < end && widths[gEl.chNum[i]] < 0) x -= widths[gEl.chNum[i++]];
    int32_t n = 0;
    auto skip = [&](int32_t count) {
        for (int32_t k = 0; k < count && i < end; ++k, ++i) {
            const unsigned char b = gEl.chNum[i];
            x += widths[b] < 0 ? -widths[b] : runByteWidth(widths, b, true);
        }
    };
    skip(3);
    for (int32_t d = 0; d < leftDigits + rightDigits && i + 4 <= end && n < max; ++d) {
        if (d == leftDigits) skip(5);
        cells[n++] = x;
        skip(4);
    }
    return n;
}

// The right end of the main symbol's last bar (the add-on left out),
// micrometres at 100 %.
double mainBarsEnd(const Painter& p) {
    double end = 0;
    if (p.barRowStart < 0) return end;
    walkRuns(p.barRowStart, [&](double x, double W, int32_t) {
        if (p.addOnStart < 0 || x < p.addOnStart) end = x + W;
    });
    return end;
}

// Where the text line of a retail variant starts, micrometres at 100 % before
// the text scale. The Orvane and CADW lines without an add-on begin with the
// eleven modules of their guard row's quiet zone, which would set the first
// digit under the start guard: the line starts that much further left. The
// Debenhams line (ten digits in four groups) stands centred between the guards.
double retailLineStart(int32_t code, int32_t v) {
    constexpr int32_t kGuardRowMargin = 11 * kModule;
    constexpr int32_t kDebenhamsStart = 16 * kModule;  // quiet zone and half the spare width
    if (code == 0 && (v == 2 || v == 9) && gData.len22 != 2 && gData.len22 != 5)
        return -kGuardRowMargin;
    if (code == 0 && v == 3) return kDebenhamsStart;
    return 0;
}

// The EAN-8 marks in the margins ('W', letters, and for ASDA 8 the two add-on
// characters first and last) are set one digit wide so that the digits after
// them stay under their characters.
bool eightMark(int32_t code, int32_t v, unsigned char ch, bool firstOrLast) {
    if (code != 3 || ch == '<' || ch == '>') return false;
    return !isDigitGlyph(ch) || (v == 4 && firstOrLast);
}

// The index of the last glyph of the text line (not a space element).
int32_t lastGlyph(int32_t start) {
    int32_t last = -1;
    const int32_t* widths = elementWidths();
    for (int32_t i = start; i < gEl.cu_len && gEl.chNum[i] != kRowEnd; ++i)
        if (widths[gEl.chNum[i]] >= 0) last = i;
    return last;
}

double spaceAdvance(unsigned char b, double scale) {
    const int32_t w = -charToWidth(b);
    return (w == kWideSpace || w == kNarrowSpace) ? w / 2.0 * scale : w * scale;
}

// Glyph by glyph under the bars: the EAN, UPC, ISBN, ISSN layouts and the other
// codes outside the centred line.
void glyphByGlyph(const Painter& p, double textY) {
    const int32_t code = gSym.code, v = gSym.variation1;
    const double m = p.m;
    int32_t size = trunc32(100 * m);
    if (gSym.customTeSize != 0 && gSym.strip_extra == 0) size = gSym.customTeSize * 10;
    if (code == 10 && v == 2) size = trunc32(80 * m);
    if (code == 25 || (code == 0 && v == 12)) size = trunc32(90 * m);
    SetDrawTxtSize(size);
    if (gSym.customTeSize != 0 && gSym.strip_extra == 0 &&
        among(code, {0, 1, 2, 3, 10, 11, 25, 26, 27}))
        gVec.gCtexsize2 = m;
    if (code == 10 && v == 2) gVec.gCtexsize2 = 0.825;
    const double spaceScale = p.barFont ? gVec.gCtexsizeX : gVec.gCtexsize2;
    const double rowScale = gVec.gCtexsizeX;

    double cells[16];
    // WHS 6 prints the six digits after its two leading zeros with no gap of
    // their own: each is set under its own character, so the line reads in the
    // two groups of the symbol.
    const bool whs = code == 3 && v == 1;
    constexpr int32_t kWhsFirstCell = 2;
    int32_t whsDigits = 0;
    const int32_t nCells = (digitsOnCells(code, v) || whs) ? retailCells(p, cells, 16) : 0;
    const double cellUm = kCell * m;

    const int32_t textEnd = gEl.cu_len;

    double x = (code == 25 || (code == 0 && v == 12)) ? (kCell + 990) * rowScale : 0;
    x += retailLineStart(code, v) * spaceScale;
    const bool variantLine = retailCode(code) && !digitsOnCells(code, v);
    const double barsEnd = variantLine ? mainBarsEnd(p) * m : 0;
    // The EAN-8 variant with serif marks in its quiet zones prints them instead
    // of '<' and '>'.
    const bool serifMargins = code == 3 && v == 7;
    bool digitSeen = false;
    const int32_t lastIndex = lastGlyph(p.textRowStart);
    int32_t n = 0;
    const int32_t originX = p.glyphX(0);
    for (int32_t i = p.textRowStart; i < textEnd; ++i) {
        unsigned char ch = gEl.chNum[i];
        if (ch == kRowEnd) break;  // Small EAN's line is a row of its own
        if (charToWidth(ch) < 0) {
            x += spaceAdvance(ch, spaceScale);
            continue;
        }
        ++n;
        SetDrawTxtSize(size);
        double dx = 0, dy = 0;
        if (serifMargins && (ch == '<' || ch == '>')) {
            x += kCell * spaceScale;
            continue;
        }
        // The right light-margin mark and the right EAN-8 marks never stand on
        // the end guard.
        const bool mark = eightMark(code, v, ch, n == 1 || i == lastIndex);
        const bool rightMark = ch == '<' || (mark && digitSeen);
        if (rightMark && variantLine) x = std::max(x, barsEnd + (mark ? kModule * m : 0));
        digitSeen = digitSeen || (isDigitGlyph(ch) && !mark);
        // Per-glyph sizes and places of the retail layouts.
        if (code == 0 && gSym.smallFirstChar == 1 && n == 1) {
            SetDrawTxtSize(trunc32(70 * m));
            dx = 323959.5058 * m;
        }
        if (code == 0 && v != 12 && n >= 2 && n <= 7) dx = (p.barFont ? 140000 : 100000) * m;
        if (code == 10 && v != 2) {
            const int32_t last = (v == 3 || v == 4) ? 14 : v == 5 ? 13 : 12;
            if (n == 1 || n == last) SetDrawTxtSize(trunc32(80 * m));
            if (n == 1) dx = 140000 * m;
            // The NDC 5-3-2 and 4-4-2 lines carry their hyphens: the
            // check digit, glyph 14, already stands clear of the end guard.
            if (n == 12 && v != 3 && v != 4) {
                int32_t k = 0;
                switch (gData.chMainCode[12]) {
                    case '1':
                        k = 116000;
                        break;
                    case '2':
                    case '8':
                        k = 10000;
                        break;
                    case '4':
                        k = 14000;
                        break;
                    case '6':
                        k = -2000;
                        break;
                    default:
                        break;
                }
                dx = (gData.chAddCode[0] != 0 ? 140000 : 421000 + k) * m;
            }
            if (v == 5 && n == 13) dx = 431000 * m;
        }
        if (ch == '-') dy = 15000.0 * p.T;
        if (code == 0)
            gSym.bol = ((v == 10 && n >= 7 && n <= 12) || (v == 7 && n >= 8 && n <= 12) ||
                        (v == 8 && n >= 8 && n <= 13))
                           ? 1
                           : 0;
        else
            gSym.bol = 0;

        // A digit under a symbol character is centred on it.
        int32_t gx = sum32(originX, umToE5(x), trunc32(dx));
        if (nCells > 0 && isDigitGlyph(ch)) {
            for (int32_t c = 0; c < nCells; ++c) {
                const double cell = cells[c] * m;
                if (whs ? c != kWhsFirstCell + whsDigits : std::abs(cell - x) >= cellUm / 2)
                    continue;
                int32_t lo = 0, hi = 0;
                if (glyphOutlineExtent(ch, &lo, &hi) && gSym.textAsFont != 1 && p.barFont) {
                    const double glyphMid =
                        (lo + hi) / 2.0 * gVec.globHeight * kPerPoint - gVec.gCtexsizeX * 48505;
                    gx = sum32(originX, umToE5(cell), trunc32(umToE5(cellUm) / 2.0 - glyphMid));
                } else {
                    gx = sum32(originX, umToE5(cell));
                }
                break;
            }
            ++whsDigits;
        }
        const int32_t gy = trunc32(textY * kPerPoint + dy);
        if (code == 10 && n == 1 && (v >= 3 && v <= 6)) {
            const unsigned char mark = v == 6 ? '^' : 'N';
            getCharacterOut(&mark, gx, gy + trunc32(0.7 * p.T * kPerPoint));
        }
        const double scaleNow = gVec.gCtexsizeX;
        const int32_t adv = getCharacterOut(&ch, gx, gy);
        x += (adv != 0 && !mark) ? adv * scaleNow : kCell * spaceScale;
    }
    gSym.bol = 0;
}

bool textInBarFont() {
    return pstrEquals(gSym.fontBelow, "Strixel") || pstrEquals(gSym.fontBelow, "STRixel");
}

// The size of the centred or justified text line, in tenths of a point.
int32_t justifiedTextSize(double m) {
    const int32_t code = gSym.code;
    int32_t size =
        (code == 0 || among(code, {19, 20, 21, 28, 35, 36})) ? trunc32(100 * m) : trunc32(200 * m);
    if (gSym.customTeSize != 0) size = gSym.customTeSize * 10;
    if (code == 24) size = trunc32(200 * m);
    return size;
}

// The text line's baseline over the box's foot (points), the inset left out.
double textLineLift(int32_t T, bool justified, bool barFont) {
    double o = justified && gSym.code != 4 ? trunc32(0.1 * T) : 0;
    if (!barFont) o += trunc32(0.2 * T);
    return o;
}

bool justifiedGlyph(unsigned char ch) {
    if (typedCharacter(gSym.code, ch)) return true;
    if ((ch >= 37 && ch <= 57) || (ch >= 65 && ch <= 122) || (ch >= 174 && ch <= 183)) return true;
    if (std::strchr("<> #$%+-/:;", ch) != nullptr && ch != 0) return true;
    return ch == '=' && gSym.code == 5 && gSym.variation1 == 13;
}

// The centred or justified line of the Code 128, 2 of 5, Code 39 and like codes.
void justifiedLine(const Painter& p, double textY) {
    const int32_t code = gSym.code, v = gSym.variation1;
    const double m = p.m;
    SetDrawTxtSize(justifiedTextSize(m));
    const double scale = gVec.gCtexsizeX;
    const bool fontWidths = !p.barFont && code > 3 && !among(code, {10, 11, 25});
    const bool track = gSym.strip_extra == 2 && gSym.gTrackAdjust != 0;

    const unsigned char* text = gEl.chNum + p.textRowStart;
    const int32_t len = gEl.cu_len - p.textRowStart;
    auto glyphWidth = [&](unsigned char ch) {
        double w = 0;
        if (fontWidths)
            w = MeasureTextInEPS(reinterpret_cast<const char*>(&ch), 1, scale, gSym.fontBelow);
        else
            w = ((ch == '(' || ch == ')') && !p.ocrb ? kNarrowGlyph : kCell) * scale;
        if (track) w += gSym.gTrackAdjust * kTrackUm;
        return w;
    };
    auto questionWidth = [&] { return (p.ocrb ? kCell : kNarrowGlyph) * scale; };
    auto gapByte = [&](unsigned char ch) { return ch == '?' && !typedCharacter(code, ch); };

    // The widths measured for the line's length serve again to set it.
    constexpr int32_t kKeptWidths = 128;
    double widths[kKeptWidths];
    auto keptWidth = [&](int32_t k, unsigned char ch) {
        return k < kKeptWidths ? widths[k] : glyphWidth(ch);
    };
    double w = 0;
    for (int32_t k = 0; k < len; ++k) {
        const unsigned char ch = text[k];
        if (gapByte(ch)) {
            w += questionWidth();
        } else if (justifiedGlyph(ch)) {
            const double g = glyphWidth(ch);
            if (k < kKeptWidths) widths[k] = g;
            w += g;
        } else if (charToWidth(ch) < 0) {
            w += spaceAdvance(ch, 1);
        }
    }
    if (code == 5 && (v == 2 || v == 3)) w = 68086;

    const double quiet = getLeftMarginEPS() * p.f * m;
    double x = 0;
    if (gSym.TEjust == -1)
        x = p.B * kUmPerPoint - w - gSym.line * kUmPerPoint - quiet;
    else if (gSym.TEjust == 0)
        x = quiet + gSym.line * kUmPerPoint;
    else
        x = trunc32((p.B * kUmPerPoint - w) / 2) + trunc32((gSym.insetAmount / 2) * kUmPerPoint);

    const int32_t gy = trunc32(textY * kPerPoint);
    const int32_t originX = trunc32(p.left * kPerPoint);
    if (code == 5 && (v == 2 || v == 3)) {
        DrawMS128Text(reinterpret_cast<const char*>(text), len, 1, sum32(originX, umToE5(x)), gy,
                      m);
        return;
    }
    for (int32_t k = 0; k < len; ++k) {
        const unsigned char ch = text[k];
        if (gapByte(ch)) {
            x += questionWidth();
        } else if (justifiedGlyph(ch)) {
            const int32_t adv = getDataCharacterOut(&ch, sum32(originX, umToE5(x)), gy);
            x += adv != 0 ? adv * scale + (track ? gSym.gTrackAdjust * kTrackUm : 0)
                          : keptWidth(k, ch);
        } else if (charToWidth(ch) < 0) {
            x += spaceAdvance(ch, 1);
        }
    }
}

void drawAddOnDigits(const Painter& p, double mainLine) {
    const int32_t code = gSym.code, v = gSym.variation1;
    if (p.addOnStart < 0 || !among(code, {0, 1, 2, 10, 11, 25, 26, 27})) return;
    const double m = p.m;
    int32_t size = bigText(code) ? trunc32(200 * m) : trunc32(100 * m);
    if (gSym.customTeSize != 0 && among(code, {4, 5, 6, 7, 8, 19, 20, 28, 36}))
        size = gSym.customTeSize * 10;
    SetDrawTxtSize(size);
    const bool bookCode = code == 1 || (code == 2 && v != 1);
    double y = 0;
    if (v >= 255)
        y = mainLine;
    else if (bookCode)
        y = p.tb + p.T / 2.0 + 0.3 * p.T - p.addOnRise;
    else
        y = p.tb + 0.15 * p.T;
    const int32_t gy = trunc32(y * kPerPoint);
    int32_t k = 0;
    const int32_t n = std::min(gData.len2, static_cast<int32_t>(kAddCodeSize));
    for (; k < n; ++k) {
        const unsigned char ch = static_cast<unsigned char>(gData.chAddCode[k]);
        if (ch == kRowEnd || ch == 0) break;
        getCharacterOut(&ch, p.glyphX((p.addOnStart + 1320 + 2970.0 * k) * m), gy);
    }
    if (gSym.non_light == 1 && k > 0) {
        const unsigned char mark = '<';
        getCharacterOut(&mark, p.glyphX((p.addOnStart + 1320 + 2970.0 * k - 660) * m), gy);
    }
}

void drawText(Painter& p) {
    const int32_t code = gSym.code, v = gSym.variation1;
    const int32_t start = symbolTextRowStart();
    p.textRowStart = start;
    const bool haveText =
        start >= 0 && start < gEl.cu_len && (start > p.barRowEnd || code == kSmallEanCode);
    const bool justified =
        textLineIsData(code) || (code == 0 && gSym.flushBars == 0 && gSym.strip_extra == 1);
    const bool textAbove = textAboveBars();

    double y =
        p.baseY + textLineLift(p.T, justified, p.barFont) + (gSym.AboveHu != 1 ? p.inset : 0);
    if (textAbove) y = p.baseY + GetTextPosAboveCode(gSym.line + p.inset, p.t);

    double addOnLine = p.baseY + (gSym.AboveHu != 1 ? p.inset : 0) + (p.barFont ? 0 : 0.2 * p.T);
    drawAddOnDigits(p, addOnLine);

    if (!haveText || gSym.human != 1) return;
    const bool trackCode = code == 4 && v == 14;
    if (trackCode) {
        gSym.gTrackAdjust = 2;
        gSym.strip_extra ^= 2;
    }
    if (justified)
        justifiedLine(p, y);
    else
        glyphByGlyph(p, y);
    if (trackCode) {
        gSym.gTrackAdjust = 0;
        gSym.strip_extra ^= 2;
    }
}

}  // namespace

bool textLineIsData(int32_t code) {
    return among(code, {4, 5, 6, 7, 8, 17, 19, 20, 21, 24, 28, 30, 35, 36});
}

bool typedCharacter(int32_t code, unsigned char ch) {
    if (ch < kFirstTypedCharacter || ch > kLastTypedCharacter || !textLineIsData(code))
        return false;
    // Code 128's line is its printable data as well, but for the retail layouts,
    // which set their own spacers and text.
    if (code == kCode128Code || code == kGs1128Code)
        return code != kCode128Code ||
               !among(gSym.variation1, {kMsRetailLine, kMsRetailLine2, kSpacedRetailLine});
    return textRowIsTypedData(code);
}

ItemColours itemSecondColours(int32_t item) {
    if (item >= 0 && item < kMaxLabelItems && gLabel.labelParts[item]) {
        const LabelItem& it = *gLabel.labelParts[item];
        return {it.i16(item::cyan22), it.i16(item::magenta22), it.i16(item::yellow22),
                it.i16(item::black22)};
    }
    return {gSym.cyan22, gSym.magenta22, gSym.yellow22, gSym.black22};
}

int32_t paintedModuleRows() {
    int32_t starts[kMaxRows];
    return moduleRowStarts(starts);
}

bool reductionLeavesBars() {
    // No reduction (the usual case) leaves every bar whole: the walk is skipped.
    if (gSym.BWidthRed <= 0) return true;
    const int32_t narrowest = narrowestBar();
    return narrowest == 0 || gSym.BWidthRed < narrowest;
}

const char* reductionFault() {
    // A negative reduction widens every bar (a gain for presses that thin them);
    // as wide as a narrow module it closes the spaces, which are no narrower.
    if (gSym.BWidthRed < 0) {
        const int32_t narrowest = narrowestBar();
        return narrowest != 0 && -gSym.BWidthRed >= narrowest ? kNegativeReductionText : nullptr;
    }
    return reductionLeavesBars() ? nullptr : kBarsVanishText;
}

int32_t symbolTextUnit() { return trunc32(gSym.Siz * (bigText(gSym.code) ? 0.2 : 0.1)); }

int32_t narrowestBar() {
    const int32_t code = gSym.code;
    const double m = gSym.Siz * 0.01, f = widthFactor(code);
    if (code == 38 || code == 40) return trunc32(1000 * m * f);  // one module
    if (code == kSmallEanCode) return 0;                         // its digits only, no bars
    int32_t narrowest = 0;
    const auto row = [&](int32_t start) {
        return walkRuns(start, [&](double, double W, int32_t) {
            const int32_t w = trunc32(W * m * f);
            if (narrowest == 0 || w < narrowest) narrowest = w;
        });
    };
    if (code == 37) {
        // The rows the painter lays out: the human-readable row holds no bars.
        int32_t starts[kMaxRows];
        layDataBarRows(symbolTextUnit(), starts,
                       [&](int32_t r, double, double, bool) { row(starts[r]); });
        return narrowest;
    }
    // The four-state codes paint one row for each band, from the list's start.
    int32_t bands = code == 30   ? kRoyalMailBands
                    : code == 31 ? kPostnetBands
                                 : std::numeric_limits<int32_t>::max();
    // Every row: PDF417, Micro PDF417 and Codablock F paint theirs bar by bar too.
    const bool fromStart = code >= 39 || code == 30 || code == 31;
    for (int32_t i = fromStart ? 0 : linearPaintStart(gEl.chNum, gEl.cu_len);
         i < gEl.cu_len && bands-- > 0; ++i)
        i = row(i);
    return narrowest;
}

double postalHeight(double points) {
    const int32_t code = gSym.code;
    if (code != 30 && code != 31) return points;
    const int32_t T = symbolTextUnit();
    double room = (code == 30 ? kRoyalMailBands : kPostnetBands) * T;
    if (code == 30 && gSym.human == 1) {
        room += textLineLift(T, true, textInBarFont()) + justifiedTextSize(gSym.Siz * 0.01) / 10.0;
        if (gSym.AboveHu != 1) room += gSym.insetAmount + gSym.gline;
    }
    // Whole points: the boxes are cut to whole points.
    return std::max(points, std::ceil(room));
}

bool linearBarsFit() {
    const int32_t code = gSym.code;
    if (code == 37) return dataBarRowsFit();
    // Module rows, block letters and the four-state codes have geometry of their own.
    if (code >= 37 || code == 30 || code == 31) return true;
    const int32_t i = linearPaintStart(gEl.chNum, gEl.cu_len);
    if (i >= gEl.cu_len) return true;
    const int32_t T = symbolTextUnit();
    const int32_t t = textReserve(T);
    const double inset = gSym.insetAmount + gSym.gline;
    const bool textAbove = textAboveBars();
    bool fit = true;
    int32_t counter = 0;
    // Most bars share their drop and rise: a height is worked out once for each pair.
    double lastDrop = std::numeric_limits<double>::quiet_NaN();
    int32_t lastRise = 0;
    bool lastFits = true;
    walkRuns(i, [&](double, double, int32_t) {
        ++counter;
        double d = CheckDrop(counter, T);
        int32_t r = CheckTopDrop(counter, T);
        paintedDropRise(textAbove, t, &d, &r);
        if (!(d == lastDrop && r == lastRise)) {
            lastDrop = d;
            lastRise = r;
            lastFits = linearBarHeight(T, inset, d, r, t) > 0;
        }
        if (!lastFits) fit = false;
    });
    return fit;
}

bool paintedBarByBar(int32_t code) { return !among(code, {37, 38, 39, 40, 41, 42}); }

void drawCodebars(int32_t T, int32_t textX, int32_t textY, int32_t B, int32_t left, int32_t item,
                  double inset, int32_t baseY) {
    Painter p;
    const int32_t code = gSym.code;
    p.T = T;
    p.tb = textY;
    p.B = B;
    p.left = left;
    p.item = item;
    p.inset = inset;
    p.baseY = baseY;
    p.m = gSym.Siz * 0.01;
    p.f = widthFactor(code);
    p.barFont = textInBarFont();
    p.ocrb = pstrEquals(gSym.fontBelow, "OCRB");
    // A DataMatrix symbol fills its box, which has no point of margin to spare.
    p.L = gSym.extraMargin + (code == 38 ? 0 : 1);
    p.t = textReserve(T);

    doColour(kColourFill);
    gSym.multi_line = 1;
    drawHeader(p);

    if (gEl.cu_len <= 0) return;
    if (code == 38 || code == 40) {
        paintBlockLetters(p);
    } else if (code == 41 || code == 42) {
        paintModuleRows(p);
    } else if (code == 37) {
        paintDataBar(p);
    } else if (code == 39) {
        paintStackedRows(p);
    } else {
        paintLinear(p);
        drawText(p);
    }
    gSym.multi_line = 0;
}
