#include "symbology/EAN.h"

#include <cstdio>
#include <cstring>

#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"
#include "symbology/UPC.h"

namespace {

// Element classes of the digit sets: whole modules and the corrected widths.
enum Width : uint8_t { M1, M2, M3, M4, M1n, M2n, M2w, M3w };
constexpr unsigned char kBarByte[] = {190, 196, 202, 208, 214, 220, 227, 232};
constexpr unsigned char kSpaceByte[] = {';', ':', '=', '?', '.', '*', '+', ','};

using Pattern = Width[4];
// Number set A (space, bar, space, bar); set C has the same widths as bar,
// space, bar, space.
constexpr Pattern kSetA[10] = {
    {M3, M2, M1, M1},     {M2w, M2n, M2w, M1n}, {M2w, M1n, M2w, M2n}, {M1, M4, M1, M1},
    {M1, M1, M3, M2},     {M1, M2, M3, M1},     {M1, M1, M1, M4},     {M1n, M3w, M1n, M2w},
    {M1n, M2w, M1n, M3w}, {M3, M1, M1, M2},
};
// Number set B (space, bar, space, bar).
constexpr Pattern kSetB[10] = {
    {M1, M1, M2, M3},     {M1n, M2w, M2n, M2w}, {M2n, M2w, M1n, M2w}, {M1, M1, M4, M1},
    {M2, M3, M1, M1},     {M1, M3, M2, M1},     {M4, M1, M1, M1},     {M2w, M1n, M3w, M1n},
    {M3w, M1n, M2w, M1n}, {M2, M1, M1, M3},
};

// Parities of digits 1 to 6 of EAN-13 by the first digit (true = set B).
constexpr const char* kEan13Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                          "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
// Parities of the five-digit add-on by its check value.
constexpr const char* kAddOn5Parity[10] = {"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                           "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};
// Parities of the two-digit add-on by its value mod 4.
constexpr const char* kAddOn2Parity[4] = {"AA", "AB", "BA", "BB"};

unsigned char barByte(Width w) {
    if (w == M3 && gSym.BW == 0) return kEanBar3NoBW;
    return static_cast<unsigned char>(kBarByte[w] + gSym.BW);
}

// The digit at i of the buffer the sets read now, or -1 when it is no digit.
int digitAt(int32_t i) {
    const char* src = gDispatch.nu == 1 ? gData.chAddCode : gData.chMainCode;
    const size_t size = gDispatch.nu == 1 ? kAddCodeSize : kMainCodeSize;
    if (i < 0 || static_cast<size_t>(i) >= size) return -1;
    const char c = src[i];
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

void putPattern(const Pattern& p, bool barFirst) {
    for (int k = 0; k < 4; ++k) {
        const bool bar = (k % 2 == 0) == barFirst;
        gEl.put(bar ? barByte(p[k]) : kSpaceByte[p[k]]);
    }
}

void putSpaces(const Pattern& p) {
    for (int k = 0; k < 4; ++k) gEl.put(kSpaceByte[p[k]]);
}

bool parityB(int32_t i) {
    if (i < 1 || i > 6) return false;
    const char first = gData.chMainCode[0];
    if (first < '0' || first > '9') return false;
    return kEan13Parity[first - '0'][i - 1] == 'B';
}

void putAddOnDigit(int32_t i, char parity) { parity == 'B' ? setB(i) : setA(i); }

// The add-on guard: a one-module bar, a space, a two-module bar written as two
// bytes (BW only on the last byte of a bar).
void addOnGuard() {
    putBar(kEanBar1);
    gEl.put(kSpace1);
    gEl.put(kEanBar1);
    putBar(kEanBar1);
}

void addOnDigits(const char* parity, int32_t count) {
    gDispatch.nu = 1;
    addOnGuard();
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) {
            gEl.put(kSpace1);
            putBar(kEanBar1);
        }
        putAddOnDigit(i, parity[i]);
    }
    gEl.put(kSpace3);
    gEl.put(kSpace4);
}

void centreGuard() {
    gEl.put(kSpace1);
    putBar(kEanBar1);
    gEl.put(kSpace1);
    putBar(kEanBar1);
    gEl.put(kSpace1);
}

}  // namespace

void putBar(unsigned char bar) { gEl.put(static_cast<unsigned char>(bar + gSym.BW)); }

void startOrEndGuard() {
    putBar(kEanBar1);
    gEl.put(kSpace1);
    putBar(kEanBar1);
}

void setA(int32_t i) {
    const int d = digitAt(i);
    if (d >= 0) putPattern(kSetA[d], false);
}

void setB(int32_t i) {
    const int d = digitAt(i);
    if (d >= 0) putPattern(kSetB[d], false);
}

void setC(int32_t i) {
    const int d = digitAt(i);
    if (d >= 0) putPattern(kSetA[d], true);
}

void Ea13Par(int32_t i) {
    if (i < 1 || i > 6) return;
    parityB(i) ? setB(i) : setA(i);
}

