#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/world.h"
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

struct Row {
    int code;
    int variant;
    const char* name;
    int length;  // getCodeLen with nCheck 0
    int canEdit3;
    int anumer;  // -1: not set by the type (stays as it was)
};

// Every family of the table, with the variants that differ.
constexpr Row kRows[] = {
    {0, 0, "EAN-UCC 13", 12, 1, -1},
    {0, 12, "Peacocks EAN 13", 12, 1, -1},
    {0, 255, "EAN 13 Text Below Addon", 12, 1, -1},
    {0, 257, "EAN Presscode 419", 12, 1, -1},
    {1, 2, "ISMN", 9, 1, -1},
    {1, 3, "ISBN-13", 12, 1, -1},
    {1, 4, "ISBN-13-10", 9, 1, -1},
    {2, 1, "ISSN No Text", 9, 1, -1},
    {3, 0, "EAN-UCC 8", 7, 1, -1},
    {3, 1, "WHS 6", 5, 1, -1},
    {3, 8, "Primark 7", 7, 1, -1},
    {4, 0, "ITF-UCC", 25, 0, -1},
    {4, 2, "Next", 9, 0, -1},
    {4, 7, "Accessorize10", 10, 0, -1},
    {4, 10, "EAN14 ITF-UCC", 13, 0, -1},
    {4, 14, "Next 9", 9, 0, -1},
    {5, 0, "Code 128", 0, 0, 0},
    {5, 5, "Code 128 A", 0, 0, 0},
    {5, 9, "Code 128", 0, 0, 0},
    {5, 13, "SICI - SISAC", 0, 0, 0},
    {6, 2, "Code 39 Dynix", 0, 0, -1},
    {6, 6, "Dutch Pharmaceutical", 13, 0, -1},
    {6, 7, "Portugese Pharmaceutical", 7, 0, -1},
    {7, 0, "GS1 128", 0, 0, 0},
    {7, 12, "SSCC 18", 17, 0, 0},
    {8, 0, "Codabar Dynix", 13, 0, 2},
    {8, 1, "Codabar Film Dynix", 13, 0, 2},
    {8, 2, "Codabar Ameritech Mod10", 13, 0, 2},
    {9, 0, "Small EAN", 7, 1, -1},
    {10, 2, "GAP", 11, 1, -1},
    {10, 5, "NDC UPC 5-5", 10, 1, -1},
    {11, 0, "UPC E", 11, 1, -1},
    {12, 0, "SICK", 7, 1, -1},
    {13, 0, "M&S BEL", 19, 1, -1},
    {14, 0, "ITF6 NoCheck", 5, 1, -1},
    {15, 0, "M&S Shoe", 10, 1, -1},
    {16, 3, "MS 7C", 7, 1, -1},
    {17, 1, "Laetus Mini", 7, 1, -1},
    {18, 0, "ITF NC HALLMARK", 0, 0, 0},
    {19, 0, "Code 11", 0, 0, 0},
    {20, 0, "PLESSEY", 0, 0, 2},
    {21, 2, "2 OF 5 Matrix", 0, 0, 0},
    {22, 0, "ITF ICELAND", 0, 0, 0},
    {23, 0, "DUN 16", 15, 1, -1},
    {24, 0, "ITF Ethel Austin", 15, 0, -1},
    {25, 0, "MC", 0, 0, 0},
    {26, 0, "Plus Code", 12, 1, -1},
    {28, 0, "Code 93", 0, 0, 0},
    {29, 0, "IKEA", 0, 0, 0},
    {30, 1, "KIX NL", 0, 0, 0},
    {31, 0, "Postnet ZIP 4+", 0, 0, 0},
    {32, 0, "FIM", 0, 0, 0},
    {35, 1, "Belgian MSI", 6, 0, 2},
    {36, 2, "Telepen Dynix", 13, 0, -1},
    {36, 3, "Telepen Limerick", 6, 0, -1},
    {37, 3, "Databar 14 Stacked Omnidirectional", 0, 0, 0},
    {37, 6, "Databar", 0, 0, 0},
    {38, 2, "EAN Datamatrix", 0, 0, 0},
    {39, 0, "Codablock F", 0, 0, 0},
    {40, 0, "QRCode", 0, 0, 0},
    {41, 0, "Micro PDF417", 0, 0, 0},
    {42, 2, "PDF417 Trunc", 0, 0, 0},
};

TEST_F(CodeTypes, NamesLengthsAndSerialClasses) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(std::to_string(r.code) + "/" + std::to_string(r.variant));
        resetWorld();
        EXPECT_EQ(nameOf(r.code, r.variant), r.name);
        gSym.anumer = 7;
        EXPECT_EQ(getCodeLen(r.code), r.length);
        EXPECT_EQ(gSym.gglen, r.length);
        EXPECT_EQ(gSym.canEdit3, r.canEdit3);
        EXPECT_EQ(gSym.anumer, r.anumer == -1 ? 7 : r.anumer);
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
