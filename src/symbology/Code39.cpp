#include "symbology/Code39.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "symbology/Codabar.h"
#include "symbology/encoders.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace {

// The 43 data characters in the order of their check values 0 to 42.
constexpr char kC39Chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr int32_t kC39Values = 43;
constexpr int32_t kStartStopIndex = 43;
constexpr unsigned char kStartStop = '*';

// ISO/IEC 16388: the nine elements of each character (bar, space, ..., bar;
// '1' wide), then the narrow inter-character space; the last row is '*'.
constexpr char kC39Patterns[44][11] = {
    "0001101000", "1001000010", "0011000010", "1011000000", "0001100010", "1001100000",
    "0011100000", "0001001010", "1001001000", "0011001000", "1000010010", "0010010010",
    "1010010000", "0000110010", "1000110000", "0010110000", "0000011010", "1000011000",
    "0010011000", "0000111000", "1000000110", "0010000110", "1010000100", "0000100110",
    "1000100100", "0010100100", "0000001110", "1000001100", "0010001100", "0000101100",
    "1100000010", "0110000010", "1110000000", "0100100010", "1100100000", "0110100000",
    "0100001010", "1100001000", "0110001000", "0101010000", "0101000100", "0100010100",
    "0001010100", "0100101000",
};

// The full-ASCII table of ISO/IEC 16388: ASCII 0 to 127 as one or two characters.
constexpr char kFullAscii[128][3] = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-",  ".",  "/O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};

// Index of each byte in the pattern table, -1 for bytes that are no character.
struct CharIndex {
    std::array<int8_t, 256> of{};
    constexpr CharIndex() {
        for (auto& i : of) i = -1;
        for (int32_t k = 0; k < kC39Values; ++k)
            of[static_cast<unsigned char>(kC39Chars[k])] = static_cast<int8_t>(k);
        of[kStartStop] = kStartStopIndex;
    }
};
constexpr CharIndex kIndex;

constexpr int32_t kQuietZone = 8;  // narrow spaces on each side

// Element bytes.
constexpr unsigned char kNarrowBar = 130, kWideBar25 = 140, kWideBar22 = 150;
constexpr unsigned char kNarrowSpace = 128, kWideSpace25 = 129, kWideSpace22 = '}';

// Ratio selectors (SymbolSettings::ratio).
constexpr int32_t kRatio3 = 3, kRatio25 = 5, kRatio2 = 0, kRatio22 = 2, kRatioBySize = -1;

// Variants.
constexpr int32_t kDynix = 2, kCode32 = 3, kPZN7 = 4, kHIBC = 5, kDutch = 6, kPortuguese = 7,
                  kACT = 8, kALICE = 9, kFullAsciiVariant = 10, kCARL = 11, kAmeritech = 12,
                  kMSIVariant = 13, kPZN8 = 14;

constexpr int32_t kDutchLength = 13, kPortugueseLength = 7;
constexpr int32_t kACTLength = 9, kALICELength = 11;
constexpr int32_t kCode32Length = 10;  // 'A', eight digits and the check digit
constexpr int32_t kCode32Symbols = 6;
constexpr int32_t kPZNStart = 4;  // the digits follow "PZN-"
constexpr int32_t kPZN7Digits = 7, kPZN8Digits = 8;
constexpr int32_t kPZNModulus = 11;
constexpr int32_t kPZN7FirstWeight = 2;  // PZN8 weights its digits from 1

constexpr char kCode32Digits[] = "0123456789BCDFGHJKLMNPQRSTUVWXYZ";
constexpr char kACTLetters[] = "BWDFGKQVYXASTNJHRPLCZME";
constexpr int32_t kACTModulus = 23, kACTFirstWeight = 22;
constexpr char kALICELetters[] = "KLMNPFWXYJA";  // r = 1..10, then r = 0
constexpr int32_t kALICEModulus = 11;

// The wide elements at the current ratio: one to three bytes each.
struct Wide {
    unsigned char bar = kWideBar25;
    unsigned char space = kWideSpace25;
    int32_t bytes = 1;  // a bar of `bytes` narrow bars and a space of as many narrow spaces
};

