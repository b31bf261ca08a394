#include "QRCode/QRCharset.h"

namespace qrcharset {

namespace {

bool isAsciiLower(uint8_t c) { return c >= 'a' && c <= 'z'; }
bool isAsciiUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool isHalfWidthKatakana(uint8_t c) { return c >= 0xA1 && c <= 0xDF; }

// The Mac OS Roman accented letters that are also Shift-JIS lead bytes (ä to ü
// and their capitals).
bool isAccentedLead(uint8_t c) { return c >= 0x80 && c <= 0x9F; }

// A run of double-byte characters, summarised by its trail bytes.
struct Run {
    int32_t length = 0;
    bool lower = false;     // some trail byte is a lower-case ASCII letter
    bool upper = false;     // some trail byte is an upper-case ASCII letter
    bool accented = false;  // some trail byte is such an accented letter
    bool other = false;     // some trail byte is none of these

    void add(uint8_t trail) {
        ++length;
        if (isAsciiLower(trail)) {
            lower = true;
        } else if (isAsciiUpper(trail)) {
            upper = true;
        } else if (isAccentedLead(trail)) {
            accented = true;
        } else {
            other = true;
        }
    }
    // Accented letters inside Latin words pair with the letter that follows them,
    // accented or not ("üçüz", "éééé"); a few in a row keep the case of their word.
    // Runs of one prove nothing, and a long run of accented letters alone is Latin.
    bool looksJapanese() const {
        if (length < 2) return false;
        const bool onlyAccented = accented && !lower && !upper && !other;
        return (length >= 4 && !onlyAccented) || other || (lower && upper);
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

}  // namespace qrcharset
