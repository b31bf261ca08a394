// The setting menus other than the code types: output, options, bar-width
// reduction, sizes, zoom, colours, layout commands and the small pop-ups, each
// chosen by a click where a user can reach it.
#include <filesystem>
#include <string>

#include "app/defaultsFile.h"
#include "app/preferences.h"
#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/production.h"
#include "labels/runs/printWindow.h"
#include "settings_fixture.h"
#include "support/cases.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

namespace fs = std::filesystem;
using namespace toolbox;
using SettingMenus = SettingsDesktop;

constexpr int32_t kSentinel = 9;

bool marked(int16_t menu, int16_t item) {
    unsigned char mark = 0;
    GetItemMark(GetMenuHandle(menu), item, &mark);
    return mark == checkMark;
}

TEST_F(SettingMenus, OutputItemsSetTheOutputKind) {
    for (const auto& c : testsupport::readCases("desktop/menus/output_rows.txt", 6)) {
        SCOPED_TRACE(c.where);
        gOut.tool = gOut.ill = gOut.purePost = gOut.outToFile = gSym.orient = kSentinel;
        const int item = c.integer(0);
        if (item <= CountMenuItems(popUp(133)))
            ASSERT_EQ(choose(133, int16_t(item)), (133 << 16) | item);
        else
            doMenu(int16_t(item), 133);  // past the menu's last item
        const int32_t got[] = {gOut.tool, gOut.ill, gOut.purePost, gOut.outToFile, gSym.orient};
        for (size_t f = 1; f <= 5; ++f)
            EXPECT_EQ(got[f - 1], c[f] == "-" ? kSentinel : c.integer(f)) << "field " << f;
    }
    EXPECT_EQ(CountMenuItems(popUp(133)), 23);
}

// The width step follows the reduction and the size, within its caps; a size
// too small for a whole step gives none instead of dividing by zero.
TEST_F(SettingMenus, BarWidthReductionAndItsStep) {
    struct Case {
        int16_t item;
        double siz;
        int32_t code, tool, nonDrawn, reduction, step;
    } cases[] = {
        {6, 100, 0, 0, 0, 80, 1}, {6, 10, 0, 0, 0, 80, 3},   {6, 10, 6, 0, 0, 80, 5},
        {6, 10, 13, 0, 0, 80, 3}, {6, 1.5, 6, 0, 0, 80, 0},  {6, 0, 6, 0, 0, 80, 0},
        {4, 100, 6, 0, 0, 40, 0}, {5, 100, 6, 0, 0, 50, 1},  {6, 100, 6, 2, 0, 80, 0},
        {6, 100, 6, 3, 0, 80, 0}, {6, 100, 37, 2, 1, 80, 1}, {7, 20, 6, 0, 0, 20, 2},
        {8, 100, 6, 0, 0, 60, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.item) + " at " + std::to_string(c.siz));
        gSym.Siz = c.siz;
        gSym.code = c.code;
        gOut.tool = c.tool;
        gEps.non_drawn = c.nonDrawn;
        gSym.BW = kSentinel;
        choose(140, c.item);
        EXPECT_EQ(gSym.BWidthRed, c.reduction);
        EXPECT_EQ(gPanels.TEBWR.text, std::to_string(c.reduction));
        EXPECT_EQ(gSym.BW, c.step);
    }
    // Reduce makes the reduction negative (no step), enlarge positive again.
    gSym.Siz = 100;
    gOut.tool = 0;
    choose(140, 1);
    EXPECT_EQ(gSym.BWidthRed, -60);
    EXPECT_EQ(gPanels.TEBWR.text, "-60");
    EXPECT_EQ(gSym.BW, 0);
    choose(140, 1);
    EXPECT_EQ(gSym.BWidthRed, -60);
    choose(140, 2);
    EXPECT_EQ(gSym.BWidthRed, 60);
}

