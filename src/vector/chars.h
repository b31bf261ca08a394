// The lowest layer of glyph drawing: the glyph scale, path operators that place
// glyph coordinates at a glyph origin, the white fill of glyph counters, the text
// matrix of one character set in a PostScript font, and the H-gauge mark.
// The glyph scales live in gVec (vector/sink.h).
#pragma once

#include <cstdint>

// s: text size in percent. gCtexsize, gCtexsize2 and gCtexsizeX become s / 100;
// globHeight the points per glyph unit: s / 70560, or s / 8410 for the second
// glyph set.
void SetDrawTxtSize(int32_t s);
void SetDrawTxtSize2(int32_t s);

// Glyph points (glyph units) placed at the origin (ox, oy) in units of 1e-5 point.
void pmoveto(int32_t gx, int32_t gy, int32_t ox, int32_t oy);
void plineto(int32_t gx, int32_t gy, int32_t ox, int32_t oy);
void pcurveto(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t ox,
              int32_t oy);
// The same into a piece of page code that the caller writes whole (a contour);
// the caller has closed any PDF text object.
class Emit;
void pmoveto(Emit& e, int32_t gx, int32_t gy, int32_t ox, int32_t oy);
void plineto(Emit& e, int32_t gx, int32_t gy, int32_t ox, int32_t oy);
void pcurveto(Emit& e, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
              int32_t ox, int32_t oy);
void pfill();
void pcolourwhite();
// Ends white text: in the Type 3 font, where no colour of the item's is written
// again, the glyph's own colour comes back; other dialects write the item's
// colour before what follows.
void pcolourafterwhite();

// Starts the text of one character at (x, y) in units of 1e-5 point, turned by
// the item rotation gVec.trans2.
void TextPositionAccurate(int32_t x, int32_t y);

// The H-shaped gauge mark of thickness step n at the origin (1e-5 point), filled
// in the current colour at the glyph scale in force.
void drawHGauge(int32_t n, int32_t ox, int32_t oy);
