// The settings windows' drawing kit: the interface greys, the icons read from
// the program's resources, the marks and letter boxes, and the tab rows of the
// main window with their hit table.
#include <string>
#include <vector>

#include "app/desktop/icons.h"
#include "platform/resources.h"
#include "panes_fixture.h"
#include "platform/toolbox/events.h"

namespace {

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

TEST_F(PaneTest, GreysFollowTheInterfaceShade) {
    struct Case {
        int32_t shade;
        uint16_t back, fore;
    };
    const Case cases[] = {{0, 0xEA00, 0xEA00},
                          {1, 0xC5AE, 0xC5AE},
                          {2, 0xFFFF, 0xC5AE},
                          {7, 0xEA00, 0xEA00}};  // a shade out of range is the classic one
    for (const Case& c : cases) {
        gPrefs.greyInterface = c.shade;
        qd::RGBColor got;
        setGrey();
        qd::GetBackColor(&got);
        EXPECT_EQ(got, (qd::RGBColor{c.back, c.back, c.back})) << c.shade;
        setForeGrey();
        qd::GetForeColor(&got);
        EXPECT_EQ(got, (qd::RGBColor{c.fore, c.fore, c.fore})) << c.shade;
        setDkGrey();
        qd::GetBackColor(&got);
        EXPECT_EQ(got.red, kDarkGrey);
        setForeDkGrey();
        qd::GetForeColor(&got);
        EXPECT_EQ(got.blue, kDarkGrey);
        setWhite();
        qd::GetBackColor(&got);
        EXPECT_EQ(got.green, 0xFFFF);
    }
}

TEST(IconFiles, EveryIconTheKitDrawsIsInTheResources) {
    for (int32_t index : {12, 13}) EXPECT_TRUE(smallIcon(128, index)) << index;
    for (int32_t id : {128, 134, 135, 139, 140, 142}) {
        const auto icon = colourIcon(id);
        ASSERT_TRUE(icon) << id;
        int shown = 0;
        for (const auto& p : icon->pixels) shown += p ? 1 : 0;
        EXPECT_GT(shown, 20) << id;
    }
    EXPECT_FALSE(smallIcon(128, 0));
    EXPECT_FALSE(smallIcon(128, 99));
    EXPECT_FALSE(colourIcon(9999));
}

TEST(IconFiles, BrokenIconTextsAreRefusedNotHalfRead) {
    const std::string row16(16, '.');
    std::string rows;
    for (int i = 0; i < 16; ++i) rows += row16 + "\n";
    EXPECT_TRUE(parseSmallIcon("icon 3\n" + rows, 3));
    EXPECT_FALSE(parseSmallIcon("icon 3\n" + rows, 4));                     // no such icon
    EXPECT_FALSE(parseSmallIcon("icon 3\n" + rows.substr(0, 17 * 15), 3));  // 15 rows
    EXPECT_FALSE(parseSmallIcon("icon 3\n" + std::string(15, '.') + "\n" + rows, 3));
    EXPECT_FALSE(parseSmallIcon("icon 3\n" + std::string(15, '.') + "x\n" + rows, 3));
    const auto one = parseSmallIcon("icon 1\n#" + std::string(15, '.') + "\n" + rows, 1);
    ASSERT_TRUE(one);
    EXPECT_EQ((*one)[0], 0x8000);

    EXPECT_TRUE(parseColourIcon("colour k 102030\nat 30 31\npixels\nkk\n"));
    const char* broken[] = {
        "colour k 10203\npixels\nk\n",             // short colour
        "colour k 10203g\npixels\nk\n",            // not hexadecimal
        "colour . 102030\npixels\n.\n",            // the transparent key
        "colour k 102030\npixels\nkz\n",           // a key without a colour
        "colour k 102030\nat 31 0\npixels\nkk\n",  // past the right edge
        "colour k 102030\nat 0 32\npixels\nk\n",   // below the frame
        "colour k 102030\nat -1 0\npixels\nk\n",
        "colour k 102030\nat 1\npixels\nk\n",
        "colour k 102030\nsize 9\npixels\nk\n",  // an unknown line
        "colour k 102030\n",                     // no pixels at all
    };
    for (const char* text : broken) EXPECT_FALSE(parseColourIcon(text)) << text;
    const auto placed = parseColourIcon("colour r FF0000\nat 2 3\npixels\n.r\n");
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->pixels[3 * kColourIconSize + 3], (qd::RGBColor{0xFFFF, 0, 0}));
    EXPECT_FALSE(placed->pixels[3 * kColourIconSize + 2]);
}

