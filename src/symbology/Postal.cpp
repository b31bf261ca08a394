// The height-modulated postal symbols (Royal Mail 4-state and KIX, POSTNET)
// and the Facing Identification Marks. A 4-state symbol is written as one row
// per band (top, middle, bottom; POSTNET top and bottom), in which each bar
// position is a bar or a blank followed by one gap; the painters draw each
// band at its own height.
#include "symbology/Postal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "symbology/codebars.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

constexpr unsigned char kBar = 140;    // 2540 um, raised by BW
constexpr unsigned char kBlank = 129;  // a 2540 um space: no bar, and every gap

// Bar types: '1' tracker, '2' descender, '3' ascender, '4' full. Whether a
// type inks band 0 (top), 1 (middle) and 2 (bottom).
constexpr bool kInks[4][3] = {
    {false, true, false}, {false, true, true}, {true, true, false}, {true, true, true}};
constexpr int32_t kRoyalMailBands = 3, kPostnetBands = 2;

// Royal Mail 4-state and KIX: four bar types a character.
constexpr char kRM4Chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr char kRM4Bars[36][5] = {
    "1144", "1234", "1243", "2134", "2143", "2233", "1324", "1414", "1423", "2314", "2323", "2413",
    "1342", "1432", "1441", "2332", "2341", "2431", "3124", "3214", "3223", "4114", "4123", "4213",
    "3142", "3232", "3241", "4132", "4141", "4231", "3322", "3412", "3421", "4312", "4321", "4411",
};
constexpr char kStartBar[] = "3", kStopBar[] = "4";
constexpr int32_t kTableSide = 6;  // the check table: 6 rows and 6 columns of kRM4Chars
constexpr int32_t kLeadingBlanks = 3;
constexpr int32_t kKIX = 1;

// POSTNET: five bar types a digit, short ('1') or tall ('3'); tall frame bars.
constexpr char kZIP4Bars[10][6] = {"33111", "11133", "11313", "11331", "13113",
                                   "13131", "13311", "31113", "31131", "31311"};
constexpr char kFrameBar[] = "3";

// Facing Identification Marks: bar positions, 1 a bar.
constexpr char kFIMPatterns[4][10] = {"110010011", "101101101", "110101011", "111010111"};

int32_t rm4Index(unsigned char c) {
    const char* p = c != 0 ? std::strchr(kRM4Chars, c) : nullptr;
    return p ? static_cast<int32_t>(p - kRM4Chars) : -1;
}

void putBar(bool ink) {
    gEl.put(ink ? static_cast<unsigned char>(kBar + gSym.BW) : kBlank);
    gEl.put(kBlank);
}

int32_t dataLen() { return std::clamp<int32_t>(gData.len1, 0, kMainCodeSize - 1); }

}  // namespace

void RMBuild(const char* bars, int32_t band) {
    if (band < 0 || band >= kRoyalMailBands) return;
    for (const char* b = bars; *b; ++b)
        if (*b >= '1' && *b <= '4') putBar(kInks[*b - '1'][band]);
}

void RM4(int32_t i, int32_t band) {
    if (i < 0 || i >= static_cast<int32_t>(kMainCodeSize)) return;
    const unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
    if (c == '(') {
        RMBuild(kStartBar, band);
    } else if (c == ')') {
        RMBuild(kStopBar, band);
    } else if (const int32_t k = rm4Index(c); k >= 0) {
        RMBuild(kRM4Bars[k], band);
    }
}

void ZIP4(int32_t i, int32_t band) {
    if (i < 0 || i >= static_cast<int32_t>(kMainCodeSize)) return;
    const unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
    if (c >= '0' && c <= '9') RMBuild(kZIP4Bars[c - '0'], band);
}

int32_t workOutRow(int32_t i) {
    const int32_t k = rm4Index(static_cast<unsigned char>(gData.chMainCode[i]));
    return k < 0 ? 0 : (k / kTableSide + 1) % kTableSide;
}

int32_t workOutCol(int32_t i) {
    const int32_t k = rm4Index(static_cast<unsigned char>(gData.chMainCode[i]));
    return k < 0 ? 0 : (k % kTableSide + 1) % kTableSide;
}

