// Bar rectangles and module squares: one closed rectangle path per bar, four-state
// bar, row run or module, in the path syntax of the dialect; with them the
// fixed-point helper padToLen, the text line above a symbol and the left quiet zone.
#pragma once

#include <cstdint>
#include <limits>

struct BlockState {
    double gxyy = 0;  // vertical offset (points) added to both edges of linear bars
};
extern BlockState gBlock;
void resetBlockState();

// x and w in units of 1e-5 point; the other lengths in points.
// One bar of a linear symbol, filled.
void DrawBlock(int32_t x, int32_t w, double T, double inset, int32_t textY, double drop,
               double rise, double top, int32_t left, int32_t baseY);
// How tall DrawBlock paints that bar (points); zero or less when the text
// height and the header leave it no room.
double linearBarHeight(double T, double inset, double drop, double rise, double top);
// Its stroked outline.
void DrawBlockg(int32_t x, int32_t w, double T, double inset, int32_t textY, double drop,
                int32_t rise, int32_t top, int32_t left, int32_t baseY);
// One bar of a four-state or two-height code, filled / stroked.
void DrawMultiLineBlock(int32_t x, int32_t w, int32_t T, int32_t inset, int32_t textY, int32_t drop,
                        int32_t rise, int32_t top, int32_t left, int32_t baseY);
void DrawMultiLineBlockg(int32_t x, int32_t w, int32_t T, int32_t inset, int32_t textY,
                         int32_t drop, int32_t rise, int32_t top, int32_t left, int32_t baseY);
// One run of a module row; nothing for a zero width or height.
void DrawBlock2(int32_t x, int32_t w, int32_t T, int32_t inset, int32_t rowY, double drop,
                double rowTop, double rowBottom, int32_t left, int32_t baseY);
// One square module of a block-letter symbol; quarter and y in units of 1e-5
// point. It is widened to `wide` and raised to upTo (units of 1e-5 point from
// the base) where they are more, so that it meets its dark neighbours.
void Draw2DBlock(int32_t x, int32_t w, double quarter, int32_t offset, double y, double drop,
                 double rise, double top, int32_t wide = 0,
                 double upTo = -std::numeric_limits<double>::infinity());

// The bars and modules painted between startBarRecord and stopBarRecord: their
// bounding box in page points (y up), `any` false when none was painted.
struct PaintedBars {
    double left = 0, lower = 0, right = 0, upper = 0;
    bool any = false;
};
void startBarRecord();
PaintedBars stopBarRecord();

// Pads the numeric Pascal string s with leading '0' to n characters, a leading
// '-' staying in front; longer strings are left alone. n is at most 255.
void padToLen(unsigned char* s, int32_t n);
// y (points) of a text line above the symbol: a = line + inset, t = text height.
double GetTextPosAboveCode(double a, double t);
// The left quiet zone: the widths of the leading spaces of chNum, micrometres at 100 %.
int32_t getLeftMarginEPS();