// A mark in the grey looks: a cross when on, a sunken square edge, white inside.
TEST_F(PaneTest, MarksShowTheirStateInEveryLook) {
    for (int32_t shade : {1, 2}) {
        gPrefs.greyInterface = shade;
        setGrey();
        qd::EraseRect(wp->portRect);
        drawMark(20, 30, 1);
        drawMark(60, 30, 0);
        EXPECT_EQ(pixel(20 + 7, 30 + 6), kBlack) << shade;  // the cross's middle
        EXPECT_EQ(pixel(60 + 7, 30 + 6), kWhite) << shade;
        EXPECT_TRUE(near(pixel(20, 30 + 6), grey(kDarkGrey))) << shade;  // left edge
        EXPECT_TRUE(near(pixel(20 + 6, 30), grey(kDarkGrey))) << shade;  // top edge
        EXPECT_EQ(pixel(20 + 12, 30 + 6), kWhite) << shade;              // right edge
        EXPECT_EQ(pixel(20 + 6, 30 + 13), kWhite) << shade;              // bottom edge
        // Turning a mark off clears its cross.
        drawMark(20, 30, 0);
        EXPECT_EQ(pixel(20 + 7, 30 + 6), kWhite) << shade;
    }
    gPrefs.greyInterface = 0;
    setGrey();
    qd::EraseRect(wp->portRect);
    drawMark(20, 30, 1);
    drawMark(60, 30, 0);
    const uint32_t ball = pixel(20 + 6, 30 + 9), empty = pixel(60 + 6, 30 + 9);
    EXPECT_EQ(empty, kWhite);
    EXPECT_FALSE(near(ball, kWhite, 40));
    EXPECT_FALSE(near(ball, grey(0xEA00), 40));
    EXPECT_TRUE(near(pixel(20 + 1, 30 + 7), grey(kDarkGrey), 40));  // the ring's dark side
}

TEST_F(PaneTest, LetterBoxesAndTheirHitBoxes) {
    setGrey();
    qd::EraseRect(wp->portRect);
    setPaneFont();
    qd::TextSize(9);
    frameMark(30, 40, 'T');
    frameMark(50, 40, 'B');
    invertMark(50, 40);
    EXPECT_EQ(pixel(30, 40), kBlack);                         // the frame
    EXPECT_EQ(pixel(30 + 13, 40 + 11), kBlack);               // its far corner
    EXPECT_EQ(pixel(30 + 12, 40 + 2), grey(0xEA00));          // inside, beside the letter
    EXPECT_TRUE(near(pixel(50 + 12, 40 + 2), grey(0x1500)));  // inverted
    qd::FontInfo info;
    qd::GetFontInfo(&info);
    EXPECT_LT(info.ascent, 10);  // the pane's own size comes back after the letter

    struct Hit {
        int32_t h, v;
        int32_t in;
    };
    const Hit hits[] = {{31, 41, 1}, {42, 50, 1}, {30, 45, 0}, {43, 45, 0},
                        {35, 40, 0}, {35, 51, 0}, {36, 46, 1}};
    for (const Hit& hit : hits) {
        wp->updateRgn.clear();
        EXPECT_EQ(inMark(wp, 30, 40, {hit.v, hit.h}), hit.in) << hit.h << "," << hit.v;
        EXPECT_EQ(wp->updateRgn.empty(), hit.in == 0) << hit.h << "," << hit.v;
    }
    wp->updateRgn.clear();
    invalMark(wp, 30, 40);
    ASSERT_EQ(wp->updateRgn.size(), 1u);
    EXPECT_EQ(wp->updateRgn[0], (qd::Rect{41, 31, 52, 44}));
}

