// The 2 of 5 family. Every digit is five elements, two of them wide. Interleaved
// 2 of 5 pairs the digits (the first one's elements as bars, the second one's
// as spaces between them); the discrete forms write each digit on its own.
#include "symbology/2of5.h"

#include <cstdio>
#include <cstring>

#include "symbology/elementbytes.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

using namespace elem;

// The digits' patterns of the 2 of 5 standard: 'w' marks the two wide elements.
constexpr char kPatterns[10][6] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                   "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};
constexpr int32_t kElementsPerDigit = 5;

// Light margins of Interleaved 2 of 5: ten 1000 um spaces (three more beside
// the gauges) and three of 300 um.
constexpr int kQuietSpaces = 10;
constexpr int kGaugeSpaces = 3;
constexpr int kQuietGaps = 3;
constexpr int kItf6QuietSpaces = 2;

// Variants of Interleaved 2 of 5 with their own data handling.
constexpr int32_t kBearerVariant = 1;
constexpr int32_t kNextVariant = 2;
constexpr int32_t kTenDigitVariant = 7;  // Accessorize10
constexpr int32_t kTwelveDigitVariant = 8;
constexpr int32_t kNineVariant = 14;  // Next 9
constexpr int32_t kEthelAustin = 24;

// Discrete 2 of 5 variants.
constexpr int32_t kIata = 1;
constexpr int32_t kMatrix = 2;

// Where Next's letters start counting: 'A' is 11.
constexpr int32_t kFirstLetterValue = 11;

bool wideAt(char digit, int32_t position) { return kPatterns[digit - '0'][position] == 'w'; }

void narrowBar() { gEl.put(static_cast<unsigned char>(kNarrowBar + gSym.BW)); }
void wideBar25() { gEl.put(static_cast<unsigned char>(kWideBar + gSym.BW)); }
void narrowSpace() { gEl.put(kNarrowSpace); }

void interleavedBar(char digit, int32_t position) {
    if (wideAt(digit, position))
        doWideRatioB();
    else
        narrowBar();
}

void interleavedSpace(char digit, int32_t position) {
    if (wideAt(digit, position))
        doWideRatioS();
    else
        narrowSpace();
}

void interleavedStart() {
    narrowBar();
    narrowSpace();
    narrowBar();
    narrowSpace();
}

// The digit pairs of an even number of digits.
void interleavedPairs(const char* digits, int32_t n) {
    for (int32_t i = 0; i + 1 < n; i += 2)
        for (int32_t p = 0; p < kElementsPerDigit; ++p) {
            interleavedBar(digits[i], p);
            interleavedSpace(digits[i + 1], p);
        }
}

void interleavedQuietZone() {
    putN(kQuiet1000, kQuietSpaces + (gSym.Hgauge != 0 ? kGaugeSpaces : 0));
    putN(kQuiet300, kQuietGaps);
}

int32_t refuseNonDigit() {
    return refuseSymbol(
        "Interleaved 2 of 5 data may hold digits only. Remove the other characters and try "
        "again.");
}

// Adds `c` at the end of the data; false when the buffer is full.
bool appendChar(char c) {
    if (gData.len1 < 0 || gData.len1 + 2 > static_cast<int32_t>(kMainCodeSize)) return false;
    gData.chMainCode[gData.len1++] = c;
    gData.chMainCode[gData.len1] = 0;
    return true;
}

// Adds `c` at the end of the printed copy of the data; false when it is full.
bool appendPrinted(char c) {
    const int32_t n = static_cast<int32_t>(strnlen(gData.chMainCode2, kMainCodeSize - 1));
    if (n + 2 > static_cast<int32_t>(kMainCodeSize)) return false;
    gData.chMainCode2[n] = c;
    gData.chMainCode2[n + 1] = 0;
    gData.len11 = n + 1;
    return true;
}

