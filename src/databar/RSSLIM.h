// GS1 DataBar Limited, optionally topped by a three-column composite component.
// The entry RSSLim is declared with the driver (RSSENC.h).
#pragma once

#include <cstdint>

#include "databar/RSSENC.h"

constexpr int32_t kLimElements = 42;  // left, check and right character, no guards
constexpr int32_t kLimCharElements = 14;
constexpr int64_t kLimMaxValue = 1999999999999;  // GTINs whose first digit is 0 or 1

// The 42 element widths of the 13 digits; linkage 1 when a composite component
// goes with the symbol. 0 when the value is out of range, else 1.
int32_t RSSLimEnc(const char* digits13, uint8_t* elements, int32_t linkage);

// The separator row under a composite component: the complement of the row of
// elements with its guards, its ends light (static storage, valid until the
// next call).
const PrintRow& separatorLim(const RssParams& params, const uint8_t* elements);
