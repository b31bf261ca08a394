// The retail Code 128 variants: JC Penney, M&S BEL and M&S shoe labels in code
// set C, and the APEX and SICI/SISAC preparations of OneTwoEight.
#include <cstdio>
#include <cstring>

#include "symbology/Code128.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kMSBelDigits = 19;
constexpr int32_t kMSShoeDigits = 10;
constexpr int32_t kApexLength = 8;
constexpr int32_t kPreparedMax = 254;  // symbol bytes before the check character
constexpr char kApexLetters[] = "BWDFGKQVYXASTNJHRPLCZME";
constexpr char kNotSupported[] = "Format Not Supported";

// SISAC field widths.
constexpr int32_t kIssnMax = 8;
constexpr int32_t kChronologyMax = 9;
constexpr int32_t kLevelMax = 19;
constexpr int32_t kLevels = 8;

bool digitsOnly(const char* s, int32_t n) { return n > 0 && allDigits(s, n); }

// M&S check digit: weight 3 on positions 0, 2, 4, ... from the left, 1 between.
char msCheckDigit(const char* digits, int32_t n) {
    int32_t sum = 0;
    for (int32_t i = 0; i < n; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 3 : 1);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

void appendTo(char* buf, int32_t& len, char c) {
    if (len < 0 || len + 1 >= static_cast<int32_t>(kMainCodeSize)) return;
    buf[len++] = c;
    buf[len] = 0;
}

void MS_check() {
    int32_t n = dataLength(gData.chMainCode);
    appendTo(gData.chMainCode, n, msCheckDigit(gData.chMainCode, n));
    gData.len1 = n;
}

// START C and one byte per digit pair; the digit count is even. Packs in place:
// pair k is written at k + 1, never ahead of the digits still to be read.
void C_chars() {
    char* d = gData.chMainCode;
    const int32_t n = dataLength(gData.chMainCode);
    int32_t o = 1;
    for (int32_t i = 0; i + 1 < n; i += 2)
        d[o++] = static_cast<char>(10 * (d[i] - '0') + (d[i + 1] - '0') + 32);
    d[0] = static_cast<char>(kStartC);
    d[o] = 0;
    gData.len1 = o;
}

// The retail rows: the symbols in code set C with their check character.
int32_t retailSymbol(int32_t quietBytes) {
    C_chars();
    OTE();
    for (int32_t i = 0; i < quietBytes; ++i) gEl.put('=');
    C128Symbols();
    for (int32_t i = 0; i < quietBytes; ++i) gEl.put('=');
    Vector(kRowUnit10pt);
    if (gSym.human == 1) Humans1();
    return gEl.overflow ? 1 : 0;
}

// The M&S data: exactly `count` digits, as the length rule leaves them; false
// when refused (message shown).
bool retailDigits(int32_t count) {
    const int32_t n = dataLength(gData.chMainCode);
    const bool digits = digitsOnly(gData.chMainCode, n);
    if (!digits || n != count) {
        refuse128(digits ? msg128::kRetailLength : msg128::kDigitsOnly);
        return false;
    }
    gData.chMainCode[n] = 0;
    gData.len1 = n;
    return true;
}

// SICI character values: digits 0-9, letters 10-35, anything else 36.
int32_t siciValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 36;
}

struct Span {
    const char* p = nullptr;
    int32_t n = 0;
};

void appendDigits(char* out, size_t size, Span s, bool withX) {
    size_t o = std::strlen(out);
    for (int32_t i = 0; i < s.n && o + 1 < size; ++i)
        if (isDigit(s.p[i]) || (withX && s.p[i] == 'X')) out[o++] = s.p[i];
    out[o] = 0;
}

void appendText(char* out, size_t size, const char* text) {
    const size_t o = std::strlen(out);
    std::snprintf(out + o, size - o, "%s", text);
}

void appendSpan(char* out, size_t size, Span s) {
    const size_t o = std::strlen(out);
    std::snprintf(out + o, size - o, "%.*s", s.n, s.p);
}

