#include <cmath>
#include <cstdlib>

#include "vector/chars.h"
#include "vector_fixture.h"

namespace {

struct Shapes : VectorTest {
    void SetUp() override {
        VectorTest::SetUp();
        gSym.cyan2 = 0;
        gSym.magenta2 = 5;
        gSym.yellow2 = 100;
        gSym.black2 = 40;
    }
    void spot(const char* name) {
        gSym.customColour = 1;
        pstrSet(gSym.customCol, name);
    }
};

TEST_F(Shapes, ColourNumbersAreWrittenInTheirShortForm) {
    dialect(95);
    doColour(kColourFill);
    EXPECT_EQ(written(), "0 .05 1 .40 k\r");
    doBackColour(kColourFill, -3, 99, 150, 7);  // out of range values stay valid numbers
    EXPECT_EQ(written(), "0 .99 1 .07 k\r");
    char t[5];
    EXPECT_EQ(std::string(t, static_cast<size_t>(colourNumberText(t, 40))), ".40 ");
}

TEST_F(Shapes, SpotColourOperatorsFollowTheDialect) {
    spot("PMS 185");
    dialect(88);
    doColour(kColourStroke);
    EXPECT_EQ(written(), "0 .05 1 .40 (PMS 185) 0 X\r");
    doColour(kColourFill);
    EXPECT_EQ(written(), "0 .05 1 .40 (PMS 185) 0 x\r");
    doColour(kColourComment);
    EXPECT_EQ(written(),
              "%%DocumentCustomColors: (PMS 185)\r%%CMYKCustomColor: 0 .05 1 .40 (PMS 185)\r");
    dialect(1);
    doColour(kColourStroke);
    EXPECT_EQ(written(), "0 .05 1 .40 K\r");
    dialect(1115);  // PDF has no named colour operator: its CMYK stands in
    doColour(kColourStroke);
    doColour(kColourFill);
    EXPECT_EQ(written(), "0 .05 1 .40 K\r0 .05 1 .40 k\r");
}

TEST_F(Shapes, SpotColourNamesAreEscaped) {
    spot("Red (warm)\\1");
    dialect(95);
    doColour(kColourFill);
    EXPECT_EQ(written(), "0 .05 1 .40 (Red \\(warm\\)\\\\1) 0 x\r");
}

TEST_F(Shapes, PressDialectWithSpotColourLeavesTheStackAlone) {
    // The press dialect has no operator for a spot colour; its numbers must not
    // be left behind on the operand stack either.
    spot("PMS 185");
    dialect(25);
    doColour(kColourFill);
    doColour(kColourStroke);
    doBackColour(kColourSetUp, 1, 2, 3, 4);
    EXPECT_EQ(written(), "");
    doColour(kColourSetUp);
    EXPECT_EQ(written(), cr({"u", "0 G", "0 i 0 J 0 j", "1 w 4 M []0 d", "%%Note:"}));
    doColour(kColourComment);  // the comment line is still ended
    EXPECT_EQ(written(),
              "%%DocumentCustomColors: (PMS 185)\r%%CMYKCustomColor: 0 .05 1 .40 (PMS 185)\r");
    // The fill and stroke colours of the background sets are plain CMYK.
    doBackColour(kColourFill, 1, 2, 3, 4);
    EXPECT_EQ(written(), ".01 .02 .03 .04 k\r");
}

TEST_F(Shapes, PageSetUpPerDialect) {
    const struct {
        int32_t ill, iBWR;
        std::string setUp;
    } kCases[] = {
        {1, 0, cr({"u", "0 .05 1 .40 k", "0 G", "0 i 0 J 0 j", "1 w 4 M []0 d", "%%Note:"})},
        {88, 0,
         cr({"0 A", "u", "0 O 0 R", "0 .05 1 .40 k", "0 G", "0 i 0 J 0 j", "1 w 4 M []0 d",
             "%%Note:"})},
        {95, 1,
         cr({"0 A", "u", "0 O 0 R", "0 .05 1 .40 k", "1 G", "0 i 0 J 0 j", "1 w 4 M []0 d",
             "%AI3_Note:", "0 D"})},
        {1115, 1, cr({"0 .05 1 .40 k", "0 J 0 j 0.057 w 4 M []0 d"})},
    };
    for (const auto& c : kCases) {
        dialect(c.ill);
        gShape.iBWR = c.iBWR;
        doColour(kColourSetUp);
        EXPECT_EQ(written(), c.setUp) << c.ill;
    }
}

TEST_F(Shapes, BackColourStrokeAndFill) {
    for (const auto& [ill, stroke] :
         {std::pair<int32_t, const char*>{95, ".10 .20 .30 .40 K\r0 R\r"},
          {1, ".10 .20 .30 .40 K\r"},
          {1115, ".10 .20 .30 .40 K\r"}}) {
        dialect(ill);
        doBackColour(kColourStroke, 10, 20, 30, 40);
        EXPECT_EQ(written(), stroke) << ill;
    }
    spot("Gold");
    dialect(95);
    doBackColour(kColourFill, 10, 20, 30, 40);  // the fill of a colour set ignores the spot
    EXPECT_EQ(written(), ".10 .20 .30 .40 k\r");
    doBackColour(kColourSetUp, 10, 20, 30, 40);
    EXPECT_EQ(written(), ".10 .20 .30 .40 (Gold) 0 x\r");
}

TEST_F(Shapes, TypeThreeFontDialectWritesNoColour) {
    spot("Gold");
    dialect(2);
    for (int32_t mode = 0; mode <= 3; ++mode) {
        doColour(mode);
        doBackColour(mode, 1, 2, 3, 4);
    }
    EXPECT_EQ(written(), "");
    pcolourwhite();  // the counters of glyph outlines are still painted white
    EXPECT_EQ(written(), "0 0 0 0 k\r");
}

TEST_F(Shapes, FilledRectangle) {
    dialect(95);
    FillPostBox(1.5, 2, 30.25, 40, 3.9);
    EXPECT_EQ(written(),
              cr({"3 w", "1.500000 2.000000 m", "1.500000 40.000000 L", "30.250000 40.000000 L",
                  "30.250000 2.000000 L", "1.500000 2.000000 L", "f"}));
    dialect(1115);
    FillPostBox(1.5, 2, 30.25, 40);
    EXPECT_EQ(written(),
              cr({"0 w", "1.500000 2.000000 m", "1.500000 40.000000 l", "30.250000 40.000000 l",
                  "30.250000 2.000000 l", "1.500000 2.000000 l", "f"}));
}

TEST_F(Shapes, RectangleOutlineStroked) {
    dialect(88);
    DrawPostBox(10, 50, 110, 20, 2);
    EXPECT_EQ(written(),
              cr({"0 .05 1 .40 K", "2 w", "10.000000 50.000000 m", "10.000000 20.000000 L",
                  "110.000000 20.000000 L", "110.000000 50.000000 L", "10.000000 50.000000 L", "s",
                  "60.000000 35.000000 m", "S", ""}));
}

TEST_F(Shapes, RectangleOutlineFilledIsAFrameCentredOnTheRectangle) {
    dialect(95);
    DrawPostBox(10, 50, 110, 20, 2);  // upper y first, as the page writer passes it
    const std::string upperFirst = written();
    EXPECT_EQ(upperFirst,
              cr({"0 w", "0 .05 1 .40 k", "*u", "9.000000 19.000000 m", "9.000000 51.000000 l",
                  "111.000000 51.000000 l", "111.000000 19.000000 l", "9.000000 19.000000 l", "f",
                  "11.000000 21.000000 m", "109.000000 21.000000 l", "109.000000 49.000000 l",
                  "11.000000 49.000000 l", "11.000000 21.000000 l", "f", "*U"}));
    DrawPostBox(10, 20, 110, 50, 2);  // lower y first, as the barcode item passes it
    EXPECT_EQ(written(), upperFirst);

    dialect(1115);
    DrawPostBox(10, 50, 110, 20, 2);
    const std::string pdf = written();
    EXPECT_EQ(pdf.find("*u"), std::string::npos);
    EXPECT_EQ(pdf.find("*U"), std::string::npos);
    EXPECT_NE(pdf.find("9.000000 19.000000 l\rh\r11.000000 21.000000 m\r"), std::string::npos);
}

TEST_F(Shapes, FrameWiderThanItsRectangleStaysInside) {
    dialect(93);
    DrawPostBox(0, 0, 4, 4, 10);  // the inner contour collapses to the centre
    const std::string s = written();
    EXPECT_NE(s.find("2.000000 2.000000 m\r2.000000 2.000000 l\r"), std::string::npos) << crToLf(s);
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
            const double e = std::hypot((bx - cx) / rx, (by - cy) / ry);
            EXPECT_NEAR(e, 1.0, 0.001);
        }
        px = c[4];
        py = c[5];
    }
    EXPECT_DOUBLE_EQ(px, startX);
    EXPECT_DOUBLE_EQ(py, startY);
}