Wide wideAtRatio() {
    int32_t r = gSym.ratio;
    if (r == kRatioBySize) {
        const double s = gSym.Siz;
        r = s >= 100 ? kRatio3 : s >= 75 ? kRatio25 : s >= 50 ? kRatio2 : kRatio22;
    }
    switch (r) {
        case kRatio3:
            return {kNarrowBar, kNarrowSpace, 3};
        case kRatio2:
            return {kNarrowBar, kNarrowSpace, 2};
        case kRatio22:
            return {kWideBar22, kWideSpace22, 1};
        default:
            // 2.5 : 1, also for a selector the settings should never hold: a wide
            // element left out would make a symbol of other characters.
            return {kWideBar25, kWideSpace25, 1};
    }
}

void putFlags(const char* flags, size_t n, const Wide& wide) {
    const auto bw = static_cast<unsigned char>(gSym.BW);
    for (size_t k = 0; k < n; ++k) {
        const bool isWide = flags[k] == '1';
        if (k % 2 == 0) {
            if (!isWide) {
                gEl.put(static_cast<unsigned char>(kNarrowBar + bw));
                continue;
            }
            for (int32_t j = 1; j < wide.bytes; ++j) gEl.put(wide.bar);
            gEl.put(static_cast<unsigned char>(wide.bar + bw));
        } else if (!isWide) {
            gEl.put(kNarrowSpace);
        } else {
            for (int32_t j = 0; j < wide.bytes; ++j) gEl.put(wide.space);
        }
    }
}

void putCharacter(unsigned char c, const Wide& wide) {
    const int32_t i = kIndex.of[c];
    if (i >= 0) putFlags(kC39Patterns[i], sizeof kC39Patterns[i] - 1, wide);
}

// The ratio from the options text: "3", "2.5", "2.2", "2"; anything else by size.
void ratioFromOptions() {
    const int32_t n = gData.len2;
    if (n <= 0 || gData.chAddCode[0] == 0) return;
    const char* o = gData.chAddCode;
    if (o[0] == '3') {
        gSym.ratio = kRatio3;
    } else if (o[0] == '2') {
        gSym.ratio = kRatio2;
        if (n > 2 && o[2] == '5') gSym.ratio = kRatio25;
        if (n > 2 && o[2] == '2') gSym.ratio = kRatio22;
    } else {
        gSym.ratio = kRatioBySize;
    }
}

int32_t refuseTooLong() {
    return refuseSymbol("The data is too long for this symbol. Shorten it and try again.");
}

int32_t dataLen() { return mainLength(); }

void setLength(int32_t n) {
    gData.len1 = n;
    gData.chMainCode[n] = 0;
}

// Characters past the most a variant holds would be left out of the symbol.
int32_t refuseLongerThan(const char* name, int32_t most) {
    char text[240];
    std::snprintf(text, sizeof text,
                  "%s takes at most %d characters; the data has %d. Remove the extra "
                  "characters and try again.",
                  typeNameInMessages(name), static_cast<int>(most), static_cast<int>(dataLen()));
    return refuseSymbol(text);
}

// A typed check digit that is not the right one would be encoded as another number.
int32_t refuseWrongCheck(const char* name, const char* number, int32_t digits, char right,
                         char typed, const char* advice) {
    char text[240];
    std::snprintf(text, sizeof text, "The %s check digit of %.*s is %c, not %c. %s", name,
                  static_cast<int>(digits), number, right, typed, advice);
    return refuseSymbol(text);
}

// The pharmacy variants carry their own check digit; a reader of them takes no
// modulo-43 character, whatever the check setting says.
bool takesMod43(int32_t v) { return v != kCode32 && v != kPZN7 && v != kPZN8; }

