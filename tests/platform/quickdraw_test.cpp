#include "platform/quickdraw/quickdraw.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/quickdraw/picture.h"
#include "qd_world.h"
#include "support/fonts.h"

namespace {

using namespace qd;

using qdtest::World;

TEST(QuickDraw, PaintRectCoversLeftTopInclusiveRightBottomExclusive) {
    World w;
    PaintRect({10, 10, 20, 30});
    EXPECT_EQ(w.blacks(), 200);
    EXPECT_TRUE(w.inked({{10, 10}, {29, 19}}, {{30, 19}, {29, 20}, {9, 10}}));
}

TEST(QuickDraw, FrameLiesInsideItsRectangle) {
    World w;
    FrameRect({10, 10, 20, 30});
    EXPECT_EQ(w.blacks(), 2 * 20 + 2 * 8);
    EXPECT_TRUE(w.inked({{10, 10}, {29, 19}}, {{11, 11}, {30, 10}}));
    PenSize(3, 2);
    FrameRect({30, 10, 40, 30});
    EXPECT_EQ(w.count({0, 0, 0}) - 56, 20 * 10 - 14 * 6);
    PenSize(20, 20);  // a pen wider than half the rectangle fills it
    EraseRect({0, 0, 60, 80});
    FrameRect({10, 10, 20, 30});
    EXPECT_EQ(w.blacks(), 200);
}

TEST(QuickDraw, LinesSweepThePenRectangle) {
    World w;
    PenSize(3, 2);
    MoveTo(10, 10);
    LineTo(20, 10);
    // From h 10 to 20 + 3, v 10 to 10 + 2.
    EXPECT_EQ(w.blacks(), 13 * 2);
    EXPECT_TRUE(w.inked({{22, 11}}, {{23, 11}}));
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 20);
    EXPECT_EQ(pen.v, 10);
    EraseRect({0, 0, 60, 80});
    MoveTo(10, 20);
    Line(0, 10);
    EXPECT_EQ(w.blacks(), 3 * 12);
    EraseRect({0, 0, 60, 80});
    // A diagonal covers both pen ends and nothing beyond the hull.
    MoveTo(10, 10);
    LineTo(30, 40);
    EXPECT_TRUE(w.inked({{10, 10}, {32, 41}}, {{33, 41}, {10, 30}}));
    PenSize(0, 0);
    EraseRect({0, 0, 60, 80});
    LineTo(50, 50);
    EXPECT_EQ(w.blacks(), 0);
}

TEST(QuickDraw, XorTwiceRestoresAndHiddenPenDrawsNothing) {
    World w;
    RGBForeColor({0x1234, 0x8000, 0xFFFF});
    PaintOval({5, 5, 40, 50});
    const auto before = w.pixels();
    PenMode(patXor);
    PaintRect({0, 0, 30, 30});
    EXPECT_NE(w.pixels(), before);
    PaintRect({0, 0, 30, 30});
    EXPECT_EQ(w.pixels(), before);
    InvertRect({20, 20, 60, 80});
    InvertRect({20, 20, 60, 80});
    EXPECT_EQ(w.pixels(), before);
    HidePen();
    PenMode(patCopy);
    PaintRect({0, 0, 60, 80});
    EXPECT_EQ(w.pixels(), before);
    ShowPen();
}

TEST(QuickDraw, PatternsAndModes) {
    World w;
    FillRect({0, 0, 8, 8}, kGray);
    EXPECT_EQ(w.blacks(), 32);
    EXPECT_TRUE(w.inked({{0, 0}, {1, 1}}, {{1, 0}}));
    // Or leaves the clear bits alone; bic clears the set ones.
    PaintRect({0, 10, 8, 18});
    PenPat(kGray);
    PenMode(patBic);
    PaintRect({0, 10, 8, 18});
    EXPECT_EQ(w.blacks(), 32 + 32);
    PenMode(patOr);
    EraseRect({0, 0, 60, 80});
    PenPat(kLightGray);
    PaintRect({0, 0, 8, 8});
    EXPECT_EQ(w.blacks(), 16);
    // The printing pass's mode 23 is no boolean mode: it paints as a copy.
    PenPat(kBlack);
    PenMode(23);
    PaintRect({20, 0, 30, 10});
    EXPECT_EQ(w.blacks(), 16 + 100);
}

