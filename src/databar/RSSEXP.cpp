#include "databar/RSSEXP.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "databar/CC.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// The character groups of ISO/IEC 24724.
constexpr DataBarGroup kGroups[] = {
    {0, 12, 5, 7, 2, 4},      {348, 10, 7, 5, 4, 20},   {1388, 8, 9, 4, 5, 52},
    {2948, 6, 11, 3, 6, 104}, {3988, 4, 13, 1, 8, 204},
};
constexpr int32_t kHalfElements = 4;

// The finder patterns A to F: the three widths before the two single modules.
constexpr uint8_t kFinders[6][3] = {{1, 8, 4}, {3, 6, 4}, {3, 4, 6},
                                    {3, 2, 8}, {2, 6, 5}, {2, 2, 9}};
constexpr int32_t kFinderElements = 5;

// The finders of each symbol length, row (n - 2) / 2 for n data characters:
// 1 to 6 for A to F, negative when reversed, 0 past the last.
constexpr int8_t kFinderSequences[10][11] = {
    {1, -1},
    {1, -2, 2},
    {1, -3, 2, -4},
    {1, -5, 2, -4, 3},
    {1, -5, 2, -4, 4, -6},
    {1, -5, 2, -4, 5, -6, 6},
    {1, -1, 2, -2, 3, -3, 4, -4},
    {1, -1, 2, -2, 3, -3, 4, -5, 5},
    {1, -1, 2, -2, 3, -3, 4, -5, 6, -6},
    {1, -1, 2, -2, 3, -4, 4, -5, 5, -6, 6},
};

// The weight of the first element of a character, by finder and direction.
constexpr int32_t kStartWeights[24] = {0,  1,   20, 189, 193, 62, 185, 113, 150, 46,  76, 43,
                                       16, 109, 70, 134, 148, 6,  120, 79,  103, 161, 55, 45};
constexpr int32_t kCheckModulus = 211;
constexpr int32_t kCharBits = 12;
constexpr int32_t kMinDataChars = 3;

constexpr int32_t kRowHeight = 34;  // modules
constexpr int32_t kSeparatorLight = 5;
constexpr int32_t kCcComponentOffset = 1;  // a component row right of the linear row
constexpr int32_t kLastCharElements = 13;  // a last character without a partner: and its finder

// Method fields (ISO/IEC 24724, 7.2.5).
constexpr int32_t kGtinDigits = 12;  // the GTIN without its indicator and check digit
constexpr int32_t kWeightBits = 15;
constexpr int32_t kWeight20Bits = 20;
constexpr int32_t kDateBits = 16;
constexpr int32_t kNoDate = 38400;
constexpr int32_t kPriceBits = 2;
constexpr int32_t kCurrencyBits = 10;

// Fields wider than one write of the bit string go in two parts.
void putWide(CcBits* bits, uint32_t value, int32_t count) {
    constexpr int32_t kMaxPut = 16;
    if (count > kMaxPut) {
        bits->put(value >> kMaxPut, count - kMaxPut);
        count = kMaxPut;
    }
    bits->put(value & ((1u << count) - 1), count);
}

void setBit(CcBits* bits, int32_t at, bool on) {
    const uint8_t mask = static_cast<uint8_t>(0x80 >> (at % 8));
    if (on)
        bits->bytes[at / 8] |= mask;
    else
        bits->bytes[at / 8] &= static_cast<uint8_t>(~mask);
}

// The segments per row of the symbol being built, for the capacity rule that
// the general-purpose compaction asks about.
int32_t gSegments = kRssDefaultSegments;

int32_t expandedUnusedBits(int32_t used) {
    const int32_t n = expandedDataChars(used, gSegments);
    return n > kExpMaxDataChars ? -1 : n * kCharBits - used;
}

bool digitsAt(const char* text, size_t at, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (text[at + i] < '0' || text[at + i] > '9') return false;
    return true;
}

