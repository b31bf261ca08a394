// The bar of the row painters, and the DataBar painter that
// works from the symbol's own corner.
#pragma once

#include <cstdint>

// One bar of a module row: left edge x + left + margin, width at least one unit;
// its edges (top + y) and (bottom + margin), both lifted by the bearer's width
// times scale. unit, rise and barHeight are not read.
void DrawBlockPict3(int32_t x, int32_t width, int32_t unit, int32_t left, int32_t y, int32_t rise,
                    int32_t top, int32_t bottom, int32_t margin, int32_t barHeight, double scale);
// DrawRSSStackedPC relative to the symbol's corner: x and y are not added.
void DrawRSSStackedPC2(int32_t x, int32_t y, int32_t u, double s, int32_t a, int32_t b, int32_t c,
                       int32_t frameWidth);
