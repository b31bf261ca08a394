// The sheet setup fields against the working copy, without a window: what each
// kind of field takes, what it refuses and leaves alone, and OK's order of
// refusals.
#include <gtest/gtest.h>

#include <string>

#include "app/sheetSetup.h"
#include "app/world.h"
#include "labels/labelDoc.h"
#include "labels/units.h"

namespace {

struct Typed {
    int field;
    int unit;
    const char* text;
    bool taken;
    uint32_t LabelSheet::*word;
    uint32_t value;  // the word afterwards
};

TEST(SheetSetupFields, EachFieldTakesItsNumbersAndRefusesTheRest) {
    const Typed cases[] = {
        {5, kMeasPoint, "100", true, &LabelSheet::labelWidth, 1000000},
        {5, kMeasInch, "1", true, &LabelSheet::labelWidth, 720000},
        {5, kMeasFine, "812", true, &LabelSheet::labelWidth, 720000},
        {5, kMeasPoint, "", true, &LabelSheet::labelWidth, 0},
        {5, kMeasPoint, "7.", true, &LabelSheet::labelWidth, 70000},
        {5, kMeasPoint, "-5", false, &LabelSheet::labelWidth, 1},
        {5, kMeasPoint, "1e3", false, &LabelSheet::labelWidth, 1},
        {5, kMeasPoint, "1.5.", false, &LabelSheet::labelWidth, 1},
        {5, kMeasPoint, "nan", false, &LabelSheet::labelWidth, 1},
        {5, kMeasPoint, "429496.8", false, &LabelSheet::labelWidth, 1},
        {11, kMeasMillimetre, "210", true, &LabelSheet::sheetWidth, 5952756},
        {1, kMeasPoint, "1279", true, &LabelSheet::across, 1279 + 2 * 1280},
        {1, kMeasPoint, "1280", false, &LabelSheet::across, 3 + 2 * 1280},
        {9, kMeasPoint, "3354", true, &LabelSheet::across, 3 + 3354 * 1280},
        {9, kMeasPoint, "3355", false, &LabelSheet::across, 3 + 2 * 1280},
        {2, kMeasPoint, "12.9", true, &LabelSheet::down, 12 + 7 * 1280},
        {10, kMeasPoint, "2.55", true, &LabelSheet::down, 8 + 25 * 1280},
        {10, kMeasPoint, "335.5", false, &LabelSheet::down, 8 + 7 * 1280},
    };
    for (const Typed& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " \"" + c.text + "\"");
        resetWorld();
        gUnits.gMeasType = c.unit;
        LabelSheet copy;
        copy.labelWidth = copy.sheetWidth = 1;
        copy.across = 3 + 2 * kGutterModulus;
        copy.down = 8 + 7 * kGutterModulus;
        EXPECT_EQ(storeSheetField(c.field, c.text, &copy), c.taken);
        EXPECT_EQ(copy.*c.word, c.value);
    }
    resetWorld();
}

TEST(SheetSetupFields, LengthsTypedInAnyUnitKeepTheirTenths) {
    const Typed cases[] = {
        {5, kMeasCentimetre, "2.54", true, &LabelSheet::labelWidth, 720000},
        {6, kMeasCentimetre, "1.27", true, &LabelSheet::labelHeight, 360000},
        {3, kMeasCentimetre, "0.254", true, &LabelSheet::spaceAcross, 72000},
        {7, kMeasInch, "0.35", true, &LabelSheet::leftMargin, 252000},
        {5, kMeasMillimetre, "5", true, &LabelSheet::labelWidth, 141732},
        {10, kMeasCentimetre, "2.54", true, &LabelSheet::down, 8 + 720 * 1280},
        {10, kMeasMillimetre, "5", true, &LabelSheet::down, 8 + 141 * 1280},
    };
    for (const Typed& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " \"" + c.text + "\"");
        resetWorld();
        gUnits.gMeasType = c.unit;
        LabelSheet copy;
        copy.down = 8;
        EXPECT_EQ(storeSheetField(c.field, c.text, &copy), c.taken);
        EXPECT_EQ(copy.*c.word, c.value);
    }
    // A value typed again as its field shows it stores what it showed.
    for (int unit : {kMeasInch, kMeasCentimetre, kMeasMillimetre, kMeasPoint, kMeasFine}) {
        resetWorld();
        gUnits.gMeasType = unit;
        for (uint32_t v = 7; v < 9000000; v += 99991) {
            LabelSheet copy;
            copy.labelWidth = v;
            ASSERT_TRUE(storeSheetField(5, sheetFieldText(5, copy), &copy));
            EXPECT_EQ(copy.labelWidth, v) << "unit " << unit;
        }
    }
    resetWorld();
}

