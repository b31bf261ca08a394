// Clicks in the main window: every mark and box changes the setting it names,
// every pop-up box hands its menu's choice on, and a click in a field gives
// that field the focus. The points come from the window's own layout tables.
#include <functional>
#include <string>
#include <vector>

#include "app/desktop/settingsPanes.h"
#include "labels/itemFields.h"
#include "app/preferences.h"
#include "labels/runs/itemOps.h"
#include "main_window_fixture.h"
#include "picture/PICout2.h"

namespace {

using namespace mainlayout;
using toolbox::MenuHandle;

qd::Point at(Mark m) {
    const qd::Rect r = markBox(m);
    return {(r.top + r.bottom) / 2, (r.left + r.right) / 2};
}

class MainWindowClicks : public MainWindowTest {
  protected:
    // A label layout with one item of `kind`, selected or not, loaded into the
    // current settings.
    static void layoutWith(uint16_t kind, bool selected) {
        labelBack.labelWidth = labelBack.labelHeight = 2000;
        ASSERT_EQ(addLabelItem(), 0);
        LabelItem* it = itemAt(labelBack.lastItem);
        it->setI16(item::kind, kind);
        it->setI16(item::selected, selected ? 1 : 0);
        getItemData(labelBack.lastItem);  // as selecting it in the layout does
        doUpdate();
    }
    // The choices handed to the menu handler (not registered here).
    static std::vector<LoopCall> menuCalls() {
        std::vector<LoopCall> calls;
        for (const LoopCall& c : unhandledCalls())
            if (c.name == "doMenu") calls.push_back(c);
        return calls;
    }
    static MenuHandle popUpMenu(int16_t id) {
        MenuHandle m = toolbox::NewMenu(id, reinterpret_cast<const unsigned char*>("\x01P"));
        toolbox::AppendMenu(m, reinterpret_cast<const unsigned char*>("\x0DOne;Two;Three"));
        toolbox::InsertMenu(m, toolbox::hierMenu);
        return m;
    }
};

struct MarkCase {
    const char* name;
    int32_t pane, sub;
    qd::Point where;
    std::function<void()> before;
    std::function<bool()> after;
};

TEST_F(MainWindowClicks, EveryMarkAndBoxChangesItsSetting) {
    auto none = [] {};
    const MarkCase cases[] = {
        // Code entry, barcode.
        {"automatic height", 0, 0, centre(kHeightIcon), [] { gSym.Hei = 5; },
         [] { return gSym.Hei == 0 && gPanels.TEHeight.text == "0.00"; }},
        {"default height", 0, 0, centre(kHeightIcon), [] { gSym.Hei = 0; },
         [] { return gSym.Hei > 0; }},
        {"size mode", 0, 0, centre(kSizeModeBox), none, [] { return gSym.lMode == 2; }},
        {"height mode", 0, 0, centre(kHeightModeBox), [] { gSym.Hei = 12.5; },
         [] { return gSym.lMode == 4 && gSym.cuHei == 12.5 && gPanels.TEHeight.text == "12.50"; }},
        {"height mode in inches", 0, 0, centre(kHeightModeBox),
         [] {
             gSym.Hei = 25.4;
             gSym.hMode = 2;
         },
         [] { return gPanels.TEHeight.text == "1.00"; }},
        {"preview", 0, 0, centre(kPreviewBox), [] { gOut.showDia = 0; },
         [] { return gOut.showDia == 1; }},
        // Serial and import panes.
        {"serial preview", 1, 0, centre(kSerialPreviewBox), [] { gSym.anumer = 1; },
         [] { return gOut.showDia == 1; }},
        {"import preview", 2, 0, centre(kImportPreviewBox), none, [] { return gOut.showDia == 1; }},
        // Options, human-readable text.
        {"human", 3, 1, at(kHuman), none, [] { return gSym.human == 0; }},
        {"strip extra", 3, 1, at(kStripExtra), none, [] { return gSym.strip_extra == 1; }},
        {"strip extra 2", 3, 1, at(kStripExtra2), none, [] { return gSym.strip_extra == 2; }},
        {"custom size on", 3, 1, at(kCustomSize), [] { gSym.Siz = 100; },
         [] { return gSym.customTeSize == 10 && gPanels.TEBack3[0].text == "10"; }},
        {"custom size off", 3, 1, at(kCustomSize), [] { gSym.customTeSize = 10; },
         [] { return gSym.customTeSize == 0 && gPanels.TEBack3[0].text == "auto"; }},
        {"flush bars", 3, 1, at(kFlushBars), none, [] { return gSym.flushBars == 0; }},
        {"text as font", 3, 1, at(kTextAsFont), none, [] { return gSym.textAsFont == 1; }},
        {"text on top", 3, 1, at(kAttTop), none, [] { return gSym.attTop == 1; }},
        {"bold", 3, 1, at(kOptionStyles[0]), none, [] { return gSym.TEface == 1; }},
        {"italic", 3, 1, at(kOptionStyles[1]), none, [] { return gSym.TEface == 2; }},
        {"outline", 3, 1, at(kOptionStyles[2]), none, [] { return gSym.TEface == 8; }},
        {"inverse", 3, 1, at(kOptionStyles[3]), none, [] { return gSym.TEface == 128; }},
        // Options, dimensions.
        {"grid", 3, 2, at(kGrid), none, [] { return gDriver.gridOn == 1; }},
        // Options, bars and bearers.
        {"bearer line on", 3, 0, at(kLine), none,
         [] {
             return gSym.line == 13.606302 && gSym.gline == gSym.line &&
                    gPanels.TELine.text == "13" && gPanels.TEBack3[1].text == "13";
         }},
        {"bearer line off", 3, 0, at(kLine), [] { gSym.line = 13.606302; },
         [] { return gSym.line == 0 && gPanels.TELine.text == "0"; }},
        {"transparent", 3, 0, at(kTransparent), none, [] { return gSym.transpar_ent == 1; }},
        {"para", 3, 0, at(kPara), none, [] { return gSym.para == 1 && gSym.end_bars == 0; }},
        {"box on", 3, 0, at(kBox), none, [] { return gSym.para == 1 && gSym.end_bars == 1; }},
        {"box off", 3, 0, at(kBox), [] { gSym.end_bars = 1; },
         [] { return gSym.para == 0 && gSym.end_bars == 0; }},
        {"end bars", 3, 0, at(kEndBars), none, [] { return gSym.end_bars == 1; }},
        {"above", 3, 0, at(kAboveHu), none, [] { return gSym.AboveHu == 1; }},
        {"gauge", 3, 0, at(kHgauge), none, [] { return gSym.Hgauge == 2; }},
        {"gauge left", 3, 0, at(kHgaugeJ[0]), [] { gSym.HgaugeJ = 7; },
         [] { return gSym.HgaugeJ == 1; }},
        {"gauge centre", 3, 0, at(kHgaugeJ[1]), [] { gSym.HgaugeJ = 7; },
         [] { return gSym.HgaugeJ == 0; }},
        {"gauge right", 3, 0, at(kHgaugeJ[2]), [] { gSym.HgaugeJ = 7; },
         [] { return gSym.HgaugeJ == 2; }},
        {"upright", 3, 0, at(kBarOrients[0]), [] { gSym.orient = 45; },
         [] { return gSym.orient == 0; }},
        {"upside down", 3, 0, at(kBarOrients[1]), none, [] { return gSym.orient == 180; }},
        {"turned 270", 3, 0, at(kBarOrients[2]), none, [] { return gSym.orient == 270; }},
        {"turned 90", 3, 0, at(kBarOrients[3]), none, [] { return gSym.orient == 90; }},
        {"light margins", 3, 0, at(kNonLight), none, [] { return gSym.non_light == 0; }},
        {"cut marks on", 3, 0, at(kCutMarks), [] { gSym.insetAmount = 3; },
         [] { return gSym.cutMarks == 1 && gSym.insetAmount == 13; }},
        // Colours.
        {"overprint", 4, 0, at(kOverPrint), none, [] { return gSym.overPrint == 1; }},
        {"colour line", 4, 0, at(kColourLine), none, [] { return gSym.line == 13.606302; }},
        {"colour transparent", 4, 1, at(kColourLine), none,
         [] { return gSym.transpar_ent == 1 && gSym.line == 0; }},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        reopen();
        showPane(c.pane, c.sub);
        c.before();
        clickLocal(c.where);
        EXPECT_TRUE(c.after());
        EXPECT_EQ(gProd.background, c.pane);  // a mark never changes the pane
    }
}

// Cut marks add ten to the inset; switching them off keeps the inset modulo
// ten, so on and off twice does not bring back an inset of ten or more.
TEST_F(MainWindowClicks, CutMarksOnAndOffKeepTheInsetModuloTen) {
    showPane(3, 0);
    gSym.insetAmount = 27;
    for (int i = 0; i < 2; ++i) {
        clickLocal(at(kCutMarks));
        EXPECT_EQ(gSym.cutMarks, 1);
        clickLocal(at(kCutMarks));
        EXPECT_EQ(gSym.cutMarks, 0);
    }
    EXPECT_EQ(gSym.insetAmount, 7);
}

// Just outside a mark's hit box nothing changes.
TEST_F(MainWindowClicks, ClicksBesideAMarkChangeNothing) {
    showPane(3, 1);
    const qd::Rect box = markBox(kHuman);
    for (qd::Point p : {qd::Point{box.top - 1, box.left}, qd::Point{box.bottom, box.left},
                        qd::Point{box.top, box.right}}) {
        clickLocal(p);
        EXPECT_EQ(gSym.human, 1);
    }
    clickLocal({box.top, box.left});
    EXPECT_EQ(gSym.human, 0);
}

struct PopUpCase {
    const char* name;
    PopUp p;
    int32_t pane, sub;
    int16_t menuId;  // the menu that shows
};

TEST_F(MainWindowClicks, EveryPopUpHandsItsChoiceToTheMenuHandler) {
    const PopUpCase cases[] = {
        {"code types", kCodeTypes, 0, 0, 144},
        {"output format", kOutput, 0, 0, kOutputMenuId},
        {"size", kSize, 0, 0, 251},
        {"height unit", kHeightUnit, 0, 0, 252},
        {"bar width", kBarWidth, 0, 0, 140},
        {"serial alphabet", kAlphabet, 1, 0, 132},
        {"import mode", kImportMode, 2, 0, 137},
        {"import output", kImportOutput, 2, 0, 150},
        {"bearer width", kLineOptions, 3, 0, 147},
        {"text size", kTextSizeOptions, 3, 1, 148},
        {"justification", kJustOptions, 3, 1, 135},
        {"baseline sign", kBaselineSign, 3, 1, 154},
        {"line width", kLineColours, 4, 0, 147},
        {"colours", kColours, 4, 0, 235},
    };
    for (const PopUpCase& c : cases) {
        SCOPED_TRACE(c.name);
        reopen();
        MenuHandle menu = popUpMenu(c.menuId);
        showPane(c.pane, c.sub);
        clearUnhandledCalls();
        choose({c.menuId, c.p.box, c.p.h, c.p.v}, menu, 2);
        EXPECT_EQ(menuCalls(),
                  (std::vector<LoopCall>{{"doMenu", gWindows.wp, (int32_t(c.menuId) << 16) | 2}}));
        toolbox::DeleteMenu(c.menuId);
        toolbox::DisposeMenu(menu);
    }
}

TEST_F(MainWindowClicks, TheSerialAlphabetKeepsHexOffWhileTheTypeIsHex) {
    MenuHandle menu = popUpMenu(132);
    showPane(1);
    gSym.anumer = 2;
    choose(kAlphabet, menu, 3);
    EXPECT_FALSE(toolbox::IsMenuItemEnabled(menu, 2));
    gSym.anumer = 0;
    choose(kAlphabet, menu, 3);
    EXPECT_TRUE(toolbox::IsMenuItemEnabled(menu, 2));
}

// The font pop-up lists the installed families; a choice becomes the font of
// the text below the bars, taken as a font unless it is the bar font.
TEST_F(MainWindowClicks, TheFontPopUpListsTheInstalledFamilies) {
    ASSERT_NE(gMain.fontMenu, nullptr);
    MenuHandle fresh = toolbox::NewMenu(1, reinterpret_cast<const unsigned char*>("\x01"
                                                                                  "F"));
    toolbox::AppendResMenu(fresh, 0x464F4E54);
    ASSERT_GT(toolbox::CountMenuItems(fresh), 0);
    ASSERT_EQ(toolbox::CountMenuItems(gMain.fontMenu), toolbox::CountMenuItems(fresh));
    for (int16_t i = 1; i <= toolbox::CountMenuItems(fresh); ++i)
        EXPECT_EQ(gMain.fontMenu->items[size_t(i - 1)].text, fresh->items[size_t(i - 1)].text);
    toolbox::DisposeMenu(fresh);

    showPane(3, 1);
    choose(kFontOptions, gMain.fontMenu, 1);
    const std::string& family = gMain.fontMenu->items[0].text;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(gSym.fontBelow + 1), gSym.fontBelow[0]),
              family);
    EXPECT_EQ(gSym.textAsFont, family == "Strixel" ? 0 : 1);
    EXPECT_TRUE(menuCalls().empty());  // the font menu is the window's own
}