// PZN: "PZN-" and the digits, the last of them the modulo-11 check digit.
int32_t preparePZN(int32_t v) {
    const bool seven = v == kPZN7;
    const int32_t digits = seven ? kPZN7Digits : kPZN8Digits;
    const int32_t n = dataLen();
    bool ok = n == kPZNStart + digits && std::strncmp(gData.chMainCode, "PZN-", kPZNStart) == 0;
    for (int32_t i = kPZNStart; ok && i < n; ++i) ok = isDigit(gData.chMainCode[i]);
    if (!ok)
        return refuseSymbol(seven ? "PZN7 needs PZN- followed by 7 digits."
                                  : "PZN8 needs PZN- followed by 8 digits.");
    const char* number = gData.chMainCode + kPZNStart;
    const char right = PZNCheck(number, digits - 1, seven ? kPZN7FirstWeight : 1);
    if (right == 0)
        return refuseSymbol(
            "This PZN has no valid check digit (its remainder is 10); such numbers are not "
            "issued. Correct the data and try again.");
    if (number[digits - 1] != right)
        return refuseWrongCheck(seven ? "PZN7" : "PZN8", number, digits - 1, right,
                                number[digits - 1], "Correct the last digit and try again.");
    gData.chMainCode[0] = '-';
    std::memmove(gData.chMainCode + 1, number, static_cast<size_t>(digits));
    setLength(digits + 1);
    return 0;
}

// Code 32: 'A', the eight digits and, when typed, the check digit.
int32_t prepareCode32() {
    const int32_t n = dataLen();
    bool ok = n >= kCode32Length - 1 && gData.chMainCode[0] == 'A';
    for (int32_t i = 1; ok && i < kCode32Length - 1; ++i) ok = isDigit(gData.chMainCode[i]);
    if (!ok)
        return refuseSymbol(
            "Code 32 needs A followed by the eight digits of the number. Correct the "
            "data and try again.");
    if (n > kCode32Length) return refuseLongerThan("Code 32", kCode32Length);
    const char right = code32Check(gData.chMainCode);
    const char typed = gData.chMainCode[kCode32Length - 1];
    if (n == kCode32Length && typed != right)
        return refuseWrongCheck("Code 32", gData.chMainCode, kCode32Length - 1, right, typed,
                                "Correct the last digit, or leave it off and it is added.");
    gData.chMainCode[kCode32Length - 1] = right;
    setLength(kCode32Length);
    return 0;
}

// ACT 39: eight characters and the check letter, which replaces one typed in its place.
int32_t prepareACT() {
    const int32_t n = dataLen();
    if (n < kACTLength - 1)
        return refuseSymbol("ACT 39 needs 8 characters before its check letter.");
    if (n > kACTLength) return refuseLongerThan("ACT 39", kACTLength);
    gData.chMainCode[kACTLength - 1] = ACTCheck(gData.chMainCode);
    setLength(kACTLength);
    gData.len11 = kACTLength;
    std::memcpy(gData.chMainCode2, gData.chMainCode, kACTLength + 1);
    return 0;
}

// Two spaces after the fifth character of a ten-character number, else after the sixth.
void CARLRemodel() {
    const int32_t n = dataLen();
    const int32_t at = (n == 10 ? 4 : 5) + 1;
    if (at > n || n + 2 >= static_cast<int32_t>(kMainCodeSize)) return;
    std::memmove(gData.chMainCode + at + 2, gData.chMainCode + at, static_cast<size_t>(n - at));
    gData.chMainCode[at] = ' ';
    gData.chMainCode[at + 1] = ' ';
    setLength(n + 2);
}

int32_t refuseCharacter(unsigned char c, bool fullAscii) {
    char text[240];
    if (fullAscii) {
        std::snprintf(text, sizeof text,
                      "Full ASCII Code 39 encodes the 128 ASCII characters only; \"%c\" (byte %d) "
                      "cannot be encoded. Remove it and try again.",
                      quotedChar(c), c);
    } else {
        std::snprintf(text, sizeof text,
                      "Code 39 cannot encode \"%c\". Use digits, capital letters, space and "
                      "- . $ / + %%, or choose Full Ascii C39.",
                      quotedChar(c));
    }
    return refuseSymbol(text);
}