TEST_F(Shapes, OvalsAreFourFullBezierCurves) {
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
}

TEST_F(Shapes, FilledOvalOutlineIsARing) {
    dialect(95);
    DrawPostCircle(10, 50, 110, 20, 2);
    const std::string s = written();
    const std::vector<std::vector<double>> cs = curves(s, "c");
    ASSERT_EQ(cs.size(), 8u);
    expectEllipse({cs.begin(), cs.begin() + 4}, 9, 51, 111, 19, 9, 35);
    expectEllipse({cs.begin() + 4, cs.end()}, 11, 49, 109, 21, 11, 35);
    // The two contours run in opposite directions: the outer one downwards first.
    EXPECT_LT(cs[0][5], 35);
    EXPECT_GT(cs[4][5], 35);
    EXPECT_EQ(s.substr(0, 20), "0 w\r0 .05 1 .40 k\r*u");
    EXPECT_EQ(s.substr(s.size() - 5), "f\r*U\r");
}

TEST_F(Shapes, LineRunsAcrossItsRectangle) {
    dialect(95);
    DrawPostLine(80, 10, 60, 30, 2);  // upper, left, right, lower
    EXPECT_EQ(written(), cr({"0 .05 1 .40 K", "2 w", "10 80 m", "60 30 L", "S", ""}));
    dialect(1115);
    DrawPostLine(80, 10, 60, 30, 1);
    EXPECT_EQ(written(), cr({"0 .05 1 .40 K", "1 w", "10 80 m", "60 30 l", "S", ""}));
}