// ---- Tabs ----

struct TabOutcome {
    int32_t handled, background, tabselect, tablayer, opTab, colTab;
};

class TabsTest : public PaneTest {
  protected:
    void SetUp() override {
        PaneTest::SetUp();
        gTabHooks.deactivateAll = [this] { calls.push_back("deactivateAll"); };
        gTabHooks.setFocus = [this](int32_t pane, int32_t index) {
            calls.push_back("focus " + std::to_string(pane) + " " + std::to_string(index));
        };
        gTabHooks.hideFields = [this] { calls.push_back("hideFields"); };
        gTabHooks.doUpdate = [this] { calls.push_back("doUpdate"); };
        gTabHooks.ProcessTabs = [this] { calls.push_back("ProcessTabs"); };
    }
    void start(int32_t pane, int32_t opTab = 0, int32_t colTab = 0) {
        gProd.background = pane;
        gTabs.opTab = opTab;
        gPanels.colTab = colTab;
        gTabs.tablayer = pane == kPaneOptions ? 1 : pane == kPaneColours ? 2 : 0;
        gTabs.tabselect = gTabs.tablayer == 0 ? 0 : -1;
        calls.clear();
    }
    static TabOutcome now(int32_t handled) {
        return {handled,        gProd.background, gTabs.tabselect,
                gTabs.tablayer, gTabs.opTab,      gPanels.colTab};
    }
    std::vector<std::string> calls;
};

void PrintTo(const TabOutcome& o, std::ostream* os) {
    *os << "{handled " << o.handled << ", pane " << o.background << ", tabselect " << o.tabselect
        << ", layer " << o.tablayer << ", opTab " << o.opTab << ", colTab " << o.colTab << "}";
}
bool operator==(const TabOutcome& a, const TabOutcome& b) {
    return a.handled == b.handled && a.background == b.background && a.tabselect == b.tabselect &&
           a.tablayer == b.tablayer && a.opTab == b.opTab && a.colTab == b.colTab;
}