TEST(QuickDraw, ClipByRectangleAndPolygon) {
    World w;
    ClipRect({10, 10, 20, 20});
    PaintRect({0, 0, 60, 80});
    EXPECT_EQ(w.blacks(), 100);
    EXPECT_FALSE(w.black(20, 15));
    ClipAll();
    EraseRect({0, 0, 60, 80});
    // A diamond: the turned square of a rotated item.
    ClipPoly({{{0, 20}, {20, 40}, {40, 20}, {20, 0}}});
    PaintRect({0, 0, 60, 80});
    EXPECT_TRUE(w.inked({{20, 20}}, {{2, 2}, {38, 38}}));
    EXPECT_NEAR(w.blacks(), 800, 40);
    Rect r;
    GetClip(&r);
    EXPECT_EQ(r, (Rect{0, 0, 40, 40}));
}

TEST(QuickDraw, ColoursFromPercentagesLandExactly) {
    World w;
    // Red, green and blue channels from cyan, magenta, yellow and black percentages.
    auto channel = [](int colour, int black) {
        return static_cast<uint16_t>((100 - std::min(100, colour + black)) * 655.355);
    };
    const int cmyk[][4] = {{0, 0, 0, 0}, {100, 0, 0, 0}, {20, 45, 70, 10}, {3, 97, 50, 1}};
    int h = 0;
    for (const auto& c : cmyk) {
        const RGBColor want{channel(c[0], c[3]), channel(c[1], c[3]), channel(c[2], c[3])};
        RGBForeColor(want);
        PaintRect({0, h, 10, h + 10});
        const RGBColor got = w.at(h + 5, 5);
        EXPECT_EQ(got.red >> 8, want.red >> 8);
        EXPECT_EQ(got.green >> 8, want.green >> 8);
        EXPECT_EQ(got.blue >> 8, want.blue >> 8);
        h += 10;
    }
}

TEST(QuickDraw, ShallowWorldsShowTheirColours) {
    {
        World w({0, 0, 20, 20}, 1);
        EXPECT_EQ(GWorldDepth(w.w), 1);
        RGBForeColor({0xFFFF, 0x8000, 0xFFFF});
        PaintRect({0, 0, 10, 10});
        EXPECT_EQ(w.blacks(), 100);
    }
    {
        World w({0, 0, 20, 20}, 8);
        RGBForeColor({0x3000, 0x9000, 0xFFFF});
        PaintRect({0, 0, 10, 10});
        EXPECT_EQ(w.at(0, 0), (RGBColor{0x3333, 0x9999, 0xFFFF}));
    }
    GWorldPtr bad = nullptr;
    EXPECT_NE(NewGWorld(&bad, 4, {0, 0, 10, 10}), 0);
    EXPECT_EQ(bad, nullptr);
    EXPECT_NE(NewGWorld(&bad, 32, {0, 0, 0, 10}), 0);
}

TEST(QuickDraw, CopyBitsCopiesOrsScalesAndMasks) {
    World src({0, 0, 10, 10});
    PaintRect({0, 0, 5, 10});  // the top half black
    World dst({0, 0, 40, 40});
    RGBForeColor({0xFFFF, 0, 0});
    PaintRect({0, 0, 40, 40});
    CopyBits(src.w, {0, 0, 10, 10}, {0, 0, 10, 10}, srcOr);
    EXPECT_TRUE(dst.black(3, 3));
    EXPECT_EQ(dst.at(3, 7), (RGBColor{0xFFFF, 0, 0}));
    CopyBits(src.w, {0, 0, 10, 10}, {20, 20, 40, 40}, srcCopy);
    EXPECT_TRUE(dst.black(39, 29));
    EXPECT_EQ(dst.at(39, 30), (RGBColor{0xFFFF, 0xFFFF, 0xFFFF}));
    Polygon mask{{{0, 0}, {0, 20}, {20, 20}, {20, 0}}};
    CopyBits(src.w, {0, 0, 10, 10}, {0, 0, 40, 40}, srcCopy, &mask);
    EXPECT_TRUE(dst.inked({{19, 19}}, {{20, 19}}));
}

