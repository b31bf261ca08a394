#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "picture/colours.h"
#include "picture/hooks.h"
#include "picture/printscale.h"
#include "platform/quickdraw/quickdraw.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

// An offscreen world 100 x 100 made current for each test.
struct Hooks : ::testing::Test {
    qd::GWorldPtr world = nullptr;
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
        resetDrawingHooks();
        ASSERT_EQ(qd::NewGWorld(&world, 32, {0, 0, 100, 100}), 0);
        qd::SetGWorld(world);
    }
    void TearDown() override {
        resetDrawingHooks();
        qd::SetGWorld(nullptr);
        qd::DisposeGWorld(world);
    }
    static qd::RGBColor at(int h, int v) {
        qd::RGBColor c;
        qd::GetCPixel(h, v, &c);
        return c;
    }
    static bool white(int h, int v) { return at(h, v) == qd::RGBColor{65535, 65535, 65535}; }
};

constexpr qd::RGBColor kBlack{0, 0, 0};

TEST_F(Hooks, BarsAndLinesReachTheirDefaults) {
    gHooks.bar_ptr({10, 20, 30, 25});
    EXPECT_EQ(at(20, 10), kBlack);
    EXPECT_EQ(at(24, 29), kBlack);
    EXPECT_TRUE(white(25, 10));
    EXPECT_TRUE(white(20, 30));
    gHooks.line_ptr(50, 60, 90, 60, 0);
    EXPECT_EQ(at(70, 60), kBlack);
    EXPECT_TRUE(white(70, 61));
}

TEST_F(Hooks, CharacterHookReturnsTheWidthCorrection) {
    const unsigned char m = 'M', paren = '(', close = ')', a = 'a';
    EXPECT_EQ(gHooks.text_ptr(&m, 10, 50), 3122);
    EXPECT_EQ(gHooks.text_ptr(&paren, 30, 50), 1320);
    EXPECT_EQ(gHooks.text_ptr(&close, 40, 50), 1320);
    EXPECT_EQ(gHooks.text_ptr(&a, 50, 50), 0);
    const unsigned char text[] = "Hi";
    gHooks.drawstring_ptr(text, 60, 80, 2);
    qd::Point pen;
    qd::GetPen(&pen);
    EXPECT_GT(pen.h, 60);  // the pen moved past the text
    EXPECT_EQ(pen.v, 80);
}

// A filled shape takes item i's second colour set, then its frame the current colour.
TEST_F(Hooks, ShapesFillWithTheItemsSecondColours) {
    ASSERT_EQ(addLabelItem(), 0);
    LabelItem& it = *gLabel.labelParts[0];
    it.setI16(item::cyan22, 100);  // cyan: red off
    it.setI16(item::black22, 0);
    gSym.transpar_ent = 0;
    gSym.black2 = 100;  // a black frame
    gHooks.rect_ptr(10, 10, 40, 40, 0);
    EXPECT_EQ(at(20, 20), (qd::RGBColor{0, 65535, 65535}));
    EXPECT_EQ(at(10, 20), kBlack);  // the frame inside the rectangle
    EXPECT_EQ(at(39, 20), kBlack);
    EXPECT_TRUE(white(40, 20));
    gHooks.oval_ptr(50, 10, 90, 50, 0);
    EXPECT_EQ(at(70, 30), (qd::RGBColor{0, 65535, 65535}));
    EXPECT_TRUE(white(51, 11));  // outside the oval's curve
}

TEST_F(Hooks, ATransparentRoundedRectangleIsOnlyFramedWith16PointCorners) {
    ASSERT_EQ(addLabelItem(), 0);
    gLabel.labelParts[0]->setI16(item::cyan22, 100);
    gSym.transpar_ent = 1;
    gHooks.rrect_ptr(10, 10, 90, 90, 0);
    EXPECT_TRUE(white(50, 50));     // not filled
    EXPECT_EQ(at(50, 10), kBlack);  // top edge
    EXPECT_TRUE(white(10, 10));     // the corner is rounded away ...
    EXPECT_TRUE(white(11, 12));
    EXPECT_EQ(at(10, 18), kBlack);  // ... for 8 points (half the 16-point oval)
}

TEST_F(Hooks, CmykBecomesTheForeground) {
    setBackColourInPict(0, 50, 0, 20);  // magenta 50 + black 20 = 70 off green
    qd::RGBColor c;
    qd::GetForeColor(&c);
    EXPECT_EQ(
        c, (qd::RGBColor{static_cast<uint16_t>(80 * 655.355), static_cast<uint16_t>(30 * 655.355),
                         static_cast<uint16_t>(80 * 655.355)}));
    gSym.cyan2 = 90;
    gSym.black2 = 90;  // more than 100 in all: no light at all
    setColourInPict();
    qd::GetForeColor(&c);
    EXPECT_EQ(c, (qd::RGBColor{0, static_cast<uint16_t>(10 * 655.355),
                               static_cast<uint16_t>(10 * 655.355)}));
}

// For printing, an item's settings are scaled to the printer's resolution.
TEST_F(Hooks, PrintScaling) {
    for (double factor : {300.0 / 72, 600.0 / 72, 4.0, 1.0}) {
        resetWorld();
        gLabel.itRect = {10, 21, 57, 133};
        gSym.insetAmount = 3;
        gSym.Siz = 80;
        gSym.Hei = 22.85;
        gSym.BWidthRed = 15;
        gSym.customTeSize = 9;
        gSym.line = 1.5;
        gSym.cLength = 37;
        gSym.cuHei = 12.3;
        gSym.extraMargin = 5;
        scaleItemData(factor);
        SCOPED_TRACE(factor);
        EXPECT_EQ(gLabel.itRect.top, static_cast<int16_t>(10 * factor));
        EXPECT_EQ(gLabel.itRect.left, static_cast<int16_t>(21 * factor));
        EXPECT_EQ(gLabel.itRect.bottom, static_cast<int16_t>(57 * factor));
        EXPECT_EQ(gLabel.itRect.right, static_cast<int16_t>(133 * factor));
        EXPECT_EQ(gSym.insetAmount, static_cast<int32_t>(3 * factor));
        EXPECT_DOUBLE_EQ(gSym.Siz, 80 * factor);
        EXPECT_DOUBLE_EQ(gSym.Hei, 22.85 * factor);
        EXPECT_EQ(gSym.BWidthRed, static_cast<int32_t>(15 * factor));
        EXPECT_EQ(gSym.customTeSize, static_cast<int32_t>(9 * factor));
        EXPECT_DOUBLE_EQ(gSym.line, 1.5 * factor);
        EXPECT_EQ(gSym.cLength, static_cast<int32_t>(37 * factor));
        EXPECT_DOUBLE_EQ(gSym.cuHei, 12.3 * factor);
        EXPECT_EQ(gSym.extraMargin, static_cast<int32_t>(5 * factor));
    }
    // 300 dpi: 10 x 4.1666 = 41.66 truncates to 41; negative values toward zero.
    Rect16 r{10, -10, 20000, 3};
    ScaleDoubleRect(&r, 300.0 / 72);
    EXPECT_EQ(r.top, 41);
    EXPECT_EQ(r.left, -41);
    EXPECT_EQ(r.bottom, INT16_MAX);  // beyond 16 bits: held at the edge
    EXPECT_EQ(r.right, 12);
}

}  // namespace
