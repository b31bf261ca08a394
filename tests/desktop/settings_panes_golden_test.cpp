// The main window's panes as they are drawn: each pane with its sub-tabs, and
// pane 0 in the three interface greys, drawn into a window of the main
// window's size with the tests' fonts. Each must match its PNG in
// tests/data/desktop/panes/: a channel may differ by at most kChannelSlack, and
// at most kOddPixelsMost pixels may differ by more (smoothing that moves with a
// library's version).
//
// To draw the goldens again on purpose (after a change to how a pane looks):
//   STRIXEL_WRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen
//       build-test/tests/test_desktop --gtest_filter='*PaneGolden*'
// then look at the pictures before committing them.
#include <cstring>
#include <functional>
#include <string>

#include "golden_image.h"
#include "panes_fixture.h"
#include "support/fonts.h"

namespace {

constexpr int kOddPixelsMost = 60;  // of 140 x 280 pixels, about 0.15 %
const std::string kGoldenFolder = STRIXEL_TEST_DATA "/desktop/panes/";

class PaneGoldenTest : public PaneTest {
  protected:
    void SetUp() override {
        PaneTest::SetUp();
        ASSERT_TRUE(testsupport::useTestFonts());
        // A symbol with some of everything switched on, so that both states of
        // the marks and letter boxes show.
        gSym.code = 0;
        std::strcpy(gSym.TeF, "EAN-UCC 13");
        gSym.Hei = 0;
        gSym.non_light = 1;
        gSym.cutMarks = 1;
        gSym.Hgauge = 1;
        gSym.HgaugeJ = 2;
        gSym.para = 1;
        gSym.line = 2.5;
        gSym.TEface = 1 | 8;
        gSym.orient = 90;
        gSym.TEjust = 1;
        gSym.strip_extra = 2;
        gSym.customTeSize = 10;
        gSym.cyan2 = 20;
        gSym.black2 = 90;
        gSym.magenta22 = 40;
        gSym.yellow22 = 60;
        gOut.tool = 2;
        gOut.ill = 88;
        gPanels.TEBack1[4].text = "Numeric";
        gLabel.impoMode = 1;
    }

    // The window's ground, the tabs, then the pane, as the main window draws them.
    void drawPane(int32_t pane, int32_t subTab, const std::function<void()>& draw) {
        qd::SetPort(wp->port);
        setPaneFont();
        setGrey();
        qd::EraseRect(wp->portRect);
        gProd.background = pane;
        gTabs.opTab = pane == kPaneOptions ? subTab : 0;
        gPanels.colTab = pane == kPaneColours ? subTab : 0;
        gTabs.tablayer = pane == kPaneOptions ? 1 : pane == kPaneColours ? 2 : 0;
        gTabs.tabselect = gTabs.tablayer == 0 ? pane : -1;
        DrawTabs();
        draw();
        toolbox::DrawWindowContent(wp);
    }