int32_t number(const char* text, size_t at, size_t count) {
    int32_t v = 0;
    for (size_t i = 0; i < count; ++i) v = v * 10 + (text[at + i] - '0');
    return v;
}

bool startsAt(const char* text, size_t at, const char* prefix) {
    return std::strncmp(text + at, prefix, std::strlen(prefix)) == 0;
}

// The GTIN digits after the indicator digit, in groups of three as 10 bits.
void putGtin12(const char* text, CcBits* bits) {
    for (int32_t i = 0; i < kGtinDigits; i += 3)
        bits->put(static_cast<uint32_t>(number(text, 3 + i, 3)), 10);
}

// A date YYMMDD as YY x 384 + (MM - 1) x 32 + DD.
int32_t dateValue(const char* text, size_t at) {
    return number(text, at, 2) * 384 + (number(text, at + 2, 2) - 1) * 32 + number(text, at + 4, 2);
}

// A GTIN with the indicator digit 9, the AIs that follow it at position 16.
bool weightGtin(const char* text, size_t length, size_t minLength) {
    return length >= minLength && startsAt(text, 0, "019") && digitsAt(text, 2, 14);
}

// Linkage bit, method, general-purpose data and padding; the number of data
// characters, 0 when they would be too many.
int32_t expandedBits(const char* data, int32_t linkage, int32_t segments, CcBits* bits) {
    bits->put(static_cast<uint32_t>(linkage), 1);
    int32_t variableBits = -1;
    const int32_t rest = expandedMethod(data, bits, &variableBits);
    gSegments = segments;
    if (!generalPurpose(data, rest, false, bits, expandedUnusedBits)) return 0;
    const int32_t n = bits->count / kCharBits;
    if (n > kExpMaxDataChars) return 0;
    if (variableBits >= 0) {
        setBit(bits, variableBits, (n + 1) % 2 == 1);
        setBit(bits, variableBits + 1, n >= 14);
    }
    return n;
}

}  // namespace

int32_t getVal12(const uint8_t* bits, int32_t k) {
    int32_t v = 0;
    for (int32_t i = 0; i < kCharBits; ++i) {
        const int32_t p = k * kCharBits + i;
        v = v << 1 | (bits[p / 8] >> (7 - p % 8) & 1);
    }
    return v;
}

int32_t isSymbolSepatator(const char* text) {
    const char* p = std::strchr(text, '^');
    return p == nullptr ? 0 : static_cast<int32_t>(p - text);
}

int32_t expandedDataChars(int32_t bits, int32_t segments) {
    int32_t n = (bits + kCharBits - 1) / kCharBits;
    if (n < kMinDataChars) n = kMinDataChars;
    if (segments > 0 && (n + 1 + segments) % segments == 1) ++n;
    return n;
}