struct FieldCase {
    const char* name;
    int32_t pane, sub;
    platform::TERec* field;
    int32_t* focus;
    int32_t index;
};

TEST_F(MainWindowClicks, AClickInAFieldGivesItTheFocusAlone) {
    const FieldCase cases[] = {
        {"data", 0, 0, &gPanels.TEH, &gPanels.c_TE, 0},
        {"add-on", 0, 0, &gPanels.TEX, &gPanels.c_TE, 1},
        {"size", 0, 0, &gPanels.TESize, &gPanels.c_TE, 2},
        {"height", 0, 0, &gPanels.TEHeight, &gPanels.c_TE, 3},
        {"bar width", 0, 0, &gPanels.TEBWR, &gPanels.c_TE, 4},
        {"prefix", 1, 0, &gPanels.TEBack1[6], &gPanels.c_TE1, 6},
        {"start", 1, 0, &gPanels.TEBack1[0], &gPanels.c_TE1, 0},
        {"suffix", 1, 0, &gPanels.TEBack1[7], &gPanels.c_TE1, 7},
        {"end", 1, 0, &gPanels.TEBack1[1], &gPanels.c_TE1, 1},
        {"increment", 1, 0, &gPanels.TEBack1[2], &gPanels.c_TE1, 2},
        {"serial length", 1, 0, &gPanels.TEBack1[3], &gPanels.c_TE1, 3},
        {"repeat", 1, 0, &gPanels.TEBack1[8], &gPanels.c_TE1, 8},
        {"template", 2, 0, &gPanels.TEBack2[4], &gPanels.c_TE2, 4},
        {"start record", 2, 0, &gPanels.TEBack2[5], &gPanels.c_TE2, 5},
        {"import length", 2, 0, &gPanels.TEBack2[6], &gPanels.c_TE2, 6},
        {"title field", 2, 0, &gPanels.TEBack2[7], &gPanels.c_TE2, 7},
        {"records", 2, 0, &gPanels.TEBack2[8], &gPanels.c_TE2, 8},
        {"grip", 3, 0, &gPanels.TEBack3[2], &gPanels.c_TE3, 2},
        {"bearer", 3, 0, &gPanels.TEBack3[1], &gPanels.c_TE3, 1},
        {"inset", 3, 0, &gPanels.TEBack3[13], &gPanels.c_TE3, 13},
        {"margin", 3, 0, &gPanels.TEBack3[14], &gPanels.c_TE3, 14},
        {"text size", 3, 1, &gPanels.TEBack3[0], &gPanels.c_TE3, 0},
        {"baseline", 3, 1, &gPanels.TEBack3[3], &gPanels.c_TE3, 3},
        {"tracking", 3, 1, &gPanels.TEBack3[5], &gPanels.c_TE3, 5},
        {"cyan", 4, 0, &gPanels.TECyan, &gPanels.c_TE, 9},
        {"magenta", 4, 0, &gPanels.TEMage, &gPanels.c_TE, 10},
        {"yellow", 4, 0, &gPanels.TEYell, &gPanels.c_TE, 11},
        {"black", 4, 0, &gPanels.TEBlac, &gPanels.c_TE, 12},
        {"line", 4, 0, &gPanels.TELine, &gPanels.c_TE, 13},
        {"print-time data", 5, 0, &gPanels.TEH, &gPanels.c_TE5, 0},
        {"question", 5, 0, &gPanels.TEBack5[0], &gPanels.c_TE5, 1},
        {"print-time repeat", 5, 0, &gPanels.TEBack5[1], &gPanels.c_TE5, 2},
        {"print-time length", 5, 0, &gPanels.TEBack1[3], &gPanels.c_TE5, 3},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        reopen();
        gSym.code = 5;  // Code 128: a length of the user's choosing
        showPane(c.pane, c.sub);
        // Another field of the window holds the focus first.
        platform::TEActivate(&gPanels.TEBack5[1]);
        platform::TESetText("12", 2, c.field);
        clickIn(c.field->viewRect);
        EXPECT_EQ(*c.focus, c.index);
        EXPECT_TRUE(c.field->active);
        EXPECT_EQ(focusedField(), c.field);
        if (c.field != &gPanels.TEBack5[1]) {
            EXPECT_FALSE(gPanels.TEBack5[1].active);
        }
    }
}

