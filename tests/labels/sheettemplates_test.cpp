// Sheet templates and saved sheet formats.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "label_world.h"
#include "labels/labelRecords.h"
#include "labels/sheetTemplates.h"

namespace {

namespace fs = std::filesystem;

struct SheetTemplates : LabelWorld {
    void SetUp() override {
        LabelWorld::SetUp();
        gSheetSetup = SheetSetupState{};
    }
};

// Millimetres in the working copy's scale.
uint32_t copy(double mm) { return static_cast<uint32_t>(float(mm) * 28.346456692913385 * 1000); }

TEST_F(SheetTemplates, TheProgramsOwnFileListsItsSheets) {
    std::string list;
    gSheetSetup.currentSel = 3;
    const int32_t passes = LoadLabelTemplates(&list, 0);
    EXPECT_EQ(passes, 14);  // 13 templates and the line break at the end
    EXPECT_EQ(list.substr(0, list.find('\r') + 1),
              "A4 2 x 7 (99.1 x 38.1 mm) 99.10 x 38.10mm 2 across x 7 down\r");
    // Template 3 (the fourth): 3 x 7 of 63.5 x 38.1 mm on A4.
    EXPECT_EQ(labelBack2.across, 3u);
    EXPECT_EQ(labelBack2.down, 7u);
    EXPECT_NEAR(labelBack2.labelWidth, copy(63.5), 1000);
    EXPECT_NEAR(labelBack2.labelHeight, copy(38.1), 1000);
    EXPECT_NEAR(labelBack2.topMargin, copy(15.15), 1000);
    EXPECT_NEAR(labelBack2.leftMargin, copy(7.25), 1000);
    EXPECT_NEAR(labelBack2.spaceAcross, copy(2.5), 1000);
    EXPECT_NEAR(labelBack2.sheetWidth, copy(210), 1000);
    EXPECT_NEAR(labelBack2.sheetHeight, copy(297), 1000);
    // Every template fits its sheet.
    for (int32_t sel = 0; sel < passes - 1; ++sel) {
        gSheetSetup.currentSel = sel;
        list.clear();
        LoadLabelTemplates(&list, 0);
        const LabelSheet s = sheetFromCopy(labelBack2);
        EXPECT_LE(s.leftMargin + s.across * s.labelWidth + (s.across - 1) * s.spaceAcross,
                  s.sheetWidth + 2)
            << sel;
        EXPECT_LE(s.topMargin + s.down * s.labelHeight + (s.down - 1) * s.spaceDown,
                  s.sheetHeight + 2)
            << sel;
    }
}

TEST_F(SheetTemplates, AGutterGoesIntoTheAcrossAndDownWords) {
    const std::string text =
        "header\n"
        "Gutter,2,7,99mm,38mm,15mm,15mm,4mm,4mm,2mm,0mm,1,5mm,A4LS,0,0,0,0,210mm,297mm\n";
    LabelSheet s;
    std::string list;
    EXPECT_EQ(parseLabelTemplates(text, 0, &list, &s), 2);
    EXPECT_EQ(s.across, 2u + 1280u * 1);
    EXPECT_EQ(s.down, 7u + 1280u * 141);  // 5 mm is 141.7 tenths of a point
    EXPECT_EQ(list, "Gutter 99.00 x 38.00mm 2 across x 7 down\r");
}

TEST_F(SheetTemplates, InchSheetsKeepTheirWholeTenths) {
    std::string list;
    gSheetSetup.currentSel = 8;  // Letter 3 x 10, 2 5/8 x 1 in
    LoadLabelTemplates(&list, 0);
    const LabelSheet s = sheetFromCopy(labelBack2);
    EXPECT_EQ(s.labelWidth, 1890u);
    EXPECT_EQ(s.labelHeight, 720u);
    EXPECT_EQ(s.topMargin, 360u);
    EXPECT_EQ(s.leftMargin, 135u);
    EXPECT_EQ(s.spaceAcross, 90u);
    EXPECT_EQ(s.sheetWidth, 6120u);
    EXPECT_EQ(s.sheetHeight, 7920u);
    LabelSheet g;
    parseLabelTemplates(
        "h\nG,2,5,101.6mm,50.8mm,0mm,0mm,0mm,0mm,0mm,0mm,1,25.4mm,USLS,0,0,0,0,216mm,279mm\n", 0,
        &list, &g);
    EXPECT_EQ(g.labelWidth, 2880000u);
    EXPECT_EQ(g.labelHeight, 1440000u);
    EXPECT_EQ(g.down, 5u + 1280u * 720);
}

TEST_F(SheetTemplates, ALineThatEndsEarlyKeepsThePreviousValues) {
    const std::string text =
        "header\n"
        "First,2,7,99mm,38mm,15mm,15mm,4mm,4mm,2mm,0mm,0,0mm,A4LS,0,0,0,0,200mm,290mm\n"
        "Short,3,8,50mm\n";
    LabelSheet s;
    std::string list;
    parseLabelTemplates(text, 1, &list, &s);
    EXPECT_EQ(s.across, 3u);
    EXPECT_NEAR(s.labelWidth, copy(50), 1000);
    EXPECT_NEAR(s.labelHeight, copy(38), 1000);
    EXPECT_NEAR(s.sheetWidth, copy(200), 1000);
    // Before any template the sheet is 210 x 298 mm.
    parseLabelTemplates("h\nOnly,1,1,10mm\n", 0, &list, &s);
    EXPECT_NEAR(s.sheetHeight, copy(298), 1000);
}

TEST_F(SheetTemplates, LongNamesAndListsAreCutAndBadNumbersBounded) {
    std::string text = "header\n";
    for (int i = 0; i < 300; ++i)
        text += std::string(300, 'n') + ",-5,99999,-3mm,1e30mm,0mm,0mm,0mm,0mm,0mm,0mm,-2,-1mm," +
                "A4LS,0,0,0,0,210mm,297mm\n";
    LabelSheet s;
    std::string list;
    EXPECT_EQ(parseLabelTemplates(text, 0, &list, &s), 301);
    EXPECT_EQ(list.size(), kTemplateListMost);
    EXPECT_EQ(list.find(std::string(255, 'n')), std::string::npos);
    EXPECT_EQ(s.across, 0u);
    EXPECT_EQ(s.down, 1279u);
    EXPECT_EQ(s.labelWidth, 0u);
    EXPECT_EQ(s.labelHeight, 0xFFFFFFFFu);
}

TEST_F(SheetTemplates, AMissingFileGivesAnEmptyList) {
    gSheetSetup.templatesPath = (dir / "none.tmp").string();
    std::string list;
    labelBack2.labelWidth = 77;
    EXPECT_EQ(LoadLabelTemplates(&list, 0), -1);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(labelBack2.labelWidth, 77u);
}

TEST_F(SheetTemplates, SavedFormatsRoundTripAndOnlySixtyBytesLoad) {
    labelBack2.leftMargin = 4650000;
    labelBack2.across = 1283;
    labelBack2.down = 7;
    labelBack2.labelWidth = 2809000;
    labelBack2.shapeVersion = 2;
    labelBack2.lastItem = 4;
    labelBack2.sheetHeight = 8419000;
    const LabelSheet saved = labelBack2;
    const std::string path = (dir / "format.late").string();
    ASSERT_EQ(saveFormat(path), 1);
    EXPECT_EQ(fs::file_size(path), 60u);
    std::ifstream in(path, std::ios::binary);
    unsigned char b[4] = {};
    in.read(reinterpret_cast<char*>(b), 4);
    EXPECT_EQ(b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24, 4650000);  // little-endian
    labelBack2 = LabelSheet{};
    ASSERT_EQ(loadSavedFormat(path), 1);
    uint8_t x[60], y[60];
    encodeLabelSheet(labelBack2, platform::ByteOrder::little, x);
    encodeLabelSheet(saved, platform::ByteOrder::little, y);
    EXPECT_EQ(std::memcmp(x, y, 60), 0);

    for (size_t size : {size_t{0}, size_t{59}, size_t{61}, size_t{2048}}) {
        std::ofstream(path, std::ios::binary) << std::string(size, '\x01');
        gMsg.shown = 0;
        EXPECT_EQ(loadSavedFormat(path), 0);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_EQ(labelBack2.leftMargin, 4650000u);
    }
    gMsg.shown = 0;
    EXPECT_EQ(saveFormat(""), 0);  // cancelled: no message
    EXPECT_EQ(gMsg.shown, 0);
    EXPECT_EQ(saveFormat((dir / "no" / "such" / "folder.late").string()), 0);
    EXPECT_EQ(gMsg.shown, 1);
}

}  // namespace