// The SISAC chronology code for the length of the first chronology part.
const char* chronologyCode(int32_t length, bool hasSecond) {
    switch (length) {
        case 0:
            return "900";
        case 4:
            return "901";
        case 5:
            return "903";
        case 6:
            return hasSecond ? "930" : "929";
        case 8:
            return "942";
        default:
            return nullptr;
    }
}

// The chronology code and its digits; false for a length without a code.
bool appendChronology(char* out, size_t size, Span first, Span second, bool hasSecond) {
    const char* code = chronologyCode(first.n, hasSecond);
    if (code == nullptr) return false;
    appendText(out, size, code);
    appendDigits(out, size, first, false);
    if (first.n != 6 || !hasSecond) return true;
    // The second part at the first two places where the first holds a digit.
    int32_t taken = 0;
    for (int32_t i = 0; i < first.n && taken < 2; ++i) {
        if (!isDigit(first.p[i])) continue;
        ++taken;
        if (i < second.n) appendSpan(out, size, Span{second.p + i, 1});
    }
    return true;
}

bool buildSISAC(const char* s, int32_t n, char* out, size_t size) {
    const char* end = s + n;
    const char* open = static_cast<const char*>(std::memchr(s, '(', static_cast<size_t>(n)));
    if (open == nullptr) return false;
    const char* close =
        static_cast<const char*>(std::memchr(open, ')', static_cast<size_t>(end - open)));
    if (close == nullptr) return false;

    // The ISSN, its hyphen not counted.
    const Span issn{s, static_cast<int32_t>(open - s)};
    int32_t issnChars = 0;
    for (int32_t i = 0; i < issn.n; ++i) issnChars += issn.p[i] != '-';
    if (issnChars > kIssnMax) return false;

    const Span chronology{open + 1, static_cast<int32_t>(close - open - 1)};
    if (chronology.n > kChronologyMax) return false;
    const char* slash =
        static_cast<const char*>(std::memchr(chronology.p, '/', static_cast<size_t>(chronology.n)));
    const Span first{chronology.p,
                     slash ? static_cast<int32_t>(slash - chronology.p) : chronology.n};
    const Span second = slash ? Span{slash + 1, static_cast<int32_t>(close - slash - 1)} : Span{};

    // Enumeration levels, each ended by ':', the last by ';'; then the contribution.
    Span level[kLevels];
    Span contribution;
    bool last = false;
    const char* p = close + 1;
    for (int32_t k = 0; k < kLevels && !last; ++k) {
        const char* q = p;
        while (q < end && *q != ':' && *q != ';') ++q;
        if (q == end) break;  // neither ':' nor ';'
        level[k] = Span{p, static_cast<int32_t>(q - p)};
        if (level[k].n > kLevelMax) return false;
        last = *q == ';';
        p = q + 1;
    }
    if (!last) return false;
    contribution = Span{p, static_cast<int32_t>(end - p)};
    for (int32_t k = 2; k < kLevels; ++k)
        if (level[k].n != 0) return false;
    const int32_t l1 = level[0].n;
    const int32_t l2 = level[1].n;
    if (l1 < 1 || l1 > 6 || l2 < 1 || l2 > 4) return false;

    out[0] = 0;
    appendDigits(out, size, issn, true);
    if (!appendChronology(out, size, first, second, slash != nullptr && second.n > 0)) return false;
    static constexpr int32_t kLevel1Base[7] = {0, 1, 765, 1530, 2295, 3060, 3825};
    static constexpr int32_t kLevel2Add[5] = {0, 4, 169, 334, 499};
    char code[8];
    std::snprintf(code, sizeof code, "%04d", kLevel1Base[l1] + kLevel2Add[l2]);
    appendText(out, size, code);
    appendSpan(out, size, level[0]);
    appendSpan(out, size, level[1]);
    appendText(out, size, "0");
    if (contribution.n > 0) appendSpan(out, size, Span{contribution.p, 1});
    return true;
}

}  // namespace

void MS_check2() {
    int32_t n = printedLength();
    appendTo(gData.chMainCode2, n, msCheckDigit(gData.chMainCode2, n));
    gData.len11 = n;
}

