// GS1 DataBar-14: Omnidirectional, Truncated, Stacked and Stacked
// Omnidirectional, each optionally topped by a CC-A or CC-B composite component.
// The entries RSS14, RSS14S and RSS14SO are declared with the driver (RSSENC.h).
#pragma once

#include <cstdint>

#include "databar/RSSENC.h"

constexpr int32_t kRss14Elements = 42;     // the symbol without its guards
constexpr int32_t kRss14RowElements = 21;  // one row of a stacked member
constexpr int32_t kRss14MaxDigits = 13;

// The 42 element widths of the 13 digits (exactly 13, '0' to '9'); linkage 1
// when a composite component goes with the symbol.
void RSS14enc(const char* digits13, uint8_t* elements, int32_t linkage);

// The separator row between the two rows of DataBar Stacked (static storage,
// valid until the next call).
const PrintRow& separator14S(const RssParams& params, const uint8_t* elements);