int32_t expandedMethod(const char* text, CcBits* bits, int32_t* variableBits) {
    const size_t length = std::strlen(text);
    *variableBits = -1;
    // Weights in kilograms or pounds with the GTIN, nothing else.
    if (weightGtin(text, length, 26) && length == 26 && digitsAt(text, 16, 10)) {
        const int32_t weight = number(text, 20, 6);
        if (startsAt(text, 16, "3103") && weight < 32768) {
            bits->put(0b0100, 4);
            putGtin12(text, bits);
            bits->put(static_cast<uint32_t>(weight), kWeightBits);
            return static_cast<int32_t>(length);
        }
        if ((startsAt(text, 16, "3202") && weight <= 9999) ||
            (startsAt(text, 16, "3203") && weight < 22768)) {
            bits->put(0b0101, 4);
            putGtin12(text, bits);
            bits->put(static_cast<uint32_t>(text[19] == '3' ? weight + 10000 : weight),
                      kWeightBits);
            return static_cast<int32_t>(length);
        }
    }
    // Weights of 310x or 320x with or without a date of 11, 13, 15 or 17.
    if (weightGtin(text, length, 26) && (length == 26 || length == 34) &&
        (startsAt(text, 16, "310") || startsAt(text, 16, "320")) && digitsAt(text, 19, 7) &&
        number(text, 20, 6) <= 99999) {
        int32_t dateKind = 0;
        bool dated = false;
        if (length == 34 && digitsAt(text, 26, 8)) {
            const char* dateAis[] = {"11", "13", "15", "17"};
            for (int32_t k = 0; k < 4; ++k)
                if (startsAt(text, 26, dateAis[k])) {
                    dateKind = k;
                    dated = true;
                }
        }
        if (length == 26 || dated) {
            constexpr uint32_t kMethodBase = 0b0111000;
            bits->put(kMethodBase + 2 * dateKind + (text[17] == '2'), 7);
            putGtin12(text, bits);
            putWide(bits, static_cast<uint32_t>((text[19] - '0') * 100000 + number(text, 20, 6)),
                    kWeight20Bits);
            bits->put(static_cast<uint32_t>(dated ? dateValue(text, 28) : kNoDate), kDateBits);
            return static_cast<int32_t>(length);
        }
    }
    // Prices with the currency left out or given.
    if (weightGtin(text, length, 21) && startsAt(text, 16, "392") && text[19] >= '0' &&
        text[19] <= '3') {
        bits->put(0b01100, 5);
        *variableBits = bits->count;
        bits->put(0, 2);
        putGtin12(text, bits);
        bits->put(static_cast<uint32_t>(text[19] - '0'), kPriceBits);
        return 20;
    }
    if (weightGtin(text, length, 24) && startsAt(text, 16, "393") && text[19] >= '0' &&
        text[19] <= '3' && digitsAt(text, 20, 3)) {
        bits->put(0b01101, 5);
        *variableBits = bits->count;
        bits->put(0, 2);
        putGtin12(text, bits);
        bits->put(static_cast<uint32_t>(text[19] - '0'), kPriceBits);
        bits->put(static_cast<uint32_t>(number(text, 20, 3)), kCurrencyBits);
        return 23;
    }
    // Any GTIN: its 13 digits without the check digit.
    if (length >= 16 && startsAt(text, 0, "01") && digitsAt(text, 2, 14)) {
        bits->put(1, 1);
        *variableBits = bits->count;
        bits->put(0, 2);
        bits->put(static_cast<uint32_t>(text[2] - '0'), 4);
        for (int32_t i = 0; i < kGtinDigits; i += 3)
            bits->put(static_cast<uint32_t>(number(text, 3 + i, 3)), 10);
        return 16;
    }
    bits->put(0b00, 2);
    *variableBits = bits->count;
    bits->put(0, 2);
    return 0;
}

int32_t symCharPat(uint8_t* elements, int32_t value, int32_t checksum, int32_t weight,
                   bool forward) {
    uint8_t widths[kExpCharElements];
    dataBarCharWidths(kGroups, value, kHalfElements, false, widths);
    // Element k weighs weight x 3^k.
    int32_t w = weight;
    for (int32_t k = 0; k < kExpCharElements; ++k) {
        checksum = (checksum + widths[k] * w) % kCheckModulus;
        w = w * 3 % kCheckModulus;
        elements[forward ? k : kExpCharElements - 1 - k] = widths[k];
    }
    return checksum;
}

