#include "databar/CC.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "databar/RSSENC.h"
#include "pdf417/micropdf417.h"
#include "pdf417/pdf417_ec.h"
#include "pdf417/pdf417_tables.h"
#include "symbology/state.h"

CcState gCc;

namespace {

// ---------------------------------------------------------------- sizes

struct CcSize {
    int16_t bits;  // data capacity of the bit string
    int16_t rows;
    int16_t dataCodewords;
    int16_t ecCodewords;
    int16_t start;   // row address pattern of the first row, from 1
    int16_t offset;  // CC-B: the centre pattern's offset (the right one's, 2 columns)
};

// CC-A sizes (offset unused: centre +32, right +64), then CC-B sizes.
constexpr CcSize kSizes2[] = {
    {59, 5, 6, 4, 39, 0},    {78, 6, 8, 4, 1, 0},      {88, 7, 9, 5, 32, 0},
    {108, 8, 11, 5, 8, 0},   {118, 9, 12, 6, 14, 0},   {138, 10, 14, 6, 43, 0},
    {167, 12, 17, 7, 20, 0}, {208, 17, 24, 10, 36, 0}, {256, 20, 29, 11, 19, 0},
    {296, 23, 33, 13, 9, 8}, {336, 26, 37, 15, 27, 8},
};
constexpr CcSize kSizes3[] = {
    {78, 4, 8, 4, 11, 0},      {98, 5, 10, 5, 1, 0},     {118, 6, 12, 6, 5, 0},
    {138, 7, 14, 7, 15, 0},    {167, 8, 17, 7, 21, 0},   {208, 15, 24, 21, 37, 0},
    {304, 20, 34, 26, 1, 16},  {416, 26, 46, 32, 1, 8},  {536, 32, 58, 38, 21, 8},
    {648, 38, 70, 44, 15, 16}, {768, 44, 82, 50, 1, 24},
};
// Four columns: the CC-B sizes are the MicroPDF417 sizes of four columns.
constexpr int16_t kCcb4Bits[kMicroPdf4ColumnSizeCount] = {208, 264, 352, 496, 672, 840, 1016, 1184};
constexpr CcSize ccb4(int32_t i) {
    const MicroPdfSize& m = kMicroPdf4ColumnSizes[i];
    return {kCcb4Bits[i],
            static_cast<int16_t>(m.rows),
            static_cast<int16_t>(m.dataCodewords),
            static_cast<int16_t>(m.ecCodewords),
            static_cast<int16_t>(m.startPattern),
            static_cast<int16_t>(m.offset)};
}
constexpr CcSize kSizes4[] = {
    {78, 3, 8, 4, 40, 0},
    {108, 4, 11, 5, 43, 0},
    {138, 5, 14, 6, 46, 0},
    {167, 6, 17, 7, 34, 0},
    {197, 7, 20, 8, 29, 0},
    ccb4(0),
    ccb4(1),
    ccb4(2),
    ccb4(3),
    ccb4(4),
    ccb4(5),
    ccb4(6),
    ccb4(7),
};
constexpr int32_t kCcaSizes2 = 7;
constexpr int32_t kCcaSizes34 = 5;
constexpr int32_t kRapCentreOffset = 32;  // CC-A

struct SizeTable {
    const CcSize* sizes;
    int32_t count;
    int32_t ccaCount;
    int32_t columns;
};
constexpr SizeTable kTables[] = {
    {kSizes2, sizeof kSizes2 / sizeof kSizes2[0], kCcaSizes2, 2},
    {kSizes3, sizeof kSizes3 / sizeof kSizes3[0], kCcaSizes34, 3},
    {kSizes4, sizeof kSizes4 / sizeof kSizes4[0], kCcaSizes34, 4},
};
const SizeTable* gTable = &kTables[2];  // the table of the component being built

int32_t compositeUnusedBits(int32_t used) {
    for (int32_t s = 0; s < gTable->count; ++s)
        if (used <= gTable->sizes[s].bits) return gTable->sizes[s].bits - used;
    return -1;
}

int32_t sizeHolding(int32_t used) {
    for (int32_t s = 0; s < gTable->count; ++s)
        if (used <= gTable->sizes[s].bits) return s;
    return -1;
}

// ---------------------------------------------------------------- character classes

constexpr uint8_t kNumeric = 1;
constexpr uint8_t kAlnum = 2;
constexpr uint8_t kIso = 4;
constexpr uint8_t kFnc1Class = 8;
constexpr char kFnc1 = '#';
constexpr char kSymbolSeparator = '^';

struct ClassTable {
    uint8_t of[128] = {};
    constexpr ClassTable() {
        for (char c = '0'; c <= '9'; ++c) of[static_cast<int>(c)] = kNumeric | kAlnum | kIso;
        for (char c = 'A'; c <= 'Z'; ++c) of[static_cast<int>(c)] = kAlnum | kIso;
        for (char c = 'a'; c <= 'z'; ++c) of[static_cast<int>(c)] = kIso;
        for (char c : {'*', ',', '-', '.', '/', '^'}) of[static_cast<int>(c)] = kAlnum | kIso;
        for (char c :
             {' ', '!', '"', '%', '&', '\'', '(', ')', '+', ':', ';', '<', '=', '>', '?', '_'})
            of[static_cast<int>(c)] = kIso;
        of[static_cast<int>(kFnc1)] = kNumeric | kAlnum | kIso | kFnc1Class;
    }
};
constexpr ClassTable kClasses;

uint8_t classOf(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 128 ? kClasses.of[u] : 0;
}
bool isNumericClass(char c) { return (classOf(c) & kNumeric) != 0; }
bool isAlnumClass(char c) { return (classOf(c) & kAlnum) != 0; }

// ---------------------------------------------------------------- general-purpose compaction

enum class Mode { Numeric, Alphanumeric, Iso };

// Numeric-class characters from i to the end of the data, or up to `limit`.
int32_t numericRun(const char* text, int32_t i, int32_t limit) {
    int32_t n = 0;
    while (text[i + n] && n < limit && isNumericClass(text[i + n])) ++n;
    return n;
}

bool alnumToNumeric(const char* text, int32_t i) {
    if (!isDigit(text[i])) return false;
    const int32_t run = numericRun(text, i, 6);
    if (run == 6 && text[i + 1] != kFnc1) return true;
    return run >= 4 && text[i + run] == 0;
}

// 5-bit alphanumeric and ISO values of digits and FNC1.
constexpr uint32_t kFnc1Five = 15;
constexpr uint32_t kDigitFiveBase = 5;

void insertPad(CcBits* bits, int32_t unused) {
    constexpr uint32_t kPad = 4;  // 00100
    while (unused > 4) {
        bits->put(kPad, 5);
        unused -= 5;
    }
    if (unused > 0) bits->put(kPad >> (5 - unused), unused);
}

}  // namespace

