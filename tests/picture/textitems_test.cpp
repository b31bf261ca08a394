// Text items: the escape language at a fixed clock, and the text box drawn
// by a printing pass of the picture driver, read back as pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/world.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "labels/rotateRect.h"
#include "pict_fixture.h"
#include "picture/PICout2.h"
#include "picture/textitems.h"
#include "platform/quickdraw/quickdraw.h"
#include "platform/quickdraw/textbox.h"
#include "support/cases.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr int64_t kFixedClock = 1772719629;  // 2026-03-05 14:07:09 UTC
constexpr char kZone[] = "CET-1";

struct TextItems : picttest::LabelWorld {
    void SetUp() override {
        LabelWorld::SetUp();
        gEscapeClock = {kFixedClock, kZone};
    }

    // A text item of 12-point Helvetica on no ground.
    static LabelItem& textItem(const std::string& text, Rect16 r, int orient = 0) {
        EXPECT_EQ(addLabelItem(), 0);
        LabelItem& it = *gLabel.labelParts[static_cast<size_t>(labelBack.lastItem)];
        it.setI16(item::kind, kKindText);
        it.setI16(item::rectTop, r.top);
        it.setI16(item::rectLeft, r.left);
        it.setI16(item::rectBottom, r.bottom);
        it.setI16(item::rectRight, r.right);
        it.setI16(item::orientPacked, orient * 2);
        it.setI16(item::transparent, 1);
        it.dataHandle = text + std::string(2, '\0');
        it.hasDataHandle = true;
        return it;
    }
    // Prints the label into the world and returns the box around its ink
    // (bottom and right exclusive; empty when nothing was drawn) and its count
    // of inked pixels.
    qd::Rect printInk(int* count = nullptr) {
        print();
        int stride = 0;
        const uint32_t* p = qd::GWorldPixels(world, &stride);
        qd::Rect ink{200, 300, 0, 0};
        for (int v = 0; v < 200; ++v)
            for (int h = 0; h < 300; ++h)
                if ((p[v * stride / 4 + h] & 0xFF) < 128) {
                    ink = {std::min(ink.top, v), std::min(ink.left, h), std::max(ink.bottom, v + 1),
                           std::max(ink.right, h + 1)};
                    if (count) ++*count;
                }
        return ink;
    }
    int inkCount() {
        int n = 0;
        printInk(&n);
        return n;
    }
};

TEST_F(TextItems, EscapesAtAFixedClock) {
    for (const auto& c : testsupport::readCases("picture/escapes.txt", 2))
        EXPECT_EQ(SearchReplace(c[0].data(), c[0].size()), c[1]) << c.where;
}

TEST_F(TextItems, RepeatedEscapesGrowPastTheOldBuffer) {
    // Each escape gives 79 characters (its result cut there) for 14 typed ones,
    // so the text ends far beyond its length plus 1024.
    const std::string one = "\\\\%c%c%c%c%c%c\\";
    std::string typed;
    for (int i = 0; i < 40; ++i) typed += one;
    const std::string once = SearchReplace(one.data(), one.size());
    ASSERT_EQ(once.size(), 79u);
    EXPECT_EQ(once.substr(0, 24), "Thu Mar  5 15:07:09 2026");
    const std::string all = SearchReplace(typed.data(), typed.size());
    EXPECT_EQ(all.size(), 40 * once.size());
    EXPECT_EQ(all.substr(39 * 79), once);
    EXPECT_GT(all.size(), typed.size() + 1024);
}

TEST_F(TextItems, WrapsAtTheBoxWidthAndAtLineEnds) {
    unsigned char helvetica[] = "\x09Helvetica";
    int16_t font = 0;
    qd::GetFNum(helvetica, &font);
    qd::TextFont(font);
    qd::TextSize(12);
    for (const auto& c : testsupport::readCases("picture/wrapped_lines.txt", 4)) {
        const int32_t width = qd::TextWidth(c[1].data(), 0, static_cast<int32_t>(c[1].size()));
        std::string joined;
        for (const std::string& l : qd::WrapTextLines(c[0], width + c.integer(2)))
            joined += (joined.empty() ? "" : "/") + l;
        EXPECT_EQ(joined, c[3]) << c.where;
    }
}

