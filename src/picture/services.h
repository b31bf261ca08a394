// Services of the picture output that the vector writer uses: the text size of
// human-readable text, the Code 128 retail text line, a bounded Pascal-string
// append and the H-gauge width. (The import template is in labels/datafields.h.)
#pragma once

#include <cstddef>
#include <cstdint>

struct PictureServiceState {
    int32_t hWidth = 0;      // width of an H-gauge in points; 12 once a picture drew gauges
    int32_t textAboPos = 0;  // baseline of text set above the bars, output units
    int32_t cwid = 0;        // UPC-A: the bar font's '0' at the symbol's text size
    int32_t strwid = 0;      // UPC-A: the bar-font line of its text
    char sepText[256] = {};  // an import run's separate text (NUL-terminated)
};
extern PictureServiceState gPictServices;
void resetPictureServices();  // the drawing hooks too

// Sets the text size of the measuring port and of the current QuickDraw port to size and
// gVec.gCtexsize to n x Siz x 0.001 (a single-precision product).
void TextSizeGC(int16_t size, int32_t n);

// Appends n bytes to the Pascal string pstr. Bytes that would take it past 255
// characters are not stored; the result is false then.
bool cpstrcat2(unsigned char* pstr, const void* bytes, int32_t n);

// The 18-character human-readable line of the retail Code 128 variants. Mode 1
// writes it into the vector output: x and y in units of 1e-5 point, scale the
// magnification / 100. Mode 0 draws in the current port at plain sizes, mode 2
// at sizes and offsets times scale. A shorter text draws what it has.
void DrawMS128Text(const char* text, int32_t length, int32_t mode, int32_t x, int32_t y,
                   double scale);
