#include "pdf417/pdf417_compact.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "platform/macroman.h"

namespace {

struct TextClass {
    uint8_t modes = 0;
    uint8_t value = 0;
};

// Text compaction values (ISO/IEC 15438). Characters of both Mixed and
// Punctuation count as Mixed only, so a comma latches rather than shifts.
constexpr const char kMixedChars[] = "\t\r#$%&*+,-./:=^";
constexpr uint8_t kMixedValues[] = {12, 11, 15, 18, 21, 10, 22, 20, 13, 16, 17, 19, 14, 23, 24};
constexpr const char kPunctChars[] = "\n!\"'();<>?@[\\]_`{|}~";
constexpr uint8_t kPunctValues[] = {15, 10, 20, 28, 23, 24, 0,  1,  2,  25,
                                    3,  4,  5,  6,  7,  8,  26, 21, 27, 9};
static_assert(sizeof(kMixedChars) - 1 == sizeof(kMixedValues));
static_assert(sizeof(kPunctChars) - 1 == sizeof(kPunctValues));

constexpr uint8_t kSpaceValue = 26;
constexpr uint8_t kLatchLower = 27;                     // also the Alpha shift from Lower
constexpr uint8_t kLatchMixed = 28;                     // also the latch back to Alpha from Mixed
constexpr uint8_t kShiftPunct = 29;                     // also the pad of an odd value count
constexpr uint8_t kByteShiftHigh = kPdfShiftByte / 30;  // 913 as a value pair
constexpr uint8_t kByteShiftLow = kPdfShiftByte % 30;

constexpr std::array<TextClass, 256> buildTextClasses() {
    std::array<TextClass, 256> t{};
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = {kPdfAlpha, static_cast<uint8_t>(c - 'A')};
    for (int c = 'a'; c <= 'z'; ++c) t[c] = {kPdfLower, static_cast<uint8_t>(c - 'a')};
    for (int c = '0'; c <= '9'; ++c) t[c] = {kPdfMixed, static_cast<uint8_t>(c - '0')};
    t[' '] = {kPdfAlpha | kPdfLower | kPdfMixed, kSpaceValue};
    for (size_t i = 0; i < sizeof(kMixedValues); ++i)
        t[static_cast<unsigned char>(kMixedChars[i])] = {kPdfMixed, kMixedValues[i]};
    for (size_t i = 0; i < sizeof(kPunctValues); ++i)
        t[static_cast<unsigned char>(kPunctChars[i])] = {kPdfPunct, kPunctValues[i]};
    return t;
}
constexpr std::array<TextClass, 256> kTextClasses = buildTextClasses();

void putValue(uint8_t v) {
    if (gPdf.curn >= kPdfTextValuesSize) {
        gPdf.overflow = true;
        return;
    }
    gPdf.out[gPdf.curn++] = v;
}

bool allDigits(const char* s) {
    if (*s == 0) return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9') return false;
    return true;
}

// A digit text as a number, held at cap once it passes it.
int32_t digitsValue(const char* s, int32_t cap) {
    int32_t v = 0;
    for (; *s; ++s) {
        v = v * 10 + (*s - '0');
        if (v > cap) return cap + 1;
    }
    return v;
}

constexpr int32_t kMaxSegmentIndex = 99998;
constexpr int32_t kMaxFileIdValue = 899;
constexpr int32_t kNoFileIdCodeword = 1;  // the file ID of a header without a second field

}  // namespace

void put_back(int32_t value) {
    if (gPdf.g_mode == 2) {
        if (gPdf.macrolen >= kPdfMacroSize) {
            gPdf.overflow = true;
            return;
        }
        gPdf.macrostr[gPdf.macrolen++] = value;
        return;
    }
    if (gPdf.codeindex >= kPdfListSize) {
        gPdf.overflow = true;
        return;
    }
    gPdf.datall[gPdf.codeindex++] = value;
}

void put_back_len(int32_t count) { gPdf.datall[0] = count; }

int32_t get_ctype(unsigned char c, int32_t* value) {
    *value = kTextClasses[c].value;
    return kTextClasses[c].modes;
}