int32_t RSS14Eenc(const char* data, uint8_t* elements, int32_t linkage, int32_t segments) {
    const int32_t bad = check2DData(data);
    const int32_t separator = isSymbolSepatator(data);
    if (bad >= 0 || separator > 0) {
        rssRefuse(
            "DataBar Expanded cannot encode a character of this data. It takes digits, letters "
            "and the punctuation of GS1 data.");
        return 0;
    }
    gRss.linFlag = 1;
    static CcBits bits;
    bits = CcBits{};
    const int32_t n = expandedBits(data, linkage, segments, &bits);
    if (n <= 0) {
        rssRefuse(
            "The data is too long for DataBar Expanded: it holds at most 21 characters of "
            "compacted data. Shorten it or split it over two symbols.");
        return 0;
    }
    const int32_t symbolChars = n + 1;
    const int8_t* sequence = kFinderSequences[(n - 2) / 2];
    int32_t checksum = 0;
    for (int32_t i = 0; i < (n + 2) / 2; ++i) {
        const int32_t f = sequence[i];
        const int32_t fw = f > 0 ? 2 * f : -2 * f + 1;
        uint8_t* pair = elements + i * kExpPairElements;
        if (i > 0)
            checksum = symCharPat(pair, getVal12(bits.bytes, 2 * i - 1), checksum,
                                  kStartWeights[2 * fw - 4], true);
        const uint8_t* finder = kFinders[(f > 0 ? f : -f) - 1];
        uint8_t* fp = pair + kExpCharElements;
        if (f > 0) {
            fp[0] = finder[0], fp[1] = finder[1], fp[2] = finder[2], fp[3] = 1, fp[4] = 1;
        } else {
            fp[0] = 1, fp[1] = 1, fp[2] = finder[2], fp[3] = finder[1], fp[4] = finder[0];
        }
        if (2 * i < n)
            checksum = symCharPat(fp + kFinderElements, getVal12(bits.bytes, 2 * i), checksum,
                                  kStartWeights[2 * fw - 3], false);
    }
    symCharPat(elements, kCheckModulus * (n - 3) + checksum, 0, 1, true);
    return symbolChars;
}

bool couponHeader(const char* data) {
    // Other data would be read as another element string, not as a coupon.
    constexpr std::string_view kCouponIdentifier = "8110";
    constexpr size_t kLengthDigit = kCouponIdentifier.size();
    constexpr int32_t kMaxLengthDigit = 6;
    constexpr int32_t kPrefixBase = 6;  // the company prefix has digit + 6 digits
    constexpr int32_t kOfferDigits = 6;
    const size_t length = std::strlen(data);
    if (std::string_view(data).substr(0, kLengthDigit) != kCouponIdentifier) return false;
    if (length <= kLengthDigit || data[kLengthDigit] < '0' ||
        data[kLengthDigit] > '0' + kMaxLengthDigit)
        return false;
    const int32_t d = data[kLengthDigit] - '0';
    const size_t prefixAt = kLengthDigit + 1;
    const size_t offerAt = prefixAt + static_cast<size_t>(d + kPrefixBase);
    if (length < offerAt + kOfferDigits) return false;
    std::string header(data + prefixAt, static_cast<size_t>(d + kPrefixBase));
    header += '-';
    header.append(data + offerAt, kOfferDigits);
    if (!copyBounded(gData.chHeadCode, header.c_str())) return false;
    gData.len3 = static_cast<int32_t>(header.size());
    return true;
}

namespace {

// Between two rows of a stacked symbol: light 5, single modules from dark, and
// light at the end, across the full width.
void printMiddleSeparator(const RssParams& params, int32_t width) {
    PrintRow sep;
    sep.whtFirst = true;
    sep.height = params.sepHt * params.pixMult;
    const int32_t end = width % 2 ? kSeparatorLight : kSeparatorLight - 1;
    int32_t n = 0;
    sep.elements[n++] = kSeparatorLight;
    for (int32_t i = 0; i < width - kSeparatorLight - end; ++i) sep.elements[n++] = 1;
    sep.elements[n++] = static_cast<uint8_t>(end);
    sep.elmCnt = n;
    printElmnts(params, sep);
}

// The segments per row of a stacked symbol: an even number from 2 to 20; 0,
// the symbol refused, for any other count, rather than a symbol of another
// shape than the one asked for.
int32_t stackedSegments(int32_t asked) {
    if (asked >= kExpMinSegments && asked <= kExpMaxSegments && asked % 2 == 0) return asked;
    rssRefuse(
        "DataBar Expanded Stacked takes an even number of segments per row from 2 to 20 as its "
        "options, for example 4 or 6; empty options give 4. Correct the options and try again.");
    return 0;
}

}  // namespace

