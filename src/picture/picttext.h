// Text of barcode items in pictures: scaled text at sizes QuickDraw has no
// plain font for, spaced text, the text size of a barcode item, and the EAN and
// UPC digits set one by one. (The retail Code 128 line is DrawMS128Text, in
// picture/services.h.)
#pragma once

#include <cstdint>

// count characters of text with the pen at (x, y) (x -1000: where the pen is).
// factor = base x scale x 0.01 / size; mode 1 with factor 1 draws exactly at
// size. Magnifications of whole tens draw at a plain size by the code type;
// others scale by factor (vertically by mode: 0 the same, 1 1/1, 2 1/10, 3 2/1,
// 4 1/5).
void DrawScaledText(int32_t x, int32_t y, double base, double scale, const unsigned char* text,
                    int32_t count, double size, int32_t mode);
// count characters one at a time, spacing (points, may be fractional) between
// their starts; spacing 0 draws the run at once. showPen 0 hides the pen while
// drawing. Returns the width drawn.
int32_t DrawStyledText(const unsigned char* text, int32_t count, int32_t showPen, double spacing);
// The text size of the current barcode settings, points (0 for symbols with no
// text line); outSize receives it in millimetres.
int32_t GetBarcodeTextSize(double* outSize);
// The human-readable digits of an EAN or UPC symbol, character by character
// from the element list's text row, at the pen.
void PrintHumansEANUPC();