void CcBits::put(uint32_t value, int32_t n) {
    if (n > 16 || count + n > kCcMaxBits) {
        failed = true;
        return;
    }
    for (int32_t b = n - 1; b >= 0; --b) {
        if ((value >> b) & 1) bytes[count / 8] |= static_cast<uint8_t>(0x80 >> (count % 8));
        ++count;
    }
}

int32_t check2DData(const char* text) {
    for (int32_t i = 0; text[i]; ++i)
        if (classOf(text[i]) == 0) return i;
    return -1;
}

bool generalPurpose(const char* text, int32_t from, bool alphanumericFirst, CcBits* bits,
                    CcUnusedBits unused) {
    Mode mode = alphanumericFirst ? Mode::Alphanumeric : Mode::Numeric;
    int32_t i = from;
    auto numericValue = [](char c) { return c == kFnc1 ? 10u : static_cast<uint32_t>(c - '0'); };
    while (text[i] && !bits->failed) {
        const char c = text[i];
        switch (mode) {
            case Mode::Numeric: {
                const char next = text[i + 1];
                if (isNumericClass(c) && isNumericClass(next) && !(c == kFnc1 && next == kFnc1)) {
                    bits->put(11 * numericValue(c) + numericValue(next) + 8, 7);
                    i += 2;
                } else if (isDigit(c) && next == 0) {
                    // A lone last digit: in 4 bits when they fit the size, else with FNC1.
                    const int32_t left = unused(bits->count);
                    if (left >= 4 && left <= 6) {
                        bits->put(static_cast<uint32_t>(c - '0') + 1, 4);
                        ++i;
                        const int32_t rest = unused(bits->count);
                        if (rest > 0) bits->put(0, rest);
                        return !bits->failed;
                    }
                    bits->put(11 * numericValue(c) + 10 + 8, 7);
                    ++i;
                } else {
                    bits->put(0, 4);  // latch to alphanumeric
                    mode = Mode::Alphanumeric;
                }
                break;
            }
            case Mode::Alphanumeric:
                if (c == kFnc1) {
                    bits->put(kFnc1Five, 5);
                    mode = Mode::Numeric;
                    ++i;
                } else if (alnumToNumeric(text, i)) {
                    bits->put(0, 3);
                    mode = Mode::Numeric;
                } else if (isDigit(c)) {
                    bits->put(static_cast<uint32_t>(c - '0') + kDigitFiveBase, 5);
                    ++i;
                } else if (c >= 'A' && c <= 'Z') {
                    bits->put(static_cast<uint32_t>(c - 'A') + 32, 6);
                    ++i;
                } else if (isAlnumClass(c)) {
                    uint32_t v = 63;  // '^', which ends the mode
                    if (c == '*') v = 58;
                    if (c == ',') v = 59;
                    if (c == '-') v = 60;
                    if (c == '.') v = 61;
                    if (c == '/') v = 62;
                    bits->put(v, 6);
                    if (c == kSymbolSeparator) mode = Mode::Numeric;
                    ++i;
                } else {
                    bits->put(4, 5);  // latch 00100 to ISO/IEC 646
                    mode = Mode::Iso;
                }
                break;
            case Mode::Iso: {
                if (isAlnumClass(c) && c != kFnc1) {
                    // Leave for a denser mode when the next ten characters allow it.
                    int32_t n = 0;
                    while (n < 10 && text[i + n] && isAlnumClass(text[i + n])) ++n;
                    const bool allInClass = n == 10 || text[i + n] == 0;
                    if (allInClass) {
                        int32_t digits = 0;
                        while (digits < n && isDigit(text[i + digits])) ++digits;
                        if (digits >= 4) {
                            bits->put(0, 3);
                            mode = Mode::Numeric;
                            break;
                        }
                        if (n == 10 || n >= 5) {
                            bits->put(4, 5);
                            mode = Mode::Alphanumeric;
                            break;
                        }
                    }
                }
                if (c == kFnc1) {
                    bits->put(kFnc1Five, 5);
                    mode = Mode::Numeric;
                } else if (isDigit(c)) {
                    bits->put(static_cast<uint32_t>(c - '0') + kDigitFiveBase, 5);
                } else if (c >= 'A' && c <= 'Z') {
                    bits->put(static_cast<uint32_t>(c) - 1, 7);
                } else if (c >= 'a' && c <= 'z') {
                    bits->put(static_cast<uint32_t>(c) - 7, 7);
                } else {
                    static constexpr char kPunct[] = "!\"%&'()*+,-./:;<=>?_ ^";
                    const char* at = std::strchr(kPunct, c);
                    if (!at) return false;
                    bits->put(232 + static_cast<uint32_t>(at - kPunct), 8);
                    if (c == kSymbolSeparator) mode = Mode::Numeric;
                }
                ++i;
                break;
            }
        }
    }
    if (bits->failed) return false;
    int32_t left = unused(bits->count);
    if (left < 0) return false;
    if (mode == Mode::Numeric) {
        if (left <= 4) {
            if (left > 0) bits->put(0, left);
            return !bits->failed;
        }
        bits->put(0, 4);
        left = unused(bits->count);
        if (left < 0) return false;
    }
    insertPad(bits, left);
    return !bits->failed;
}