TEST_F(TabsTest, ClicksOnTheTabRowsChoosePanesAndSubTabs) {
    struct Case {
        int32_t pane;  // where the click starts (options 1 and colours 2 as sub-tabs)
        int32_t h, v;
        TabOutcome want;
        bool runs;  // the main window's steps run
    };
    // Outcome: handled, pane, tabselect, tablayer, opTab, colTab.
    const Case cases[] = {
        // The upper row in panes 0, 1, 2 and 5.
        {0, 0, 241, {1, 0, 0, 0, 0, 0}, true},
        {0, 33, 259, {1, 0, 0, 0, 0, 0}, true},
        {0, 35, 250, {1, 1, 1, 0, 0, 0}, true},
        {1, 67, 250, {1, 1, 1, 0, 0, 0}, true},
        {0, 69, 250, {1, 2, 2, 0, 0, 0}, true},
        {0, 101, 250, {1, 2, 2, 0, 0, 0}, true},
        {0, 103, 250, {1, 5, 3, 0, 0, 0}, true},
        {2, 135, 241, {1, 5, 3, 0, 0, 0}, true},
        {5, 10, 250, {1, 0, 0, 0, 0, 0}, true},
        // Between two tabs, or right of the last: swallowed, nothing changes.
        {1, 34, 250, {1, 1, 0, 0, 0, 0}, false},
        {1, 68, 250, {1, 1, 0, 0, 0, 0}, false},
        {1, 102, 250, {1, 1, 0, 0, 0, 0}, false},
        {1, 136, 250, {1, 1, 0, 0, 0, 0}, false},
        // Above the tabs, and the row between the two rows: the pane's.
        {0, 40, 240, {0, 0, 0, 0, 0, 0}, false},
        {1, 40, 260, {0, 1, 0, 0, 0, 0}, false},
        // Panes 3 and 4 have no upper row: down to 260 the click is the pane's.
        {3, 40, 250, {0, 3, -1, 1, 0, 0}, false},
        {4, 10, 260, {0, 4, -1, 2, 0, 0}, false},
        // The lower row.
        {1, 0, 261, {1, 0, 0, 0, 0, 0}, true},
        {3, 22, 279, {1, 0, 0, 0, 0, 0}, true},
        {0, 24, 270, {1, 3, -1, 1, 0, 0}, true},
        {0, 45, 270, {1, 3, -1, 1, 0, 0}, true},
        {0, 47, 270, {1, 4, -1, 2, 0, 1}, true},
        {0, 68, 270, {1, 4, -1, 2, 0, 1}, true},
        {0, 70, 270, {1, 4, -1, 2, 0, 0}, true},
        {0, 91, 270, {1, 4, -1, 2, 0, 0}, true},
        {5, 93, 270, {1, 3, -1, 1, 1, 0}, true},
        {0, 114, 270, {1, 3, -1, 1, 1, 0}, true},
        {0, 116, 270, {1, 3, -1, 1, 2, 0}, true},
        {4, 135, 270, {1, 3, -1, 1, 2, 0}, true},
        {3, 10, 261, {1, 0, 0, 0, 0, 0}, true},
        // Its gaps.
        {0, 23, 270, {1, 0, 0, 0, 0, 0}, false},
        {0, 46, 270, {1, 0, 0, 0, 0, 0}, false},
        {0, 69, 270, {1, 0, 0, 0, 0, 0}, false},
        {3, 92, 270, {1, 3, -1, 1, 0, 0}, false},
        {4, 115, 270, {1, 4, -1, 2, 0, 0}, false},
        {0, 136, 270, {1, 0, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) {
        start(c.pane);
        const int32_t handled = CheckTabs(global(c.h, c.v));
        EXPECT_EQ(now(handled), c.want) << "pane " << c.pane << " at " << c.h << "," << c.v;
        EXPECT_EQ(!calls.empty(), c.runs) << "pane " << c.pane << " at " << c.h << "," << c.v;
    }
}

TEST_F(TabsTest, ATabRunsTheMainWindowsStepsInOrder) {
    start(kPaneCode);
    wp->updateRgn.clear();
    ASSERT_EQ(CheckTabs(global(40, 250)), 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"deactivateAll", "focus 1 3", "hideFields",
                                               "doUpdate", "ProcessTabs"}));
    EXPECT_EQ(gPanels.TEBack1[3].text, "12");  // the code type's length, refreshed
    ASSERT_EQ(wp->updateRgn.size(), 1u);
    EXPECT_EQ(wp->updateRgn[0], (qd::Rect{0, 0, 260, 136}));

    // The colour tabs fill the colour fields from their own colour set.
    gLabel.curIteTyp = 1;
    gSym.black22 = 37;
    gSym.black2 = 64;
    start(kPaneCode);
    wp->updateRgn.clear();
    ASSERT_EQ(CheckTabs(global(50, 270)), 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"hideFields", "doUpdate", "ProcessTabs"}));
    EXPECT_EQ(gPanels.TEBlac.text, "37");
    EXPECT_EQ(wp->updateRgn[0], (qd::Rect{0, 0, 282, 136}));
    CheckTabs(global(80, 270));
    EXPECT_EQ(gPanels.TEBlac.text, "64");

    // Options 2 has a focus only in a label layout.
    start(kPaneCode);
    CheckTabs(global(120, 270));
    EXPECT_EQ(calls.front(), "focus 3 -1");
    openLayout();
    start(kPaneCode);
    CheckTabs(global(120, 270));
    EXPECT_EQ(calls.front(), "focus 3 12");

    // A swallowed click runs nothing.
    start(kPaneCode);
    wp->updateRgn.clear();
    EXPECT_EQ(CheckTabs(global(34, 250)), 1);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(wp->updateRgn.empty());
}

