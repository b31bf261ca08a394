#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

struct LabelItems : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
    }
    LabelItem& item0() { return *gLabel.labelParts[0]; }
    int32_t newBarcode() {
        EXPECT_EQ(addLabelItem(), 0);
        int32_t i = labelBack.lastItem;
        gLabel.labelParts[static_cast<size_t>(i)]->setI16(item::kind, kKindBarcode);
        return i;
    }
    // The data as the data field leaves it.
    static void setData(const std::string& data) {
        copyBounded(gData.chMainCode, data.c_str());
        copyBounded(gData.chMainCode2, data.c_str());
        gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
    }
};

TEST_F(LabelItems, StartValues) {
    EXPECT_EQ(labelBack.leftMargin, 162u);
    EXPECT_EQ(labelBack.topMargin, 389u);
    EXPECT_EQ(labelBack.across, 2u);
    EXPECT_EQ(labelBack.down, 8u);
    EXPECT_EQ(labelBack.labelHeight, 960u);
    EXPECT_EQ(labelBack.lastItem, -1);
    EXPECT_FALSE(labelLayoutOpen());
}

TEST_F(LabelItems, SettingsSurviveAStoreAndLoad) {
    int32_t i = newBarcode();
    gSym.code = 7;
    gSym.variation1 = 12;
    gSym.Siz = 87.5;
    gSym.Hei = 22.5;
    gSym.BWidthRed = 20;
    gSym.ratio = -1;
    gSym.cutMarks = 1;
    gSym.nCheck = 1;
    gSym.human = 0;
    gSym.extraMargin = 9;
    gSym.textAsFont = 1;
    gSym.cLength = 2000;
    gSym.lMode = 3;
    gSym.cyan22 = 40;
    gSym.customColour = 1;
    gLabel.alpha = 1;
    pstrSet(gSym.customCol, "PANTONE 286 C");
    pstrSet(gSym.fontBelow, "Helvetica-Bold");
    setData("(00)123456789012345675");
    copyBounded(gData.chPrefix, "pre");
    copyBounded(gData.chSuffix, "suf");
    copyBounded(gData.chAddCode, "Q4");
    gData.len2 = 2;
    setItemData(i, 4);

    EXPECT_EQ(item0().i16(item::checkPacked), 1 + 2 + 4);
    EXPECT_EQ(item0().i16(item::ratioPacked), 1 + 4 * 9);

    gSym = SymbolSettings{};
    gData = SymbolData{};
    gLabel.alpha = 0;
    getItemData(i);
    EXPECT_EQ(gSym.code, 7);
    EXPECT_EQ(gSym.variation1, 12);
    EXPECT_DOUBLE_EQ(gSym.Siz, 87.5);
    EXPECT_DOUBLE_EQ(gSym.Hei, 22.5);
    EXPECT_EQ(gSym.BWidthRed, 20);
    EXPECT_EQ(gSym.ratio, -1);
    EXPECT_EQ(gSym.cutMarks, 1);
    EXPECT_EQ(gSym.nCheck, 1);
    EXPECT_EQ(gSym.human, 0);
    EXPECT_EQ(gSym.extraMargin, 9);
    EXPECT_EQ(gSym.textAsFont, 1);
    EXPECT_EQ(gSym.cLength, 2000);
    EXPECT_EQ(gSym.lMode, 3);
    EXPECT_EQ(gSym.cyan22, 40);
    EXPECT_EQ(gSym.customColour, 1);
    EXPECT_EQ(gLabel.alpha, 1);
    EXPECT_TRUE(pstrEquals(gSym.customCol, "PANTONE 286 C"));
    EXPECT_TRUE(pstrEquals(gSym.fontBelow, "Helvetica-Bold"));
    EXPECT_STREQ(gData.chMainCode2, "(00)123456789012345675");
    EXPECT_STREQ(gData.chPrefix, "pre");
    EXPECT_STREQ(gData.chSuffix, "suf");
    EXPECT_STREQ(gData.chAddCode, "Q4");
    EXPECT_EQ(gData.len1, 22);
    // The bar-width step follows the reduction: 20 / (87.5 / 2), capped at 3 here.
    EXPECT_EQ(gSym.BW, 0);
}

TEST_F(LabelItems, OldStyleMagnificationAndHeights) {
    int32_t i = newBarcode();
    item0().setI16(item::siz, 250);
    item0().setI16(item::hei, 30);
    getItemData(i);
    EXPECT_EQ(gSym.Siz, 250);
    EXPECT_EQ(gSym.Hei, 30);
    item0().setI16(item::siz, 10000);
    item0().setI16(item::hei, 50);
    getItemData(i);
    EXPECT_EQ(gSym.Siz, 100);
    EXPECT_EQ(gSym.Hei, 50);  // not above 100: taken as millimetres
}