void RSSExp(RssParams& params) {
    const bool stacked = gSym.variation1 == 6 || gSym.variation1 == 7;
    const int32_t s = stacked ? stackedSegments(params.segWidth) : params.segWidth;
    if (s == 0) return;
    char* component = std::strchr(params.data, '|');
    if (component != nullptr) *component++ = 0;
    if (!linearPresent(params.data, "its element strings") || !componentPresent(component)) return;
    if (component != nullptr && s < kExpCompositeMinSegments) {
        rssRefuse("Composite must be at least 4 segments wide");
        return;
    }
    if (gSym.variation1 == 7 && gSym.human == 1 && !couponHeader(params.data)) {
        rssRefuse(
            "The coupon data must begin with (8110), a length digit from 0 to 6, the company "
            "prefix and the offer code.");
        return;
    }
    static uint8_t elements[kExpMaxElements];
    const int32_t chars = RSS14Eenc(params.data, elements, component != nullptr, s);
    if (chars == 0) return;
    gRss.stackrows[0] = 0;
    if (component != nullptr) {
        const int32_t rows = CC4enc(component);
        if (rows == 0 || gRss.errFlag) return;
        gRss.stackrows[0] = rows;
        for (int32_t r = 0; r < rows; ++r) {
            PrintRow row;
            row.elmCnt = kCcMaxRowElements;
            std::memcpy(row.elements, gCc.ccPattern[r], kCcMaxRowElements);
            row.whtFirst = true;
            row.height = kCcRowHeight * params.pixMult;
            // The component's left row address stands over the linear row's
            // dark guard, one module in from its edge.
            row.offset = kCcComponentOffset;
            printElmnts(params, row);
        }
    }
    const int32_t wide = chars < s ? chars : s;
    const int32_t width = (wide / 2) * 49 + (wide % 2) * 32 + 4;
    const int32_t rowElements = (s / 2) * kExpPairElements + (s % 2) * kLastCharElements;
    const int32_t allElements = (chars / 2) * kExpPairElements + (chars % 2) * kLastCharElements;
    int32_t r = 0;
    for (int32_t rowNumber = 0;; r += s, ++rowNumber) {
        const bool last = r >= chars - s;
        const int32_t start = (r / 2) * kExpPairElements + (r % 2) * kExpCharElements;
        PrintRow row;
        row.elmCnt = last ? allElements - start : rowElements;
        std::memcpy(row.elements, elements + start, static_cast<size_t>(row.elmCnt));
        row.guards = true;
        row.height = kRowHeight * params.pixMult;
        // Rows begin with a pair: its finder follows the left character.
        for (int32_t at = kExpCharElements; at < row.elmCnt; at += kExpPairElements)
            row.finderAt[row.finderCount++] = at;
        row.whtFirst = (r / 2) % 2 == 0;
        row.reverse = ((r / 2) % 2 == 1) != (rowNumber % 2 == 1);
        // A last row that would be reversed but has an odd number of elements is
        // written forwards, one module to the right, as the standard lays it out.
        const bool shifted = last && row.reverse && row.elmCnt % 2 == 1;
        if (shifted) row.reverse = false;
        if (shifted) row.offset = 1;
        if (rowNumber > 0) printMiddleSeparator(params, width);
        if (rowNumber > 0 || component != nullptr) printElmnts(params, cnvSeparator(params, row));
        printElmnts(params, row);
        if (last) break;
        printElmnts(params, cnvSeparator(params, row));
    }
    // The printed text is the data as typed, without the composite part.
    char* bar = std::strchr(gData.chMainCode2, '|');
    if (bar != nullptr) *bar = 0;
    gData.len11 = static_cast<int32_t>(std::strlen(gData.chMainCode2));
}
