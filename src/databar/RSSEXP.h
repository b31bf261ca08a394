// GS1 DataBar Expanded and Expanded Stacked, optionally topped by a four-column
// composite component. The entry RSSExp is declared with the driver (RSSENC.h).
#pragma once

#include <cstdint>

#include "databar/CC.h"
#include "databar/RSSENC.h"

constexpr int32_t kExpMaxDataChars = 21;
constexpr int32_t kExpMaxSymbolChars = kExpMaxDataChars + 1;
constexpr int32_t kExpCharElements = 8;
constexpr int32_t kExpPairElements = 21;  // left character, finder, right character
constexpr int32_t kExpMaxElements = (kExpMaxSymbolChars / 2) * kExpPairElements;
constexpr int32_t kExpMinSegments = 2;
constexpr int32_t kExpMaxSegments = 20;
constexpr int32_t kExpCompositeMinSegments = 4;

// The element widths of the data (after the AI filter, '#' for FNC1) into
// elements (room for kExpMaxElements); linkage 1 when a composite component
// goes with the symbol; segments the characters per row. The number of symbol
// characters, 0 when the data cannot be encoded (the user has been told).
int32_t RSS14Eenc(const char* data, uint8_t* elements, int32_t linkage, int32_t segments);

// Writes the 8 widths of one character of value at elements (forward: odd set
// at the even places; otherwise mirrored) and returns checksum with the
// character's weighted widths added, modulo 211.
int32_t symCharPat(uint8_t* elements, int32_t value, int32_t checksum, int32_t weight,
                   bool forward);

// The k-th 12-bit value of a bit string, most significant bit first.
int32_t getVal12(const uint8_t* bits, int32_t k);

// The position of the first '^' in text, 0 when there is none.
int32_t isSymbolSepatator(const char* text);

// The encodation method and its compressed data at the head of the Expanded bit
// string, behind the linkage bit: appends them to bits and returns the index of
// the first character left to general-purpose compaction. *variableBits
// receives the place of the two variable-length bits, -1 for methods without them.
int32_t expandedMethod(const char* text, CcBits* bits, int32_t* variableBits);

// The data characters that hold `bits` bits with `segments` characters per
// row: whole 12-bit characters, at least 3, one more when the last row would
// hold a single character. Past kExpMaxDataChars the bits are too many.
int32_t expandedDataChars(int32_t bits, int32_t segments);

// The coupon header above a coupon symbol: the company prefix, "-" and the
// offer code from the data. False when the data is no coupon (application
// identifier 8110) or does not hold them.
bool couponHeader(const char* data);