// The serial tab must not wipe the length the user gave a selected item whose
// type has no fixed length: OK would read the "0" back as the item's length.
TEST_F(TabsTest, TheSerialTabKeepsALengthTheTypeDoesNotFix) {
    openLayout();
    gLabel.curIteTyp = 1;
    gSym.code = 5;  // Code 128
    platform::TESetText("6", 1, &gPanels.TEBack1[3]);
    start(kPaneCode);
    ASSERT_EQ(CheckTabs(global(40, 250)), 1);
    EXPECT_EQ(gProd.background, kPaneSerial);
    EXPECT_EQ(gPanels.TEBack1[3].text, "6");

    // A fixed-length type still shows its own length there.
    gSym.code = 0;  // EAN 13
    start(kPaneCode);
    ASSERT_EQ(CheckTabs(global(40, 250)), 1);
    EXPECT_EQ(gPanels.TEBack1[3].text, "12");
}

// Option-arrows walk from the colours pane to pane 5 without a tab: the upper
// row must still show there and take clicks.
TEST_F(TabsTest, APaneReachedByTheKeyboardKeepsItsUpperRow) {
    start(kPaneColours);
    gProd.background = kPanePrintTime;  // as the keyboard leaves it
    setGrey();
    qd::EraseRect(wp->portRect);
    DrawTabs();
    EXPECT_EQ(pixel(34, 244), 0x000000u);      // tab 0's right edge
    EXPECT_EQ(pixel(105, 244), grey(0xEA00));  // tab 3, the current one
    EXPECT_EQ(CheckTabs(global(40, 250)), 1);
    EXPECT_EQ(now(1), (TabOutcome{1, kPaneSerial, 1, 0, 0, 0}));
}

TEST_F(TabsTest, OptionsTabsRefillTheirNumberFields) {
    gSym.insetAmount = 13;
    gSym.extraMargin = -2;
    start(kPaneCode);
    CheckTabs(global(30, 270));
    EXPECT_EQ(gPanels.TEBack3[13].text, "13");
    EXPECT_EQ(gPanels.TEBack3[14].text, "-2");
    EXPECT_EQ(calls.front(), "focus 3 14");

    gSym.gBaseAdjust = -1.25;
    gSym.gTrackAdjust = -3;
    start(kPaneCode);
    CheckTabs(global(100, 270));
    EXPECT_EQ(gPanels.TEBack3[3].text, "1.250");  // the sign lives in its own pop-up
    EXPECT_EQ(gPanels.TEBack3[5].text, "-3.000");
    gSym.gTrackAdjust = 4;
    start(kPaneCode);
    CheckTabs(global(100, 270));
    EXPECT_EQ(gPanels.TEBack3[5].text, "4.000");
}

TEST_F(TabsTest, TheEventLoopSendsMainWindowClicksToTheTabs) {
    installTabs();
    start(kPaneCode);
    toolbox::EventRecord down{toolbox::mouseDown, 0, 0, global(80, 250), 0};
    routeEvent(down);
    EXPECT_EQ(gProd.background, kPaneImport);
    // Not a tab: the click goes on to the pane's own handler.
    clearUnhandledCalls();
    routeEvent(toolbox::EventRecord{toolbox::mouseDown, 0, 0, global(80, 100), 0});
    ASSERT_FALSE(unhandledCalls().empty());
    EXPECT_EQ(unhandledCalls().back().name, "doMouse");
    EXPECT_EQ(gProd.background, kPaneImport);
}