// The turned text starts at the rectangle's top-left (0), bottom-left (90),
// bottom-right (180) or top-right (270) corner: a short text leaves its ink in
// that corner's half of the turned rectangle.
TEST_F(TextItems, FourTurnsPlaceTheBoxByPixels) {
    const Rect16 r{80, 100, 100, 220};  // 120 wide, 20 high: turned about (90, 160)
    struct Turn {
        int orient;
        bool nearLeft, nearTop;  // which half of the turned rectangle holds the ink
        bool upright;            // ink wider than high
    };
    for (const Turn t : {Turn{0, true, true, true}, Turn{90, true, false, false},
                         Turn{180, false, false, true}, Turn{270, false, true, false}}) {
        initLabelItems();
        textItem("HHHH", r, t.orient);
        const qd::Rect ink = printInk();
        Rect16 turned = r;
        gSym.orient = t.orient;
        RotateRect(&turned);
        ASSERT_FALSE(ink.empty()) << t.orient;
        EXPECT_GE(ink.top, turned.top - 1) << t.orient;
        EXPECT_GE(ink.left, turned.left - 1) << t.orient;
        EXPECT_LE(ink.bottom, turned.bottom + 1) << t.orient;
        EXPECT_LE(ink.right, turned.right + 1) << t.orient;
        const int midH = (turned.left + turned.right) / 2, midV = (turned.top + turned.bottom) / 2;
        if (t.upright) {
            EXPECT_EQ(ink.right <= midH, t.nearLeft) << t.orient;
            EXPECT_GT(ink.width(), ink.height()) << t.orient;
        } else {
            EXPECT_EQ(ink.bottom <= midV, t.nearTop) << t.orient;
            EXPECT_GT(ink.height(), ink.width()) << t.orient;
        }
    }
}

TEST_F(TextItems, JustificationAndWrappingInTheBox) {
    textItem("HH", {20, 100, 60, 220});
    const qd::Rect left = printInk();
    gLabel.labelParts[0]->setI16(item::teJust, -1);
    const qd::Rect right = printInk();
    EXPECT_LT(left.right, 140);
    EXPECT_GE(right.right, 215);
    EXPECT_EQ(left.width(), right.width());
    // Two lines: a line break escape, and a return typed as such.
    gLabel.labelParts[0]->dataHandle = std::string("HH\\nHH\rHH\0\0", 11);
    gLabel.labelParts[0]->setI16(item::teJust, 0);
    const qd::Rect three = printInk();
    EXPECT_GT(three.height(), 2 * left.height() + 10);
}

// Lines past the box would print over the label below; the first line is drawn
// however low the box, and a turned box keeps its item's height.
TEST_F(TextItems, LinesStopAtTheBoxBottom) {
    const std::string many = "HH\rHH\rHH\rHH\rHH\rHH\rHH\rHH";
    const Rect16 r{20, 100, 60, 220};  // 40 high: two lines and a half of 12 points
    textItem(many, r);
    const qd::Rect upright = printInk();
    EXPECT_LE(upright.bottom, r.bottom + 4);  // a descent below the last baseline at most
    EXPECT_GT(upright.height(), 20);          // more than the first line
    initLabelItems();
    textItem(many, {20, 100, 25, 220});
    EXPECT_GT(printInk().height(), 5);
    initLabelItems();
    textItem(many, r, 90);
    Rect16 turned = r;
    gSym.orient = 90;
    RotateRect(&turned);
    const qd::Rect side = printInk();
    EXPECT_GE(side.left, turned.left - 4);
    EXPECT_EQ(side.width(), upright.height());
}

TEST_F(TextItems, MacRomanBytesAboveAsciiDrawTheirGlyphs) {
    textItem("e", {20, 20, 100, 200}).setI16(item::customTeSize, 48);
    const int plain = inkCount();
    gLabel.labelParts[0]->dataHandle = std::string("\x8E\0\0", 3);  // e acute
    const int accented = inkCount();
    EXPECT_GT(accented, plain + 20);
    gLabel.labelParts[0]->dataHandle = std::string("\xA5\0\0", 3);  // bullet
    EXPECT_GT(inkCount(), 3);
}

// A serial item draws the number the run has reached, as a fixed text of the
// same characters is drawn.
TEST_F(TextItems, SerialItemsDrawTheirCurrentData) {
    LabelItem& fixed = textItem("00042", {20, 20, 60, 200});
    const int want = inkCount();
    ASSERT_GT(want, 0);
    fixed.dataHandle.clear();
    fixed.hasDataHandle = false;
    fixed.setI16(item::humanPacked, 2 * 1);  // serial numbers
    fixed.setText(item::serPos, "00042");
    fixed.setText(item::dataText, std::string("00042") + kVT + kVT);
    EXPECT_EQ(inkCount(), want);
}

}  // namespace