namespace {

// Numeric compaction pays from 13 digits on; it takes 44 digits a group.
constexpr size_t kShortestNumericRun = 13;
constexpr size_t kNumericGroup = 44;

size_t digitRun(const unsigned char* data, size_t length, size_t i) {
    size_t n = 0;
    while (i + n < length && data[i + n] >= '0' && data[i + n] <= '9') ++n;
    return n;
}

// The text values so far as codewords, padded to a whole codeword.
void flushTextValues() {
    if (gPdf.curn % 2) putValue(kShiftPunct);
    for (int32_t i = 0; i + 1 < gPdf.curn; i += 2) put_back(gPdf.out[i] * 30 + gPdf.out[i + 1]);
    gPdf.curn = 0;
}

}  // namespace

void newtext_compress(const unsigned char* data, size_t length) {
    gPdf.curn = 0;
    int32_t mode = kPdfAlpha;
    for (size_t i = 0; i < length && !gPdf.overflow; ++i) {
        const size_t run = gPdf.numericRuns ? digitRun(data, length, i) : 0;
        if (run >= kShortestNumericRun) {
            flushTextValues();
            put_back(kPdfLatchNumeric);
            for (size_t k = 0; k < run; k += kNumericGroup) {
                char group[kNumericGroup + 1] = {};
                std::memcpy(group, data + i + k, std::min(kNumericGroup, run - k));
                nc(group);
            }
            i += run - 1;
            // Back to text compaction, which starts again in the Alpha sub-mode.
            if (i + 1 < length) put_back(kPdfPad);
            mode = kPdfAlpha;
            continue;
        }
        const unsigned char c = data[i];
        int32_t v = 0;
        const int32_t modes = get_ctype(c, &v);
        const auto value = static_cast<uint8_t>(v);
        if (modes & mode) {
            putValue(value);
        } else if (modes == kPdfPunct) {
            putValue(kShiftPunct);
            putValue(value);
        } else if (modes == kPdfMixed) {
            putValue(kLatchMixed);
            putValue(value);
            mode = kPdfMixed;
        } else if (modes == kPdfLower) {
            putValue(kLatchLower);
            putValue(value);
            mode = kPdfLower;
        } else if (modes == kPdfAlpha) {
            // From Mixed a latch back; from Lower a shift for one letter.
            if (mode == kPdfMixed) {
                putValue(kLatchMixed);
                mode = kPdfAlpha;
            } else {
                putValue(kLatchLower);
            }
            putValue(value);
        } else {
            // No sub-mode holds it: the byte travels behind a byte shift, which
            // must start a codeword of its own.
            if (gPdf.curn % 2) putValue(kShiftPunct);
            putValue(kByteShiftHigh);
            putValue(kByteShiftLow);
            putValue(static_cast<uint8_t>(c / 30));
            putValue(static_cast<uint8_t>(c % 30));
        }
    }
    flushTextValues();
}

void newbyte_compact(const unsigned char* data, size_t length) {
    if (length == 1) {
        put_back(kPdfShiftByte);
        put_back(data[0]);
        return;
    }
    put_back(length % 6 == 0 ? kPdfLatchByte6 : kPdfLatchByte);
    size_t i = 0;
    for (; i + 6 <= length; i += 6) {
        uint64_t v = 0;
        for (size_t j = 0; j < 6; ++j) v = v << 8 | data[i + j];
        int32_t digits[5];
        for (int k = 4; k >= 0; --k) {
            digits[k] = static_cast<int32_t>(v % 900);
            v /= 900;
        }
        for (int32_t d : digits) put_back(d);
    }
    for (; i < length; ++i) put_back(data[i]);
}

void get_dataText(const unsigned char* data, size_t length) {
    if (length == 0) return;
    if (gPdf.ByteComp == 1)
        newbyte_compact(data, length);
    else
        newtext_compress(data, length);
}

void numeric_compact(const char* text) {
    constexpr size_t kMaxDigits = 46;
    uint8_t digits[kMaxDigits];
    size_t n = 0;
    for (; text[n] && n < kMaxDigits; ++n) digits[n] = static_cast<uint8_t>(text[n] - '0');
    // Long division by 900 gives the base-900 digits, least significant first.
    int32_t result[16];  // 10^46 < 900^16
    int32_t count = 0;
    size_t first = 0;
    while (first < n && digits[first] == 0) ++first;
    while (first < n) {
        int32_t rem = 0;
        for (size_t i = first; i < n; ++i) {
            const int32_t cur = rem * 10 + digits[i];
            digits[i] = static_cast<uint8_t>(cur / 900);
            rem = cur % 900;
        }
        result[count++] = rem;
        while (first < n && digits[first] == 0) ++first;
    }
    if (count == 0) result[count++] = 0;
    for (int32_t i = count - 1; i >= 0; --i) put_back(result[i]);
}