TEST_F(TabsTest, SubTabRowsAndTheirEdges) {
    struct Case {
        int32_t h, v, handled, colTab;
    };
    const Case colour[] = {{0, 137, 1, 0},  {44, 154, 1, 0}, {46, 140, 1, 1}, {89, 140, 1, 1},
                           {45, 140, 1, 9}, {90, 140, 0, 9}, {10, 136, 0, 9}, {10, 155, 0, 9}};
    for (const Case& c : colour) {
        gPanels.colTab = 9;
        EXPECT_EQ(CheckTabsColour(global(c.h, c.v)), c.handled) << c.h << "," << c.v;
        EXPECT_EQ(gPanels.colTab, c.colTab) << c.h << "," << c.v;
    }
    const Case options[] = {{0, 241, 1, 0},  {44, 259, 1, 0}, {46, 250, 1, 1},
                            {89, 250, 1, 1}, {90, 250, 1, 2}, {139, 250, 1, 2},
                            {45, 250, 1, 9}, {10, 240, 0, 9}, {10, 260, 0, 9}};
    for (const Case& c : options) {
        gTabs.opTab = 9;
        EXPECT_EQ(CheckTabsOptions(global(c.h, c.v)), c.handled) << c.h << "," << c.v;
        EXPECT_EQ(gTabs.opTab, c.colTab) << c.h << "," << c.v;
    }
}

TEST_F(PaneTest, APressedTabWaitsTwentyTicks) {
    const uint32_t before = toolbox::TickCount();
    TabClick(0, 258, 34);
    EXPECT_EQ(toolbox::TickCount() - before, 20u);
    // Released, the tab shows its dark inner edge again.
    EXPECT_TRUE(near(pixel(10, 257), grey(kDarkGrey)));
}

// Every tab of both rows at the places the window's hit table expects them.
TEST_F(PaneTest, TabRowsStandWhereTheirClicksLand) {
    struct Row {
        int32_t baseline;
        std::vector<std::pair<int32_t, int32_t>> tabs;  // h and width
    };
    const Row upper{258, {{0, 34}, {34, 34}, {68, 34}, {102, 33}}};
    const Row lower{280, {{0, 21}, {23, 21}, {46, 21}, {69, 21}, {92, 21}, {115, 21}}};
    setGrey();
    qd::EraseRect(wp->portRect);
    gProd.background = kPaneSerial;
    gTabs.tabselect = 1;
    DrawTabs();
    for (const Row* row : {&upper, &lower}) {
        const int32_t top = row->baseline - 18;
        for (size_t i = 0; i < row->tabs.size(); ++i) {
            const auto [h, width] = row->tabs[i];
            const bool current = row == &upper && i == 1;
            EXPECT_EQ(pixel(h + width, top + 4), kBlack) << row->baseline << " right edge " << h;
            if (row->baseline == 280) continue;  // the foot of the window cuts the bottom edge
            EXPECT_EQ(pixel(h + 2, row->baseline), kBlack) << row->baseline << " bottom " << h;
            // The rule above runs under every tab but the current one, which is grey.
            EXPECT_EQ(pixel(h + 3, top), current ? grey(0xEA00) : kBlack) << h;
            EXPECT_EQ(pixel(h + 3, top + 3), current ? grey(0xEA00) : kWhite) << h;
        }
    }
    // The icons are drawn inside their tabs.
    for (const auto& [h, width] : upper.tabs) {
        int coloured = 0;
        for (int32_t x = h + 5; x < h + width - 5; ++x)
            for (int32_t y = 241; y < 257; ++y) {
                const uint32_t p = pixel(x, y);
                coloured += (p != kWhite && p != grey(0xEA00)) ? 1 : 0;
            }
        EXPECT_GT(coloured, 15) << h;
    }
    // Panes 3 and 4 have no upper row; pane 3's lower tab is its sub-tab.
    setGrey();
    qd::EraseRect(wp->portRect);
    gProd.background = kPaneOptions;
    gTabs.tabselect = -1;
    gTabs.opTab = 2;
    DrawTabs();
    EXPECT_EQ(pixel(34, 250), grey(0xEA00));
    EXPECT_EQ(pixel(115 + 3, 262), grey(0xEA00));
    EXPECT_EQ(pixel(92 + 3, 262), kBlack);
}

