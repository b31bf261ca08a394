#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <sstream>
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

template <typename T>
std::string text(const T& v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

// A field of the symbol settings or the panels by name, as text.
std::string field(const std::string& name) {
    const std::map<std::string, std::function<std::string()>> fields = {
        {"Siz", [] { return text(gSym.Siz); }},
        {"Hei", [] { return text(gSym.Hei); }},
        {"fontBelow",
         [] { return std::string(gSym.fontBelow + 1, gSym.fontBelow + 1 + gSym.fontBelow[0]); }},
        {"insetAmount", [] { return text(gSym.insetAmount); }},
        {"customTeSize", [] { return text(gSym.customTeSize); }},
        {"code", [] { return text(gSym.code); }},
        {"variation1", [] { return text(gSym.variation1); }},
        {"nCheck", [] { return text(gSym.nCheck); }},
        {"human", [] { return text(gSym.human); }},
        {"attTop", [] { return text(gSym.attTop); }},
        {"non_light", [] { return text(gSym.non_light); }},
        {"line", [] { return text(gSym.line); }},
        {"end_bars", [] { return text(gSym.end_bars); }},
        {"extraMargin", [] { return text(gSym.extraMargin); }},
        {"TeF", [] { return std::string(gSym.TeF); }},
        {"TEH", [] { return gPanels.TEH.text; }},
        {"TEHeight", [] { return gPanels.TEHeight.text; }},
    };
    const auto f = fields.find(name);
    return f == fields.end() ? "(no field " + name + ")" : f->second();
}

TEST_F(CodeTypes, WhatChoosingATypeSets) {
    for (const auto& r : testsupport::readCases("symbology/type_settings.txt", 5)) {
        SCOPED_TRACE(r.where);
        resetWorld();
        gSym.code = r.integer(0);
        gSym.variation1 = r.integer(1);
        gSym.nCheck = r.integer(2);
        gSym.hMode = r.integer(3);
        GetCodeText();
        std::istringstream in(r[4]);
        for (std::string item; std::getline(in, item, ';');) {
            const size_t eq = item.find('=');
            EXPECT_EQ(field(item.substr(0, eq)), item.substr(eq + 1)) << item;
        }
    }
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
    gSym.code = 0;
    SetCodeLen();
    EXPECT_EQ(gPanels.TEBack2[6].text, "12");
    // A type without a fixed length keeps the length the user gave.
    platform::TESetText("6", 1, &gPanels.TEBack2[6]);
    gSym.code = 5;
    SetCodeLen();
    EXPECT_EQ(gPanels.TEBack2[6].text, "6");
}

TEST_F(CodeTypes, CutMarksSetTheInset) {
    gSym.cutMarks = 1;
    copeWithCutMarks();
    EXPECT_EQ(gSym.insetAmount, 10);
    gSym.cutMarks = 0;
    copeWithCutMarks();
    EXPECT_EQ(gSym.insetAmount, 0);
}

TEST(ColourFields, InscolourFillsTheFieldItNames) {
    resetPanels();
    inscolour(1, reinterpret_cast<const unsigned char*>("\x02"
                                                        "42"));
    inscolour(3, reinterpret_cast<const unsigned char*>("\x03"
                                                        "100"));
    EXPECT_EQ(gPanels.TEMage.text, "42");
    EXPECT_EQ(gPanels.TEBlac.text, "100");
    EXPECT_EQ(gPanels.TECyan.text, "");
    // Numbers outside the four fields change nothing.
    inscolour(4, reinterpret_cast<const unsigned char*>("\x01"
                                                        "9"));
    inscolour(-1, reinterpret_cast<const unsigned char*>("\x01"
                                                         "9"));
    EXPECT_EQ(gPanels.TEYell.text, "");
    resetPanels();
}

}  // namespace
