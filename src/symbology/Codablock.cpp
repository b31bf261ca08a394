// Codablock F: the data stacked ten characters a row, each row a Code 128
// symbol of its own (START A, CODE B, ten characters, check character, STOP).
#include <cstring>

#include "symbology/Code128.h"
#include "symbology/encoders.h"
#include "symbology/state.h"

namespace {

constexpr int32_t kRowChars = 10;
constexpr int32_t kMinRows = 2;
constexpr int32_t kMaxRows = 44;  // the symbology's own limit
constexpr int32_t kMaxData = kRowChars * kMaxRows - 3;
constexpr int32_t kCheckModulus = 86;
constexpr unsigned char kFillerFirst = kCodeB;
constexpr unsigned char kFillerSecond = kCodeC;
constexpr int kQuietBytes = 7;

// The data bytes are symbol bytes read in code set B. Every row starts again in
// set B, so a byte that changes the set or the meaning of the next character
// (SHIFT, CODE A/B/C, FNC4 and their typed markers) would change characters in
// another row; like the bytes that are no symbol, it is refused.
bool encodable(unsigned char b) {
    if (b >= 32 && b <= 127) return true;
    switch (b) {
        case kFNC1:
        case kFNC2:
        case kFNC3:
        case 218:  // typed FNC1, FNC2 and FNC3 of the check pass
        case 219:
        case 220:
            return true;
        default:
            return false;
    }
}

}  // namespace

int32_t CodaBlock(const char* data) {
    const int32_t n = static_cast<int32_t>(strnlen(data, kMainCodeSize - 1));
    if (n == 0) return refuse128(msg128::kEmpty);
    if (n > kMaxData) return refuse128(msg128::kCodablockTooLong);

    // The stream: data, filler, K1 and K2; copied first, as data may be chMainCode.
    unsigned char stream[kRowChars * kMaxRows];
    int32_t k1 = 0;
    int32_t k2 = 0;
    for (int32_t i = 0; i < n; ++i) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        if (!encodable(b)) return refuse128(msg128::kCodablockChar);
        stream[i] = b;
        k1 = (k1 + b * (i + 1)) % kCheckModulus;
        k2 = (k2 + b * i) % kCheckModulus;
    }
    int32_t rows = kMinRows;
    while (kRowChars * rows - 3 < n) ++rows;
    const int32_t total = kRowChars * rows;
    for (int32_t i = n; i <= total - 3; ++i)
        stream[i] = (i - n) % 2 == 0 ? kFillerFirst : kFillerSecond;
    stream[total - 2] = static_cast<unsigned char>(k1 + 32);
    stream[total - 1] = static_cast<unsigned char>(k2 + 32);

    gEl.clear();
    for (int32_t r = 0; r < rows; ++r) {
        char* row = gData.chMainCode;
        row[0] = static_cast<char>(kStartA);
        row[1] = static_cast<char>(kCodeB);
        std::memcpy(row + 2, stream + r * kRowChars, kRowChars);
        row[2 + kRowChars] = 0;
        gData.len1 = 2 + kRowChars;
        OTE();
        for (int i = 0; i < kQuietBytes; ++i) gEl.put(';');
        C128Symbols();
        for (int i = 0; i < kQuietBytes; ++i) gEl.put(';');
        gEl.put(13);
    }
    return gEl.overflow ? 1 : 0;
}