TEST_F(MainWindowClicks, LockedAndHiddenFieldsTakeNoFocus) {
    showPane(2);
    gSym.canEdit3 = 1;  // the code type fixes the length
    clickIn(gPanels.TEBack2[6].viewRect);
    EXPECT_EQ(gPanels.c_TE2, -1);
    showPane(5);
    gSym.canEdit3 = 1;
    clickIn(gPanels.TEBack1[3].viewRect);
    EXPECT_EQ(gPanels.c_TE5, -1);
    // The colour pane's line field is not there while the fill colours show.
    showPane(4, 1);
    clickIn(gPanels.TELine.viewRect);
    EXPECT_EQ(gPanels.c_TE, -1);
}

// The text panel of a selected text item, in a label layout.
TEST_F(MainWindowClicks, TheTextItemPanelSetsStyleAndTurn) {
    layoutWith(kKindText, true);
    showPane(0);
    ASSERT_EQ(gLabel.curIteTyp, 4);
    const int32_t bits[] = {1, 8, 2, 128};
    for (size_t i = 0; i < std::size(kTextStyles); ++i) {
        gSym.TEface = 0;
        clickLocal(at(kTextStyles[i]));
        EXPECT_EQ(gSym.TEface, bits[i]) << i;
    }
    const int32_t turns[] = {0, 180, 270, 90};
    for (size_t i = 0; i < std::size(kTextOrients); ++i) {
        gSym.orient = 45;
        clickLocal(at(kTextOrients[i]));
        EXPECT_EQ(gSym.orient, turns[i]) << i;
    }
    clickIn(gPanels.TETe1[1].viewRect);
    EXPECT_EQ(gPanels.c_TE, 1);
    EXPECT_TRUE(gPanels.TETe1[1].active);
    MenuHandle fields = popUpMenu(153);
    clearUnhandledCalls();
    choose(kDataFields, fields, 3);
    EXPECT_EQ(menuCalls(),
              (std::vector<LoopCall>{{"doMenu", gWindows.wp, (int32_t(153) << 16) | 3}}));
}