TEST(QuickDraw, ShapesStayInsideTheirRectangles) {
    World w;
    PaintOval({10, 10, 30, 50});
    EXPECT_TRUE(w.inked({{30, 20}}, {{10, 10}, {50, 20}}));
    EraseRect({0, 0, 60, 80});
    FrameOval({10, 10, 30, 50});
    EXPECT_TRUE(w.inked({{10, 20}}, {{30, 20}}));
    EraseRect({0, 0, 60, 80});
    PaintRoundRect({10, 10, 30, 50}, 10, 10);
    EXPECT_TRUE(w.inked({{11, 20}}, {{10, 10}}));
    EraseRect({0, 0, 60, 80});
    PaintArc({0, 0, 40, 40}, 0, 90);  // the upper right quarter
    EXPECT_TRUE(w.inked({{25, 15}}, {{15, 15}, {25, 25}}));
}

// ---- Text --------------------------------------------------------------------

using qdtest::fontNumber;

TEST(QuickDrawText, WidthsAndMetricsOfThePinnedFonts) {
    ASSERT_TRUE(testsupport::useTestFonts());
    World w({0, 0, 60, 200});
    TextFont(fontNumber("Helvetica"));
    TextSize(12);
    const unsigned char hello[] = "\x05Hello";
    EXPECT_EQ(StringWidth(hello), 29);
    EXPECT_EQ(CharWidth('W'), 11);
    FontInfo fi;
    GetFontInfo(&fi);
    EXPECT_GT(fi.ascent, 8);
    EXPECT_LT(fi.ascent, 13);
    EXPECT_GT(fi.descent, 1);
    MoveTo(10, 30);
    DrawString(hello);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 10 + 29);
    EXPECT_GT(w.blacks(), 40);
    // The 'H' stands on the baseline and reaches the cap height; nothing lies
    // below the descent.
    EXPECT_EQ(w.inkRows(10, 18), std::make_pair(30 - 9, 29));
    EXPECT_LE(w.inkRows(0, 200).second, 30 + fi.descent);
    // Fractional widths add up exactly, so ten narrow characters differ.
    const unsigned char ten[] = "iiiiiiiiii";
    SetFractEnable(false);
    const int32_t whole = TextWidth(ten, 0, 10);
    SetFractEnable(true);
    EXPECT_NE(TextWidth(ten, 0, 10), whole);
    SetFractEnable(false);
}

TEST(QuickDrawText, ModesAndScaledText) {
    ASSERT_TRUE(testsupport::useTestFonts());
    World w({0, 0, 80, 200});
    TextFont(fontNumber("Helvetica"));
    TextSize(20);
    MoveTo(10, 30);
    DrawString(reinterpret_cast<const unsigned char*>("\x02HH"));
    const auto drawn = w.pixels();
    TextMode(srcXor);
    MoveTo(10, 30);
    DrawString(reinterpret_cast<const unsigned char*>("\x02HH"));
    EXPECT_EQ(w.blacks(), 0);
    TextMode(srcOr);
    const int once = [&] {
        MoveTo(10, 30);
        DrawString(reinterpret_cast<const unsigned char*>("\x02HH"));
        return w.blacks();
    }();
    EXPECT_EQ(w.pixels(), drawn);
    EraseRect({0, 0, 80, 200});
    MoveTo(10, 60);
    StdText("HH", 2, {2, 2}, {1, 1});
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 10 + 2 * 2 * CharWidth('H'));
    EXPECT_NEAR(w.blacks(), 4 * once, once);
}

TEST(QuickDrawText, BarFontDigitsComeFromTheBuiltInOutlines) {
    // No font installed at all: the bar font needs none.
    ASSERT_TRUE(testsupport::useNoFonts());
    World w({0, 0, 60, 120});
    TextFont(fontNumber("Strixel"));
    TextSize(40);
    MoveTo(5, 50);
    DrawString(
        reinterpret_cast<const unsigned char*>("\x03"
                                               "018"));
    EXPECT_GT(w.blacks(), 300);
    FontInfo fi;
    GetFontInfo(&fi);
    EXPECT_EQ(fi.ascent, 34);
    // The digits stand on the baseline.
    const auto [top, bottom] = w.inkRows(0, 120);
    EXPECT_NEAR(bottom, 50 - 3, 2);
    EXPECT_NEAR(top, 50 - 34, 2);
    EXPECT_EQ(CharWidth('0'), 26);  // 2.31 mm at 10 points, so 9.2 mm at 40
}

// ---- Pictures -----------------------------------------------------------------

void drawSample() {
    PenSize(2, 3);
    RGBForeColor({0x8000, 0x2000, 0xFFFF});
    PaintRect({4, 4, 20, 30});
    ForeColor(blackColor);
    FrameRect({22, 4, 40, 40});
    MoveTo(2, 50);
    LineTo(70, 44);
    PenPat(kGray);
    PaintOval({30, 40, 58, 78});
    PenNormal();
    ClipPoly({{{0, 40}, {30, 70}, {60, 40}, {30, 10}}});
    InvertRect({0, 0, 60, 80});
}