TEST_F(LabelItems, BarcodesAreStoredUnrotated) {
    int32_t i = newBarcode();
    gSym.orient = 90;
    setItemData(i, 0);
    EXPECT_EQ(gSym.orient, 0);
    getItemData(i);
    EXPECT_EQ(gSym.orient, 0);
}

TEST_F(LabelItems, EmptyDataInALayoutGetsTheSample) {
    int32_t i = newBarcode();
    labelBack.labelWidth = 1000;
    gData.chMainCode[0] = 0;
    setItemData(i, 2);
    EXPECT_EQ(item0().text(item::dataText), "501234567890\x0b\x0b");
}

TEST_F(LabelItems, SerialStartTexts) {
    int32_t i = newBarcode();
    copyBounded(gData.chPrefix, "P");
    gLabel.serPos = "0001";
    setItemData(i, 2);
    EXPECT_EQ(item0().text(item::dataText), "0001\x0bP\x0b");
    gLabel.serPos = "0001\x0bX";
    setItemData(i, 2);
    EXPECT_EQ(item0().text(item::dataText), "0001\x0bX");
}

TEST_F(LabelItems, DefaultFontIsCutBeforeTheQuestion) {
    int32_t i = newBarcode();
    pstrSet(gSym.defFont, std::string(200, 'F').c_str());
    gLabel.textQuest = "How many?";
    setItemData(i, 2);
    std::string stored = item0().text(item::defFont);
    EXPECT_EQ(stored.size(), 127u + 1 + 9);
    getItemData(i);
    EXPECT_EQ(gLabel.textQuest, "How many?");
    EXPECT_EQ(gSym.defFont[0], 126);
}

TEST_F(LabelItems, AHundredItemsAtMost) {
    for (int k = 0; k < kMaxLabelItems; ++k) ASSERT_EQ(addLabelItem(), 0);
    EXPECT_EQ(addLabelItem(), 1);
    EXPECT_EQ(labelBack.lastItem, kMaxLabelItems - 1);
    EXPECT_FALSE(gMsg.last.empty());
}

TEST_F(LabelItems, NewCodeReplacesTheSingleItem) {
    addLabelItem();
    addLabelItem();
    addNewCode();
    EXPECT_EQ(labelBack.lastItem, 0);
    EXPECT_EQ(item0().u16(item::kind), kKindBarcode);
    EXPECT_EQ(item0().i16(item::selected), 1);
    labelBack.labelWidth = 100;
    addNewCode();  // a layout is open: nothing changes
    EXPECT_EQ(labelBack.lastItem, 0);
}

TEST_F(LabelItems, EmptySlotsAreIgnored) {
    getItemData(5);
    setItemData(-1, 4);
    clearItemData(100);
    EXPECT_EQ(getProMode(42), 0);
}

// A 2-D symbol's data is far longer than the item's text field; storing and
// loading the item must not cut it.
TEST_F(LabelItems, LongBarcodeDataSurvivesTheItem) {
    int32_t i = newBarcode();
    gSym.code = 40;
    std::string data(1500, 'Q');
    data[1499] = 'Z';
    std::string options(255, 'H');
    setData(data);
    copyBounded(gData.chAddCode, options.c_str());
    gData.len2 = 255;
    setItemData(i, 4);
    gData = SymbolData{};
    getItemData(i);
    EXPECT_EQ(std::string(gData.chMainCode), data);
    EXPECT_EQ(gData.len1, 1500);
    EXPECT_EQ(std::string(gData.chAddCode), options);
}

// The item's data field separates data, prefix and suffix by VT: data holding a
// VT of its own must still come back exactly, with its prefix and suffix.
TEST_F(LabelItems, DataHoldingTheSeparatorSurvivesTheItem) {
    int32_t i = newBarcode();
    gSym.code = 5;
    const std::string data =
        "A\x0b"
        "B\x0b"
        "C";
    setData(data);
    copyBounded(gData.chPrefix, "pre");
    copyBounded(gData.chSuffix, "suf");
    setItemData(i, 4);
    gData = SymbolData{};
    getItemData(i);
    EXPECT_EQ(std::string(gData.chMainCode), data);
    EXPECT_STREQ(gData.chPrefix, "pre");
    EXPECT_STREQ(gData.chSuffix, "suf");
}

}  // namespace