TEST_F(SettingMenus, OptionsToggleWithTheirMarks) {
    installSettingMenus();
    popUp(236);
    setOptionMarks();
    // File extensions: marked while none are added.
    EXPECT_FALSE(marked(236, 6));
    choose(236, 6);
    EXPECT_EQ(gOut.fileTyp, 0);
    EXPECT_TRUE(marked(236, 6));

    // A folder for the files: a cancelled question leaves the naming alone.
    answer("", true);
    choose(236, 5);
    EXPECT_EQ(gOut.fileDia, 0);
    EXPECT_FALSE(marked(236, 5));
    answer("/tmp/labels");
    choose(236, 5);
    EXPECT_EQ(gOut.fileDia, 3);
    EXPECT_STREQ(gOut.globFolS, "/tmp/labels");
    EXPECT_TRUE(marked(236, 5));
    choose(236, 5);
    EXPECT_EQ(gOut.fileDia, 0);
    EXPECT_FALSE(marked(236, 5));
    choose(236, 1);
    EXPECT_EQ(gOut.fileDia, 1);
    choose(236, 4);
    EXPECT_EQ(gOut.fileDia, 0);
    choose(236, 4);
    EXPECT_EQ(gOut.fileDia, 2);

    // The two option bits from their start value 2 give 1.
    gPrefs.barco = 2;
    choose(236, 12);
    choose(236, 13);
    EXPECT_EQ(gPrefs.barco, 1);
    EXPECT_TRUE(marked(236, 12));
    EXPECT_FALSE(marked(236, 13));

    struct Switch {
        int16_t item;
        int32_t* value;
    } switches[] = {{3, &gOut.appID},           {10, &gOut.features},
                    {15, &gPrefs.hideIF},       {16, &gPrint.printScreen},
                    {17, &gPrint.printForever}, {18, &gPrintWin.startLabels}};
    for (const Switch& s : switches) {
        SCOPED_TRACE(s.item);
        *s.value = 0;
        choose(236, s.item);
        EXPECT_EQ(*s.value, 1);
        EXPECT_TRUE(marked(236, s.item));
        choose(236, s.item);
        EXPECT_EQ(*s.value, 0);
        EXPECT_FALSE(marked(236, s.item));
    }

    // Saving as the defaults writes the defaults file.
    gSym.Siz = 135;
    choose(236, 2);
    EXPECT_TRUE(fs::exists(defaultsFilePath()));
    gSym.Siz = 100;
    char name[256] = {};
    EXPECT_EQ(GetTheDefault(defaultsFilePath().c_str(), name, sizeof name, 0), 1);
    EXPECT_DOUBLE_EQ(gSym.Siz, 135);
}

TEST_F(SettingMenus, SizePresetsLengthsAndHeightUnits) {
    gSym.cLength = 38;
    gSym.cuHei = 20;
    choose(251, 11);
    EXPECT_DOUBLE_EQ(gSym.Siz, 150);
    EXPECT_EQ(gPanels.TESize.text, "150.00");
    EXPECT_EQ(settingMenuCalls().back(), "WorkOutHeight 0");
    choose(251, 2);
    EXPECT_EQ(gSym.lMode & 1, 1);
    EXPECT_EQ(gPanels.TESize.text, "38");
    EXPECT_DOUBLE_EQ(gSym.Hei, 20);
    choose(251, 3);
    EXPECT_EQ(gSym.spec, 2);
    EXPECT_EQ(gPanels.TESize.text, "1.50");
    choose(251, 5);
    EXPECT_EQ(gSym.lMode & 1, 0);
    EXPECT_DOUBLE_EQ(gSym.Siz, 82);
    choose(251, 14);
    EXPECT_DOUBLE_EQ(gSym.Siz, 200);

    gSym.Hei = 25.4;
    choose(252, 3);
    EXPECT_EQ(gSym.hMode, 2);
    EXPECT_EQ(gPanels.TEHeight.text, "1.00");
    choose(252, 2);
    EXPECT_EQ(gSym.hMode, 0);
    EXPECT_EQ(gPanels.TEHeight.text, "25.40");
    choose(252, 1);
    EXPECT_EQ(gSym.hMode, 1);
    EXPECT_DOUBLE_EQ(gSym.Hei, 100);
    EXPECT_EQ(settingMenuCalls().back(), "WorkOutHeight 0");
}