void nc(const char* digits) {
    char text[46];
    std::snprintf(text, sizeof text, "1%.44s", digits);
    numeric_compact(text);
}

void doPads(int32_t count, int32_t ecCount, int32_t controlLength) {
    const int32_t pads =
        (gPdf.number_of_columns - 2) * gPdf.number_of_rows - ecCount - count - controlLength;
    for (int32_t i = 0; i < pads; ++i) put_back(kPdfPad);
}

int32_t NumFields(const char* text, char delimiter) {
    int32_t n = 1;
    for (; *text; ++text)
        if (*text == delimiter) ++n;
    return n;
}

void NthField(const char* text, char* dest, size_t destSize, char delimiter, int32_t n) {
    for (int32_t i = 1; i < n; ++i) {
        const char* next = std::strchr(text, delimiter);
        if (next == nullptr) break;  // fewer fields: the last one
        text = next + 1;
    }
    const char* end = std::strchr(text, delimiter);
    size_t len = end ? static_cast<size_t>(end - text) : std::strlen(text);
    if (destSize == 0) return;
    if (len >= destSize) len = destSize - 1;
    std::memcpy(dest, text, len);
    dest[len] = 0;
}

int32_t readMacroHeader(const unsigned char* data, size_t length, size_t* dataStart) {
    size_t p = 1;
    const bool last = length > 1 && data[1] == 'L';
    if (last) p = 2;
    const void* close = p < length ? std::memchr(data + p, '*', length - p) : nullptr;
    if (close == nullptr) return kPdfBadMacro;
    const size_t end = static_cast<size_t>(static_cast<const unsigned char*>(close) - data);
    const size_t headerLen = end - p;
    if (headerLen == 0 || headerLen >= kPdfFieldSize) return kPdfBadMacro;
    char header[kPdfFieldSize];
    std::memcpy(header, data + p, headerLen);
    header[headerLen] = 0;
    if (std::strlen(header) != headerLen) return kPdfBadMacro;  // a NUL inside

    // Field 1: the segment index, which every segment must carry.
    char field[kPdfFieldSize];
    NthField(header, field, sizeof field, ';', 1);
    if (!allDigits(field)) return kPdfBadMacro;
    const int32_t index = digitsValue(field, kMaxSegmentIndex);
    if (index > kMaxSegmentIndex) return kPdfBadMacro;

    gPdf.g_mode = 2;
    put_back(kPdfMacroBegin);
    char indexText[12];
    std::snprintf(indexText, sizeof indexText, "%05d", index);
    nc(indexText);

    // Field 2: the file ID, sub-fields separated by '\', each one codeword.
    if (NumFields(header, ';') == 1) {
        put_back(kNoFileIdCodeword);
    } else {
        NthField(header, field, sizeof field, ';', 2);
        const int32_t parts = NumFields(field, '\\');
        for (int32_t i = 1; i <= parts; ++i) {
            char sub[kPdfFieldSize];
            NthField(field, sub, sizeof sub, '\\', i);
            if (sub[0] == 0) continue;
            if (!allDigits(sub)) {
                gPdf.g_mode = 0;
                return kPdfBadMacro;
            }
            const int32_t value = digitsValue(sub, kMaxFileIdValue);
            put_back(value > kMaxFileIdValue ? kMaxFileIdValue : value);
        }
    }
    if (last) put_back(kPdfMacroLast);
    gPdf.g_mode = 0;
    *dataStart = end + 1;
    return kPdfOk;
}

int32_t pdfDataCodewords(unsigned char* data, size_t length) {
    gPdf.codeindex = 0;
    gPdf.macrolen = 0;
    gPdf.curn = 0;
    gPdf.g_mode = 0;
    gPdf.overflow = false;
    size_t start = 0;
    if (length > 0 && data[0] == '*') {
        const int32_t r = readMacroHeader(data, length, &start);
        if (r != kPdfOk) return r;
    }
    put_back(0);  // the length descriptor's place
    // Latin-1 with no ECI when it holds every character, else UTF-8 under ECI 26.
    const platform::SymbolBytes text = platform::macRomanToSymbolBytes(
        std::string_view(reinterpret_cast<const char*>(data + start), length - start));
    if (text.utf8) {
        put_back(kPdfECI);
        put_back(platform::kEciUtf8);
    }
    get_dataText(reinterpret_cast<const unsigned char*>(text.bytes.data()), text.bytes.size());
    return gPdf.overflow ? kPdfTooLarge : kPdfOk;
}
