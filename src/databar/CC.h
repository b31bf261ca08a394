// Composite components CC-A and CC-B (ISO/IEC 24723) and the general-purpose
// compaction that DataBar Expanded shares.
//
// A component is built from its text (after the AI filter: '#' is FNC1) into
// ccPattern, one row of element widths per symbol row, light first, no guards;
// the caller writes each row with printElmnts, kCcRowHeight modules high, and
// the separator of the linear row under it. The row address patterns, the
// four-column rows and the CC-B sizes of four columns are MicroPDF417's.
#pragma once

#include <cstdint>

constexpr int32_t kCcMaxRows = 44;
constexpr int32_t kCcMaxRowElements = 53;  // four columns
constexpr int32_t kCcRowElements2 = 31;    // two columns
constexpr int32_t kCcRowElementsA3 = 39;   // three columns, CC-A
constexpr int32_t kCcRowElementsB3 = 45;   // three columns, CC-B
constexpr int32_t kCcRowHeight = 2;        // modules
constexpr int32_t kCcMaxBits = 1184;       // the largest bit string
constexpr int32_t kCcMaxBytes = kCcMaxBits / 8;
constexpr int32_t kCcMaxCodewords = 176;  // 4 columns by 44 rows

struct CcState {
    uint8_t ccPattern[kCcMaxRows][kCcMaxRowElements] = {};
    int32_t rows = 0;         // rows of the last component built
    int32_t rowElements = 0;  // elements of each of its rows
    bool ccb = false;         // CC-B rather than CC-A
};
extern CcState gCc;

// Encode the component text over 2, 3 or 4 columns into ccPattern. The result
// is the number of rows; 0 on an error (the user has been told, errFlag is 1).
int32_t CC2enc(const char* text);
int32_t CC3enc(const char* text);
int32_t CC4enc(const char* text);

// Index of the first character outside the composite character set, or -1.
int32_t check2DData(const char* text);

// A bit string, most significant bit first, that refuses to grow past
// kCcMaxBits.
struct CcBits {
    uint8_t bytes[kCcMaxBytes] = {};
    int32_t count = 0;
    bool failed = false;  // a write past the end was refused
    void put(uint32_t value, int32_t n);
};

// The unused bits of the smallest size that holds `used` bits, -1 when none does.
using CcUnusedBits = int32_t (*)(int32_t used);

// General-purpose compaction of text[from..] (numeric mode first, unless
// `alphanumericFirst`), with its end rules and padding up to the size that
// `unused` chooses. False when the data fits no size.
bool generalPurpose(const char* text, int32_t from, bool alphanumericFirst, CcBits* bits,
                    CcUnusedBits unused);
