// Telepen: the full ASCII table and the numeric mode that packs digit pairs,
// with the Telepen check byte and the Limerick and modulo-11 check characters.
#include "symbology/Telepen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "symbology/Codabar.h"
#include "symbology/Code128.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// The Telepen symbol table: bar and space widths in modules (narrow 1, wide
// 3; sixteen modules a character) of the byte values 0 to 127.
constexpr const char* kTelepenPatterns[128] = {
    "31313131",       "1131313111",     "33313111",         "1111313131",     "3111313111",
    "11333131",       "13133131",       "111111313111",     "31333111",       "1131113131",
    "33113131",       "1111333111",     "3111113131",       "1113133111",     "1311133111",
    "111111113131",   "3131113111",     "11313331",         "333331",         "111131113111",
    "31113331",       "1133113111",     "1313113111",       "1111113331",     "31131331",
    "113111113111",   "3311113111",     "1111131331",       "311111113111",   "1113111331",
    "1311111331",     "11111111113111", "31313311",         "1131311131",     "33311131",
    "1111313311",     "3111311131",     "11333311",         "13133311",       "111111311131",
    "31331131",       "1131113311",     "33113311",         "1111331131",     "3111113311",
    "1113131131",     "1311131131",     "111111113311",     "3131111131",     "1131131311",
    "33131311",       "111131111131",   "3111131311",       "1133111131",     "1313111131",
    "111111131311",   "3113111311",     "113111111131",     "3311111131",     "111113111311",
    "311111111131",   "111311111311",   "131111111311",     "11111111111131", "3131311111",
    "11313133",       "333133",         "111131311111",     "31113133",       "1133311111",
    "1313311111",     "1111113133",     "313333",           "113111311111",   "3311311111",
    "11113333",       "311111311111",   "11131333",         "13111333",       "11111111311111",
    "31311133",       "1131331111",     "33331111",         "1111311133",     "3111331111",
    "11331133",       "13131133",       "111111331111",     "3113131111",     "1131111133",
    "33111133",       "111113131111",   "3111111133",       "111311131111",   "131111131111",
    "111111111133",   "31311313",       "113131111111",     "3331111111",     "1111311313",
    "311131111111",   "11331313",       "13131313",         "11111131111111", "3133111111",
    "1131111313",     "33111313",       "111133111111",     "3111111313",     "111313111111",
    "131113111111",   "111111111313",   "313111111111",     "1131131113",     "33131113",
    "11113111111111", "3111131113",     "113311111111",     "131311111111",   "111111131113",
    "3113111113",     "11311111111111", "331111111111",     "111113111113",   "31111111111111",
    "111311111113",   "131111111113",   "1111111111111111",
};
// The further patterns behind the table: 128 and 129 are '_' and 'z' (start
// and stop), 130 and 131 the start and stop of the numeric form with option 2.
constexpr const char* kExtraPatterns[] = {"111111111133", "331111111111", "111111113113",
                                          "311311111111", "111111311113", "311113111111"};
constexpr int32_t kFirstExtra = 128;
constexpr unsigned char kStart = 128, kStop = 129, kStartOption2 = 130, kStopOption2 = 131;

constexpr int32_t kQuietBytes = 7;
constexpr unsigned char kQuietSpace = ';';  // 330 um

constexpr int32_t kDynix = 2, kLimerick = 3;
constexpr int32_t kTelepenModulus = 127;
constexpr int32_t kCheckModulus = 11;
constexpr int32_t kPairBase = 27;    // a digit pair d1 d2 is the byte 27 + 10 d1 + d2
constexpr int32_t kDigitXBase = 31;  // a digit before 'X' is its code less 31
// The byte pair that option 7 puts before the packed data.
constexpr unsigned char kOption7Lead[] = {'g', 15};
constexpr char kOption7Text[] = "WP P";
constexpr int32_t kMod11Weights[] = {7, 8, 4, 6, 3, 5, 2, 1};

// The bytes of one symbol, start and stop excluded.
struct Bytes {
    unsigned char b[kMainCodeSize + 8] = {};
    int32_t n = 0;
    bool add(unsigned char c) {
        if (n >= static_cast<int32_t>(sizeof b)) return false;
        b[n++] = c;
        return true;
    }
};

