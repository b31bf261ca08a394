#include "symbology/rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "symbology/codebars.h"
#include "symbology/info.h"
#include "symbology/state.h"

RowState gRows;

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
        std::memcpy(gEl.chNum + gEl.cu_len, gEl.chNum + from, static_cast<size_t>(len));
        gEl.cu_len += len;
        A += h.S;
    }
}

void putN(unsigned char b, int n) {
    for (int i = 0; i < n; ++i) gEl.put(b);
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

// Entry mode of the production run (`background`): 1 while serial numbers run.
// The production settings are not part of the engine yet, so every run counts
// as normal entry here.
bool serialNumberRun() { return false; }

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
    if (!serialNumberRun()) {
        const size_t n = strnlen(gData.chMainCode2, 255);
        std::memmove(gData.chMainCode, gData.chMainCode2, n);
        size_t len = n;
        if (gSym.nCheck == 0) gData.chMainCode[len++] = static_cast<char>(L);
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

void humansDataBar() {
    gData.chMainCode[14] = 0;
    gData.len1 = 13;
    gData.len11 = 13;
    calcheck();
    for (char c : {'(', '0', '1', ')'}) gEl.put(static_cast<unsigned char>(c));
    for (int32_t i = 0; i < 14; ++i) gEl.put(mainAt(i));
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

void Humans1() {
    switch (gSym.code) {
        case 5:
        case 7:
            humansCode128();
            break;
        case 13:
            humansMSBel();
            break;
        case 15:
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
            humansPlain();
            break;
    }
}
