// Painting a linear symbol into the current QuickDraw port: the bars through
// gHooks.bar_ptr, the human-readable text through gHooks.text_ptr and
// gHooks.drawstring_ptr. Lengths are whole output units: points on a label,
// hundredths of a millimetre in a single symbol's picture.
#pragma once

#include <cstdint>

// textHeight: the text line's size in output units, also the unit of guard
// drops, add-on rises and four-state bands. top: the top of the bars' area.
// boxWidth and left: the symbol's box. margin: inset plus bearer. fineUnits:
// 0 points, 1 hundredths of a millimetre. availHeight and spare are not read.
void DrawPictBarcode(int32_t textHeight, int32_t top, int32_t availHeight, int32_t boxWidth,
                     int32_t left, int32_t spare, int32_t margin, int32_t fineUnits);
// One bar of an ordinary linear symbol, x and width in output units.
void DrawBlockPict2(int32_t x, int32_t width, int32_t textHeight, int32_t left, int32_t y,
                    int32_t drop, int32_t rise, int32_t textLine, int32_t margin, int32_t barHeight,
                    double scale);
// One band of a four-state or two-height bar.
void DrawMultiLineBlockPict2(int32_t x, int32_t width, int32_t textHeight, int32_t left, int32_t y,
                             int32_t drop, int32_t rise, int32_t textLine, int32_t margin,
                             int32_t barHeight);

// The drawing hooks' targets while a picture is drawn: one character in the
// font its code type sets it in (returns its advance correction), and a run of
// characters in the current font.
int32_t getCharacterOutPict(const unsigned char* text, int32_t x, int32_t y);
void getStringOutPict(const unsigned char* text, int32_t x, int32_t y, int32_t count);

// The working values of one DrawPictBarcode call, shared with its text.
struct LinearFrame {
    int32_t textHeight = 0, top = 0, boxWidth = 0, left = 0, margin = 0, fineUnits = 0;
    int32_t H = 0;      // bar height, output units
    double s = 1;       // output units per point
    double u = 1;       // micrometres per output unit
    double m = 1;       // magnification
    int32_t q = 0;      // left quiet zone, micrometres at 100 %
    double wf = 1;      // the code type's element width factor
    int32_t Y = 0;      // running top
    int32_t TL = 0;     // text line height
    int32_t addOn = 0;  // x of the first raised bar, micrometres at 100 %
    bool addOnFound = false;
    int32_t rise = 0;  // rise of the last bar painted
};

// Whether the code type carries a header line above its bars.
bool headerCarrying();
// The header above the bars; moves Y down past it.
void drawPictHeader(LinearFrame& f);
// The text under (or above) the bars, the add-on digits and the light-margin markers.
void drawPictHumans(LinearFrame& f);
