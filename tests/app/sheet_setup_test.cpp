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
        {11, kMeasMillimetre, "210", true, &LabelSheet::sheetWidth, 5952755},
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

}  // namespace
