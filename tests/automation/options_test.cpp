// The options line: what an EPS file carries of the settings comes back whole
// when the line is read again.
#include <gtest/gtest.h>

#include <cstring>

#include "support/symbol_data.h"
#include "app/world.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "platform/files.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/cases.h"
#include "vector/optionsLine.h"
#include "vector/sink.h"

namespace {

void fresh() {
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
}

TEST(OptionsLine, FormOfTheLine) {
    fresh();
    gSym.code = 5;  // the line names the type drawn
    copyBounded(gSym.TeF, "Code 128");
    gSym.Siz = 87.5;
    gSym.Hei = 12.25;
    gSym.BWidthRed = -15;
    copyBounded(gData.chMainCode2, "AB\tC");
    gData.len1 = gData.len11 = 4;
    gSym.cyan2 = 10;
    gSym.magenta2 = 20;
    gSym.yellow2 = 30;
    gSym.black2 = 40;
    pstrSet(gSym.customCol, "Gold");
    EXPECT_EQ(testsupport::writtenOptionsLine(),
              "%%Options: {type:\"Code 128\", size:\"87.500000\", height:\"12.250000\", "
              "bwr:\"-15\", data:\"\", colour:\"10 20 30 40\", spotname:\"Gold\"}\r");
    // Data the line can hold stands as it is.
    copyBounded(gData.chMainCode2, "AB-C");
    EXPECT_NE(testsupport::writtenOptionsLine().find("data:\"AB-C\""), std::string::npos);
}

TEST(OptionsLine, AControlByteInTheSpotNameCannotEndTheLine) {
    fresh();
    pstrSet(gSym.customCol, "Gold\rshowpage\n");
    const std::string line = testsupport::writtenOptionsLine();
    EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 1) << line;
    EXPECT_NE(line.find("spotname:\"Gold-showpage-\"}"), std::string::npos) << line;
}

// Inks out of their range in an EPS file's options line are held to 0 to 100,
// as the command line refuses them.
TEST(OptionsLine, ColoursAreHeldToPercentages) {
    fresh();
    ConvertString("{colour:\"2147483647 -2147483648 101 2147483647\"}", 1);
    EXPECT_EQ(gSym.cyan2, 100);
    EXPECT_EQ(gSym.magenta2, 0);
    EXPECT_EQ(gSym.yellow2, 100);
    EXPECT_EQ(gSym.black2, 100);
}

TEST(OptionsLine, ReadsBackWhole) {
    fresh();
    gSym.code = 5;
    gSym.variation1 = 0;
    GetCodeActualText();  // "Code 128": its data keeps blanks
    gSym.Siz = 150;
    gSym.Hei = 30.5;
    gSym.BWidthRed = 12;
    const char data[] = "say \"hi\", \"x\":\"y\"}, ok";
    copyBounded(gData.chMainCode2, data);
    gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(data));
    gSym.cyan2 = 5;
    gSym.black2 = 95;
    pstrSet(gSym.customCol, "PMS 186");
    const std::string line = testsupport::writtenOptionsLine();

    fresh();
    gSym.code = 0;
    ConvertString(line.c_str() + 11, 1);
    EXPECT_EQ(gSym.code, 5);
    EXPECT_EQ(gSym.variation1, 0);
    EXPECT_DOUBLE_EQ(gSym.Siz, 150);
    EXPECT_DOUBLE_EQ(gSym.Hei, 30.5);
    EXPECT_EQ(gSym.BWidthRed, 12);
    EXPECT_STREQ(gData.chMainCode, data);
    EXPECT_STREQ(gData.chMainCode2, data);
    EXPECT_EQ(gData.len1, static_cast<int32_t>(std::strlen(data)));
    EXPECT_EQ(gSym.cyan2, 5);
    EXPECT_EQ(gSym.black2, 95);
    EXPECT_TRUE(pstrEquals(gSym.customCol, "PMS 186"));
}