TEST(Palette, CellsWalkTheColourCubeColumnByColumn) {
    const qd::Rect r = kPaletteRect;  // 110 x 100: cells 7 x 6
    const auto at = [&](int32_t col, int32_t row) {
        qd::RGBColor c;
        GetColourFromPallette(&c, r, {r.top + row * 6 + 2, r.left + col * 7 + 3});
        return c;
    };
    EXPECT_EQ(at(0, 0), (qd::RGBColor{0xFFFF, 0xFFFF, 0xFFFF}));
    EXPECT_EQ(at(0, 1), (qd::RGBColor{0xFFFF, 0xFFFF, 0xCCCC}));  // down a column first
    EXPECT_EQ(at(0, 5), (qd::RGBColor{0xFFFF, 0xFFFF, 0x0000}));
    EXPECT_EQ(at(0, 6), (qd::RGBColor{0xFFFF, 0xCCCC, 0xFFFF}));
    EXPECT_EQ(at(2, 5), (qd::RGBColor{0xFFFF, 0x0000, 0x0000}));   // cell 35
    EXPECT_EQ(at(2, 6), (qd::RGBColor{0xCCCC, 0xFFFF, 0xFFFF}));   // cell 36
    EXPECT_EQ(at(14, 4), (qd::RGBColor{0x0000, 0x0000, 0x3333}));  // cell 214
    // Cell 215 closes the cube with black; the nine after it stay black.
    for (int32_t n = 215; n < 225; ++n) EXPECT_EQ(at(n / 15, n % 15), (qd::RGBColor{0, 0, 0})) << n;
    // Every one of the 216 cube colours appears exactly once.
    std::vector<qd::RGBColor> seen;
    for (int32_t n = 0; n < 216; ++n) {
        const qd::RGBColor c = at(n / 15, n % 15);
        for (const auto& s : seen) ASSERT_NE(s, c) << n;
        seen.push_back(c);
    }
}

TEST(Palette, EveryPointOfTheBoxNamesACell) {
    const qd::Rect r = kPaletteRect;
    struct Hit {
        int32_t h, v, col, row;
    };
    const Hit hits[] = {
        {15, 167, 0, 0},    {21, 172, 0, 0},    {22, 173, 1, 1},
        {112, 250, 13, 13}, {119, 256, 14, 14},  // the last pixel of the grid
        {120, 167, 14, 0},   // right of the grid's columns: the last column, not a 16th
        {124, 266, 14, 14},  // the box's far corner
        {200, 400, 14, 14},  // outside: kept to the grid
        {0, 0, 0, 0},
    };
    for (const Hit& hit : hits) {
        qd::RGBColor got, want;
        GetColourFromPallette(&got, r, {hit.v, hit.h});
        GetColourFromPallette(&want, r, {r.top + hit.row * 6, r.left + hit.col * 7});
        EXPECT_EQ(got, want) << hit.h << "," << hit.v;
    }
    // A box too small for 15 cells does not divide by zero.
    qd::RGBColor c;
    GetColourFromPallette(&c, {0, 0, 10, 10}, {5, 5});
    EXPECT_EQ(c, (qd::RGBColor{0xFFFF, 0xFFFF, 0xFFFF}));
    GetColourFromPallette(nullptr, r, {170, 20});
}

