#include "vector/shapes.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "symbology/state.h"
#include "vector/dialect.h"
#include "vector/emit.h"
#include "vector/pdf.h"
#include "vector/sink.h"
#include "vector/textruns.h"

ShapeState gShape;

void resetShapeState() { gShape = ShapeState{}; }

namespace {

int64_t trunc64(double v) { return static_cast<int64_t>(v); }

// Every shape starts with its line width, the first byte of its path code.
void width(Emit& e, double w) {
    e.flush();
    closePdfText();
    e.i(trunc64(w)).s(" w\r");
}

// "x y m\r" / "x y L\r" with truncated integers.
void intPoint(Emit& e, double x, double y, const char* op) {
    e.i(trunc64(x)).c(' ').i(trunc64(y)).s(op);
}
void realPoint(Emit& e, double x, double y, const char* op) { e.f(x).c(' ').f(y).s(op); }

const char* kMoveTo = " m\r";
const char* kCurveLine = " l\r";  // the segments of the filled bands

// The colour operator after the four numbers, or nullptr for the named forms of
// a spot colour, which writeColour writes. The press dialect has no named
// colour: the spot colour's process equivalent paints there, as nothing would
// leave the bars in whatever colour came before (the white background). PDF
// paints a spot colour through its page's Separation space (writeColour).
const char* colourOperator(int32_t mode, bool spot) {
    const int32_t ill = gOut.ill;
    if (dialect::pdf()) return mode == kColourStroke ? "K\r" : "k\r";
    if (spot && ill > 87) return nullptr;
    if (spot && ill == dialect::kPress && mode == kColourComment) return "";
    return mode == kColourStroke ? "K\r" : "k\r";
}

// In the current symbol's spot colour when it has one.
void writeColour(Emit& e, int32_t mode, int32_t c, int32_t m, int32_t y, int32_t k) {
    const bool spot = gSym.customColour == 1;
    const char* op = colourOperator(mode, spot);
    const bool named = spot && gOut.ill > 87 && !dialect::pdf();
    if (spot && dialect::pdf()) {
        if (const int32_t space = pdfSpotSpace(gSym.customCol, c, m, y, k); space >= 0) {
            // Full tint of the named plate.
            e.s("/CS").i(space).s(mode == kColourStroke ? " CS 1 SCN\r" : " cs 1 scn\r");
            return;
        }
    }
    e.colour(c).colour(m).colour(y).colour(k);
    if (named) {
        e.pstr(gSym.customCol);
        if (mode == kColourStroke)
            e.s(" 0 X\r");
        else if (mode == kColourComment)
            e.s("\r");
        else
            e.s(" 0 x\r");
    } else if (op[0] == 0) {
        e.pstr(gSym.customCol).s("\r");  // the comment line of the press dialect
    } else {
        e.s(op);
    }
}

void commentStart(Emit& e) {
    e.s("%%DocumentCustomColors: ").pstr(gSym.customCol).s("\r%%CMYKCustomColor: ");
}

// An oval through the four extreme points of the rectangle as four Bezier
// curves, starting at the middle of the left edge and running first towards
// `first`, then to the right edge and to `second`.
void ovalPath(Emit& e, double left, double first, double right, double second,
              const char* curveOp) {
    constexpr double kappa = 0.5522847498307936;  // 4/3 (sqrt 2 - 1)
    const double cx = (left + right) / 2, cy = (first + second) / 2;
    const double rx = (right - left) / 2, ry = (first - second) / 2;
    // Points at quarter turns: 0 left, 1 first, 2 right, 3 second; tangents
    // point along the direction of travel.
    const double px[4] = {left, cx, right, cx}, py[4] = {cy, first, cy, second};
    const double tx[4] = {0, rx, 0, -rx}, ty[4] = {ry, 0, -ry, 0};
    realPoint(e, left, cy, kMoveTo);
    for (int q = 0; q < 4; ++q) {
        const int n = (q + 1) % 4;
        e.f(px[q] + kappa * tx[q]).c(' ').f(py[q] + kappa * ty[q]).c(' ');
        e.f(px[n] - kappa * tx[n]).c(' ').f(py[n] - kappa * ty[n]).c(' ');
        e.f(px[n]).c(' ').f(py[n]).s(curveOp);
    }
}

// The lower-left and upper-right corners of a rectangle given in any order.
struct Box {
    double xl, yl, xr, yh;
};
Box normalise(double x0, double y0, double x1, double y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}
// The box moved in by d on every side; a box too small for it shrinks to its centre.
Box inset(const Box& b, double d) {
    Box r{b.xl + d, b.yl + d, b.xr - d, b.yh - d};
    if (r.xl > r.xr) r.xl = r.xr = (b.xl + b.xr) / 2;
    if (r.yl > r.yh) r.yl = r.yh = (b.yl + b.yh) / 2;
    return r;
}

void beginCompound(Emit& e) {
    if (!dialect::pdf()) e.s("*u\r");
}
void endCompound(Emit& e) {
    if (!dialect::pdf()) e.s("*U\r");
}
// The outer contour of a filled band closes the subpath in PDF and fills in the
// Illustrator dialects, where the compound path makes the inner contour a hole.
void closeOuter(Emit& e) { e.s(dialect::pdf() ? "h\r" : "f\r"); }

// A closed rectangle from corner a to the opposite corner b, along the vertical
// edge first or along the horizontal one first.
enum class Turn { verticalFirst, horizontalFirst };
void rectPath(Emit& e, double ax, double ay, double bx, double by, Turn turn, const char* seg) {
    realPoint(e, ax, ay, kMoveTo);
    if (turn == Turn::verticalFirst) {
        realPoint(e, ax, by, seg);
        realPoint(e, bx, by, seg);
        realPoint(e, bx, ay, seg);
    } else {
        realPoint(e, bx, ay, seg);
        realPoint(e, bx, by, seg);
        realPoint(e, ax, by, seg);
    }
    realPoint(e, ax, ay, seg);
}

// The filled form starts without a stroke width, in the fill colour.
void beginFilled(Emit& e) {
    width(e, 0);
    e.flush();
    doColour(kColourFill);
}

// One straight stroke in whole points.
void segment(Emit& e, double ax, double ay, double bx, double by) {
    intPoint(e, ax, ay, kMoveTo);
    intPoint(e, bx, by, dialect::lineTo());
    e.s("S\r");
}

// After the move to its centre point, a stroked rectangle or oval (and the small
// mark) strokes that lone point; an empty line ends the item.
void centreMarkEnd(Emit& e) { e.s("S\r").s("\r"); }

}  // namespace