bool prependChar(char c) {
    if (gData.len1 < 0 || gData.len1 + 2 > static_cast<int32_t>(kMainCodeSize)) return false;
    std::memmove(gData.chMainCode + 1, gData.chMainCode, static_cast<size_t>(gData.len1) + 1);
    gData.chMainCode[0] = c;
    ++gData.len1;
    return true;
}

int32_t tooLong() {
    return refuseSymbol("The data is too long for this symbol. Shorten the data and try again.");
}

void setData(const char* text, int32_t n) {
    std::memcpy(gData.chMainCode, text, static_cast<size_t>(n));
    gData.chMainCode[n] = 0;
    gData.len1 = n;
}

// Discrete 2 of 5: a wide or narrow bar followed by a narrow space.
void discreteBar(bool wide) {
    if (wide)
        wideBar25();
    else
        narrowBar();
    narrowSpace();
}

// Industrial and IATA: the five elements are bars.
void Cod25(int32_t index) {
    const char c = gData.chMainCode[index];
    for (int32_t p = 0; p < kElementsPerDigit; ++p) discreteBar(wideAt(c, p));
}

// Matrix: bar, space, bar, space, bar, then the narrow gap.
void Cod25M(int32_t index) {
    const char c = gData.chMainCode[index];
    for (int32_t p = 0; p < kElementsPerDigit; ++p) {
        const bool wide = wideAt(c, p);
        if (p % 2 == 0)
            wide ? wideBar25() : narrowBar();
        else
            gEl.put(wide ? kWideSpace : kNarrowSpace);
    }
    narrowSpace();
}

// Start and stop as bar widths: each bar followed by a narrow space.
void discreteGuard(const char* bars) {
    for (const char* b = bars; *b; ++b) discreteBar(*b == 'w');
}

}  // namespace

int32_t wideRatio(int32_t ratio, double siz) {
    if (ratio == 0 || ratio == 2 || ratio == 3 || ratio == 5) return ratio;
    if (siz >= 100) return 3;
    if (siz >= 75) return 5;
    if (siz >= 50) return 0;
    return 2;
}

void doWideRatioB() {
    const unsigned char bw = static_cast<unsigned char>(gSym.BW);
    switch (wideRatio(gSym.ratio, gSym.Siz)) {
        case 0:
            gEl.put(kNarrowBar);
            gEl.put(static_cast<unsigned char>(kNarrowBar + bw));
            break;
        case 2:
            gEl.put(static_cast<unsigned char>(kWideBar22 + bw));
            break;
        case 3:
            putN(kNarrowBar, 2);
            gEl.put(static_cast<unsigned char>(kNarrowBar + bw));
            break;
        default:
            gEl.put(static_cast<unsigned char>(kWideBar + bw));
            break;
    }
}

void doWideRatioS() {
    switch (wideRatio(gSym.ratio, gSym.Siz)) {
        case 0:
            putN(kNarrowSpace, 2);
            break;
        case 2:
            gEl.put(kWideSpace22);
            break;
        case 3:
            putN(kNarrowSpace, 3);
            break;
        default:
            gEl.put(kWideSpace);
            break;
    }
}

void DoNextCode(char* data, int32_t* len) {
    if (*len <= 0 || *len + 2 > static_cast<int32_t>(kMainCodeSize)) return;
    const char first = data[0];
    char pair[2] = {first, first};  // any other character stands twice
    if (first >= 'A' && first <= 'Z') {
        const int32_t value = kFirstLetterValue + (first - 'A');
        pair[0] = static_cast<char>('0' + value / 10);
        pair[1] = static_cast<char>('0' + value % 10);
    } else if (isDigit(first)) {
        pair[0] = '0';
    }
    std::memmove(data + 1, data, static_cast<size_t>(*len) + 1);
    data[0] = pair[0];
    data[1] = pair[1];
    ++*len;
}