// The palette's colour goes to the label background only when nothing is
// selected; otherwise into the colour set the pane shows.
TEST_F(MainWindowClicks, ThePaletteColoursTheBackgroundOrTheSelection) {
    const qd::Point cell{kPaletteRect.top + 30, kPaletteRect.left + 40};
    qd::RGBColor want;
    GetColourFromPallette(&want, kPaletteRect, cell);

    layoutWith(kKindText, false);
    showPane(4, 0);
    ASSERT_EQ(gLabel.curIteTyp, 0);
    clickLocal(cell);
    EXPECT_EQ(labelBack.backRed, want.red);
    EXPECT_EQ(labelBack.backGreen, want.green);
    EXPECT_EQ(labelBack.backBlue, want.blue);

    reopen();
    layoutWith(kKindText, true);
    showPane(4, 1);
    labelBack.backRed = 12345;
    clickLocal(cell);
    int32_t c = 0, y = 0, m = 0, k = 0;
    convertToCMYK(&c, &y, &m, &k, want.red, want.green, want.blue);
    EXPECT_EQ(gSym.cyan22, c);
    EXPECT_EQ(gSym.magenta22, m);
    EXPECT_EQ(gSym.yellow22, y);
    EXPECT_EQ(gSym.black22, k);
    EXPECT_EQ(labelBack.backRed, 12345u);

    // Without a layout the palette does nothing: the selection is a barcode.
    reopen();
    showPane(4, 0);
    gSym.black2 = 77;
    clickLocal(cell);
    EXPECT_EQ(gSym.black2, 77);
}

