#include "QRCode/QRCharset.h"

namespace qrcharset {

namespace {

// Mac OS Roman 0x80-0xFF to ISO 8859-1; 0 where the character is not in Latin-1.
// clang-format off
constexpr uint8_t kMacRomanToLatin1[128] = {
    0xC4, 0xC5, 0xC7, 0xC9, 0xD1, 0xD6, 0xDC, 0xE1,  // 0x80
    0xE0, 0xE2, 0xE4, 0xE3, 0xE5, 0xE7, 0xE9, 0xE8,  // 0x88
    0xEA, 0xEB, 0xED, 0xEC, 0xEE, 0xEF, 0xF1, 0xF3,  // 0x90
    0xF2, 0xF4, 0xF6, 0xF5, 0xFA, 0xF9, 0xFB, 0xFC,  // 0x98
    0,    0xB0, 0xA2, 0xA3, 0xA7, 0,    0xB6, 0xDF,  // 0xA0
    0xAE, 0xA9, 0,    0xB4, 0xA8, 0,    0xC6, 0xD8,  // 0xA8
    0,    0xB1, 0,    0,    0xA5, 0xB5, 0,    0,     // 0xB0
    0,    0,    0,    0xAA, 0xBA, 0,    0xE6, 0xF8,  // 0xB8
    0xBF, 0xA1, 0xAC, 0,    0,    0,    0,    0xAB,  // 0xC0
    0xBB, 0,    0xA0, 0xC0, 0xC3, 0xD5, 0,    0,     // 0xC8
    0,    0,    0,    0,    0,    0,    0xF7, 0,     // 0xD0
    0xFF, 0,    0,    0,    0,    0,    0,    0,     // 0xD8
    0,    0xB7, 0,    0,    0,    0xC2, 0xCA, 0xC1,  // 0xE0
    0xCB, 0xC8, 0xCD, 0xCE, 0xCF, 0xCC, 0xD3, 0xD4,  // 0xE8
    0,    0xD2, 0xDA, 0xDB, 0xD9, 0,    0,    0,     // 0xF0
    0xAF, 0,    0,    0,    0xB8, 0,    0,    0,     // 0xF8
};
// clang-format on

bool isAsciiLower(uint8_t c) { return c >= 'a' && c <= 'z'; }
bool isAsciiUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool isHalfWidthKatakana(uint8_t c) { return c >= 0xA1 && c <= 0xDF; }

// A run of double-byte characters, summarised by its trail bytes.
struct Run {
    int32_t length = 0;
    bool lower = false;  // some trail byte is a lower-case ASCII letter
    bool upper = false;  // some trail byte is an upper-case ASCII letter
    bool other = false;  // some trail byte is not an ASCII letter

    void add(uint8_t trail) {
        ++length;
        if (isAsciiLower(trail)) {
            lower = true;
        } else if (isAsciiUpper(trail)) {
            upper = true;
        } else {
            other = true;
        }
    }
    // Accented letters inside Latin words pair with the ASCII letter that follows
    // them; a few in a row keep the case of their word. Runs of one prove nothing.
    bool looksJapanese() const {
        if (length < 2) return false;
        return length >= 4 || other || (lower && upper);
    }
};

}  // namespace

bool isShiftJisKanji(uint8_t c1, uint8_t c2) {
    const bool lead = (c1 >= 0x81 && c1 <= 0x9F) || (c1 >= 0xE0 && c1 <= 0xEB);
    if (!lead || c2 < 0x40 || c2 > 0xFC || c2 == 0x7F) return false;
    return !(c1 == 0xEB && c2 > 0xBF);
}

bool readsAsShiftJis(const uint8_t* data, int32_t length) {
    bool japanese = false;
    Run run;
    for (int32_t i = 0; i < length;) {
        const uint8_t c = data[i];
        if (i + 1 < length && isShiftJisKanji(c, data[i + 1])) {
            run.add(data[i + 1]);
            japanese = japanese || run.looksJapanese();
            i += 2;
            continue;
        }
        if (c >= 0x80 && !isHalfWidthKatakana(c)) return false;  // not Shift-JIS at all
        run = Run{};
        ++i;
    }
    return japanese;
}

int32_t macRomanToLatin1(uint8_t c) {
    if (c < 0x80) return c;
    const uint8_t l = kMacRomanToLatin1[c - 0x80];
    return l == 0 ? -1 : l;
}

}  // namespace qrcharset