void EaSpace(int32_t i) {
    const int d = digitAt(i);
    if (i < 1 || i > 6 || d < 0) return;
    putSpaces(parityB(i) ? kSetB[d] : kSetA[d]);
}

void spacesetC(int32_t i) {
    const int d = digitAt(i);
    if (d >= 0) putSpaces(kSetA[d]);
}

void SpaceChar() {
    gEl.put(kSpace4);
    gEl.put(kSpace2);
    gEl.put(kSpace1);
}

void CalcAdd2() {
    const int value = (gData.chAddCode[0] - '0') * 10 + (gData.chAddCode[1] - '0');
    addOnDigits(kAddOn2Parity[value % 4], 2);
}

void CalcAdd5() {
    const char* a = gData.chAddCode;
    const int value =
        3 * ((a[0] - '0') + (a[2] - '0') + (a[4] - '0')) + 9 * ((a[1] - '0') + (a[3] - '0'));
    addOnDigits(kAddOn5Parity[value % 10], 5);
}

void EAN() {
    calcheck();
    // Left quiet zone of 11 modules.
    gEl.put(kSpace4);
    gEl.put(kSpace3);
    putN(kSpace1, 4);
    startOrEndGuard();
    // The first digit is carried by the parities of digits 1 to 6.
    for (int32_t i = 1; i <= 6; ++i) Ea13Par(i);
    centreGuard();
    for (int32_t i = 7; i <= 12; ++i) setC(i);
    startOrEndGuard();
    gEl.put(kSpace4);
    gEl.put(kSpace3);
    if (gData.len2 == 2 || gData.len2 == 5) {
        if (gSym.variation1 < 255) Vector3(kRowUnit10pt);
        gData.len2 == 2 ? CalcAdd2() : CalcAdd5();
    }
}

bool takeDigits(const char* name, int32_t n, bool cut) {
    name = typeNameInMessages(name);
    char text[96];
    if (gData.len1 < n || static_cast<int32_t>(strnlen(gData.chMainCode, kMainCodeSize)) < n) {
        std::snprintf(text, sizeof text, "%s needs %d digits.", name, n);
        MessageText(text);
        return false;
    }
    if (!allDigits(gData.chMainCode, n)) {
        std::snprintf(text, sizeof text,
                      "%s data may hold digits only. Remove the other characters and try again.",
                      name);
        MessageText(text);
        return false;
    }
    if (cut) {
        gData.len1 = n;
        gData.chMainCode[n] = 0;
    }
    return true;
}

bool addOnDigitsOnly() {
    if (gData.len2 != 2 && gData.len2 != 5) return true;
    if (allDigits(gData.chAddCode, gData.len2)) return true;
    MessageText("The add-on may hold digits only. Remove the other characters and try again.");
    return false;
}

void markGuard(int32_t back) {
    const int32_t i = gEl.cu_len - back;
    if (i >= 0 && back > 0) gEl.chNum[i] = static_cast<unsigned char>(kGuardMark + gSym.BW);
}

int32_t EAN13() {
    const char* name = "EAN 13";
    if (gSym.code == 25) name = "MotherCare";
    if (gSym.code == 26) name = "Plus";
    if (gSym.code == 27) name = "PIP";
    if (!takeDigits(name, 12) || !addOnDigitsOnly()) return 1;
    gDispatch.nu = 0;
    EAN();
    Vector2(kRowUnit10pt);
    if (gSym.human == 1) {
        const bool guardRow = gSym.code == 0 && (gSym.variation1 == 2 || gSym.variation1 == 9);
        guardRow ? Humans222() : Humans2();
    }
    return 0;
}

int32_t EAN8() {
    const int32_t v = gSym.variation1;
    const bool ms = gSym.code == 16;
    gDispatch.nu = 0;
    if (!ms && v == 1) {
        // WH Smith: five digits behind two leading zeros.
        if (!takeDigits("WH Smith 8", 5)) return 1;
        AddLeadZero();
        AddLeadZero();
    }
    if (!takeDigits(ms ? "M&S 7" : "EAN 8", 7)) return 1;
    gData.len11 = 7;
    gData.len2 = gData.len22 = 0;  // EAN-8 never has an add-on
    calcheck();

    const bool wickes = !ms && v == 2;
    gEl.put(kSpace4);
    gEl.put(kSpace3);
    if (ms) putN(kSpace1, 3);
    if (wickes) gEl.put(kSpace4);
    startOrEndGuard();
    for (int32_t i = 0; i <= 3; ++i) setA(i);
    centreGuard();
    for (int32_t i = 4; i <= 7; ++i) setC(i);
    startOrEndGuard();
    if (ms || wickes) putN(kSpace1, 3);
    gEl.put(kSpace4);
    gEl.put(kSpace3);
    if (wickes) putN(kSpace4, 2);
    Vector2(kRowUnit10pt);
    if (gSym.human == 1) Humans3();
    return 0;
}
