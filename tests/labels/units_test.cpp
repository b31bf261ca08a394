#include <gtest/gtest.h>

#include <string>

#include "label_world.h"
#include "symbology/panels.h"
#include "labels/rotateRect.h"
#include "labels/units.h"

namespace {

struct Units : LabelWorld {
    static void type(int slot, const std::string& text) { gPanels.TEBack3[slot].text = text; }
};

TEST_F(Units, OneInchInEveryUnit) {
    const double expected[] = {1, 2.54, 25.4, 72, 812};
    for (int32_t u = kMeasInch; u <= kMeasFine; ++u) {
        gUnits.gMeasType = u;
        EXPECT_NEAR(convertToMeas(720), expected[u], 1e-12) << u;
        EXPECT_EQ(convertToMeas2(720), convertToMeas(720));
        EXPECT_NEAR(convertFromMeas(expected[u]), 720, 1e-9) << u;
    }
}

TEST_F(Units, AnUnknownUnitIsMillimetres) {
    for (int32_t bad : {-1, 5, 999}) {
        gUnits.gMeasType = bad;
        EXPECT_EQ(convertToMeas(720), 720 * 0.035277777777777776);
        EXPECT_EQ(convertFromMeas(25.4), 25.4 * 28.346456692913385);
    }
}

TEST_F(Units, TenMillimetresWideIs28Points) {
    ASSERT_EQ(addLabelItem(), 0);
    gUnits.gMeasType = kMeasMillimetre;
    type(9, "5");
    type(10, "2.5");
    type(11, "10");
    type(12, "  7.9x");
    setitemdimensions();
    // 5 mm = 141.7 tenths: 14 points; 2.5 mm = 70.9: 7; 10 mm = 283.46 tenths: 28
    // points; 7.9 mm = 223.9: 22.
    EXPECT_EQ(gLabel.itRect.top, 14);
    EXPECT_EQ(gLabel.itRect.left, 7);
    EXPECT_EQ(gLabel.itRect.right, 7 + 28);
    EXPECT_EQ(gLabel.itRect.bottom, 14 + 22);
    const LabelItem& it = *gLabel.labelParts[0];
    EXPECT_EQ(it.i16(item::rectRight), 35);  // applied to the item (no layout: every item)
}

TEST_F(Units, FieldsShowTheRectangleInTheUnit) {
    gUnits.gMeasType = kMeasPoint;
    gLabel.itRect = {10, 20, 50, 120};
    getitemdimensions();
    EXPECT_EQ(gPanels.TEBack3[9].text, "10.000000");
    EXPECT_EQ(gPanels.TEBack3[10].text, "20.000000");
    EXPECT_EQ(gPanels.TEBack3[11].text, "100.000000");
    EXPECT_EQ(gPanels.TEBack3[12].text, "40.000000");
    gUnits.gMeasType = kMeasInch;
    getitemdimensions();
    EXPECT_EQ(gPanels.TEBack3[11].text, "1.388889");
    // Turned a quarter, the fields show the turned bounds; typed back they give
    // the unturned rectangle.
    gUnits.gMeasType = kMeasPoint;
    gSym.orient = 90;
    getitemdimensions();
    EXPECT_EQ(gPanels.TEBack3[11].text, "40.000000");
    EXPECT_EQ(gPanels.TEBack3[12].text, "100.000000");
    setitemdimensions();
    EXPECT_EQ(gLabel.itRect.left, 20);
    EXPECT_EQ(gLabel.itRect.top, 10);
    EXPECT_EQ(gLabel.itRect.right, 120);
    EXPECT_EQ(gLabel.itRect.bottom, 50);
}

TEST_F(Units, TurnedRectangles) {
    Rect16 r{0, 0, 20, 10};
    gSym.orient = 180;
    RotateRect(&r);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 20);
    gSym.orient = 45;
    RotateRect(&r);
    EXPECT_EQ(r.left, -6);  // centre 5, 10; half extent (5 + 10) x 0.7071
    EXPECT_EQ(r.right, 16);
}

}  // namespace