void pattern(const char* counts) {
    unsigned char pascal[20];
    const size_t n = std::min<size_t>(std::strlen(counts), sizeof pascal - 1);
    pascal[0] = static_cast<unsigned char>(n);
    std::memcpy(pascal + 1, counts, n);
    Maker2(pascal);
}

void putByte(unsigned char c) {
    if (c < kFirstExtra) {
        pattern(kTelepenPatterns[c]);
    } else if (c - kFirstExtra < static_cast<int32_t>(std::size(kExtraPatterns))) {
        pattern(kExtraPatterns[c - kFirstExtra]);
    }
}

int32_t dataLen() { return mainLength(); }

void setText(const char* text, int32_t n) {
    n = std::clamp<int32_t>(n, 0, kMainCodeSize - 1);
    std::memmove(gData.chMainCode, text, static_cast<size_t>(n));
    gData.chMainCode[n] = 0;
    gData.len1 = n;
}

// '0' to '9' for 11 - r, 'X' for 10, '0' when r is 0.
char mod11Character(int32_t sum) {
    const int32_t r = (sum % kCheckModulus + kCheckModulus) % kCheckModulus;
    if (r == 0) return '0';
    return 11 - r == 10 ? 'X' : static_cast<char>('0' + 11 - r);
}

// Digits only, with an 'X' only as the second character of a pair.
bool numericData() {
    const int32_t n = dataLen();
    for (int32_t i = 0; i < n; ++i) {
        const char c = gData.chMainCode[i];
        if (isDigit(c) || (c == 'X' && i % 2 == 1 && isDigit(gData.chMainCode[i - 1]))) continue;
        char text[200];
        std::snprintf(text, sizeof text,
                      "Numeric Telepen takes digits only (and X as a check character); \"%c\" "
                      "cannot be encoded. Correct the data and try again.",
                      quotedChar(static_cast<unsigned char>(c)));
        refuseSymbol(text);
        return false;
    }
    return true;
}

// The mode the options text chooses.
struct Mode {
    bool numeric = false;
    unsigned char start = kStart, stop = kStop;
    char option = 0;
};

Mode modeOf(int32_t v) {
    Mode m;
    if (v == kLimerick) {
        m.numeric = true;
        return m;
    }
    if (gData.len2 <= 0) return m;
    m.option = gData.chAddCode[0];
    switch (m.option) {
        case '2':
            m.numeric = true;
            m.start = kStartOption2;
            m.stop = kStopOption2;
            break;
        case '4':
        case '5':
        case '6':
        case '7':
            m.numeric = true;
            break;
        default:
            break;
    }
    return m;
}

int32_t tooLong() {
    return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
}

}  // namespace

unsigned char TeleCheck(const unsigned char* bytes, int32_t n) {
    int64_t sum = 0;
    for (int32_t i = 0; i < n; ++i) sum += bytes[i];
    if (sum == 0) return kTelepenModulus;
    const int32_t r = static_cast<int32_t>(sum % kTelepenModulus);
    return static_cast<unsigned char>(r == 0 ? 0 : kTelepenModulus - r);
}

char LimerickCheck(const char* data, int32_t n) {
    int32_t sum = 0;
    for (int32_t i = 0; i < n; ++i) sum += (static_cast<unsigned char>(data[i]) - '0') * (8 - i);
    return mod11Character(sum);
}

char Mod11Check(const char* data, int32_t n) {
    int32_t sum = 0;
    for (int32_t i = 1; i < n; ++i) {
        const int32_t k = i - 1;
        const int32_t w = k < static_cast<int32_t>(std::size(kMod11Weights)) ? kMod11Weights[k] : 1;
        sum += (static_cast<unsigned char>(data[i]) - '0') * w;
    }
    return mod11Character(sum);
}

