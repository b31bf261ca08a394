// Rows and the human-readable line of the linear symbols.
//
// A linear encoder writes the element bytes of its first row into gEl (nothing
// else may stand in the list yet), then calls Vector(rowUnit), which ends that
// row with 13 and repeats it until the rows reach the bar height, and then
// Humans1(), which appends the human-readable line behind the last row. The
// list is bounded: Vector leaves room for the text line and never writes a
// partial row; anything that still does not fit marks gEl.overflow, which the
// dispatcher reports.
//
// The EAN, UPC, ISBN and ISSN symbols have their own row and text builders
// (Vector2..Vector5, Humans2, Humans22, Humans222, Humans3, Humans4), because
// their text builders count back from fixed byte positions in the rows.
#pragma once

#include <cstdint>

// The height of one row (one line of the bar font) at 100 %, micrometres.
constexpr int32_t kRowUnit10pt = 3527;
constexpr int32_t kRowUnit20pt = 7055;
constexpr int32_t kRowUnit5pt = 1763;

struct RowState {
    // Only [0] is used: the index in chNum of the first byte of the last bar of
    // the first row, set by Vector (and by the Laetus encoder).
    int32_t glastbar[8] = {};
};
extern RowState gRows;

// Ends the first row (cu_len bytes) with 13 and repeats it up to the bar height
// Hei at magnification Siz; rowUnit in micrometres. Code type 14 ends without
// the final 13.
void Vector(int32_t rowUnit);
// Appends the human-readable line of the current code type behind the last row.
// Rewrites chMainCode/len1 for code types 4 and 24 (code type 37 prints the
// DataBar driver's chMainCode2) and the printed copy for
// code type 13, as their layouts need.
void Humans1();
// Whether Humans1 makes the text row of linear code type `code` the data as typed
// (with at most the '*', '-' or blank a variant adds): no gap or spacer byte
// stands in it, so each printable byte of it is a character of the line.
bool textRowIsTypedData(int32_t code);

// Appends n copies of the byte b (bounded like every append to gEl).
void putN(unsigned char b, int n);

// EAN family rows (the first row is laid out by EAN/EAN8/UPCE).
void Vector2(int32_t rowUnit);  // EAN-13, EAN-8, UPC-A: repeat to the bar height
void Vector3(int32_t rowUnit);  // EAN-13: the add-on digits row above the add-on
void Vector4(int32_t rowUnit);  // UPC-E: repeat to the bar height
void Vector5(int32_t rowUnit);  // UPC-E: the add-on digits row above the add-on

// EAN family text lines: mark the guard bars, then append the text.
void Humans2();    // EAN-13, ISBN, ISSN, ISMN
void Humans222();  // EAN-13 variants 2 and 9: a guard row, then the text
void Humans3();    // EAN-8 and code type 16
void Humans22();   // UPC-A: a guard row, then the text
void Humans4();    // UPC-E

// Provided by the Code 128 family: appends the M&S BEL check digit to the
// printed copy chMainCode2 and counts it in len11.
void MS_check2();