// The variant's own preparation of chMainCode; 1 when the data cannot take it.
int32_t prepareVariant(int32_t v) {
    int32_t n = dataLen();
    switch (v) {
        case kDynix:
            if (!libraryDigitsOnly("Code 39 Dynix")) return 1;
            if (!DynixCheckDigit()) return refuseTooLong();
            removeMainSpaces();
            return 0;
        case kCode32:
            return prepareCode32();
        case kPZN7:
        case kPZN8:
            return preparePZN(v);
        case kDutch:
            return n > kDutchLength ? refuseLongerThan("Dutch Pharmaceutical", kDutchLength) : 0;
        case kPortuguese:
            return n > kPortugueseLength
                       ? refuseLongerThan("Portugese Pharmaceutical", kPortugueseLength)
                       : 0;
        case kACT:
            return prepareACT();
        case kALICE: {
            bool ok = n >= 7;
            for (int32_t i = 1; ok && i <= 5; ++i) ok = isDigit(gData.chMainCode[i]);
            if (!ok)
                return refuseSymbol(
                    "ALICE needs a character, five digits and the place of the check letter. "
                    "Correct the data and try again.");
            if (n > kALICELength) return refuseLongerThan("ALICE", kALICELength);
            gData.chMainCode[6] = ALICECheck(gData.chMainCode);
            if (gData.len11 > 6) gData.chMainCode2[6] = gData.chMainCode[6];
            return 0;
        }
        case kCARL:
            return appendToMain(CARLMod10Check(gData.chMainCode, n)) ? 0 : refuseTooLong();
        case kAmeritech:
            if (!libraryDigitsOnly("Code 39 Ameritech")) return 1;
            return ameritechcalcheckMod10() ? 0 : refuseTooLong();
        case kMSIVariant:
            if (!libraryDigitsOnly("Code 39 MSI")) return 1;
            return appendToMain(MSICheckMod10(gData.chMainCode, n)) ? 0 : refuseTooLong();
        default:
            return 0;
    }
}

// The Code 39 characters of the symbol, start and stop left out; 1 when a
// character cannot be encoded.
int32_t symbolCharacters(int32_t v, char* out, int32_t* count) {
    const int32_t n = dataLen();
    int32_t m = 0;
    if (v == kCode32) {
        Code32To39(gData.chMainCode + 1, out);
        *count = kCode32Symbols;
        return 0;
    }
    for (int32_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(gData.chMainCode[i]);
        if (v == kFullAsciiVariant) {
            const char* pair = fullAsciiPair(c);
            if (pair == nullptr) return refuseCharacter(c, true);
            for (; *pair; ++pair) out[m++] = *pair;
        } else {
            if (code39Value(c) < 0) return refuseCharacter(c, false);
            out[m++] = static_cast<char>(c);
        }
    }
    *count = m;
    return 0;
}

// The text line: what the variant prints, in chMainCode for Humans1.
void prepareText(int32_t v, const char* entered, int32_t enteredLen, char check) {
    const int32_t n = dataLen();
    const bool withCheck = gSym.nCheck == 0 && takesMod43(v);
    // The check character stands behind the data, counted only where it is printed.
    if (withCheck && n + 1 < static_cast<int32_t>(kMainCodeSize)) {
        gData.chMainCode[n] = check;
        gData.chMainCode[n + 1] = 0;
        if (v == kHIBC) gData.len1 = n + 1;
    }
    switch (v) {
        case kDynix:
            setLength(n);
            DynixModel();
            DynixRemodel();
            break;
        case kAmeritech:
        case kMSIVariant:
            // The bars keep the typed spaces; the text takes its spacing from the
            // printed copy, so it places the digits alone.
            setLength(n);
            removeMainSpaces();
            DynixModel();
            AmeritechRemodel();
            break;
        case kCARL:
            setLength(n);
            CARLRemodel();
            break;
        case kPZN7:
        case kPZN8: {
            const int32_t keep = std::min(
                enteredLen, v == kPZN7 ? kPZNStart + kPZN7Digits : kPZNStart + kPZN8Digits);
            std::memcpy(gData.chMainCode, entered, static_cast<size_t>(keep));
            setLength(keep);
            break;
        }
        default:
            break;
    }
}

}  // namespace

void Maker(std::string_view flags) { putFlags(flags.data(), flags.size(), wideAtRatio()); }

void PadEnd(int32_t n) {
    for (int32_t i = 0; i < n; ++i) gEl.put(kNarrowSpace);
}

void C39(unsigned char c) { putCharacter(c, wideAtRatio()); }

int32_t code39Value(unsigned char c) {
    const int32_t i = kIndex.of[c];
    return i >= 0 && i < kC39Values ? i : -1;
}

