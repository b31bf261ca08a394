// Element widths: the byte conventions of the element list.
#pragma once

#include <cstdint>

constexpr int32_t kNoElement = 111;  // charToWidth of a byte that is no element
constexpr unsigned char kRowEnd = 13;
constexpr unsigned char kDarkModule = 190;
constexpr unsigned char kLightModule = 59;

// Width in micrometres at 100 %: positive bar, negative space, kNoElement otherwise.
int32_t charToWidth(unsigned char b);
// charToWidth of every byte for the current code type, for loops over a list.
const int32_t* elementWidths();
// Width of byte b of a bar row as the painters read it: a bar thinned by the
// bar-font step BW carries the step on its last byte, which reads as no element
// in `widths`; that byte counts as the bar it was made from.
int32_t barRowWidth(const int32_t* widths, unsigned char b);
// How far bar number `bar` (from 1) reaches below the ordinary bars.
double CheckDrop(int32_t bar, int32_t unit);
// How far bar number `bar` starts below the top of the ordinary bars.
int32_t CheckTopDrop(int32_t bar, int32_t unit);

// Where painters start on the bar rows of a linear symbol. The first row is
// passed over when it is followed by a second bar row; a symbol low enough to
// have a single row is painted from that row, so it never loses its bars.
int32_t linearPaintStart(const unsigned char* list, int32_t length);
// Where the text row starts: behind the last row end of the list, -1 when there
// is none.
int32_t textRowStart(const unsigned char* list, int32_t length);

// Small EAN has no bars: its one row is its digits set in the bar font between
// wide spaces, so that row is its human-readable line.
constexpr int32_t kSmallEanCode = 9;
// ITF-6 shows its digits from the header text: its list is bar rows only, and
// the last of them, which has no row end, is no text line.
constexpr int32_t kItf6Code = 14;
// The start of the current symbol's human-readable line in gEl (textRowStart,
// or 0 for Small EAN); the line ends at the next row end or the list's end.
int32_t symbolTextRowStart();
// The width of Small EAN's line in micrometres at 100 %: each digit a digit
// cell, each wide space half its width, as the line is set.
int32_t smallEanLineWidth();
