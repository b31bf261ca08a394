#include <cmath>
#include <cstdlib>

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
            // The press dialect has no spot operator and leaves no operand behind;
            // the comment line is still ended, background sets are plain CMYK.
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
        },
        colours);
}

// The six operands of every curve line, and its operator.
std::vector<std::vector<double>> curves(const std::string& text, const std::string& op) {
    std::vector<std::vector<double>> out;
    for (const std::string& line : linesOf(text)) {
        std::vector<std::string> w = wordsOf(line);
        if (w.empty() || w.back() != op) continue;
        EXPECT_EQ(w.size(), 7u) << line;
        std::vector<double> v;
        for (size_t k = 0; k + 1 < w.size(); ++k) v.push_back(std::strtod(w[k].c_str(), nullptr));
        out.push_back(v);
    }
    return out;
}

// Checks that the curves follow the ellipse of the rectangle closely.
void expectEllipse(const std::vector<std::vector<double>>& cs, double x0, double y0, double x1,
                   double y1, double startX, double startY) {
    ASSERT_EQ(cs.size(), 4u);
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double rx = std::fabs(x1 - x0) / 2, ry = std::fabs(y1 - y0) / 2;
    double px = startX, py = startY;
    for (const auto& c : cs) {
        for (double t : {0.25, 0.5, 0.75}) {
            const double u = 1 - t;
            const double bx =
                u * u * u * px + 3 * u * u * t * c[0] + 3 * u * t * t * c[2] + t * t * t * c[4];
            const double by =
                u * u * u * py + 3 * u * u * t * c[1] + 3 * u * t * t * c[3] + t * t * t * c[5];
            EXPECT_NEAR(std::hypot((bx - cx) / rx, (by - cy) / ry), 1.0, 0.001);
        }
        px = c[4];
        py = c[5];
    }
    EXPECT_DOUBLE_EQ(px, startX);
    EXPECT_DOUBLE_EQ(py, startY);
}

TEST_F(Shapes, OvalsAreFourFullBezierCurves) {
    Shapes::colours();
    dialect(95);
    FillPostCircle(10, 50, 110, 20);
    const std::string fill = written();
    EXPECT_EQ(fill.substr(0, 25), "0 w\r10.000000 35.000000 m");
    expectEllipse(curves(fill, "C"), 10, 50, 110, 20, 10, 35);
    EXPECT_EQ(fill.substr(fill.size() - 2), "f\r");

    dialect(1);
    DrawPostCircle(10, 50, 110, 20, 2);
    const std::string outline = written();
    expectEllipse(curves(outline, "C"), 10, 50, 110, 20, 10, 35);
    EXPECT_NE(outline.find("s\r60 35 m\rS\r\r"), std::string::npos);

    dialect(1115);
    FillPostCircle(0, 7, 9, 0);  // odd sizes: the curve ends are not whole points
    expectEllipse(curves(written(), "c"), 0, 7, 9, 0, 0, 3.5);

    // A filled outline is a ring of two contours running in opposite directions.
    dialect(95);
    DrawPostCircle(10, 50, 110, 20, 2);
    const std::string s = written();
    const std::vector<std::vector<double>> cs = curves(s, "c");
    ASSERT_EQ(cs.size(), 8u);
    expectEllipse({cs.begin(), cs.begin() + 4}, 9, 51, 111, 19, 9, 35);
    expectEllipse({cs.begin() + 4, cs.end()}, 11, 49, 109, 21, 11, 35);
    EXPECT_LT(cs[0][5], 35);
    EXPECT_GT(cs[4][5], 35);
    EXPECT_EQ(s.substr(0, 20), "0 w\r0 .05 1 .40 k\r*u");
    EXPECT_EQ(s.substr(s.size() - 5), "f\r*U\r");
}

}  // namespace