char royalMailCheck(int32_t n) {
    int32_t rows = 0, cols = 0;
    for (int32_t i = 0; i < n; ++i) {
        rows += workOutRow(i);
        cols += workOutCol(i);
    }
    const int32_t r = rows % kTableSide == 0 ? kTableSide : rows % kTableSide;
    const int32_t c = cols % kTableSide == 0 ? kTableSide : cols % kTableSide;
    return kRM4Chars[kTableSide * (r - 1) + c - 1];
}

int32_t RoyalMail() {
    const bool kix = gSym.variation1 == kKIX;
    const int32_t n = dataLen();
    for (int32_t i = 0; i < n; ++i) {
        char& c = gData.chMainCode[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        // KIX has no start and stop bars of its own; the brackets give them.
        if (rm4Index(static_cast<unsigned char>(c)) >= 0 || (kix && (c == '(' || c == ')')))
            continue;
        char text[220];
        std::snprintf(text, sizeof text,
                      "%s cannot encode \"%c\". Use digits and the letters A to Z.",
                      kix ? "KIX" : "Royal Mail", quotedChar(c));
        return refuseSymbol(text);
    }
    if (n == 0) return refuseSymbol("Royal Mail needs data. Enter the data and try again.");
    int32_t count = n;
    if (!kix) {
        if (n + 2 > static_cast<int32_t>(kMainCodeSize))
            return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
        // The check character stands behind the data, outside len1.
        gData.chMainCode[n] = royalMailCheck(n);
        gData.chMainCode[n + 1] = 0;
        count = n + 1;
    }
    for (int32_t band = 0; band < kRoyalMailBands; ++band) {
        putN(kBlank, kLeadingBlanks);
        if (!kix) RMBuild(kStartBar, band);
        for (int32_t i = 0; i < count; ++i) RM4(i, band);
        if (!kix) RMBuild(kStopBar, band);
        gEl.put(kRowEnd);
    }
    gData.len1 = n;
    if (gSym.human == 1) {
        // The text line of KIX counts one character past len1.
        if (kix) gData.len1 = n - 1;
        Humans1();
        gData.len1 = n;
    }
    return gEl.overflow ? 1 : 0;
}

int32_t Postnet() {
    const int32_t n = dataLen();
    int32_t sum = 0;
    for (int32_t i = 0; i < n; ++i) {
        const char c = gData.chMainCode[i];
        if (c >= '0' && c <= '9') {
            sum += c - '0';
            continue;
        }
        return refuseSymbol("POSTNET data may hold digits only. Remove the other characters.");
    }
    if (n == 0) return refuseSymbol("POSTNET needs data. Enter the data and try again.");
    if (n + 2 > static_cast<int32_t>(kMainCodeSize))
        return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
    gData.chMainCode[n] = static_cast<char>('0' + (10 - sum % 10) % 10);
    gData.chMainCode[n + 1] = 0;
    for (int32_t band = 0; band < kPostnetBands; ++band) {
        RMBuild(kFrameBar, band);
        for (int32_t i = 0; i <= n; ++i) ZIP4(i, band);
        RMBuild(kFrameBar, band);
        gEl.put(kRowEnd);
    }
    gData.len1 = n;
    return gEl.overflow ? 1 : 0;
}

void FIMBuild(char letter) {
    if (letter < 'A' || letter > 'D') return;
    const char* positions = kFIMPatterns[letter - 'A'];
    for (int32_t p = 0; positions[p]; ++p) {
        if (p > 0) gEl.put(kBlank);
        gEl.put(positions[p] == '1' ? static_cast<unsigned char>(kBar + gSym.BW) : kBlank);
    }
}

int32_t FIM() {
    const char letter = gData.chMainCode[0];
    if (dataLen() != 1 || letter < 'A' || letter > 'D')
        return refuseSymbol("FIM takes one of the letters A, B, C and D.");
    FIMBuild(letter);
    Vector(kRowUnit10pt);
    return gEl.overflow ? 1 : 0;
}