TEST_F(MainWindowClicks, TheWindowLiesOffTheScreenWhenHidden) {
    EXPECT_EQ(gWindows.wp->contentOrigin.h, kMainWindowGlobal.left);
    EXPECT_EQ(gWindows.wp->contentOrigin.v, kMainWindowGlobal.top);
    EXPECT_EQ(gWindows.wp->portRect.width(), 140);
    EXPECT_EQ(gWindows.wp->portRect.height(), 280);
    disposeMainWindow();
    gPrefs.hideIF = 1;
    Create_Window();
    EXPECT_EQ(gWindows.wp->contentOrigin.h, kMainWindowGlobal.left - 200);
    EXPECT_EQ(gWindows.wp->contentOrigin.v, kMainWindowGlobal.top - 200);
}

}  // namespace

// Every field shows its text once its pane is drawn, also a text it was given
// before the window drew it.
TEST_F(MainWindowClicks, TheFieldsShowTheirTexts) {
    const auto inked = [](const platform::TERec& te) {
        int dark = 0;
        const qd::Rect r = te.viewRect;
        for (int32_t v = r.top; v < r.bottom; ++v)
            for (int32_t h = r.left; h < r.right; ++h)
                dark += (toolbox::WindowPixel(gWindows.wp, h, v) & 0xFF) < 0x80 ? 1 : 0;
        return dark;
    };
    struct Shown {
        int32_t pane;
        const platform::TERec* field;
    };
    for (const Shown& s : {Shown{4, &gPanels.TEBlac}, Shown{2, &gPanels.TEBack2[5]},
                           Shown{3, &gPanels.TEBack3[13]}}) {
        showPane(s.pane);
        EXPECT_GT(inked(*s.field), 0) << "pane " << s.pane << ": " << s.field->text;
    }
    showPane(0);
    EXPECT_EQ(inked(gPanels.TEX), 0);
    showPane(3);
    platform::TESetText("12", 2, &gPanels.TEX);  // given while its pane is hidden
    showPane(0);
    EXPECT_GT(inked(gPanels.TEX), 0);
}
