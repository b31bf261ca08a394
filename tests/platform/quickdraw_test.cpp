#include "platform/quickdraw/quickdraw.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/quickdraw/picture.h"
#include "qd_world.h"
#include "support/cases.h"
#include "support/fonts.h"

namespace {

using namespace qd;

using qdtest::World;

// A call's arguments: whole numbers, and a pattern's or a mode's name.
struct Args {
    std::vector<int> n;
    std::string word;
    Rect rect() const { return {n.at(0), n.at(1), n.at(2), n.at(3)}; }
    Pattern pattern() const {
        return word == "gray" ? kGray : word == "lightgray" ? kLightGray : kBlack;
    }
};

const std::map<std::string, std::function<void(const Args&)>> kCalls{
    {"PaintRect", [](const Args& a) { PaintRect(a.rect()); }},
    {"FrameRect", [](const Args& a) { FrameRect(a.rect()); }},
    {"FillRect", [](const Args& a) { FillRect(a.rect(), a.pattern()); }},
    {"PaintOval", [](const Args& a) { PaintOval(a.rect()); }},
    {"FrameOval", [](const Args& a) { FrameOval(a.rect()); }},
    {"PaintRoundRect", [](const Args& a) { PaintRoundRect(a.rect(), a.n.at(4), a.n.at(5)); }},
    {"PaintArc", [](const Args& a) { PaintArc(a.rect(), a.n.at(4), a.n.at(5)); }},
    {"ClipRect", [](const Args& a) { ClipRect(a.rect()); }},
    {"PenSize", [](const Args& a) { PenSize(a.n.at(0), a.n.at(1)); }},
    {"PenPat", [](const Args& a) { PenPat(a.pattern()); }},
    {"PenMode",
     [](const Args& a) {
         PenMode(a.word.empty() ? a.n.at(0) : a.word == "or" ? patOr : patBic);
     }},
    {"MoveTo", [](const Args& a) { MoveTo(a.n.at(0), a.n.at(1)); }},
    {"LineTo", [](const Args& a) { LineTo(a.n.at(0), a.n.at(1)); }},
    {"Line", [](const Args& a) { Line(a.n.at(0), a.n.at(1)); }},
    {"Pen",
     [](const Args& a) {
         Point pen;
         GetPen(&pen);
         EXPECT_EQ(std::vector<int>({pen.h, pen.v}), a.n);
     }},
};

// Runs a script of tests/data/platform/drawing.txt in the current world.
void run(const std::string& script) {
    std::istringstream calls(script);
    for (std::string call; std::getline(calls, call, ';');) {
        std::istringstream in(call);
        std::string name, word;
        in >> name;
        Args a;
        while (in >> word) {
            if (word.find_first_not_of("-0123456789") == std::string::npos)
                a.n.push_back(std::stoi(word));
            else
                a.word = word;
        }
        const auto found = kCalls.find(name);
        if (found == kCalls.end())
            ADD_FAILURE() << "no call " << name;
        else
            found->second(a);
    }
}

// Points written "h,v h,v ...".
World::Points points(const std::string& text) {
    std::istringstream in(text);
    World::Points out;
    int h = 0, v = 0;
    char comma = 0;
    while (in >> h >> comma >> v) out.emplace_back(h, v);
    return out;
}

TEST(QuickDraw, DrawingScripts) {
    for (const auto& c : testsupport::readCases("platform/drawing.txt", 4)) {
        SCOPED_TRACE(c.where);
        World w;
        run(c[0]);
        if (c[1] != "-") {
            EXPECT_EQ(w.blacks(), c.integer(1));
        }
        EXPECT_TRUE(w.inked(points(c[2]), points(c[3])));
    }
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

TEST(QuickDraw, ClipByPolygon) {
    World w;
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

// Glyphs larger than the font library sets, or of no width (a damaged
// picture's size and ratio), are left out, and the world goes on drawing what
// follows.
TEST(QuickDrawText, GlyphsBeyondAnyFontSizeLeaveTheWorldDrawing) {
    ASSERT_TRUE(testsupport::useTestFonts());
    for (int depth : {32, 1}) {
        World w({0, 0, 60, 120}, depth);
        TextFont(fontNumber("Helvetica"));
        TextSize(8552);
        MoveTo(10, 30);
        StdText("HH", 2, {1, 48}, {1, 1});
        TextSize(20);
        StdText("HH", 2, {1, 0}, {1, 1});  // no width
        TextSize(20);
        MoveTo(10, 55);
        DrawString(reinterpret_cast<const unsigned char*>("\x02HH"));
        EXPECT_GT(w.blacks(), 0) << depth;
        const int text = w.blacks();
        PaintRect({40, 80, 60, 120});
        EXPECT_EQ(w.blacks(), text + 20 * 40) << depth;
    }
    // A picture's large ratio replayed onto a destination far larger than its
    // frame: the scaled ratio stays within its numbers.
    World w({0, 0, 60, 120});
    Picture* pic = OpenPicture({0, 0, 10, 10});
    StdText("HH", 2, {30000, 30000}, {1, 1});
    ClosePicture();
    DrawPicture(pic, {0, 0, 200000, 200000});
    KillPicture(pic);
    PaintRect({40, 80, 60, 120});
    EXPECT_EQ(w.blacks(), 20 * 40);
    // A ratio that carries the pen past the coordinates' range leaves it at the end.
    const std::string many(9000, 'H');
    MoveTo(10, 30);
    StdText(many.data(), static_cast<int32_t>(many.size()), {1, 30000}, {1, 1});
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, std::numeric_limits<int32_t>::max());
}

TEST(QuickDrawText, TextAfterAClipIsLiftedShowsWhole) {
    ASSERT_TRUE(testsupport::useTestFonts());
    World w({0, 0, 40, 300});
    TextFont(fontNumber("Helvetica"));
    TextSize(12);
    // A line drawn within a narrow clip, then the clip lifted: the text that
    // follows reaches its far end.
    ClipRect({0, 0, 40, 20});
    MoveTo(3, 3);
    LineTo(3, 3);
    ClipAll();
    const std::string text(30, 'H');
    MoveTo(10, 20);
    DrawText(text.data(), 0, static_cast<int32_t>(text.size()));
    const int right = 10 + TextWidth(text.data(), 0, static_cast<int32_t>(text.size()));
    int inkRight = -1;
    for (int v = 0; v < 40; ++v)
        for (int h = 0; h < 300; ++h)
            if (w.black(h, v)) inkRight = std::max(inkRight, h);
    EXPECT_GT(inkRight, right - 4);
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