// Records `draw` into a picture and replays it into w (fresh, 60 x 80): the
// recording draws nothing, and the replay gives the very pixels of drawing
// directly into another fresh world.
Picture* replayAsDrawn(World& w, const std::function<void()>& draw) {
    std::vector<uint32_t> direct;
    {
        World d;
        draw();
        direct = d.pixels();
    }
    SetGWorld(w.w);
    Picture* pic = OpenPicture({0, 0, 60, 80});
    draw();
    ClosePicture();
    EXPECT_EQ(w.count({0xFFFF, 0xFFFF, 0xFFFF}), 60 * 80);
    ClipAll();
    ForeColor(blackColor);
    PenNormal();
    DrawPicture(pic, {0, 0, 60, 80});
    EXPECT_EQ(w.pixels(), direct);
    return pic;
}

TEST(QuickDrawPicture, ReplayEqualsDrawingDirectly) {
    World w;
    Picture* pic = replayAsDrawn(w, drawSample);
    // Replayed twice as large, the black frame lands on doubled coordinates.
    World big({0, 0, 120, 160});
    DrawPicture(pic, {0, 0, 120, 160});
    EXPECT_TRUE(big.inked({{8, 44}, {10, 79}}, {{7, 50}}));
    EXPECT_EQ(big.at(10, 10), (RGBColor{0x8080, 0x2020, 0xFFFF}));
    KillPicture(pic);
}

TEST(QuickDrawPicture, CopiedBitsReplayAsDrawn) {
    World src({0, 0, 10, 10});
    FillRect({0, 0, 10, 10}, kGray);
    World w;
    KillPicture(replayAsDrawn(w, [&src] {
        RGBForeColor({0xFFFF, 0, 0});
        PaintRect({0, 0, 60, 80});
        CopyBits(src.w, {0, 0, 10, 10}, {5, 5, 25, 45}, srcCopy);
        Polygon mask{{{30, 0}, {60, 30}, {30, 60}}};
        CopyBits(src.w, {0, 0, 10, 10}, {30, 0, 60, 60}, srcOr, &mask);
    }));
    EXPECT_EQ(w.at(0, 59), (RGBColor{0xFFFF, 0, 0}));  // or: white bits leave the red
}

TEST(QuickDrawPicture, APictureReplayedIntoARecordingKeepsItsOwnState) {
    World w;
    Picture* inner = OpenPicture({0, 0, 10, 10});
    PaintRect({0, 0, 10, 10});  // black: a picture starts from a fresh state
    ClosePicture();
    KillPicture(replayAsDrawn(w, [inner] {
        RGBForeColor({0xFFFF, 0, 0});
        ClipRect({0, 0, 60, 40});
        DrawPicture(inner, {0, 0, 20, 20});
        PaintRect({20, 0, 30, 60});  // red again, and clipped again
    }));
    EXPECT_TRUE(w.black(5, 5));
    EXPECT_EQ(w.at(5, 25), (RGBColor{0xFFFF, 0, 0}));
    EXPECT_FALSE(w.black(45, 25));
    KillPicture(inner);
}

TEST(QuickDrawPicture, CommentsKeepTheirOrderAndDataAndStateCarriesIn) {
    World w;
    PenSize(4, 4);
    Picture* pic = OpenPicture({0, 0, 10, 10});
    PicComment(190, 0, nullptr);
    const char angle[8] = {0, 0, 0, 90, 0, 0x5A, 0, 0};
    PicComment(200, 8, angle);
    MoveTo(1, 1);
    LineTo(1, 1);
    PicComment(201, 0, nullptr);
    PicComment(191, 0, nullptr);
    ClosePicture();
    std::vector<int> kinds;
    for (const PicOp& op : pic->ops)
        if (op.op == Op::Comment) kinds.push_back(op.a[0]);
    EXPECT_EQ(kinds, (std::vector<int>{190, 200, 201, 191}));
    EXPECT_EQ(pic->ops.front().op, Op::PenSize);  // the pen set before opening
    PenNormal();
    DrawPicture(pic, {0, 0, 10, 10});
    EXPECT_EQ(w.blacks(), 16);
    KillPicture(pic);
}

}  // namespace
