#include "symbology/rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "symbology/host.h"
#include "symbology/EAN.h"
#include "symbology/UPC.h"
#include "symbology/codebars.h"
#include "symbology/info.h"
#include "symbology/state.h"

RowState gRows;

void putN(unsigned char b, int n) {
    for (int i = 0; i < n; ++i) gEl.put(b);
}

namespace {

int64_t truncToI64(double v) {
    // Heights and magnifications come from the user; keep the conversion defined.
    if (!(v == v)) return 0;
    constexpr double kLimit = 1e15;
    return static_cast<int64_t>(std::clamp(v, -kLimit, kLimit));
}

// Heights in micrometres times percent: T the bar height, S one row.
struct Height {
    int64_t S = 0;
    int64_t T = 0;
};

Height heightFor(int32_t rowUnit) {
    Height h;
    h.S = truncToI64(static_cast<double>(rowUnit) * gSym.Siz);
    h.T = truncToI64(gSym.Hei * 100000.0);
    return h;
}

// Appends copies of the row at [from, from + len) while the covered height A
// asks for them: the first copy needs A < T unless firstAlways, each further
// copy A <= T after the previous one added S.
void repeatRows(int32_t from, int32_t len, int64_t A, const Height& h, bool firstAlways,
                int32_t reserve) {
    for (bool first = true;; first = false) {
        if (first ? !(firstAlways || A < h.T) : A > h.T) return;
        // Whole rows only, and room left for the text line behind them.
        if (len <= 0 || !gEl.fits(static_cast<size_t>(len) + static_cast<size_t>(reserve))) return;
        gEl.copyWithin(from, static_cast<size_t>(len));
        A += h.S;
    }
}

// Index of the first byte of the last run of bar bytes before `end`; a byte that
// is no element counts as a bar here, as the bar font draws it inked.
int32_t lastBarStart(int32_t end) {
    int32_t i = end - 1;
    while (i >= 0 && charToWidth(gEl.chNum[i]) < 0) --i;
    while (i >= 0 && charToWidth(gEl.chNum[i]) > 0) --i;
    return i + 1;
}

// A byte of a data buffer, 0 outside it.
unsigned char byteAt(const char* buf, size_t size, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < size ? static_cast<unsigned char>(buf[i]) : 0;
}
unsigned char mainAt(int32_t i) { return byteAt(gData.chMainCode, kMainCodeSize, i); }
unsigned char printedAt(int32_t i) { return byteAt(gData.chMainCode2, kMainCodeSize, i); }
unsigned char addAt(int32_t i) { return byteAt(gData.chAddCode, kAddCodeSize, i); }

int32_t clampLen(int32_t n) { return std::clamp<int32_t>(n, 0, kMainCodeSize - 1); }

// An upper bound of what Humans1 writes, so that Vector leaves room for it.
int32_t textLineBound() {
    const int32_t l1 = clampLen(gData.len1);
    const int32_t l11 = clampLen(gData.len11);
    switch (gSym.code) {
        case 5:
        case 7:
            return l11;
        case 13:
            return l11 + 2;
        case 15:
            return l11 + 24;
        case 4:
        case 24:
            // A character, up to three gaps after it, the marks and the set-apart check.
            return 4 * (std::max<int32_t>(l1, std::min<int32_t>(l11, 255)) + 1) + 4;
        case 37:
            return 18;
        default:
            return l1 + 6;
    }
}

void humansCode128() {
    const bool barFontText = std::memcmp(gSym.fontBelow, gSym.barFont, 1 + gSym.fontBelow[0]) == 0;
    for (int32_t i = 0; i < clampLen(gData.len11); ++i) {
        unsigned char c = printedAt(i);
        // The bar font draws brackets with its own glyphs.
        if (barFontText && c == '(') c = '>';
        if (barFontText && c == ')') c = '<';
        gEl.put(c);
    }
}

void humansMSBel() {
    MS_check2();
    gEl.put('=');
    for (int32_t i = 0; i < clampLen(gData.len11); ++i) gEl.put(printedAt(i));
    --gData.len11;  // the check digit stays in the buffer, uncounted
}

void humansMSShoe() {
    const int32_t v = gSym.variation;
    const unsigned char last = printedAt(gData.len11 - 1);
    unsigned char letter = '=';
    if (v <= 1) {
        if (last == '1') letter = 'L';
        if (last == '2') letter = 'R';
    } else {
        if (last == '1') letter = 'T';
        if (last == '2') letter = 'B';
    }
    const bool outer = v == 0 || v == 2;
    const bool inner = v == 1 || v == 3;
    if (outer) gEl.put(letter);
    putN('=', 3);
    if (inner) gEl.put(letter);
    putN('=', 3);
    for (int32_t i = 0; i < 4; ++i) gEl.put(static_cast<unsigned char>(printedAt(i) + 126));
    putN('=', 2);
    for (int32_t i = 4; i <= clampLen(gData.len11) - 4; ++i)
        gEl.put(static_cast<unsigned char>(printedAt(i) + 126));
    putN('=', 4);
    if (inner) gEl.put(letter);
    putN('=', 3);
    if (outer) gEl.put(letter);
}

void humansInterleaved() {
    const int32_t v = gSym.variation1;
    const unsigned char L = mainAt(gData.len1 - 1);
    if (productionEntryMode() != 1) {  // serial runs keep the numbered data
        const size_t n = strnlen(gData.chMainCode2, 255);
        std::memmove(gData.chMainCode, gData.chMainCode2, n);
        size_t len = n;
        // Accessorize10 shows its ten digits without the check digit.
        if (gSym.nCheck == 0 && v != 7) gData.chMainCode[len++] = static_cast<char>(L);
        gData.chMainCode[len] = 0;
        gData.len1 = static_cast<int32_t>(len);
    }
    int32_t n = clampLen(gData.len1) - 1;
    if (v == 3 || v == 4) --n;
    if (v == 1) gEl.put(129);
    if (gData.len22 >= 2) gEl.put(static_cast<unsigned char>(addAt(1) - 60));
    const bool gapEach = !(gSym.code == 24 || v == 3 || v == 5 || v == 13);
    for (int32_t i = 0; i <= n; ++i) {
        gEl.put(mainAt(i));
        if (v == 14) {
            if (i == 2 || i == 5) gEl.put('-');
            continue;
        }
        if (gapEach && i < n) gEl.put('?');
        const bool groupEnd = i == 2 || i == 7 || i == 12;
        if (gSym.chSpace == 1 && v != 13 && groupEnd) putN('?', 2);
        if (v == 13 && (i == 0 || groupEnd)) gEl.put('?');
    }
    if (v == 3) {
        gEl.put(' ');
        gEl.put(mainAt(n + 1));
    }
    if (gData.len22 >= 2) gEl.put(static_cast<unsigned char>(addAt(2) - 60));
}

// The DataBar driver has written the printed text; chMainCode keeps the data.
void humansDataBar() {
    for (int32_t i = 0; i < gData.len11 && gData.chMainCode2[i]; ++i)
        gEl.put(static_cast<unsigned char>(gData.chMainCode2[i]));
}

void humansPlain() {
    const int32_t v = gSym.variation1;
    const int32_t code = gSym.code;
    int32_t n = clampLen(gData.len1) - 1;
    if (code == 30 && v == 1) n = clampLen(gData.len1);  // KIX shortened len1 by one
    const bool stars = code == 6 && (v == 1 || v == 6 || v == 7);
    if (stars) gEl.put('*');
    for (int32_t i = 0; i <= n; ++i) {
        gEl.put(mainAt(i));
        if (code == 35 && v == 1 && i == 3) gEl.put('-');
        if (code == 20 && v == 1 && (i == 2 || i == 5)) gEl.put(' ');
    }
    if (code == 6 && v == 6) gEl.put(mainAt(gData.len1));
    if (stars) gEl.put('*');
}

}  // namespace