TEST_F(SettingMenus, ZoomColoursAndSmallPopUps) {
    const std::pair<int16_t, int16_t> zooms[] = {{1, 50}, {2, 100}, {7, 350}, {8, 400}, {9, 500}};
    for (auto [item, zoom] : zooms) {
        choose(145, item);
        EXPECT_EQ(labelDesc.zoom, zoom);
    }

    gSym.cyan2 = gSym.black2 = 0;
    choose(237, 2);
    EXPECT_EQ(gSym.cyan2, 100);
    EXPECT_EQ(gPanels.TECyan.text, "100");
    choose(237, 1);
    EXPECT_EQ(gSym.black2, 100);
    EXPECT_EQ(gPanels.TEBlac.text, "100");
    choose(237, 5);
    EXPECT_EQ(gProd.background, 4);
    EXPECT_EQ(settingMenuCalls().back(), "showColourPane");

    choose(132, 3);
    EXPECT_EQ(gLabel.alpha, 2);
    EXPECT_EQ(gPanels.TEBack1[4].text, "Hexadecimal");
    choose(150, 2);
    EXPECT_EQ(gLabel.sepImp, 1);
    choose(150, 1);
    EXPECT_EQ(gLabel.sepImp, 0);
    choose(137, 5);
    EXPECT_EQ(gLabel.impoMode, 4);
    choose(152, 2);
    EXPECT_EQ(gPrintSwitches.pCutMarks, 1);
    choose(156, 4);
    EXPECT_EQ(gPrintSwitches.direction, 3);
    choose(138, 5);
    EXPECT_EQ(gThermal.thermalIte, 4);
    EXPECT_EQ(gThermal.DThermal, 0);
    choose(138, 4);
    EXPECT_EQ(gThermal.DThermal, 1);
    choose(139, 3);
    EXPECT_EQ(gThermal.pport, 3);

    gSym.gBaseAdjust = -2.5;
    choose(154, 1);
    EXPECT_DOUBLE_EQ(gSym.gBaseAdjust, 2.5);
    choose(154, 1);
    EXPECT_DOUBLE_EQ(gSym.gBaseAdjust, 2.5);
    choose(154, 2);
    EXPECT_DOUBLE_EQ(gSym.gBaseAdjust, -2.5);

    choose(147, 7);
    EXPECT_DOUBLE_EQ(gSym.line, 14);
    EXPECT_EQ(gPanels.TEBack3[1].text, "14");
    EXPECT_EQ(settingMenuCalls().back(), "setMainField TELine 14");
    choose(148, 9);
    EXPECT_EQ(gSym.customTeSize, 127);
    EXPECT_EQ(gPanels.TEBack3[0].text, "127");
    choose(135, 3);
    EXPECT_EQ(gSym.TEjust, -1);
    choose(135, 4);
    EXPECT_EQ(gSym.TEjust, 128);
    EXPECT_EQ(doTextStyleMenu(3), 3);

    // Layout formats need a label layout.
    gMsg.last.clear();
    doMenu(1, 143);
    EXPECT_NE(gMsg.last.find("no label layout"), std::string::npos);
}

TEST_F(SettingMenus, DataFieldNamesFromTheMenuOrAsked) {
    choose(153, 3);
    EXPECT_EQ(gLabel.gItName, "C");
    EXPECT_EQ(GetMenuHandle(153), nullptr);  // taken out once used
    answer("Batch");
    choose(153, 9);
    EXPECT_EQ(gLabel.gItName, "Batch");
    answer("", true);
    choose(153, 9);
    EXPECT_EQ(gLabel.gItName, "Batch");
}

TEST_F(SettingMenus, LayoutCommandsRenameTheirItems) {
    MenuHandle layout = NewMenu(134, reinterpret_cast<const unsigned char*>("\x06Layout"));
    for (const char* text :
         {"\x04"
          "Back",
          "\x05"
          "Front",
          "\x01-", "\x0FShow Item Types", "\x11Show Item Numbers", "\x0EShow Item Size", "\x01-",
          "\x0CPreferences\xC9", "\x0BSave Custom"})
        AppendMenu(layout, reinterpret_cast<const unsigned char*>(text));
    InsertMenu(layout, hierMenu);
    auto text = [&](int16_t item) {
        unsigned char t[256] = {};
        GetMenuItemText(layout, item, t);
        return std::string(reinterpret_cast<char*>(t + 1), t[0]);
    };
    const struct {
        int16_t item;
        int32_t LayoutViewFlags::*flag;
        const char *hide, *show;
    } toggles[] = {{4, &LayoutViewFlags::showTypes, "Hide Item Types", "Show Item Types"},
                   {5, &LayoutViewFlags::iteNumbers, "Hide Item Numbers", "Show Item Numbers"},
                   {6, &LayoutViewFlags::showSpecs, "Hide Item Size", "Show Item Size"}};
    for (const auto& t : toggles) {
        choose(134, t.item);
        EXPECT_EQ(gLayoutView.*t.flag, 1);
        EXPECT_EQ(text(t.item), t.hide);
        choose(134, t.item);
        EXPECT_EQ(gLayoutView.*t.flag, 0);
        EXPECT_EQ(text(t.item), t.show);
    }
    int opened = 0;
    settingMenuHooks().SetPreferences = [&] { ++opened; };
    choose(134, 8);
    EXPECT_EQ(opened, 1);
}

}  // namespace