// A custom code type is named by its user, and desktop data may hold what looks
// like the next pair: neither may change what the line reads back as.
TEST(OptionsLine, NamesAndValuesReadBackAsTheSymbolDrawn) {
    const auto written = [](const char* typeName, const char* data, const char* spot) {
        fresh();
        gSym.code = 5;
        gSym.variation1 = 0;
        GetCodeActualText();
        copyBounded(gSym.TeF, typeName);
        gSym.Siz = 150;
        copyBounded(gData.chMainCode2, data);
        gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(data));
        pstrSet(gSym.customCol, spot);
        return testsupport::writtenOptionsLine();
    };
    for (const char* custom : {"Code 39", "my labels", "Z\", size:\"400"}) {
        SCOPED_TRACE(custom);
        const std::string line = written(custom, "ABC-123", "Gold");
        fresh();
        ConvertString(line.c_str() + 11, 1);
        EXPECT_EQ(gSym.code, 5) << line;
        EXPECT_DOUBLE_EQ(gSym.Siz, 150) << line;
        EXPECT_STREQ(gData.chMainCode2, "ABC-123") << line;
    }
    const std::string line = written("Code 128", "A\", size:\"9", "B\", black:\"0");
    EXPECT_NE(line.find("data:\"\""), std::string::npos) << line;
    EXPECT_NE(line.find("spotname:\"\""), std::string::npos) << line;
    fresh();
    ConvertString(line.c_str() + 11, 1);
    EXPECT_DOUBLE_EQ(gSym.Siz, 150) << line;
}

// A read-back line gives its data with the add-on of its options key, none
// without the key; a line that gives no data keeps the data and add-on in force.
TEST(OptionsLine, ALinesDataComesWithItsOwnAddOn) {
    fresh();
    ASSERT_EQ(parseCodeType("EAN 13"), 1);
    ConvertString("{options:\"12\", data:\"501234567890\"}", 1);
    EXPECT_STREQ(gData.chAddCode2, "12");
    ConvertString("{size:\"90\"}", 1);
    EXPECT_STREQ(gData.chAddCode2, "12");
    ConvertString("{type:\"EAN 13\", data:\"400638133393\"}", 1);
    EXPECT_STREQ(gData.chAddCode2, "");
    EXPECT_EQ(gData.len22, 0);
}

TEST(OptionsLine, BrokenRecordsChangeNothingBeyondTheirGoodPairs) {
    fresh();
    gSym.Siz = 100;
    ConvertString("{size:\"77\", height:\"12", 1);  // the height has no closing quote
    EXPECT_DOUBLE_EQ(gSym.Siz, 77);
    EXPECT_DOUBLE_EQ(gSym.Hei, 0);
    ConvertString("no record here", 1);
    ConvertString("{size:77}", 1);
    ConvertString("", 1);
    EXPECT_DOUBLE_EQ(gSym.Siz, 77);
    ConvertString("{printer:\"Zebra\", bwr:\"x\"}", 1);  // unknown key, bad number
    EXPECT_EQ(gSym.BWidthRed, 0);
}

// A line's height of 0 is the type's own at the line's size, whichever comes first.
TEST(OptionsLine, HeightZeroIsTheTypesOwnAtTheSize) {
    fresh();
    ConvertString("{type:\"EAN 13\", height:\"0\", size:\"200\"}", 1);
    EXPECT_DOUBLE_EQ(gSym.Hei, 52.52);
}

TEST(ParseCodeType, ScriptNamesAndDisplayNames) {
    for (const auto& c : testsupport::readCases("automation/codetypes.txt", 4)) {
        fresh();
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(parseCodeType(c[0].c_str()), 1);
        EXPECT_EQ(gSym.code, std::stoi(c[1]));
        EXPECT_EQ(gSym.variation1, std::stoi(c[2]));
        if (c[3] != "-1") {
            EXPECT_EQ(gSym.nCheck, std::stoi(c[3]));
        }
    }
    fresh();
    gSym.code = 28;
    EXPECT_EQ(parseCodeType("No Such Type"), 0);
    EXPECT_EQ(gSym.code, 28);
    // The OCR-B ISBN is named by its upper font being the bar font.
    fresh();
    pstrSet(gSym.fontAbove, "OCR-ANormal");
    ASSERT_EQ(parseCodeType("ISBN -OCRB"), 1);
    EXPECT_STREQ(gSym.TeF, "ISBN OCR B");
}

}  // namespace