int colourNumberText(char* out, int32_t percent) {
    int n = 0;
    if (percent <= 0) {
        out[n++] = '0';
    } else if (percent >= 100) {
        out[n++] = '1';
    } else {
        out[n++] = '.';
        out[n++] = static_cast<char>('0' + percent / 10);
        out[n++] = static_cast<char>('0' + percent % 10);
    }
    out[n++] = ' ';
    return n;
}

namespace {

// The text of a plain fill or stroke colour, kept with what it was made from:
// each character of a symbol's text sets the fill colour again.
struct KeptColour {
    int32_t mode = -1, ill = 0, c = 0, m = 0, y = 0, k = 0;
    bool pdf = false;
    char text[64] = {};
    size_t length = 0;
};
KeptColour gKeptColour;

bool plainColour(int32_t mode) {
    return (mode == kColourFill || mode == kColourStroke) && gSym.customColour != 1;
}

}  // namespace

void doColour(int32_t mode) {
    if (dialect::type3()) return;
    const int32_t ill = gOut.ill;
    KeptColour& kept = gKeptColour;
    const bool plain = plainColour(mode);
    if (plain && kept.mode == mode && kept.ill == ill && kept.pdf == dialect::pdf() &&
        kept.c == gSym.cyan2 && kept.m == gSym.magenta2 && kept.y == gSym.yellow2 &&
        kept.k == gSym.black2) {
        writeRaw(kept.text, static_cast<int32_t>(kept.length));  // digits and operators
        return;
    }
    Emit e;
    if (plain) {
        writeColour(e, mode, gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2);
        const std::string_view made = e.pending();
        if (e.heldWhole() && made.size() <= sizeof kept.text) {
            kept = {mode,         ill,         gSym.cyan2,    gSym.magenta2,
                    gSym.yellow2, gSym.black2, dialect::pdf()};
            std::memcpy(kept.text, made.data(), made.size());
            kept.length = made.size();
        }
        return;
    }
    if (mode == kColourComment) commentStart(e);
    if (mode == kColourSetUp && !dialect::pdf()) {
        if (ill > 87) e.s("0 A\r");
        e.s("u\r");
        if (ill > 87) e.s("0 O 0 R\r");
    }
    writeColour(e, mode, gSym.cyan2, gSym.magenta2, gSym.yellow2, gSym.black2);
    if (mode != kColourSetUp) return;
    if (dialect::pdf()) {
        e.s("0 J 0 j 0.057 w 4 M []0 d\r");
        return;
    }
    e.s(gShape.iBWR == 1 ? "1 G\r" : "0 G\r").s("0 i 0 J 0 j\r").s("1").s(" w 4 M []0 d\r");
    if (ill == 93 || ill == 95)
        e.s("%AI3_Note:\r0 D\r");
    else if (ill <= 88)
        e.s("%%Note:\r");
}