void Vector(int32_t rowUnit) {
    const int32_t E = gEl.cu_len;
    gRows.glastbar[0] = lastBarStart(E);
    if (!gEl.put(kRowEnd)) return;
    const Height h = heightFor(rowUnit);
    // The first row counts twice.
    const int64_t A = truncToI64(2.0 * rowUnit * gSym.Siz);
    repeatRows(0, E + 1, A, h, false, textLineBound());
    // ITF-6 ends without a row terminator; its text comes from the header.
    if (gSym.code == 14 && gEl.cu_len > 0 && gEl.chNum[gEl.cu_len - 1] == kRowEnd) --gEl.cu_len;
}

bool textRowIsTypedData(int32_t code) {
    switch (code) {
        case 4:
        case 5:
        case 7:
        case 13:
        case 15:
        case 24:
        case 34:
        case 37:
            return false;
        default:
            return true;
    }
}

void Humans1() {
    if (textRowIsTypedData(gSym.code)) {
        humansPlain();
        return;
    }
    switch (gSym.code) {
        case 5:
        case 7:
            humansCode128();
            break;
        case 13:
            humansMSBel();
            break;
        case 15:
        case 34:  // M&S Top Bottom is the shoe symbol: its data bytes are symbol bytes by now
            humansMSShoe();
            break;
        case 4:
        case 24:
            humansInterleaved();
            break;
        case 37:
            humansDataBar();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------
// The EAN family: rows at fixed byte positions, text builders that count back
// from the end of the list.

namespace {

// Room kept for the text builders of the EAN family: a guard row with its
// add-on part and the longest text line.
constexpr int32_t kEanTextReserve = 160;

// Index of the byte after the first row end, or -1.
int32_t secondRowStart() {
    const void* end = std::memchr(gEl.chNum, kRowEnd, static_cast<size_t>(gEl.cu_len));
    return end ? static_cast<int32_t>(static_cast<const unsigned char*>(end) - gEl.chNum) + 1 : -1;
}

// Closes the current row and repeats the bar row up to the bar height. With an
// add-on text row above, the bar row is the second row and counts from 2S.
void repeatEanRows(int32_t rowUnit, bool addOnTextRow) {
    if (!gEl.put(kRowEnd)) return;
    const Height h = heightFor(rowUnit);
    const int32_t from = addOnTextRow ? secondRowStart() : 0;
    if (from < 0) return;
    const int64_t A = addOnTextRow ? 2 * h.S : h.S;
    repeatRows(from, gEl.cu_len - from, A, h, true, kEanTextReserve);
}

bool hasAddOnRows() { return gData.len2 == 2 || gData.len2 == 5; }

// The add-on digits above the add-on bars, then the start of the next row.
void addOnTextRow(unsigned char lastMark, int32_t copyLen) {
    putN(kSpace1, 4);
    for (int32_t i = 0; i < gData.len2; ++i) {
        if (i > 0) putN(kSpace1, 2);
        gEl.put(addAt(i));
    }
    gEl.put(lastMark);
    if (!gEl.put(kRowEnd)) return;
    if (!gEl.fits(static_cast<size_t>(copyLen))) {
        gEl.overflow = true;
        return;
    }
    gEl.copyWithin(0, static_cast<size_t>(copyLen));
}

void putDigits(int32_t from, int32_t to) {
    for (int32_t i = from; i <= to; ++i) gEl.put(mainAt(i));
}

bool addOnText() { return gData.len22 == 2 || gData.len22 == 5; }

// Copies the first n bytes of the add-on part of the bar row at rowStart,
// which begins behind the EAN-13 row.
void copyAddOnPart(int32_t rowStart, int32_t n) {
    if (rowStart < 0) return;
    for (int32_t i = 0; i < n; ++i) gEl.put(gEl.chNum[rowStart + kEan13RowLen + i]);
}

// Ends a guard row; with an add-on, the add-on bars of the bar row at rowStart
// run down through it.
void endGuardRow(bool addOn, int32_t rowStart) {
    if (addOn) {
        gEl.put(kSpace4);
        gEl.put(kSpace3);
        copyAddOnPart(rowStart, gData.len22 == 5 ? 32 : 15);
    }
    gEl.put(kRowEnd);
}

// Start of the last bar row, which ends with the last 13 of the list.
int32_t lastRowStart() {
    int32_t i = gEl.cu_len - 2;
    while (i >= 0 && gEl.chNum[i] != kRowEnd) --i;
    return i + 1;
}

}  // namespace

void Vector2(int32_t rowUnit) { repeatEanRows(rowUnit, hasAddOnRows() && gSym.variation1 < 255); }

void Vector3(int32_t) { addOnTextRow(gSym.non_light == 1 ? kLightRight : kSpace1, kEan13RowLen); }

void Vector4(int32_t rowUnit) { repeatEanRows(rowUnit, hasAddOnRows()); }

void Vector5(int32_t) {
    // Two or three of the spaces behind the bar row make the gap before the
    // add-on guard 9 or 10 modules.
    addOnTextRow(kLightRight, kUpcERowLen + (gData.len2 == 5 ? 2 : 3));
}

void Humans2() {
    const int32_t code = gSym.code;
    const int32_t v = gSym.variation1;
    // Start, centre and end guard bars of the last bar row.
    if (gData.len22 == 5) {
        for (int32_t b : {96, 94, 68, 66, 40, 38}) markGuard(b);
    } else if (gData.len22 == 2) {
        for (int32_t b : {78, 76, 50, 48, 22, 20}) markGuard(b);
    } else if (gSym.flushBars == 1) {
        markGuard(62);
        markGuard(60);
        if (!(code == 25 || (code == 0 && v == 12))) {
            markGuard(34);
            markGuard(32);
        }
        markGuard(6);
        markGuard(4);
    }

    const bool strip = gSym.strip_extra != 0;
    if (addOnText()) {
        gEl.put(mainAt(0));
        putN(kSpace1, code == 0 ? 7 : 8);
        putDigits(1, 6);
        putN(kSpace1, code == 0 ? 5 : 4);
        putDigits(7, 12);
        putN(kSpace1, 3);
        for (unsigned char b : {kSpace4, kSpace3, kSpace4, kSpace3}) gEl.put(b);
    } else if (code == 25 || (code == 0 && v == 12)) {
        putN(kSpace1, 7);
        putDigits(0, 5);
        putN(kSpace1, 5);
        putDigits(6, 12);
        putN(kSpace1, 3);
    } else if (code == 0 && v == 3) {
        for (int32_t i = 3; i <= 12; ++i) {
            gEl.put(mainAt(i));
            if (i == 3 || i == 7 || i == 10) putN(kSpace1, 5);
        }
    } else {
        gEl.put(mainAt(0));
        if (!strip) putN(kSpace1, code == 0 ? 7 : 8);
        putDigits(1, 6);
        if (!strip) putN(kSpace1, code == 0 ? 5 : 4);
        putDigits(7, 12);
        if (!strip) putN(kSpace1, 3);
        if (gSym.non_light == 1) gEl.put(kLightRight);
    }
}

void Humans222() {
    const bool addOn = addOnText();
    const int32_t rowLen = gData.len22 == 5 ? 102 : 84;
    const int32_t rowStart = addOn ? gEl.cu_len - rowLen : -1;
    if (addOn && gSym.flushBars == 1) {
        markGuard(gData.len22 == 5 ? 68 : 50);
        markGuard(gData.len22 == 5 ? 66 : 48);
    }
    gDispatch.nu = 0;

    // A row that carries only the guard bars, so that they reach below the
    // others; the digits are spaces of their widths. Without an add-on the
    // guard bars of this row are the marked ones.
    const unsigned char guardBar = addOn ? kEanBar1 : kGuardMark;
    auto guard = [&]() {
        if (gSym.flushBars == 1) {
            putBar(guardBar);
            gEl.put(kSpace1);
            putBar(guardBar);
        } else {
            putN(kSpace1, 3);
        }
    };
    SpaceChar();
    putN(kSpace1, 4);
    guard();
    for (int32_t i = 1; i <= 6; ++i) EaSpace(i);
    putN(kSpace1, 5);
    for (int32_t i = 7; i <= 12; ++i) spacesetC(i);
    guard();
    endGuardRow(addOn, rowStart);

    if (addOn) {
        gEl.put(mainAt(0));
        putN(kSpace1, 8);
        putDigits(1, 6);
        putN(kSpace1, 4);
        putDigits(7, 12);
        for (unsigned char b : {kSpace1, kSpace1, kSpace1, kSpace4, kSpace3}) gEl.put(b);
        return;
    }
    const bool strip = gSym.strip_extra != 0;
    SpaceChar();
    putN(kSpace1, 4);
    gEl.put(mainAt(0));
    if (!strip) putN(kSpace1, 6);
    for (int32_t i = 1; i <= 6; ++i) {
        gEl.put(mainAt(i));
        if (strip && (i == 2 || i == 4)) gEl.put(kSpace1);
    }
    if (!strip) putN(kSpace1, 4);
    gEl.put(kSpace1);
    for (int32_t i = 7; i <= 12; ++i) {
        gEl.put(mainAt(i));
        if (strip && (i == 7 || i == 9 || i == 11)) gEl.put(kSpace1);
    }
    if (!strip) putN(kSpace1, 3);
    if (gSym.non_light == 1) gEl.put(kLightRight);
}

namespace {

// Text of code type 16: the retail EAN-8 layouts.
void humansMS8() {
    const int32_t v = gSym.variation1;
    if (gSym.flushBars == 1) {
        for (int32_t b : {49, 47, 9, 7}) markGuard(b);
    }
    const bool plain = v == 0 || v == 5;
    auto digit = [&](int32_t i) {
        const unsigned char c = mainAt(i);
        gEl.put(plain ? c : static_cast<unsigned char>(c + 126));
    };
    if (v == 1 || v == 6) {
        gEl.put('M');
    } else if (v == 3 || v == 7) {
        for (unsigned char b : {kSpace1, static_cast<unsigned char>('\''), kSpace1}) gEl.put(b);
        if (v != 7) gEl.put(kSpace1);
    } else {
        for (unsigned char b : {static_cast<unsigned char>('`'), kSpace1, kSpace1}) gEl.put(b);
    }
    putN(kSpace1, 2);
    if (v > 4) {
        putN(kSpace1, 3);
        for (int32_t i = 0; i <= 3; ++i) digit(i);
        putN(kSpace1, 4);
        for (int32_t i = 4; i <= 7; ++i) digit(i);
    } else {
        putN(kSpace1, 4);
        for (int32_t i = 1; i <= 4; ++i) digit(i);
        putN(kSpace1, 5);
        for (int32_t i = 5; i <= 7; ++i) digit(i);
    }
    putN(kSpace1, 3);
    if (v < 5) putN(kSpace1, 4);
    gEl.put(kSpace1);
    if (v == 1 || v == 6) {
        if (v == 1) putN(kSpace1, 2);
        gEl.put('S');
    } else if (v == 3 || v == 7) {
        gEl.put('&');
    } else {
        if (v == 0) gEl.put(kSpace1);
        for (unsigned char b : {kSpace1, kSpace1, static_cast<unsigned char>('_')}) gEl.put(b);
    }
}

// An add-on character used as a mark of the ASDA layout; nothing when there is none.
void addOnMark(int32_t i) {
    if (addAt(i) != 0) gEl.put(addAt(i));
}

// Text of code type 3: EAN-8 and its retail layouts.
void humansEan8() {
    const int32_t v = gSym.variation1;
    if (gSym.flushBars == 1) {
        const int32_t d = v == 2 ? 3 : -2;
        markGuard(48 + d);
        markGuard(46 + d);
        if (v == 0 || (v >= 3 && v <= 7)) {
            markGuard(28 + d);
            markGuard(26 + d);
        }
        markGuard(8 + d);
        markGuard(6 + d);
    }
    if (v == 2 || v == 3) {
        gEl.put('W');
    } else if (v == 4) {
        addOnMark(0);
    } else if (gSym.non_light == 1) {
        gEl.put(kLightLeft);
    } else {
        SpaceChar();
    }
    if (v == 0) gEl.put(kSpace1);
    putN(kSpace1, 3);
    int32_t first = 0;
    if (v == 1) {
        SpaceChar();
        putN(kSpace1, 3);
        first = 2;
    } else if (v == 2) {
        SpaceChar();
        gEl.put(kSpace3);
        gEl.put(kSpace1);
        first = 1;
    } else if (v == 8) {
        putN(kSpace1, 6);
    }
    putDigits(first, 3);
    if (v != 1 && v != 8) {
        if (v != 0) gEl.put(kSpace1);
        putN(kSpace1, 3);
        if (v != 3 && v != 4) gEl.put(kSpace1);
    }
    putDigits(4, v == 2 || v == 8 ? 6 : 7);
    putN(kSpace1, 3);
    if (v == 2) {
        SpaceChar();
        putN(kSpace1, 2);
        gEl.put('W');
    } else if (v == 3) {
        gEl.put('W');
    } else if (v == 4) {
        addOnMark(1);
    } else if (gSym.non_light == 1) {
        gEl.put(kLightRight);
    } else {
        SpaceChar();
    }
}

}  // namespace

void Humans3() { gSym.code == 16 ? humansMS8() : humansEan8(); }

void Humans22() {
    const int32_t v = gSym.variation1;
    const bool addOn = addOnText();
    const int32_t rowLen = gData.len22 == 5 ? 102 : gData.len22 == 2 ? 84 : 68;
    const int32_t rowStart = gEl.cu_len - rowLen;
    if (gSym.flushBars == 1) {
        // The centre guard of the last bar row.
        markGuard(rowLen - 34);
        markGuard(rowLen - 36);
    }
    if (addOn) gDispatch.nu = 0;

    // A row below the symbol in which the guards, the number system digit and
    // the check digit are bars that reach down beside the text.
    SpaceChar();
    putN(kSpace1, 4);
    startOrEndGuard();
    setA(1);
    for (int32_t i = 2; i <= 6; ++i) EaSpace(i);
    putN(kSpace1, 5);
    for (int32_t i = 7; i <= 11; ++i) spacesetC(i);
    setC(12);
    startOrEndGuard();
    endGuardRow(addOn, rowStart);

    if (addOn) {
        gEl.put(mainAt(1));
        putN(kSpace1, 8);
        SpaceChar();
        putDigits(2, 6);
        putN(kSpace1, 4);
        putDigits(7, 11);
        SpaceChar();
        putN(kSpace1, 3);
        gEl.put(mainAt(12));
        return;
    }
    const bool ndcGroups = v == 3 || v == 4 || v == 5;
    gEl.put(mainAt(1));
    putN(kSpace1, 5);
    if (!ndcGroups) putN(kSpace1, 3);
    if (v == 5) gEl.put(kSpace1);
    SpaceChar();
    if (v == 2) {
        SpaceChar();
        putN(kSpace1, 2);
    }
    // NDC hyphens: 5-3-2 (variant 3), 4-4-2 (variant 4), 5-5 (variant 5).
    for (int32_t i = 2; i <= 6; ++i) {
        gEl.put(mainAt(i));
        if (((v == 3 || v == 5) && i == 6) || (v == 4 && i == 5)) gEl.put('-');
    }
    if (!ndcGroups) putN(kSpace1, 4);
    if (v == 2) SpaceChar();
    for (int32_t i = 7; i <= 11; ++i) {
        gEl.put(mainAt(i));
        if ((v == 3 || v == 4) && i == 9) gEl.put('-');
    }
    if (v == 2) {
        SpaceChar();
        putN(kSpace1, 4);
    }
    SpaceChar();
    if (v != 3 && v != 4) putN(kSpace1, 3);
    gEl.put(mainAt(12));
}

void Humans4() {
    if (gSym.flushBars == 1) {
        // Start and end guard bars of the last bar row.
        const int32_t start = lastRowStart();
        for (int32_t at : {2, 4, 30, 32, 34}) {
            const int32_t i = start + at;
            if (i < gEl.cu_len) gEl.chNum[i] = static_cast<unsigned char>(kGuardMark + gSym.BW);
        }
    }
    gEl.put(mainAt(0));
    putN(kSpace1, 4);
    putDigits(1, 6);
    putN(kSpace1, 6);
    gEl.put(mainAt(7));
}