int32_t telepen_numeric(const char* data, int32_t n, unsigned char* out) {
    int32_t k = 0;
    for (int32_t i = 0; i + 1 < n; i += 2) {
        const int32_t d1 = data[i] - '0';
        out[k++] = data[i + 1] == 'X'
                       ? static_cast<unsigned char>(data[i] - kDigitXBase)
                       : static_cast<unsigned char>(kPairBase + 10 * d1 + (data[i + 1] - '0'));
    }
    return k;
}

void TPEN(unsigned char c) { putByte(c); }

int32_t Telepen() {
    const int32_t v = gSym.variation1;
    gData.len1 = dataLen();
    gData.chMainCode[gData.len1] = 0;
    char entered[kMainCodeSize];
    const int32_t enteredLen = gData.len1;
    std::memcpy(entered, gData.chMainCode, static_cast<size_t>(enteredLen) + 1);
    auto restore = [&] { setText(entered, enteredLen); };

    if (v == kDynix) {
        if (!libraryDigitsOnly("Telepen Dynix")) return 1;
        if (!DynixCheckDigit()) return tooLong();
        removeMainSpaces();
    }
    const Mode mode = modeOf(v);
    char check = 0;  // the modulo-11 character of the Limerick and option 6 and 7 forms
    Bytes bytes;
    if (mode.numeric) {
        if (v == kLimerick) Len();
        if (v == kLimerick || mode.option == '6' || mode.option == '7') {
            check = mode.option == '6' ? Mod11Check(gData.chMainCode, gData.len1)
                                       : LimerickCheck(gData.chMainCode, gData.len1);
            if (!appendToMain(check)) {
                restore();
                return tooLong();
            }
        }
        LenEven();
        if (gData.len1 % 2 != 0) {  // no room for the leading '0'
            restore();
            return tooLong();
        }
        if (!numericData()) {
            restore();
            return 1;
        }
        if (mode.option == '7')
            for (unsigned char c : kOption7Lead) bytes.add(c);
        bytes.n += telepen_numeric(gData.chMainCode, gData.len1, bytes.b + bytes.n);
    } else {
        for (int32_t i = 0; i < gData.len1; ++i) {
            const unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
            if (c >= kFirstExtra) {
                restore();
                char text[200];
                std::snprintf(text, sizeof text,
                              "Telepen encodes the 128 ASCII characters only; byte %d cannot be "
                              "encoded. Remove it and try again.",
                              c);
                return refuseSymbol(text);
            }
            bytes.add(c);
        }
    }
    if (bytes.n == 0) {
        restore();
        return refuseSymbol("Telepen needs data. Enter the data and try again.");
    }
    if (gSym.nCheck == 0 && !bytes.add(TeleCheck(bytes.b, bytes.n))) {
        restore();
        return tooLong();
    }

    putN(kQuietSpace, kQuietBytes);
    putByte(mode.start);
    for (int32_t i = 0; i < bytes.n; ++i) TPEN(bytes.b[i]);
    putByte(mode.stop);
    putN(kQuietSpace, kQuietBytes);
    Vector(kRowUnit10pt);

    // The text line.
    char text[kMainCodeSize];
    int32_t t = 0;
    auto put = [&](char c) {
        if (t + 1 < static_cast<int32_t>(kMainCodeSize)) text[t++] = c;
    };
    auto putEntered = [&](int32_t from, int32_t count) {
        for (int32_t i = from; i < from + count && i < enteredLen; ++i) put(entered[i]);
    };
    if (v == kDynix) {
        DynixModel();
        DynixRemodel();
        t = std::min<int32_t>(gData.len1, kMainCodeSize - 1);
        std::memcpy(text, gData.chMainCode, static_cast<size_t>(t));
    } else if (v == kLimerick) {
        putEntered(0, enteredLen);
        put(check);
    } else if (mode.option == '6') {
        putEntered(0, 3);
        put(' ');
        putEntered(3, 6);
        put(' ');
        put(check);
    } else if (mode.option == '7') {
        for (const char* p = kOption7Text; *p; ++p) put(*p);
        putEntered(0, enteredLen);
        put(' ');
        put(check);
    } else {
        putEntered(0, enteredLen);
    }
    setText(text, t);
    if (gSym.human == 1) Humans1();
    restore();
    return gEl.overflow ? 1 : 0;
}