TEST_F(Shapes, BearerBars) {
    dialect(88);
    DrawPostPara(10.7, 5.2, 200.9, 60.8, 3);
    EXPECT_EQ(written(), cr({"0 .05 1 .40 K", "3 w", "10 5 m", "200 5 L", "S", "200 60 m",
                             "10 60 L", "S", ""}));
    gSym.para = 1;
    gSym.end_bars = 1;  // with end bars the lower bearer is left out
    DrawPostPara(10, 5, 200, 60, 3);
    EXPECT_EQ(written(), cr({"0 .05 1 .40 K", "3 w", "200 60 m", "10 60 L", "S", ""}));

    gSym.end_bars = 0;
    dialect(95);
    DrawPostPara(10, 5, 200, 60, 4);
    EXPECT_EQ(written(),
              cr({"0 w", "0 .05 1 .40 k", "8.000000 3.000000 m", "8.000000 7.000000 l",
                  "202.000000 7.000000 l", "202.000000 3.000000 l", "8.000000 3.000000 l", "f",
                  "8.000000 62.000000 m", "202.000000 62.000000 l", "202.000000 58.000000 l",
                  "8.000000 58.000000 l", "8.000000 62.000000 l", "f"}));
}

TEST_F(Shapes, MarksAroundASymbol) {
    dialect(88);
    DrawPostTopLine(10, 0, 100, 50, 3);
    EXPECT_EQ(written(), cr({"3 w", "100 50 m", "10 50 L", "S", ""}));
    dialect(95);
    DrawPostTopLine(10, 0, 100, 50, 3);  // a band of 3 whose top is 50 + 1 + 2
    EXPECT_EQ(written(),
              cr({"0 w", "0 .05 1 .40 k", "9.000000 53.000000 m", "101.000000 53.000000 l",
                  "101.000000 50.000000 l", "9.000000 50.000000 l", "9.000000 53.000000 l", "f"}));
    DrawPostEnd(10, 5, 90.5, 40, 2);
    EXPECT_EQ(written(), cr({"2 w", "10 5 m", "10 40 L", "S", "90 5 m", "90 40 L", "S"}));
    dialect(1115);
    DrawPostSmallItem(10, 5, 90, 40, 1);
    EXPECT_EQ(written(), cr({"1 w", "10 40 m", "10 5 l", "S", "10 5 m", "90 5 l", "S", "90 5 m",
                             "90 40 l", "S", "40 17 m", "S", ""}));
    dialect(93);
    DrawPostCutMarks(0, 0, 100, 50, 1);
    EXPECT_EQ(written(),
              cr({"1 w", "0 10 m", "10 10 L", "10 0 L", "S", "0 40 m", "10 40 L", "10 50 L", "S",
                  "100 10 m", "90 10 L", "90 0 L", "S", "100 40 m", "90 40 L", "90 50 L", "S"}));
}

}  // namespace