char Code43CheckAscii(const char* symbols, int32_t n) {
    int32_t sum = 0;
    for (int32_t i = 0; i < n; ++i)
        sum += std::max(code39Value(static_cast<unsigned char>(symbols[i])), 0);
    return kC39Chars[sum % kC39Values];
}

const char* fullAsciiPair(unsigned char c) { return c < 128 ? kFullAscii[c] : nullptr; }

char code32Check(const char* data) {
    int32_t sum = 0;
    for (int32_t i = 1; i <= 8; ++i) {
        const int32_t d = data[i] - '0';
        sum += i % 2 == 1 ? d : (2 * d) % 10 + (2 * d) / 10;
    }
    return static_cast<char>('0' + sum % 10);
}

void Code32To39(const char* number, char* out6) {
    int32_t value = 0;
    for (int32_t i = 0; i < 9; ++i) value = value * 10 + (number[i] - '0');
    for (int32_t i = kCode32Symbols - 1; i >= 0; --i) {
        out6[i] = kCode32Digits[value % 32];
        value /= 32;
    }
}

char ACTCheck(const char* data) {
    int32_t sum = 0;
    // The eight data characters only: what stands in the check letter's place must
    // not change the letter.
    for (int32_t i = 0; i < kACTLength - 1; ++i)
        sum += (static_cast<unsigned char>(data[i]) - '0') * (kACTFirstWeight - i);
    const int32_t r = (sum % kACTModulus + kACTModulus) % kACTModulus;
    return kACTLetters[kACTFirstWeight - r];
}

char PZNCheck(const char* digits, int32_t n, int32_t firstWeight) {
    int32_t sum = 0;
    for (int32_t i = 0; i < n; ++i) sum += (digits[i] - '0') * (firstWeight + i);
    const int32_t r = sum % kPZNModulus;
    return r == kPZNModulus - 1 ? 0 : static_cast<char>('0' + r);
}

char ALICECheck(const char* data) {
    int32_t sum = 0;
    for (int32_t i = 1; i <= 5; ++i) sum += data[i] - '0';
    const int32_t r = sum % kALICEModulus;
    return kALICELetters[(r + kALICEModulus - 1) % kALICEModulus];
}

char CARLMod10Check(const char* data, int32_t n) {
    int32_t weight = n == 9 ? 9 : 11, sum = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (!isDigit(data[i])) continue;
        sum += (data[i] - '0') * weight--;
    }
    return static_cast<char>('0' + ((10 - sum % 10) % 10 + 10) % 10);
}

int32_t ThirtyNine() {
    const int32_t v = gSym.variation1;
    ratioFromOptions();
    gData.len1 = dataLen();
    gData.chMainCode[gData.len1] = 0;

    // The data as entered: the library variant gives it back afterwards, the
    // PZN variants print it.
    char entered[kMainCodeSize];
    const int32_t enteredLen = gData.len1;
    const bool keepEntered = v == kDynix || v == kPZN7 || v == kPZN8;
    if (keepEntered) std::memcpy(entered, gData.chMainCode, static_cast<size_t>(enteredLen) + 1);

    if (prepareVariant(v) != 0) return 1;
    // Full ASCII takes up to two characters for each byte.
    char symbols[2 * kMainCodeSize + 1];
    int32_t count = 0;
    if (symbolCharacters(v, symbols, &count) != 0) return 1;
    if (count == 0) return refuseSymbol("Code 39 needs data. Enter the data and try again.");
    char check = 0;
    if (gSym.nCheck == 0 && takesMod43(v)) {
        check = Code43CheckAscii(symbols, count);
        symbols[count++] = check;
    }

    const Wide wide = wideAtRatio();
    PadEnd(kQuietZone);
    putCharacter(kStartStop, wide);
    for (int32_t i = 0; i < count; ++i) putCharacter(static_cast<unsigned char>(symbols[i]), wide);
    putCharacter(kStartStop, wide);
    PadEnd(kQuietZone);
    Vector(kRowUnit20pt);

    prepareText(v, entered, enteredLen, check);
    if (gSym.human == 1) Humans1();
    if (v == kDynix) {
        std::memcpy(gData.chMainCode, entered, static_cast<size_t>(enteredLen) + 1);
        gData.len1 = enteredLen;
    }
    return gEl.overflow ? 1 : 0;
}
