#include "symbology/UPC.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "symbology/EAN.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// Parities of the six UPC-E digits in number system 0 by the check digit
// (number system 1 takes the complement).
constexpr const char* kUpcEParity[10] = {"BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
                                         "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB"};
// Expansion of the six UPC-E digits d1..d6 by d6: 0-2, 3, 4, 5-9.
constexpr int kExpansion[4][10] = {
    {1, 2, 6, 0, 0, 0, 0, 3, 4, 5},
    {1, 2, 3, 0, 0, 0, 0, 0, 4, 5},
    {1, 2, 3, 4, 0, 0, 0, 0, 0, 5},
    {1, 2, 3, 4, 5, 0, 0, 0, 0, 6},
};
constexpr uint16_t kMsgNoUpcE = 65;

void insertFront(char* buf, int32_t& len, char c) {
    if (len < 0 || len + 2 > static_cast<int32_t>(kMainCodeSize)) return;
    std::memmove(buf + 1, buf, static_cast<size_t>(len) + 1);
    buf[0] = c;
    ++len;
}

bool upcEParityB(int32_t i) {
    const char check = gData.chMainCode[7];
    if (i < 1 || i > 6 || check < '0' || check > '9') return false;
    return kUpcEParity[check - '0'][i - 1] == 'B';
}

bool allZero(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] != '0') return false;
    return true;
}

bool ndcVariant() { return gSym.variation1 >= 3 && gSym.variation1 <= 6; }

}  // namespace

void AddLeadZero() { AddLeadDigit('0'); }

void AddLeadDigit(char c) {
    insertFront(gData.chMainCode, gData.len1, c);
    insertFront(gData.chMainCode2, gData.len11, c);
}

int32_t UP() {
    // '0', number system, manufacturer m1..m5, product p1..p5, check digit.
    const char* m = gData.chMainCode + 2;
    const char* p = gData.chMainCode + 7;
    char e[6];
    auto pick = [&e](std::initializer_list<char> digits) {
        std::copy(digits.begin(), digits.end(), e);
    };
    if (m[2] <= '2' && allZero(m + 3, 2) && allZero(p, 2)) {
        pick({m[0], m[1], p[2], p[3], p[4], m[2]});
    } else if (m[2] >= '3' && allZero(m + 3, 2) && allZero(p, 3)) {
        pick({m[0], m[1], m[2], p[3], p[4], '3'});
    } else if (m[3] != '0' && m[4] == '0' && allZero(p, 4)) {
        pick({m[0], m[1], m[2], m[3], p[4], '4'});
    } else if (p[4] >= '5' && allZero(p, 4) && m[4] != '0') {
        pick({m[0], m[1], m[2], m[3], m[4], p[4]});
    } else {
        return 0;
    }
    const char ns = gData.chMainCode[1];
    const char check = gData.chMainCode[12];
    gData.chMainCode[0] = ns;
    std::memcpy(gData.chMainCode + 1, e, 6);
    gData.chMainCode[7] = check;
    gData.chMainCode[8] = 0;
    gData.len1 = 8;
    return 1;
}

void CE(int32_t i) {
    if (i < 1 || i > 6) return;
    upcEParityB(i) ? setB(i) : setA(i);
}

void CE1(int32_t i) {
    if (i < 1 || i > 6) return;
    upcEParityB(i) ? setA(i) : setB(i);
}

int32_t UPRecon() {
    if (!takeDigits("UPC-e", 7)) return 1;
    const char* d = gData.chMainCode;  // number system, d1..d6
    if (d[0] != '0' && d[0] != '1') {
        Message(kMsgNoUpcE);
        return 1;
    }
    // UPC-A digits after the number system, by the sixth digit: the index of
    // the UPC-E digit to take, 0 for a suppressed zero.
    const int group = d[6] <= '2' ? 0 : d[6] <= '4' ? d[6] - '2' : 3;
    char a[12];
    a[0] = d[0];
    for (int k = 0; k < 10; ++k) {
        const int from = kExpansion[group][k];
        a[1 + k] = from == 0 ? '0' : d[from];
    }
    a[11] = 0;
    std::memcpy(gData.chMainCode, a, 12);
    std::memcpy(gData.chMainCode2, a, 12);
    gData.len1 = gData.len11 = 11;
    return 0;
}

int32_t UPCA() {
    const bool ndc = ndcVariant();
    if (!takeDigits(ndc ? "NDC UPC" : "UPC-a", ndc ? 10 : 11) || !addOnDigitsOnly()) return 1;
    gDispatch.nu = 0;
    if (ndc) AddLeadDigit('3');  // the NDC number system
    AddLeadZero();
    EAN();
    Vector2(kRowUnit10pt);
    if (gSym.human == 1) Humans22();
    return 0;
}

int32_t UPCE() {
    if (!takeDigits("UPC-e", 11) || !addOnDigitsOnly()) return 1;
    gDispatch.nu = 0;
    AddLeadZero();
    const char ns = gData.chMainCode[1];
    calcheck();
    if ((ns != '0' && ns != '1') || UP() == 0) {
        Message(kMsgNoUpcE);
        return 1;
    }
    gEl.put(kSpace4);
    gEl.put(kSpace3);
    startOrEndGuard();
    for (int32_t i = 1; i <= 6; ++i) ns == '1' ? CE1(i) : CE(i);
    for (int k = 0; k < 3; ++k) {
        gEl.put(kSpace1);
        putBar(kEanBar1);
    }
    gEl.put(kSpace4);
    gEl.put(kSpace3);
    if (gData.len2 == 2 || gData.len2 == 5) {
        Vector5(kRowUnit10pt);
        gData.len2 == 2 ? CalcAdd2() : CalcAdd5();
    }
    Vector4(kRowUnit10pt);
    if (gSym.human == 1) Humans4();
    return 0;
}
