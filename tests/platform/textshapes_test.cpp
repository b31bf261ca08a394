// Text shapes drawn into an offscreen world with the test fonts: wrapping,
// truncation, justification and vertical placement.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/toolbox/textshapes.h"
#include "qd_world.h"
#include "support/fonts.h"

namespace {

using namespace platform;

constexpr qd::Rect kBox{20, 20, 100, 140};  // 120 wide, 80 high

struct Ink {
    int left = 1000, right = -1, top = 1000, bottom = -1;
};
Ink inkIn(const qdtest::World& w, int top, int bottom) {
    Ink ink;
    for (int v = top; v < bottom; ++v)
        for (int h = 0; h < 160; ++h)
            if (w.black(h, v)) {
                ink.left = std::min(ink.left, h), ink.right = std::max(ink.right, h);
                ink.top = std::min(ink.top, v), ink.bottom = std::max(ink.bottom, v);
            }
    return ink;
}

Ink draw(const qdtest::World& w, const char* text, int16_t hJust, int16_t vAlign,
         bool truncated = false) {
    cTextShape shape;
    cTextShapeInit(&shape, text, kLineHeightFromFont, kBox, "Helvetica", 12, 0, 0, hJust, vAlign);
    if (truncated)
        cTextShapeDrawTrunc(shape);
    else
        cTextShapeDraw(shape);
    return inkIn(w, 0, 120);
}

TEST(TextShapes, WrappedLinesStayInTheBoxAndBreakAtBlanks) {
    ASSERT_TRUE(testsupport::useTestFonts());
    qdtest::World w({0, 0, 120, 160});
    const char* text = "The quick brown fox jumps over the lazy dog again";
    qd::TextFont(qdtest::fontNumber("Helvetica"));
    qd::TextSize(12);
    std::vector<ShapeLine> lines;
    cTextShapeLines(text, static_cast<int32_t>(std::strlen(text)), kBox.width(), &lines);
    ASSERT_GT(lines.size(), 1u);
    for (const ShapeLine& l : lines) {
        EXPECT_LE(qd::TextWidth(text, l.start, l.length), kBox.width());
        EXPECT_NE(text[l.start], ' ');
        const char after = text[l.start + l.length];
        EXPECT_TRUE(after == ' ' || after == '\0') << "a line ends at a word's end";
    }
    // A word wider than the box is broken inside; returns end lines, CR LF once.
    cTextShapeLines("Supercalifragilistic", 20, 30, &lines);
    EXPECT_GT(lines.size(), 1u);
    cTextShapeLines("a\rb\r\nc", 6, 100, &lines);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].start, 5);
    EXPECT_TRUE(lines[0].endsParagraph);

    const Ink ink = draw(w, text, shapeLeft, shapeTop);
    EXPECT_GE(ink.left, kBox.left);
    EXPECT_LT(ink.right, kBox.right);
    EXPECT_GE(ink.top, kBox.top);
    EXPECT_EQ(draw(w, "", shapeLeft, shapeTop).right, ink.right) << "an empty text draws nothing";
}

TEST(TextShapes, JustificationPlacesEachLine) {
    ASSERT_TRUE(testsupport::useTestFonts());
    const char* text = "Left right and centre lines of words";
    int lefts[3], rights[3];
    const int16_t justs[3] = {shapeLeft, shapeCentre, shapeRight};
    for (int i = 0; i < 3; ++i) {
        qdtest::World w({0, 0, 120, 160});
        const Ink ink = draw(w, "short", justs[i], shapeTop);
        lefts[i] = ink.left, rights[i] = ink.right;
    }
    EXPECT_LE(lefts[0], kBox.left + 1);
    EXPECT_GE(rights[2], kBox.right - 2);
    EXPECT_NEAR((lefts[1] + rights[1]) / 2, (kBox.left + kBox.right) / 2, 2);

    // Full justification stretches every line but the last to the box's width.
    qdtest::World w({0, 0, 120, 160});
    const Ink all = draw(w, text, shapeFull, shapeTop);
    const Ink first = inkIn(w, kBox.top, kBox.top + 12);
    EXPECT_GE(first.right, kBox.right - 2);
    const Ink last = inkIn(w, all.bottom - 8, all.bottom + 1);
    EXPECT_LT(last.right, kBox.right - 10);
}

TEST(TextShapes, VerticalAlignmentAndLineHeight) {
    ASSERT_TRUE(testsupport::useTestFonts());
    Ink at[4];
    for (int16_t a : {shapeTop, shapeMiddle, shapeBottom}) {
        qdtest::World w({0, 0, 120, 160});
        at[a] = draw(w, "Hg", shapeLeft, a);
    }
    EXPECT_LT(at[shapeTop].top, at[shapeMiddle].top);
    EXPECT_LT(at[shapeMiddle].top, at[shapeBottom].top);
    EXPECT_LE(at[shapeTop].top, kBox.top + 4);
    EXPECT_NEAR((at[shapeMiddle].top + at[shapeMiddle].bottom) / 2, 60, 4);
    EXPECT_NEAR(at[shapeBottom].bottom, kBox.bottom, 4);  // the baseline at the bottom

    qdtest::World w({0, 0, 120, 160});
    cTextShape shape;
    cTextShapeInit(&shape, "a\rb\rc", 20, kBox, "Helvetica", 12, 0, 0, 0, 1);
    EXPECT_EQ(cTextShapeGetActualTextDepth(shape), 60);
    shape.lineHeight = kLineHeightFromFont;
    EXPECT_EQ(cTextShapeGetActualTextDepth(shape), 3 * CP_FontHeight());
    EXPECT_GT(CP_FontHeight(), CP_FontAscentHeight());

    // The longest line is counted once, with its margin.
    cTextShapeResetLongestLine();
    cTextShapeInit(&shape, "iii\rWWWWW", kLineHeightFromFont, kBox, "Helvetica", 12, 0, 0, 0, 1);
    const int32_t longest = cTextShapeGetLongestLineLength(shape);
    EXPECT_EQ(longest, qd::TextWidth("WWWWW", 0, 5) + 4);
    shape.box.right = shape.box.left + 5;
    EXPECT_EQ(cTextShapeGetLongestLineLength(shape), longest);
    cTextShapeResetLongestLine();
}

TEST(TextShapes, TruncationEndsInAnEllipsisAndBoundsItsInput) {
    ASSERT_TRUE(testsupport::useTestFonts());
    const std::string longText(1000, 'M');
    {
        qdtest::World w({0, 0, 120, 160});
        const Ink ink = draw(w, longText.c_str(), shapeLeft, shapeTop, true);
        EXPECT_LT(ink.right, kBox.right);
        EXPECT_GT(ink.right, kBox.right - 20);
        // One line only.
        EXPECT_LT(ink.bottom - ink.top, 16);
    }
    for (int16_t just : {shapeRight, shapeCentre}) {
        qdtest::World w({0, 0, 120, 160});
        const Ink ink = draw(w, "ab", just, shapeTop, true);
        if (just == shapeRight) {
            EXPECT_GE(ink.right, kBox.right - 2);
        } else {
            EXPECT_NEAR((ink.left + ink.right) / 2, 80, 2);
        }
    }
    // A font name past 49 characters is cut, not overrun.
    cTextShape shape;
    const std::string name(80, 'F');
    cTextShapeInit(&shape, "x", 0, kBox, name.c_str(), 12, 0, 0, 0, 1);
    EXPECT_EQ(std::strlen(shape.fontName), 49u);
}

}  // namespace