void doBackColour(int32_t mode, int32_t c, int32_t m, int32_t y, int32_t k) {
    if (dialect::type3()) return;
    Emit e;
    if (mode == kColourFill) {
        e.colour(c).colour(m).colour(y).colour(k).s("k").s("\r");
    } else if (mode == kColourStroke) {
        e.colour(c).colour(m).colour(y).colour(k).s("K\r");
        if (gOut.ill > 87 && !dialect::pdf()) e.s("0 R\r");
    } else {
        // The header comment form is a comment here too, so that nothing of it
        // reaches the operand stack.
        if (mode == kColourComment) commentStart(e);
        writeColour(e, mode, c, m, y, k);
    }
}

void FillPostBox(double x0, double y0, double x1, double y1, double w) {
    Emit e;
    const char* L = dialect::lineTo();
    width(e, w);
    rectPath(e, x0, y0, x1, y1, Turn::verticalFirst, L);
    e.s("f\r");
}

namespace {

// The outline of a rectangle or oval of width w. Stroked dialects stroke the
// path that `stroked` writes, in the stroke colour, width w. The others fill a
// band of width w centred on the shape: `contour` writes the outer contour one
// way round and the inner one (reversed) the other way, so the inside stays empty.
template <typename Stroked, typename Contour>
void outline(double x0, double y0, double x1, double y1, double w, Stroked stroked,
             Contour contour) {
    Emit e;
    if (dialect::strokedShapes()) {
        e.flush();
        doColour(kColourStroke);
        width(e, w);
        stroked(e);
        centreMarkEnd(e);
        return;
    }
    beginFilled(e);
    const Box outer = inset(normalise(x0, y0, x1, y1), -w / 2);
    beginCompound(e);
    contour(e, outer, false);
    closeOuter(e);
    contour(e, inset(outer, w), true);
    e.s("f\r");
    endCompound(e);
}

}  // namespace

void DrawPostBox(double x0, double y0, double x1, double y1, double w) {
    outline(
        x0, y0, x1, y1, w,
        [&](Emit& e) {
            rectPath(e, x0, y0, x1, y1, Turn::verticalFirst, " L\r");
            e.s("s\r");
            realPoint(e, x0 + (x1 - x0) / 2, y0 + (y1 - y0) / 2, kMoveTo);
        },
        [](Emit& e, const Box& b, bool reversed) {
            rectPath(e, b.xl, b.yl, b.xr, b.yh,
                     reversed ? Turn::horizontalFirst : Turn::verticalFirst, kCurveLine);
        });
}

