// GS1 application identifiers: the element chain typed as "(01)...(10)..." is
// cut into its elements, a separator byte follows every variable-length element
// that has more data behind it, missing check digits of AIs 00, 01 and 02 are
// completed (GS1-128 only) and the parentheses are removed. Used by GS1-128 and
// the DataBar family.
#pragma once

#include <cstdint>

constexpr uint16_t kMsgGS1TooLong = 1210;  // message of list 136
constexpr int32_t kAIBufferSize = 255;     // the work buffer; the output stays below it

// Rewrites chMainCode/len1 from index `start`. 0 done; 1 refused because the
// result would not fit the work buffer (message shown; nothing is encoded).
int32_t EAN_APP_ID_FILTER(uint32_t start, uint8_t separator);
// The same without a message; false when refused.
bool aiFilter(uint32_t start, uint8_t separator);

// GS1 modulo-10 check digit of `digits`, whose check position is index n - 1.
char calcheck2(const char* digits, int32_t n);