TEST_F(PaneTest, ThePaletteAndTheColourBlockPaintWhatTheyStandFor) {
    setGrey();
    qd::EraseRect(wp->portRect);
    DrawColourPallette(kPaletteRect);
    for (int32_t n : {0, 1, 37, 100, 214, 224}) {
        const int32_t col = n / 15, row = n % 15;
        const int32_t h = kPaletteRect.left + col * 7 + 3, v = kPaletteRect.top + row * 6 + 3;
        qd::RGBColor c;
        GetColourFromPallette(&c, kPaletteRect, {v, h});
        EXPECT_EQ(pixel(h, v),
                  uint32_t(c.red >> 8) << 16 | uint32_t(c.green >> 8) << 8 | (c.blue >> 8))
            << n;
    }
    // Cyan 20 and black 10 take 30 from red; magenta 0 leaves 90 % green.
    struct Block {
        int32_t c, m, y, k, mode;
        uint32_t want;
    };
    const Block blocks[] = {
        {20, 0, 50, 10, 0, 0xB3E666},  // 70 %, 90 %, 40 %
        {0, 0, 0, 0, 0, 0xFFFFFF},
        {80, 90, 100, 30, 0, 0x000000},  // more than 100 % ink is still black
        {-50, 0, 0, 0, 0, 0xFFFFFF},     // a negative value is no ink, not brighter
        {150, 150, 150, 150, 0, 0x000000},
    };
    for (const Block& b : blocks) {
        ShowColourBlock(kColourBlock, b.c, b.m, b.y, b.k, b.mode);
        EXPECT_TRUE(near(pixel(kColourBlock.left + 6, kColourBlock.top + 8), b.want, 2))
            << b.c << " " << b.m << " " << b.y << " " << b.k << " got " << std::hex
            << pixel(kColourBlock.left + 6, kColourBlock.top + 8);
        EXPECT_EQ(pixel(kColourBlock.left, kColourBlock.top), kBlack);  // the frame
    }
    // A line sample: a diagonal from the top left, white beside it.
    ShowColourBlock(kColourBlock, 0, 100, 100, 0, 1);
    EXPECT_TRUE(near(pixel(kColourBlock.left + 4, kColourBlock.top + 4), 0xFF0000, 2));
    EXPECT_EQ(pixel(kColourBlock.left + 10, kColourBlock.top + 3), kWhite);
}

}  // namespace

namespace {

std::vector<std::string> listLines(int list) {
    std::vector<std::string> lines;
    std::string all(platform::embeddedResource("strings/" + std::to_string(list) + ".txt"));
    size_t pos = 0;
    while (pos < all.size()) {
        const size_t end = all.find('\n', pos);
        lines.push_back(all.substr(pos, end - pos));
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return lines;
}

std::string listItem(int list, int index) {
    unsigned char p[256];
    platform::StringResourceGetString(p, list, index);
    return std::string(reinterpret_cast<char*>(p + 1), p[0]);
}

// A label missing from its list would leave a blank beside its mark or field.
TEST(PaneTexts, EveryLabelAndCaptionTheKitDrawsHasAText) {
    std::vector<int> labels;
    for (int n = 1; n <= 91; ++n)
        if (n != 11 && n != 37) labels.push_back(n);
    labels.insert(labels.end(), {97, 98});
    for (int n : labels) EXPECT_FALSE(listItem(kPaneLabels, n).empty()) << "label " << n;
    for (int n : {3, 4, 5, 6, 11, 12, 13, 14, 15, 24, 25, 26, 27, 28, 29})
        EXPECT_FALSE(listItem(140, n).empty()) << "caption " << n;
    EXPECT_FALSE(listItem(141, 17).empty());
    EXPECT_FALSE(listItem(137, 49).empty());
    for (int list : {138, 140, 141}) {
        int last = 0;
        for (const std::string& line : listLines(list)) {
            const int n = std::stoi(line);
            EXPECT_GT(n, last) << "list " << list << " out of order at " << n;
            EXPECT_NE(line.find('\t'), std::string::npos) << line;
            last = n;
        }
    }
}

}  // namespace