void FillPostCircle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w) {
    Emit e;
    width(e, w);
    ovalPath(e, left, bottom, right, top, dialect::pdf() ? " c\r" : " C\r");
    e.s("f\r");
}

void DrawPostCircle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w) {
    outline(
        left, top, right, bottom, w,
        [&](Emit& e) {
            ovalPath(e, left, bottom, right, top, " C\r");
            e.s("s\r");
            intPoint(e, left + (right - left) / 2, top + (bottom - top) / 2, kMoveTo);
        },
        [](Emit& e, const Box& b, bool reversed) {
            if (reversed)
                ovalPath(e, b.xl, b.yh, b.xr, b.yl, " c\r");
            else
                ovalPath(e, b.xl, b.yl, b.xr, b.yh, " c\r");
        });
}

void DrawPostLine(int32_t upper, int32_t left, int32_t right, int32_t lower, int32_t w) {
    doColour(kColourStroke);
    Emit e;
    width(e, w);
    segment(e, left, upper, right, lower);
    e.s("\r");
}

void DrawPostPara(double x0, double y0, double x1, double y1, double w) {
    const bool lowerBar = !(gSym.para && gSym.end_bars);
    if (dialect::strokedShapes()) {
        doColour(kColourStroke);
        Emit e;
        width(e, w);
        if (lowerBar) segment(e, x0, y0, x1, y0);
        segment(e, x1, y1, x0, y1);
        e.s("\r");
        return;
    }
    y0 -= w / 2;
    x0 -= w / 2;
    x1 += w / 2;
    y1 += w / 2;
    Emit e;
    beginFilled(e);
    if (lowerBar) {
        rectPath(e, x0, y0, x1, y0 + w, Turn::verticalFirst, kCurveLine);
        e.s("f\r");
    }
    rectPath(e, x0, y1, x1, y1 - w, Turn::horizontalFirst, kCurveLine);
    e.s("f\r");
}

void DrawPostTopLine(double x0, double y0, double x1, double y1, int32_t w) {
    if (dialect::strokedShapes()) {
        doColour(kColourStroke);  // the bar belongs to the symbol: its colour or spot
        Emit e;
        width(e, w);
        segment(e, x1, y1, x0, y1);
        e.s("\r");
        return;
    }
    Emit e;
    beginFilled(e);
    const int32_t half = w / 2;
    const double top = y1 + half + 2, bottom = top - w;
    rectPath(e, x0 - half, top, x1 + half, bottom, Turn::horizontalFirst, kCurveLine);
    e.s("f\r");
}

void DrawPostEnd(double x0, double y0, double x1, double y1, double w) {
    Emit e;
    width(e, w);
    segment(e, x0, y0, x0, y1);
    segment(e, x1, y0, x1, y1);
}

void DrawPostSmallItem(double x0, double y0, double x1, double y1, double w) {
    doColour(kColourStroke);  // the frame belongs to the symbol: its colour or spot
    Emit e;
    width(e, w);
    segment(e, x0, y1, x0, y0);
    segment(e, x0, y0, x1, y0);
    segment(e, x1, y0, x1, y1);
    intPoint(e, (x1 - x0) / 2, (y1 - y0) / 2, kMoveTo);
    centreMarkEnd(e);
}

void DrawPostCutMarks(double left, double lower, double right, double top, double w) {
    constexpr double kMark = 10;  // points
    Emit e;
    const char* L = dialect::lineTo();
    width(e, w);
    auto mark = [&](double x, double y, double dx, double dy) {
        intPoint(e, x, y + dy, kMoveTo);
        intPoint(e, x + dx, y + dy, L);
        intPoint(e, x + dx, y, L);
        e.s("S\r");
    };
    mark(left, lower, kMark, kMark);
    mark(left, top, kMark, -kMark);
    mark(right, lower, -kMark, kMark);
    mark(right, top, -kMark, -kMark);
}