namespace {

// ---------------------------------------------------------------- encodation methods

constexpr char kAlphaTbl[] = "BDHIJKLNPQRSTVWZ";
constexpr int32_t kDateBits = 16;
constexpr int32_t kDateYear = 384;
constexpr int32_t kDateMonth = 32;

bool digitsAt(const char* text, int32_t from, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        if (!isDigit(text[from + k])) return false;
    return true;
}
int32_t number(const char* text, int32_t from, int32_t n) {
    int32_t v = 0;
    for (int32_t k = 0; k < n; ++k) v = v * 10 + (text[from + k] - '0');
    return v;
}

// Method 10: a production or expiry date (AI 11 or 17) coded in 16 bits, then
// the lot number (AI 10) or an FNC1.
bool dateMethod(char* text, CcBits* bits) {
    if (std::strlen(text) <= 7 || text[0] != '1' || (text[1] != '1' && text[1] != '7') ||
        !digitsAt(text, 2, 6))
        return false;
    const int32_t month = number(text, 4, 2);
    const int32_t day = number(text, 6, 2);
    if (month < 1 || month > 12 || day > 31) return false;
    bits->put(2, 2);
    bits->put(
        static_cast<uint32_t>(number(text, 2, 2) * kDateYear + (month - 1) * kDateMonth + day),
        kDateBits);
    bits->put(text[1] == '7' ? 1 : 0, 1);
    int32_t from = 7;
    if (text[8] == '1' && text[9] == '0' && text[10] != kFnc1) {
        from = 10;
    } else {
        text[7] = kFnc1;
    }
    return generalPurpose(text, from, false, bits, compositeUnusedBits);
}

// The AI 90 prefix: up to three digits and an uppercase letter after "90". The
// method carries the digits as a number, which a reader writes without leading
// zeros (and not at all when it is 0), so digits that begin with a zero leave
// the data to general-purpose compaction.
int32_t ai90LetterAt(const char* text) {
    if (text[0] != '9' || text[1] != '0') return -1;
    constexpr int32_t kFirst = 2;
    constexpr int32_t kMaxDigits = 3;
    if (text[kFirst] == '0') return -1;
    for (int32_t k = kFirst; k <= kFirst + kMaxDigits; ++k) {
        if (text[k] >= 'A' && text[k] <= 'Z') return k;
        if (!isDigit(text[k])) return -1;
    }
    return -1;
}

// Method 11: AI 90 data beginning with a number and a letter.
bool ai90Method(const char* text, int32_t letterAt, CcBits* bits) {
    int32_t end = letterAt + 1;
    while (text[end] && text[end] != kFnc1 && text[end] != kSymbolSeparator) ++end;
    // Uppercase letters against digits, over the AI 90 data.
    int32_t score = 0;
    bool other = false;
    for (int32_t k = 2; k < end; ++k) {
        if (isDigit(text[k]))
            --score;
        else if (text[k] >= 'A' && text[k] <= 'Z')
            ++score;
        else
            other = true;
    }
    enum class Ai90Mode { Letters, Alphanumeric, Numeric } mode;
    bool nonDigitFirst = false;
    for (int32_t k = letterAt + 1; k < end && k < letterAt + 5; ++k)
        if (!isDigit(text[k])) nonDigitFirst = true;
    if (score > 0 && !other) {
        mode = Ai90Mode::Letters;
        bits->put(3, 2);
    } else if (nonDigitFirst) {
        mode = Ai90Mode::Alphanumeric;
        bits->put(0, 1);
    } else {
        mode = Ai90Mode::Numeric;
        bits->put(2, 2);
    }
    // The AI after the FNC1 that ends the AI 90 data: 21 and 8004 are flagged
    // instead of encoded.
    int32_t aiDigits = 0;
    if (text[end] == kFnc1 && text[end + 1] == '2' && text[end + 2] == '1') {
        bits->put(2, 2);
        aiDigits = 2;
    } else if (text[end] == kFnc1 && std::strncmp(text + end + 1, "8004", 4) == 0) {
        bits->put(3, 2);
        aiDigits = 4;
    } else {
        bits->put(0, 1);
    }
    const int32_t n = number(text, 2, letterAt - 2);
    const char* inTable = std::strchr(kAlphaTbl, text[letterAt]);
    if (n <= 30 && inTable) {
        bits->put(static_cast<uint32_t>(n), 5);
        bits->put(static_cast<uint32_t>(inTable - kAlphaTbl), 4);
    } else {
        bits->put(31, 5);
        bits->put(static_cast<uint32_t>(n), 10);
        bits->put(static_cast<uint32_t>(text[letterAt] - 'A'), 5);
    }
    // The rest of the AI 90 data, then what follows it.
    static char rest[kRssDataSize];
    int32_t r = 0;
    for (int32_t k = letterAt + 1; k < end; ++k) rest[r++] = text[k];
    if (text[end]) {
        rest[r++] = text[end];
        for (int32_t k = end + 1 + aiDigits; text[k]; ++k) rest[r++] = text[k];
    }
    rest[r] = 0;
    if (mode == Ai90Mode::Letters) {
        const int32_t restAi90 = end - letterAt - 1;
        for (int32_t k = 0; k < restAi90; ++k) {
            const char c = rest[k];
            if (isDigit(c))
                bits->put(static_cast<uint32_t>(c - '0') + 52, 6);
            else
                bits->put(static_cast<uint32_t>(c - 'A'), 5);
        }
        if (rest[restAi90] == 0) {
            // At the end of the data the FNC1 that closes the mode is cut to what fits.
            const int32_t left = compositeUnusedBits(bits->count);
            const int32_t n1 = left < 5 ? left : 5;
            if (n1 > 0) bits->put((1u << n1) - 1, n1);
            return generalPurpose(rest, restAi90, false, bits, compositeUnusedBits);
        }
        bits->put(31, 5);
        const int32_t after = rest[restAi90] == kFnc1 ? restAi90 + 1 : restAi90;
        return generalPurpose(rest, after, false, bits, compositeUnusedBits);
    }
    return generalPurpose(rest, 0, mode == Ai90Mode::Alphanumeric, bits, compositeUnusedBits);
}

// The bit string of a composite component; the size number, -1 when no size holds it.
int32_t packComposite(const char* text, CcBits* bits) {
    static char work[kRssDataSize];
    std::strncpy(work, text, sizeof work - 1);
    work[sizeof work - 1] = 0;
    *bits = CcBits{};
    bool ok = false;
    if (dateMethod(work, bits)) {
        ok = true;
    } else if (!bits->failed && bits->count == 0) {
        const int32_t letterAt = ai90LetterAt(work);
        if (letterAt > 0) {
            bits->put(3, 2);
            ok = ai90Method(work, letterAt, bits);
        } else {
            bits->put(0, 1);
            ok = generalPurpose(work, 0, false, bits, compositeUnusedBits);
        }
    }
    if (!ok || bits->failed) return -1;
    return sizeHolding(bits->count);
}

// ---------------------------------------------------------------- codewords

constexpr int32_t kCcaGroupBits = 69;
constexpr int32_t kCcaGroupCodewords = 7;
constexpr int32_t kCompositeFlag = 920;
constexpr int32_t kByteLatch = 901;
constexpr int32_t kByteLatch6 = 924;

bool bitAt(const CcBits& bits, int32_t i) { return (bits.bytes[i / 8] >> (7 - i % 8)) & 1; }

// Base-928 compaction: each 69 bits to 7 codewords, a last group of b bits to
// b / 10 + 1 codewords.
int32_t encode928(const CcBits& bits, int32_t bitCount, int32_t* codewords) {
    int32_t n = 0;
    for (int32_t start = 0; start < bitCount; start += kCcaGroupBits) {
        const int32_t b = bitCount - start < kCcaGroupBits ? bitCount - start : kCcaGroupBits;
        const int32_t digits = b == kCcaGroupBits ? kCcaGroupCodewords : b / 10 + 1;
        unsigned __int128 value = 0;
        for (int32_t k = 0; k < b; ++k) value = (value << 1) | (bitAt(bits, start + k) ? 1 : 0);
        for (int32_t d = digits - 1; d >= 0; --d) {
            codewords[n + d] = static_cast<int32_t>(value % 928);
            value /= 928;
        }
        n += digits;
    }
    return n;
}

// Byte compaction after the composite flag.
int32_t encode900(const uint8_t* bytes, int32_t byteCount, int32_t* codewords) {
    int32_t n = 0;
    codewords[n++] = kCompositeFlag;
    codewords[n++] = byteCount % 6 == 0 ? kByteLatch6 : kByteLatch;
    int32_t i = 0;
    for (; i + 6 <= byteCount; i += 6) {
        uint64_t value = 0;
        for (int32_t k = 0; k < 6; ++k) value = (value << 8) | bytes[i + k];
        for (int32_t d = 4; d >= 0; --d) {
            codewords[n + d] = static_cast<int32_t>(value % 900);
            value /= 900;
        }
        n += 5;
    }
    for (; i < byteCount; ++i) codewords[n++] = bytes[i];
    return n;
}

// ---------------------------------------------------------------- rows

struct RowWriter {
    uint8_t* row;
    uint8_t* at = row;
    void width(int32_t w) { *at++ = static_cast<uint8_t>(w); }
    void rap(const uint16_t* table, int32_t index) {
        at = appendRuns(table[index % kMicroPdfRapPatterns], kMicroPdfRapModules, at);
    }
    void codeword(int32_t cluster, int32_t cw) {
        at = appendRuns(PDF417_BITS[cluster][cw], kPdfModulesPerCodeword, at);
    }
};

// Lays out the rows of a size from its codewords into ccPattern.
int32_t layOut(const CcSize& size, bool ccb, int32_t columns, const int32_t* codewords) {
    for (int32_t r = 0; r < size.rows; ++r) {
        // The left pattern of a size never passes the last of the 52, so its
        // number also picks the cluster of the row.
        const int32_t p = size.start - 1 + r;
        const int32_t* cw = codewords + r * columns;
        const int32_t o = ccb ? size.offset : kRapCentreOffset;
        if (columns == 4) {
            microPdfRow4(p, o, cw, gCc.ccPattern[r]);
            gCc.rowElements = kCcMaxRowElements;
            continue;
        }
        const int32_t cluster = p % 3;
        RowWriter w{gCc.ccPattern[r]};
        w.width(1);
        if (columns == 2) {
            w.rap(kMicroPdfSideRap, p);
            w.codeword(cluster, cw[0]);
            w.codeword(cluster, cw[1]);
            w.rap(kMicroPdfSideRap, p + o);
        } else {
            if (ccb) w.rap(kMicroPdfSideRap, p);
            w.codeword(cluster, cw[0]);
            w.rap(kMicroPdfCentreRap, p + o);
            w.codeword(cluster, cw[1]);
            w.codeword(cluster, cw[2]);
            w.rap(kMicroPdfSideRap, p + 2 * o);
        }
        w.width(1);
        w.width(1);
        gCc.rowElements = static_cast<int32_t>(w.at - w.row);
    }
    gCc.rows = size.rows;
    gCc.ccb = ccb;
    return size.rows;
}

int32_t encCCA(const CcSize& size, int32_t columns, const CcBits& bits) {
    int32_t codewords[kCcMaxCodewords] = {};
    encode928(bits, size.bits, codewords);
    pdfErrorCodewords(codewords, size.dataCodewords, size.ecCodewords,
                      codewords + size.dataCodewords);
    return layOut(size, false, columns, codewords);
}

int32_t encCCB(const CcSize& size, int32_t columns, const uint8_t* bytes, int32_t byteCount) {
    int32_t codewords[kCcMaxCodewords] = {};
    encode900(bytes, byteCount, codewords);
    pdfErrorCodewords(codewords, size.dataCodewords, size.ecCodewords,
                      codewords + size.dataCodewords);
    return layOut(size, true, columns, codewords);
}

int32_t ccEnc(const char* text, int32_t columns) {
    gRss.linFlag = 0;
    gTable = &kTables[columns - 2];
    const int32_t bad = check2DData(text);
    if (bad >= 0) {
        const unsigned char c = static_cast<unsigned char>(text[bad]);
        char message[160];
        if (c >= 32 && c < 127)
            std::snprintf(message, sizeof message,
                          "The composite data holds the character '%c', which a DataBar "
                          "composite cannot encode. Remove it and try again.",
                          c);
        else
            std::snprintf(message, sizeof message,
                          "The composite data holds a character (code %d) that a DataBar "
                          "composite cannot encode. Remove it and try again.",
                          c);
        rssRefuse(message);
        return 0;
    }
    static CcBits bits;
    const int32_t size = packComposite(text, &bits);
    if (size < 0 || size >= gTable->count) {
        rssRefuse(
            "The composite data is too long for the composite component of this DataBar "
            "symbol. Shorten it and try again.");
        return 0;
    }
    const CcSize& s = gTable->sizes[size];
    if (size < gTable->ccaCount) return encCCA(s, columns, bits);
    return encCCB(s, columns, bits.bytes, s.bits / 8);
}

}  // namespace

int32_t CC2enc(const char* text) { return ccEnc(text, 2); }
int32_t CC3enc(const char* text) { return ccEnc(text, 3); }
int32_t CC4enc(const char* text) { return ccEnc(text, 4); }
