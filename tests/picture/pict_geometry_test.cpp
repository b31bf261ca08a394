// The geometry of symbols drawn as pictures, read from the recorded display
// list: bar edges against the vector writer's, guard drops, add-on rises,
// bearers, cut marks, H marks and the text runs of each text form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "labels/labelDoc.h"
#include "pict_fixture.h"
#include "pict_ops.h"
#include "picture/PICbcode.h"
#include "picture/symbolbox.h"
#include "platform/files.h"
#include "platform/textmetrics.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

using namespace picttest;

namespace {

struct Drawn {
    qd::Picture* pic = nullptr;
    Ops ops;
    std::vector<qd::Rect> bars;
    ~Drawn() { qd::KillPicture(pic); }
};

void drawInto(Drawn& d, const Spec& s, const std::function<void()>& settings = {}) {
    ASSERT_TRUE(prepare(s));
    if (settings) settings();
    d.pic = record();
    d.ops = readOps(*d.pic);
    d.bars = bars(d.ops, d.pic->frame);
}

// The bars' left and right x of the vector writer's EPS, points.
std::vector<std::pair<double, double>> vectorBars() {
    const SymbolData keep = gData;
    gData = preparedData();
    EXPECT_TRUE(addSingleSymbolItem());
    gData = keep;
    gOut.ill = 88;
    platform::FileRef ref = platform::FSOpenMemory();
    EPSout(ref, 0);
    std::string doc = platform::FSMemoryContents(ref);
    platform::FSClose(ref);
    for (char& c : doc)
        if (c == '\r') c = '\n';
    std::vector<std::string> lines;
    std::istringstream in(doc);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    std::vector<std::pair<double, double>> out;
    for (size_t k = 0; k + 1 < lines.size(); ++k) {
        const std::string& l = lines[k];
        if (l.size() < 3 || l.substr(l.size() - 2) != " m") continue;
        std::istringstream a(l), b(lines[k + 1]);
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        std::string op;
        if (!(a >> x0 >> y0) || !(b >> x1 >> y1 >> op) || op != "L" || y0 != y1) continue;
        if (x0 > 0) out.push_back({x0, x1});
    }
    return out;
}

constexpr double kFinePerPoint = 2540.0 / 72;

// The text runs that start with a digit, in drawing order.
std::vector<const TextRun*> digitRuns(const Ops& o) {
    std::vector<const TextRun*> out;
    for (const TextRun& t : o.texts)
        if (t.text[0] >= '0' && t.text[0] <= '9') out.push_back(&t);
    return out;
}

TEST(PictureGeometry, BarEdgesAgreeWithTheVectorWriter) {
    // The picture's bars start at the box's left edge plus the quiet zone; the
    // vector writer keeps one point of the box's two spare points on the left.
    for (const Spec& s : {Spec{0, 0, "501234567890", ""}, Spec{5, 0, "Strixel-128 ok", ""}}) {
        SCOPED_TRACE(s.data);
        Drawn d;
        drawInto(d, s);
        const auto v = vectorBars();
        ASSERT_EQ(d.bars.size(), v.size());
        for (size_t k = 0; k < v.size(); ++k) {
            EXPECT_NEAR(d.bars[k].left, (v[k].first - 1) * kFinePerPoint, 1.0) << k;
            EXPECT_NEAR(d.bars[k].right, (v[k].second - 1) * kFinePerPoint, 1.0) << k;
        }
    }
}

TEST(PictureGeometry, GuardsDropAndAddOnBarsRise) {
    Drawn d;
    drawInto(d, {0, 0, "501234567890", "52495"});
    ASSERT_GT(d.bars.size(), 30u);
    const int T = 10 * 2540 / 72;  // the text height in hundredths of a millimetre
    const int drop = (T / 10) / 2 * 10, rise = T / 10 * 10;
    const qd::Rect plain = d.bars[2];
    for (int b : {0, 1, 14, 15, 28, 29}) {
        EXPECT_EQ(d.bars[b].bottom, plain.bottom + drop) << b;
        EXPECT_EQ(d.bars[b].top, plain.top) << b;
    }
    for (size_t b = 30; b < d.bars.size(); ++b) {
        EXPECT_EQ(d.bars[b].top, plain.top + rise) << b;
        EXPECT_EQ(d.bars[b].bottom, plain.bottom + drop) << b;  // as low as the guards
    }
    // The add-on digits stand on the add-on bars.
    int digits = 0;
    for (const TextRun& t : d.ops.texts)
        if (t.x > d.bars[30].left && t.text != "<") {
            EXPECT_EQ(t.y, plain.top + rise);
            ++digits;
        }
    EXPECT_EQ(digits, 5);
}

TEST(PictureGeometry, ReductionNarrowsEveryBarButNeverToNothing) {
    Drawn a, b;
    drawInto(a, {0, 0, "501234567890", ""});
    drawInto(b, {0, 0, "501234567890", "", 0, 200});
    ASSERT_EQ(a.bars.size(), b.bars.size());
    for (size_t k = 0; k < a.bars.size(); ++k) {
        EXPECT_EQ(a.bars[k].left, b.bars[k].left);
        EXPECT_EQ(b.bars[k].width(), std::max(1, a.bars[k].width() - 2)) << k;
    }
    Drawn c;
    drawInto(c, {0, 0, "501234567890", "", 0, 40000});
    for (const qd::Rect& r : c.bars) EXPECT_EQ(r.width(), 1);
}

TEST(PictureGeometry, BearersCutMarksAndHMarks) {
    Drawn d;
    drawInto(d, {5, 0, "ABC123", ""}, [] {
        gSym.line = 3;
        gSym.cutMarks = 1;
        gSym.insetAmount = 10;
        gSym.Hgauge = 1;
    });
    const qd::Rect f = d.pic->frame;
    // The bearer box, inset by the cut marks' room, with a pen of the bearer's width.
    ASSERT_EQ(d.ops.framed.size(), 1u);
    const int in = static_cast<int>(10 * 35);
    EXPECT_EQ(d.ops.framed[0].left, f.left + in);
    EXPECT_EQ(d.ops.framed[0].top, f.top + in);
    EXPECT_EQ(d.ops.framed[0].right, f.right - in);
    // Four L's, two strokes each, all inside the frame, 10 points from the corners.
    ASSERT_EQ(d.ops.lines.size(), 8u);
    for (const Line& l : d.ops.lines) {
        EXPECT_GE(std::min(l.h0, l.h1), f.left);
        EXPECT_LE(std::max(l.h0, l.h1) + l.penWidth, f.right);
        EXPECT_GE(std::min(l.v0, l.v1), f.top);
        EXPECT_LE(std::max(l.v0, l.v1) + l.penHeight, f.bottom);
    }
    EXPECT_EQ(d.ops.lines[0].h0, f.left + 350 - 1);
    EXPECT_EQ(d.ops.lines[0].v1, f.top + 350);
    // Two H marks, three rectangles each, 707 high and 180 wide, inside the frame.
    const auto& p = d.ops.painted;
    ASSERT_GE(p.size(), 6u);
    for (size_t k = p.size() - 6; k < p.size(); k += 3) {
        EXPECT_EQ(p[k].height(), 708);
        EXPECT_EQ(p[k + 2].right - p[k].left, 180);
        EXPECT_GE(p[k].left, f.left);
        EXPECT_LE(p[k + 2].right, f.right);
    }
}

// SCC 14's digits under its bearer box stand at the picture's foot, below the
// box, in hundredths of a millimetre and on a label alike.
TEST(PictureGeometry, DigitsUnderTheBearerBoxStayInThePicture) {
    for (bool label : {false, true}) {
        SCOPED_TRACE(label ? "points" : "hundredths");
        Drawn d;
        drawInto(d, {4, 11, "1234567890123", "", 0, 0, label}, [] {
            gSym.line = gSym.gline = 14;
            gSym.AboveHu = 1;
            gSym.non_light = 0;
        });
        ASSERT_EQ(d.ops.framed.size(), 1u);
        const int boxBottom = d.ops.framed[0].bottom;
        std::string digits;
        for (const TextRun* t : digitRuns(d.ops)) {
            digits += t->text;
            // At the picture's foot, give or take the unit the frame is cut to.
            EXPECT_NEAR(t->y, d.pic->frame.bottom, 1);
            EXPECT_GE(t->y - t->size, boxBottom) << "a digit reaches into the bearer";
        }
        EXPECT_EQ(digits, "12345678901231");
    }
}

TEST(PictureGeometry, HMarksKeepTheirSizeOnALabel) {
    Drawn d;
    drawInto(d, {5, 0, "ABC123", "", 200, 0, true}, [] { gSym.Hgauge = 1; });
    const auto& p = d.ops.painted;
    ASSERT_GE(p.size(), 6u);
    const qd::Rect& stroke = p[p.size() - 6];
    EXPECT_NEAR(stroke.height(), 20, 1);  // 707.7 hundredths of a millimetre is 20 points
    EXPECT_LE(p.back().right, d.pic->frame.right);
}

TEST(PictureGeometry, BarFontTextUnderItsBars) {
    Drawn d;
    drawInto(d, {0, 0, "501234567890", ""});
    std::string digits;
    int baseline = -1;
    int16_t barFont = 0;
    platform::GetFNum(gSym.barFont, &barFont);
    for (const TextRun* t : digitRuns(d.ops)) {
        digits += t->text;
        if (baseline < 0) baseline = t->y;
        EXPECT_EQ(t->y, baseline);
        EXPECT_EQ(t->font, platform::fontNameOf(barFont));
        EXPECT_EQ(t->size, 10 * 2540 / 72);
    }
    EXPECT_EQ(digits, "5012345678900");
    // The baseline lies one text line under the ordinary bars.
    EXPECT_EQ(baseline, d.bars[2].bottom + 10 * 2540 / 72);
}

TEST(PictureGeometry, UpcSmallDigitsAndUpcE) {
    Drawn d;
    drawInto(d, {10, 0, "01234567890", ""});
    const std::vector<const TextRun*> digits = digitRuns(d.ops);
    ASSERT_EQ(digits.size(), 12u);
    const int small = static_cast<int>(8 * 2540.0 / 72);
    EXPECT_EQ(digits[0]->size, small);
    EXPECT_EQ(digits[11]->size, small);
    EXPECT_EQ(digits[5]->size, 10 * 2540 / 72);
    EXPECT_LT(digits[0]->x, d.bars[0].left);        // the first digit left of the bars
    EXPECT_GT(digits[11]->x, d.bars.back().right);  // the check digit right of them

    Drawn e;
    drawInto(e, {11, 0, "01234000005", ""});
    std::string text;
    for (const TextRun* t : digitRuns(e.ops)) text += t->text;
    EXPECT_EQ(text, "01234543");
}

TEST(PictureGeometry, IsbnHeaderAboveShortenedBars) {
    for (bool label : {false, true}) {
        SCOPED_TRACE(label ? "points" : "hundredths");
        Drawn d;
        drawInto(d, {1, 0, "080442957", "", 0, 0, label});
        const TextRun& header = d.ops.texts.front();
        // "ISBN" in the bar font's header letters, then the number.
        EXPECT_NE(header.text.find("0-8044-2957"), std::string::npos) << header.text;
        int top = d.bars[0].top;
        for (const qd::Rect& r : d.bars) top = std::min(top, r.top);
        EXPECT_LE(header.y, top);  // above the bars
        // In the box horizontally, in either unit.
        EXPECT_GE(header.x, d.pic->frame.left);
        EXPECT_LT(header.x, d.pic->frame.right / 2);
        // The digits under the bars, inside the box.
        for (const TextRun* t : digitRuns(d.ops))
            if (t != &header) {
                EXPECT_GT(t->y, d.bars[2].bottom);
                EXPECT_LE(t->y, d.pic->frame.bottom);
            }
    }
}

TEST(PictureGeometry, ProportionalLineAndLightMarginMarks) {
    Drawn d;
    drawInto(d, {5, 0, "ABC123", ""});
    std::string text;
    const TextRun* left = nullptr;
    const TextRun* right = nullptr;
    for (const TextRun& t : d.ops.texts) {
        if (t.text == ">")
            left = &t;
        else if (t.text == "<")
            right = &t;
        else
            text += t.text;
    }
    EXPECT_EQ(text, "ABC123");
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->x, 0);
    EXPECT_EQ(left->y, right->y);
    EXPECT_GT(right->x, d.bars.back().right);
    EXPECT_LT(right->x, d.pic->frame.right);
    // Without the main line the right mark keeps the same pitch back from the edge.
    Drawn n;
    drawInto(n, {5, 0, "ABC123", ""}, [] { gSym.human = 0; });
    const TextRun* r2 = nullptr;
    for (const TextRun& t : n.ops.texts)
        if (t.text == "<") r2 = &t;
    ASSERT_TRUE(r2);
    EXPECT_EQ(r2->x, right->x);
}

// A line of data as typed shows every character of it, those the grouped
// lines use for gaps and spacers ('?', '=', '|' ...) too, as the vector output does.
TEST(PictureGeometry, ProportionalLineOfTypedDataKeepsEveryCharacter) {
    for (const Spec& s : {Spec{36, 0, "PART=12?A!{|}\"~@", ""}, Spec{6, 10, "Q=1?{x}|y~z@w!", ""},
                          Spec{5, 0, "PART=12?A!{x}", ""}}) {
        SCOPED_TRACE(s.data);
        Drawn d;
        drawInto(d, s);
        std::string text;
        for (const TextRun& t : d.ops.texts)
            if (t.text != ">" && t.text != "<") text += t.text;
        EXPECT_EQ(text, s.data);
    }
}

}  // namespace
