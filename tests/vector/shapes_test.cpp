#include "vector/chars.h"
#include "vector_fixture.h"

namespace {

struct Shapes : VectorTest {
    // The first colour set of every case: 0 5 100 40.
    static void colours() {
        gSym.cyan2 = 0;
        gSym.magenta2 = 5;
        gSym.yellow2 = 100;
        gSym.black2 = 40;
    }
    static void spot(const char* name) {
        gSym.customColour = 1;
        pstrSet(gSym.customCol, name);
    }
};

TEST_F(Shapes, WritersMatchTheirGoldenText) {
    expectGoldens(
        *this,
        {
            // Colour numbers in their short form; out-of-range values stay numbers.
            {"colour.fill", 95, [] { doColour(kColourFill); }},
            {"colour.clamped", 95, [] { doBackColour(kColourFill, -3, 99, 150, 7); }},
            {"spot.stroke.88", 88,
             [] {
                 spot("PMS 185");
                 doColour(kColourStroke);
                 doColour(kColourFill);
                 doColour(kColourComment);
             }},
            {"spot.escaped", 95,
             [] {
                 spot("Red (warm)\\1");
                 doColour(kColourFill);
             }},
            {"spot.stroke.1", 1,
             [] {
                 spot("PMS 185");
                 doColour(kColourStroke);
             }},
            // PDF has no named colour operator: its CMYK stands in.
            {"spot.pdf", 1115,
             [] {
                 spot("PMS 185");
                 doColour(kColourStroke);
                 doColour(kColourFill);
             }},
            // The press dialect has no spot operator: the spot colour's CMYK paints,
            // as in PDF; the comment line still names it.
            {"spot.press", 25,
             [] {
                 spot("PMS 185");
                 doColour(kColourFill);
                 doColour(kColourStroke);
                 doBackColour(kColourSetUp, 1, 2, 3, 4);
                 doColour(kColourSetUp);
                 doColour(kColourComment);
                 doBackColour(kColourFill, 1, 2, 3, 4);
             }},
            {"setup.1", 1, [] { doColour(kColourSetUp); }},
            {"setup.88", 88, [] { doColour(kColourSetUp); }},
            {"setup.95", 95,
             [] {
                 gShape.iBWR = 1;
                 doColour(kColourSetUp);
             }},
            {"setup.1115", 1115,
             [] {
                 gShape.iBWR = 1;
                 doColour(kColourSetUp);
             }},
            {"back.stroke.95", 95, [] { doBackColour(kColourStroke, 10, 20, 30, 40); }},
            {"back.stroke.1", 1, [] { doBackColour(kColourStroke, 10, 20, 30, 40); }},
            {"back.stroke.1115", 1115, [] { doBackColour(kColourStroke, 10, 20, 30, 40); }},
            // The fill of a colour set ignores the spot colour, the set-up takes it.
            {"back.spot", 95,
             [] {
                 spot("Gold");
                 doBackColour(kColourFill, 10, 20, 30, 40);
                 doBackColour(kColourSetUp, 10, 20, 30, 40);
             }},
            // The font dialect writes no colour but the white of glyph counters.
            {"colour.type3", 2,
             [] {
                 spot("Gold");
                 for (int32_t mode = 0; mode <= 3; ++mode) {
                     doColour(mode);
                     doBackColour(mode, 1, 2, 3, 4);
                 }
                 pcolourwhite();
             }},
            {"box.filled.95", 95, [] { FillPostBox(1.5, 2, 30.25, 40, 3.9); }},
            {"box.filled.1115", 1115, [] { FillPostBox(1.5, 2, 30.25, 40); }},
            {"box.stroked.88", 88, [] { DrawPostBox(10, 50, 110, 20, 2); }},
            // A frame centred on the rectangle, whichever y comes first.
            {"box.frame.95", 95, [] { DrawPostBox(10, 50, 110, 20, 2); }},
            {"box.frame.95", 95, [] { DrawPostBox(10, 20, 110, 50, 2); }},
            {"box.frame.1115", 1115, [] { DrawPostBox(10, 50, 110, 20, 2); }},
            // Wider than its rectangle: the inner contour collapses to the centre.
            {"box.frame.wide", 93, [] { DrawPostBox(0, 0, 4, 4, 10); }},
            {"line.95", 95, [] { DrawPostLine(80, 10, 60, 30, 2); }},
            {"line.1115", 1115, [] { DrawPostLine(80, 10, 60, 30, 1); }},
            {"bearers.88", 88, [] { DrawPostPara(10.7, 5.2, 200.9, 60.8, 3); }},
            // With end bars the lower bearer is left out.
            {"bearers.upper", 88,
             [] {
                 gSym.para = 1;
                 gSym.end_bars = 1;
                 DrawPostPara(10, 5, 200, 60, 3);
             }},
            {"bearers.95", 95, [] { DrawPostPara(10, 5, 200, 60, 4); }},
            {"topline.88", 88, [] { DrawPostTopLine(10, 0, 100, 50, 3); }},
            {"topline.95", 95, [] { DrawPostTopLine(10, 0, 100, 50, 3); }},
            {"endbars.95", 95, [] { DrawPostEnd(10, 5, 90.5, 40, 2); }},
            {"smallitem.1115", 1115, [] { DrawPostSmallItem(10, 5, 90, 40, 1); }},
            {"cutmarks.93", 93, [] { DrawPostCutMarks(0, 0, 100, 50, 1); }},
            // Ovals are four Bezier curves; odd sizes put the curve ends between
            // whole points; a stroked oval in the compound-path dialects is a ring
            // of two contours running in opposite directions.
            {"oval.fill.95", 95, [] { FillPostCircle(10, 50, 110, 20); }},
            {"oval.outline.1", 1, [] { DrawPostCircle(10, 50, 110, 20, 2); }},
            {"oval.odd.1115", 1115, [] { FillPostCircle(0, 7, 9, 0); }},
            {"oval.ring.95", 95, [] { DrawPostCircle(10, 50, 110, 20, 2); }},
        },
        colours);
}

}  // namespace
