// The 2 of 5 family: Interleaved 2 of 5 with its shipping and retail forms,
// ITF-6, and the discrete forms (industrial 2 of 5, IATA, Matrix 2 of 5).
#pragma once

#include <cstdint>

// The wide-to-narrow ratio that `ratio` and the magnification `Siz` select:
// 0, 2, 3 or 5 as given; any other value (-1, "by size") by the magnification,
// so that a symbol always has wide elements.
int32_t wideRatio(int32_t ratio, double siz);
// Appends one wide bar or wide space at that ratio; BW goes on a bar's last byte.
void doWideRatioB();
void doWideRatioS();

// Variant 2 ("Next"): the first character becomes two digits (a letter its
// place from 11 for 'A', a digit with a leading 0), the data one longer.
void DoNextCode(char* data, int32_t* len);