namespace {

char apexLetter(const char* d) {
    int32_t sum = 0;
    int32_t w = 22;
    for (int32_t i = 0; i < kApexLength; ++i, w -= 2) {
        const int32_t b = static_cast<unsigned char>(d[i]);
        // The character codes of the byte's decimal digits, not their values.
        sum += ('0' + b / 10) * w;
        sum += ('0' + b % 10) * (w - 1);
    }
    return kApexLetters[22 - sum % 23];
}

}  // namespace

bool APEXTooLong() {
    const char* d = gData.chMainCode;
    const int32_t n = dataLength(d);
    if (n <= kApexLength) return false;
    // A typed check letter is kept when it is the right one.
    const char right = apexLetter(d);
    if (n == kApexLength + 1 && d[kApexLength] == right) return false;
    char text[240];
    if (n == kApexLength + 1)
        std::snprintf(text, sizeof text,
                      "The APEX check letter of %.*s is %c, not %c. Correct the last character, "
                      "or leave it off and it is added.",
                      static_cast<int>(kApexLength), d, right, d[kApexLength]);
    else
        std::snprintf(text, sizeof text,
                      "%s takes %d characters and its check letter; the data has %d. Remove the "
                      "extra characters and try again.",
                      typeNameInMessages("APEX Mod 23"), static_cast<int>(kApexLength),
                      static_cast<int>(n));
    refuseSymbol(text);
    return true;
}

bool APEXCheck() {
    char* d = gData.chMainCode;
    if (dataLength(gData.chMainCode) < kApexLength) return false;
    d[kApexLength] = apexLetter(d);
    d[kApexLength + 1] = 0;
    gData.len1 = kApexLength + 1;
    std::memcpy(gData.chMainCode2, d, kApexLength + 2);
    gData.len11 = kApexLength + 1;
    return true;
}

void SICICheck() {
    const char* d = gData.chMainCode;
    const int32_t n = dataLength(gData.chMainCode);
    int32_t sum = 0;
    for (int32_t i = n - 1, w = 3; i >= 0; --i, w = w == 3 ? 1 : 3) sum += siciValue(d[i]) * w;
    int32_t x = 37 - sum % 37;
    if (x == 37) x = 0;
    const char check = x < 10   ? static_cast<char>('0' + x)
                       : x < 36 ? static_cast<char>('A' + x - 10)
                                : '#';
    int32_t len = printedLength();
    appendTo(gData.chMainCode2, len, check);
    gData.len11 = len;
}

bool MakeSISAC() {
    char out[256];
    const bool ok = buildSISAC(gData.chMainCode, dataLength(gData.chMainCode), out, sizeof out);
    const char* text = ok ? out : kNotSupported;
    copyBounded(gData.chMainCode, text);
    gData.len1 = static_cast<int32_t>(std::strlen(text));
    if (!ok) {
        copyBounded(gData.chMainCode2, text);
        gData.len11 = gData.len1;
    }
    return ok;
}

int32_t JCPenney() {
    int32_t n = dataLength(gData.chMainCode);
    if (!digitsOnly(gData.chMainCode, n)) return refuse128(msg128::kDigitsOnly);
    // The odd digit count after the drop, the appended '0', START C.
    if ((n - (n % 2 == 0 ? 1 : 0) + 1) / 2 + 1 > kPreparedMax) return refuse128(msg128::kTooLong);
    if (n % 2 == 0) {
        --n;
        int32_t printed = printedLength();
        if (printed > 0) gData.chMainCode2[--printed] = 0;
        gData.len11 = printed;
    }
    gData.chMainCode[n] = 0;
    appendTo(gData.chMainCode, n, '0');
    gData.len1 = n;
    return retailSymbol(0);
}

int32_t MSBel() {
    if (!retailDigits(kMSBelDigits)) return 1;
    MS_check();
    return retailSymbol(0);
}

int32_t MSShoe() { return retailDigits(kMSShoeDigits) ? retailSymbol(3) : 1; }