    void matchGolden(const std::string& name) {
        const goldenimage::Surface drawn = goldenimage::makeImage(kWidth, kHeight);
        goldenimage::copyWindow(drawn.get(), wp);
        goldenimage::expectMatchesGolden(drawn.get(), kGoldenFolder + name + ".png",
                                         kOddPixelsMost);
    }
};

TEST_F(PaneGoldenTest, PaneGoldensOfEveryPaneAndSubTab) {
    struct Case {
        const char* name;
        int32_t pane, subTab;
        bool layout;
        int32_t kinds;  // the selected items' kinds in a layout
        std::function<void()> draw;
    };
    const Case cases[] = {
        {"pane0-code", kPaneCode, 0, false, 1, DrawWindowHeader},
        {"pane0-text", kPaneCode, 0, true, 4, DrawBgFont},
        {"pane1-serial", kPaneSerial, 0, false, 1, DrawBg1},
        {"pane2-import", kPaneImport, 0, false, 1, DrawBg2},
        {"pane3-options0", kPaneOptions, 0, false, 1, DrawBg3},
        {"pane3-options1", kPaneOptions, 1, false, 1, DrawBgCustomText},
        {"pane3-options2", kPaneOptions, 2, true, 1, DrawBgDimensions},
        {"pane4-colour1", kPaneColours, 0, false, 1, DrawBg4},
        {"pane4-colour2", kPaneColours, 1, true, 0, DrawBg4},
        {"pane5-printtime", kPanePrintTime, 0, false, 1, DrawBg5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        labelBack.labelWidth = c.layout ? 1000 : 0;
        gLabel.curIteTyp = c.kinds;
        drawPane(c.pane, c.subTab, c.draw);
        matchGolden(c.name);
    }
}

TEST_F(PaneGoldenTest, PaneGoldensOfTheCodePaneInEachGrey) {
    for (int32_t shade : {0, 1, 2}) {
        SCOPED_TRACE(shade);
        gPrefs.greyInterface = shade;
        drawPane(kPaneCode, 0, DrawWindowHeader);
        matchGolden("pane0-grey" + std::to_string(shade));
    }
}

}  // namespace

namespace {

// Every mark of every pane at its place, drawn off and then on: the middle of
// its box is white when off and holds the cross when on.
TEST_F(PaneTest, EveryMarkOfThePanesShowsItsSetting) {
    using Set = std::function<void(bool)>;
    struct Case {
        const char* what;
        void (*draw)();
        bool layout;
        int32_t kinds, colTab;
        int32_t h, v;
        Set set;
    };
    const auto flag = [](int32_t* field) { return [field](bool on) { *field = on ? 1 : 0; }; };
    const auto unless = [](int32_t* field) { return [field](bool on) { *field = on ? 0 : 1; }; };
    const auto faceBit = [](int32_t bit) { return [bit](bool on) { gSym.TEface = on ? bit : 0; }; };
    const auto bearers = [](int32_t para, int32_t ends) {
        return [para, ends](bool on) {
            gSym.para = on ? para : 2;
            gSym.end_bars = on ? ends : 2;
        };
    };
    const auto strip = [](int32_t value) {
        return [value](bool on) { gSym.strip_extra = on ? value : 0; };
    };
    const Set line = [](bool on) { gSym.line = on ? 13.606302 : 0; };
    const Set backPicture = [](bool on) {
        gLabel.labelParts[0] = std::make_unique<LabelItem>();
        gLabel.labelParts[0]->setI16(item::kind, on ? kKindBackground : kKindPicture);
        labelBack.lastItem = 0;
    };
    const Case cases[] = {
        {"header preview", DrawWindowHeader, false, 1, 0, 113, 114, unless(&gOut.showDia)},
        {"text bold", DrawBgFont, true, 4, 0, 9, 165, faceBit(1)},
        {"text italic", DrawBgFont, true, 4, 0, 71, 165, faceBit(2)},
        {"text style 8", DrawBgFont, true, 4, 0, 38, 165, faceBit(8)},
        {"text style 128", DrawBgFont, true, 4, 0, 97, 165, faceBit(128)},
        {"serial preview", DrawBg1, false, 1, 0, 100, 128, unless(&gOut.showDia)},
        {"import preview", DrawBg2, false, 1, 0, 105, 46, unless(&gOut.showDia)},
        {"bearer line", DrawBg3, false, 1, 0, 29, 100, line},
        {"transparent", DrawBg3, true, 8, 0, 10, 49, flag(&gSym.transpar_ent)},
        {"gauge", DrawBg3, false, 1, 0, 10, 21, flag(&gSym.Hgauge)},
        {"light margins", DrawBg3, false, 1, 0, 10, 35, flag(&gSym.non_light)},
        {"cut marks", DrawBg3, false, 1, 0, 73, 36, flag(&gSym.cutMarks)},
        {"bearers top and bottom", DrawBg3, false, 1, 0, 11, 136, bearers(1, 0)},
        {"bearer box", DrawBg3, false, 1, 0, 71, 136, bearers(1, 1)},
        {"bearer ends", DrawBg3, false, 1, 0, 11, 153, bearers(0, 1)},
        {"text above", DrawBg3, false, 1, 0, 11, 170, flag(&gSym.AboveHu)},
        {"options bold", DrawBgCustomText, false, 1, 0, 9, 79, faceBit(1)},
        {"options italic", DrawBgCustomText, true, 1, 0, 9, 99, faceBit(2)},
        {"options style 8", DrawBgCustomText, true, 4, 0, 62, 79, faceBit(8)},
        {"options style 128", DrawBgCustomText, true, 1, 0, 62, 99, faceBit(128)},
        {"text on top", DrawBgCustomText, false, 1, 0, 10, 174, flag(&gSym.attTop)},
        {"human readable", DrawBgCustomText, false, 1, 0, 20, 1, flag(&gSym.human)},
        {"strip extra", DrawBgCustomText, false, 1, 0, 10, 140, strip(1)},
        {"strip extra 2", DrawBgCustomText, false, 1, 0, 10, 235, strip(2)},
        {"own text size", DrawBgCustomText, false, 1, 0, 14, 17, flag(&gSym.customTeSize)},
        {"flush bars", DrawBgCustomText, false, 1, 0, 10, 156, unless(&gSym.flushBars)},
        {"text as font", DrawBgCustomText, false, 1, 0, 65, 156, unless(&gSym.textAsFont)},
        {"grid", DrawBgDimensions, true, 1, 0, 20, 216, flag(&gDriver.gridOn)},
        {"overprint", DrawBg4, false, 1, 0, 30, 169, flag(&gSym.overPrint)},
        {"colour 1 line", DrawBg4, false, 1, 0, 10, 142, line},
        {"colour 2 transparent", DrawBg4, false, 1, 1, 10, 142, flag(&gSym.transpar_ent)},
        {"background picture", DrawBg4, true, 0, 1, 10, 142, backPicture},
    };
    gPrefs.greyInterface = 1;
    for (const Case& c : cases) {
        for (bool on : {false, true}) {
            resetSymbology();
            resetLabelDocument();
            resetPictureDriver();
            labelBack.labelWidth = c.layout ? 1000 : 0;
            gLabel.curIteTyp = c.kinds;
            gPanels.colTab = c.colTab;
            c.set(on);
            setGrey();
            qd::EraseRect(wp->portRect);
            c.draw();
            EXPECT_EQ(pixel(c.h + 7, c.v + 6), on ? 0x000000u : 0xFFFFFFu)
                << c.what << (on ? " on" : " off");
            EXPECT_TRUE(near(pixel(c.h, c.v + 6), grey(kDarkGrey))) << c.what;  // its edge
        }
    }
}

// The marks that exist only outside a label layout, and the options that exist
// only inside one.
TEST_F(PaneTest, MarksAndLabelsThatDependOnALayout) {
    gPrefs.greyInterface = 1;
    const uint32_t ground = grey(0xC5AE);
    struct Case {
        const char* what;
        void (*draw)();
        int32_t h, v;
        bool inLayout;  // drawn in a layout (else only outside one)
    };
    const Case cases[] = {
        {"serial preview", DrawBg1, 100, 128, false},
        {"import preview", DrawBg2, 105, 46, false},
        {"options italic", DrawBgCustomText, 9, 99, true},
        {"grid", DrawBgDimensions, 20, 216, true},
    };
    for (const Case& c : cases) {
        for (bool layout : {false, true}) {
            labelBack.labelWidth = layout ? 1000 : 0;
            gLabel.curIteTyp = 1;
            setGrey();
            qd::EraseRect(wp->portRect);
            c.draw();
            const bool drawn = layout == c.inLayout;
            EXPECT_EQ(near(pixel(c.h, c.v + 6), ground), !drawn)
                << c.what << (layout ? " in a layout" : " without one");
        }
    }
}

TEST_F(PaneTest, LetterBoxesInvertTheChosenSetting) {
    gPrefs.greyInterface = 1;
    const uint32_t ground = grey(0xC5AE);
    struct Case {
        const char* what;
        void (*draw)();
        bool layout;
        int32_t kinds;
        int32_t* setting;
        int32_t value;
        int32_t h, v;
    };
    const Case cases[] = {
        {"gauge T", DrawBg3, false, 1, &gSym.HgaugeJ, 1, 84, 22},
        {"gauge M", DrawBg3, false, 1, &gSym.HgaugeJ, 0, 99, 22},
        {"gauge B", DrawBg3, false, 1, &gSym.HgaugeJ, 2, 114, 22},
        {"text T", DrawBgFont, true, 4, &gSym.orient, 0, 59, 35},
        {"text B", DrawBgFont, true, 4, &gSym.orient, 180, 74, 35},
        {"text L", DrawBgFont, true, 4, &gSym.orient, 270, 89, 35},
        {"text R", DrawBgFont, true, 4, &gSym.orient, 90, 104, 35},
        {"options T", DrawBg3, true, 1, &gSym.orient, 0, 59, 2},
        {"options B", DrawBg3, true, 1, &gSym.orient, 180, 74, 2},
        {"options L", DrawBg3, true, 1, &gSym.orient, 270, 89, 2},
        {"options R", DrawBg3, true, 1, &gSym.orient, 90, 104, 2},
    };
    for (const Case& c : cases) {
        labelBack.labelWidth = c.layout ? 1000 : 0;
        gLabel.curIteTyp = c.kinds;
        for (bool chosen : {false, true}) {
            *c.setting = chosen ? c.value : 45;
            setGrey();
            qd::EraseRect(wp->portRect);
            c.draw();
            EXPECT_EQ(pixel(c.h, c.v), 0x000000u) << c.what;  // the frame
            const uint32_t inside = pixel(c.h + 12, c.v + 2);
            EXPECT_EQ(inside != ground, chosen) << c.what << std::hex << " " << inside;
        }
    }
}

}  // namespace