TEST(SheetSetupFields, OKRefusesInItsOrderAndAppliesToTheRightSheet) {
    resetWorld();
    labelBack.lastItem = 4;
    labelBack2 = LabelSheet{};
    EXPECT_EQ(applySheetSetup(), 35);
    labelBack2.labelWidth = 1000;
    EXPECT_EQ(applySheetSetup(), 36);
    labelBack2.labelHeight = 2000;
    labelBack2.across = kGutterModulus;  // a gutter column, no label column
    EXPECT_EQ(applySheetSetup(), 37);
    labelBack2.across = 2;
    EXPECT_EQ(applySheetSetup(), 38);
    EXPECT_EQ(labelBack.labelWidth, 0u) << "nothing applied while refused";
    labelBack2.down = 3;
    labelBack2.sheetWidth = 5952000;
    labelBack2.lastItem = -1;
    EXPECT_EQ(applySheetSetup(), 0);
    EXPECT_EQ(labelBack.labelWidth, 1u);
    EXPECT_EQ(labelBack.labelHeight, 2u);
    EXPECT_EQ(labelBack.sheetWidth, 5952u);
    EXPECT_EQ(labelBack.lastItem, 4) << "the layout's items stay";

    gSheetWin.printsheet = 1;
    labelBack2.labelWidth = 7000;
    EXPECT_EQ(applySheetSetup(), 0);
    EXPECT_EQ(labelBack3.labelWidth, 7000u) << "the print copy keeps thousandths";
    EXPECT_EQ(labelBack3.lastItem, 4);
    EXPECT_EQ(labelBack.labelWidth, 1u);
    resetSheetSetupWindow();
    resetWorld();
}

// A sheet of single symbols is held to what a layout's sheet is.
TEST(SheetSetupFields, OKChecksASheetOfSymbolsToo) {
    struct Case {
        uint32_t across, down, width, sheet;  // width and sheet in tenths
        uint16_t fault;
    };
    const Case cases[] = {
        {3, 7, 2809, 5953, 1457},  // three 99.1 mm labels on A4
        {200, 200, 200, 0, 1458},  // 40000 positions
        {200, 1, 1000, 0, 1459},   // a row of 2778 inches
        {2, 7, 2809, 5953, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.across);
        resetWorld();
        gSheetWin.printsheet = 1;
        labelBack2 = LabelSheet{};
        labelBack2.across = c.across;
        labelBack2.down = c.down;
        labelBack2.labelWidth = c.width * kSheetCopyScale;
        labelBack2.labelHeight = 200 * kSheetCopyScale;
        labelBack2.sheetWidth = c.sheet * kSheetCopyScale;
        labelBack2.sheetHeight = c.sheet == 0 ? 0 : 8419 * kSheetCopyScale;
        EXPECT_EQ(applySheetSetup(), c.fault);
        EXPECT_EQ(labelBack3.labelWidth, c.fault == 0 ? labelBack2.labelWidth : 0);
    }
    resetSheetSetupWindow();
    resetWorld();
}

}  // namespace
