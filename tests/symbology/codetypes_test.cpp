#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/world.h"
#include "support/cases.h"
#include "symbology/panels.h"
#include "labels/production.h"
#include "symbology/appBits.h"
#include "symbology/state.h"

namespace {

struct CodeTypes : ::testing::Test {
    void SetUp() override { resetWorld(); }
    std::string nameOf(int code, int variant) {
        gSym.code = code;
        gSym.variation1 = variant;
        GetCodeActualText();
        return gSym.TeF;
    }
};

// Every family of the table, with the variants that differ.
TEST_F(CodeTypes, NamesLengthsAndSerialClasses) {
    for (const auto& r : testsupport::readCases("symbology/codetypes.txt", 6)) {
        SCOPED_TRACE(r[0] + "/" + r[1]);
        resetWorld();
        EXPECT_EQ(nameOf(r.integer(0), r.integer(1)), r[2]);
        gSym.anumer = 7;
        const int length = r.integer(3);
        EXPECT_EQ(getCodeLen(r.integer(0)), length);
        EXPECT_EQ(gSym.gglen, length);
        EXPECT_EQ(gSym.canEdit3, r.integer(4));
        EXPECT_EQ(gSym.anumer, r[5] == "-" ? 7 : r.integer(5));
    }
}

TEST_F(CodeTypes, NamesThatDependOnOtherSettings) {
    EXPECT_EQ(nameOf(1, 0), "ISBN OCR B");
    pstrSet(gSym.fontAbove, "OCR-ANormal");
    EXPECT_EQ(nameOf(1, 0), "ISBN OCR A");
    EXPECT_EQ(nameOf(2, 0), "ISSN OCR A");
    gSym.nCheck = 1;
    EXPECT_EQ(nameOf(4, 1), "ITF NC");
    EXPECT_EQ(nameOf(8, 0), "Codabar");
    gSym.variation = 2;
    EXPECT_EQ(nameOf(15, 0), "M&S T&B");
    // A variant without a name keeps the previous one.
    EXPECT_EQ(nameOf(27, 0), "M&S T&B");
    EXPECT_EQ(nameOf(7, 3), "M&S T&B");
}

TEST_F(CodeTypes, LengthCountsTheCheckWhenItIsOff) {
    gSym.nCheck = 1;
    gSym.variation1 = 10;
    EXPECT_EQ(getCodeLen(4), 14);
    gSym.variation1 = 0;
    EXPECT_EQ(getCodeLen(4), 26);
}

TEST_F(CodeTypes, LegacyFamiliesFoldIntoInterleaved) {
    gSym.code = 29;
    GetCodeText();
    EXPECT_EQ(gSym.code, 4);
    EXPECT_EQ(gSym.variation1, 14);
    EXPECT_EQ(gSym.nCheck, 1);
    EXPECT_EQ(gSym.human, 0);
    EXPECT_EQ(gSym.non_light, 0);
    EXPECT_STREQ(gSym.TeF, "IKEA");

    resetWorld();
    gSym.code = 18;
    gSym.variation1 = 9;
    gSym.nCheck = 1;
    GetCodeText();
    EXPECT_EQ(gSym.code, 4);
    EXPECT_EQ(gSym.variation1, 0);
    EXPECT_EQ(gSym.nCheck, 0);
    EXPECT_STREQ(gSym.TeF, "ITF NC HALLMARK");

    resetWorld();
    gSym.code = 22;
    gSym.variation1 = 3;
    GetCodeText();
    EXPECT_EQ(gSym.code, 4);
    EXPECT_EQ(gSym.variation1, 3);
    EXPECT_STREQ(gSym.TeF, "ITF ICELAND");
}

TEST_F(CodeTypes, TypeDefaultsAndFonts) {
    gSym.code = 0;
    gSym.variation1 = 2;
    GetCodeText();
    EXPECT_EQ(gSym.Siz, 80);
    EXPECT_EQ(gSym.Hei, 15);
    EXPECT_TRUE(pstrEquals(gSym.fontBelow, "Helvetica-Bold"));

    resetWorld();
    gSym.code = 0;
    gSym.variation1 = 3;
    GetCodeText();
    EXPECT_EQ(gSym.insetAmount, 2);
    EXPECT_EQ(gPanels.TEH.text, "2200");

    resetWorld();
    gSym.code = 6;
    gSym.variation1 = 14;
    GetCodeText();
    EXPECT_EQ(gPanels.TEH.text, "PZN-");
    EXPECT_TRUE(pstrEquals(gSym.fontBelow, "Courier-New-Bold"));
    EXPECT_EQ(gSym.Siz, 80);
    EXPECT_EQ(gSym.customTeSize, 18);

    resetWorld();
    gSym.code = 13;
    GetCodeText();
    EXPECT_EQ(gSym.Siz, 100);
    EXPECT_EQ(gSym.Hei, 15);

    resetWorld();
    gSym.code = 4;
    gSym.variation1 = 12;
    GetCodeText();
    EXPECT_EQ(gSym.variation1, 0);
    EXPECT_EQ(gSym.attTop, 1);
    EXPECT_EQ(gSym.non_light, 0);

    resetWorld();
    gSym.code = 9;
    gSym.hMode = 2;
    GetCodeText();
    EXPECT_EQ(gPanels.TEHeight, "0.20");

    resetWorld();
    gSym.code = 7;
    gSym.variation1 = 15;
    GetCodeText();
    EXPECT_EQ(gSym.line, 4);
    EXPECT_EQ(gSym.end_bars, 1);
    EXPECT_EQ(gSym.extraMargin, 20);
    EXPECT_TRUE(pstrEquals(gSym.fontBelow, "OCRB"));
}

TEST_F(CodeTypes, CodeLengthFieldFollowsTheEntryMode) {
    gSym.code = 0;
    SetCodeLen();
    EXPECT_TRUE(gPanels.TEBack1[3].text.empty());
    EXPECT_TRUE(gPanels.TEBack2[6].text.empty());
    gProd.background = 1;
    SetCodeLen();
    EXPECT_EQ(gPanels.TEBack1[3].text, "12");
    gProd.background = 2;
    gSym.code = 5;
    SetCodeLen();
    EXPECT_EQ(gPanels.TEBack2[6].text, "0");
}

TEST_F(CodeTypes, CutMarksSetTheInset) {
    gSym.cutMarks = 1;
    copeWithCutMarks();
    EXPECT_EQ(gSym.insetAmount, 10);
    gSym.cutMarks = 0;
    copeWithCutMarks();
    EXPECT_EQ(gSym.insetAmount, 0);
}

}  // namespace