int32_t Intwofive() {
    const int32_t v = gSym.variation1;
    gData.len1 = static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize - 1));
    const int32_t typedLen = gData.len1;
    char typed[kMainCodeSize];
    std::memcpy(typed, gData.chMainCode, static_cast<size_t>(typedLen) + 1);

    if (v == kNextVariant) DoNextCode(gData.chMainCode, &gData.len1);
    if (v == kNineVariant && !prependChar('9')) return tooLong();
    if ((v == kTenDigitVariant || v == kTwelveDigitVariant) && !appendChar('0')) return tooLong();
    // Accessorize12 prints every digit its bars hold, the added 0 among them.
    if (v == kTwelveDigitVariant && !appendPrinted('0')) return tooLong();
    // A character that is no digit would merge the elements of a pair.
    if (!allDigits(gData.chMainCode, gData.len1)) return refuseNonDigit();
    if (gSym.nCheck == 0) {
        Len();
        calcheck();
    } else {
        LenEven();
    }
    if (gData.len1 % 2 != 0) return tooLong();  // the buffer had no room for the lead '0'
    const char check = gData.chMainCode[gData.len1 - 1];

    if (v == kBearerVariant) gEl.put(kWideBar);
    interleavedQuietZone();
    interleavedStart();
    interleavedPairs(gData.chMainCode, gData.len1);
    doWideRatioB();
    narrowSpace();
    narrowBar();
    interleavedQuietZone();
    if (v == kBearerVariant) gEl.put(kWideBar);
    Vector(gSym.code == kEthelAustin ? kRowUnit10pt : kRowUnit20pt);

    // The text line shows the data as typed: Next and Next 9 with the check
    // digit that was computed, Accessorize10 its ten digits alone.
    if (v == kNextVariant || v == kNineVariant || v == kTenDigitVariant) {
        setData(typed, typedLen);
        if (gSym.nCheck == 0 && v != kTenDigitVariant) appendChar(check);
    }
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}

int32_t ITF6() {
    gData.len1 = static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize - 1));
    if (!allDigits(gData.chMainCode, gData.len1)) return refuseNonDigit();
    // The text above the symbol shows six digits: more would be bars it does not show.
    constexpr int32_t kHeadDigits = 6;
    if (gData.len1 > kHeadDigits) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "%s takes at most %d digits; the data has %d. Remove the extra digits and "
                      "try again.",
                      typeNameInMessages("ITF6"), static_cast<int>(kHeadDigits),
                      static_cast<int>(gData.len1));
        return refuseSymbol(text);
    }
    LenEven();
    if (gData.len1 % 2 != 0) return tooLong();
    const int32_t head = gData.len1 < kHeadDigits ? gData.len1 : kHeadDigits;
    std::memcpy(gData.chHeadCode, gData.chMainCode, static_cast<size_t>(head));
    gData.chHeadCode[head] = 0;
    gData.len3 = head;

    putN(kQuiet1000, kItf6QuietSpaces);
    interleavedStart();
    interleavedPairs(gData.chMainCode, gData.len1);
    wideBar25();  // the stop is 2.5 : 1 whatever the ratio
    narrowSpace();
    narrowBar();
    putN(kQuiet1000, kItf6QuietSpaces);
    // The digits stand above the symbol (the header text). The row has no end
    // byte, so a text line behind it would be painted as part of the row.
    Vector(kRowUnit5pt);
    return gEl.overflow ? 1 : 0;
}

int32_t C2of5() {
    const int32_t v = gSym.variation1;
    gData.len1 = static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize - 1));
    if (!allDigits(gData.chMainCode, gData.len1)) {
        return refuseSymbol(
            "2 of 5 data may hold digits only. Remove the other characters and try again.");
    }
    if (v == kMatrix) {
        discreteGuard("wnn");
        for (int32_t i = 0; i < gData.len1; ++i) Cod25M(i);
        discreteGuard("wnn");
    } else {
        discreteGuard(v == kIata ? "nn" : "wwn");
        for (int32_t i = 0; i < gData.len1; ++i) Cod25(i);
        if (v == kIata) {
            wideBar25();
            narrowSpace();
            narrowBar();
        } else {
            discreteGuard("wnw");
        }
    }
    Vector(kRowUnit10pt);
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}
