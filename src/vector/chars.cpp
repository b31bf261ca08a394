#include "vector/chars.h"

#include "vector/dialect.h"
#include "vector/emit.h"
#include "vector/shapes.h"
#include "vector/sink.h"
#include "vector/textobject.h"
#include "vector/textruns.h"

namespace {

// Points per glyph unit at 1 % of the two glyph sets.
constexpr double kGlyphUnit = 1.417233560090703e-5;     // 1 / 70560
constexpr double kGlyphUnit2 = 0.00011890606420927467;  // 1 / 8410

void setScale(int32_t s, double unit) {
    gVec.gCtexsize = gVec.gCtexsize2 = gVec.gCtexsizeX = s * 0.01;
    gVec.globHeight = s * unit;
}

// A glyph coordinate at the glyph scale, truncated toward zero to 1e-5 point,
// then moved to the origin.
int64_t place(int32_t g, int32_t origin) {
    return static_cast<int64_t>(g * gVec.globHeight * 100000) + origin;
}

void point(Emit& e, int32_t gx, int32_t gy, int32_t ox, int32_t oy) {
    e.f(place(gx, ox) * 1e-5).c(' ').f(place(gy, oy) * 1e-5);
}

}  // namespace

void SetDrawTxtSize(int32_t s) { setScale(s, kGlyphUnit); }
void SetDrawTxtSize2(int32_t s) { setScale(s, kGlyphUnit2); }

void pmoveto(Emit& e, int32_t gx, int32_t gy, int32_t ox, int32_t oy) {
    point(e, gx, gy, ox, oy);
    e.s(" m\r");
}

void plineto(Emit& e, int32_t gx, int32_t gy, int32_t ox, int32_t oy) {
    point(e, gx, gy, ox, oy);
    e.s(" l\r");
}

void pcurveto(Emit& e, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
              int32_t ox, int32_t oy) {
    point(e, x1, y1, ox, oy);
    e.c(' ');
    point(e, x2, y2, ox, oy);
    e.c(' ');
    point(e, x3, y3, ox, oy);
    e.s(" c\r");
}

void pmoveto(int32_t gx, int32_t gy, int32_t ox, int32_t oy) {
    closePdfText();  // path operators may not stand in a PDF text object
    Emit e;
    pmoveto(e, gx, gy, ox, oy);
}

void plineto(int32_t gx, int32_t gy, int32_t ox, int32_t oy) {
    closePdfText();
    Emit e;
    plineto(e, gx, gy, ox, oy);
}

void pcurveto(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t ox,
              int32_t oy) {
    closePdfText();
    Emit e;
    pcurveto(e, x1, y1, x2, y2, x3, y3, ox, oy);
}

void pfill() {
    closePdfText();
    writeRaw("f\r", 2);
}

void pcolourwhite() { writeRaw("0 0 0 0 k\r", 10); }

void pcolourafterwhite() {
    // _bc holds the colour the glyph is being shown in; code run outside a
    // glyph procedure has none to go back to.
    constexpr char kBack[] = "/_bc where { pop _bc aload pop k } if\r";
    if (dialect::type3()) writeRaw(kBack, sizeof kBack - 1);
}

void TextPositionAccurate(int32_t x, int32_t y) { openTextObject(x * 1e-5, y * 1e-5, true); }

void drawHGauge(int32_t n, int32_t ox, int32_t oy) {
    // Two uprights 900 units wide and 7077 high, 2d apart, joined by a crossbar
    // from 2910 to 3910 units.
    const int32_t d = (n + 1) * 50;
    const int32_t outline[][2] = {
        {2310 - d, 3910}, {2310 + d, 3910}, {2310 + d, 7077}, {3210 + d, 7077},
        {3210 + d, 0},    {2310 + d, 0},    {2310 + d, 2910}, {2310 - d, 2910},
        {2310 - d, 0},    {1410 - d, 0},    {1410 - d, 7077}, {2310 - d, 7077},
    };
    doColour(kColourFill);
    pmoveto(2310 - d, 7077, ox, oy);
    for (const auto& p : outline) plineto(p[0], p[1], ox, oy);
    pfill();
}
