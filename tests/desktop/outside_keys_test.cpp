// The keys of the preview and answer windows, the tool tips, and the hot key and
// program switching as far as the desktop allows.
#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/hotKey.h"
#include "app/desktop/outsideInterface.h"
#include "app/desktop/outsideKeys.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "platform/toolbox/numbered.h"

using namespace toolbox;

namespace {

class OutsideKeysTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        resetWorld();
        resetEventLoop();
        resetNumbered();
        resetStickyWins();
        resetHotKey();
        gAnswerKeys = AnswerKeysState{};
        installOutsideInterface();
    }
    void TearDown() override {
        resetNumbered();
        resetEventLoop();
        resetWorld();
        DesktopTest::TearDown();
    }
    static std::vector<std::string> calls() {
        std::vector<std::string> names;
        for (const LoopCall& c : unhandledCalls())
            names.push_back(c.name + " " + std::to_string(c.arg));
        return names;
    }
};

TEST_F(OutsideKeysTest, ReturnInThePreviewClosesItAndDeliversExceptInRuns) {
    for (int32_t background : {0, 1, 2, 3}) {
        SCOPED_TRACE(background);
        clearUnhandledCalls();
        gProd.background = background;
        gWindows.wp = window({60, 10, 400, 300}, documentProc);
        gWindows.disp2 = window({60, 320, 400, 700}, documentProc);
        gWindows.activeWindow = gWindows.disp2;
        routeEvent({keyDown, '\r', 0, {}, 0});
        EXPECT_EQ(gWindows.disp2, nullptr);
        EXPECT_EQ(gWindows.activeWindow, gWindows.wp);
        const bool delivers = background != 1 && background != 2;
        EXPECT_EQ(calls(),
                  delivers ? std::vector<std::string>{"DoFile 5"} : std::vector<std::string>{});
        resetWindows();
    }
}

TEST_F(OutsideKeysTest, OtherPreviewKeysGoToTheLayoutOrTheTextItem) {
    gWindows.disp2 = window({60, 320, 400, 700}, documentProc);
    gWindows.activeWindow = gWindows.disp2;
    labelBack.labelWidth = 2000;  // with a layout open Return is a key like any other
    gLabel.curIteTyp = 1;
    int32_t local = 0;
    setLoopHandler("ProcessCharsDisp", [](WindowPtr, int32_t ch) { return ch == 'a' ? 1 : 0; });
    setLoopHandler("ProcessCharsDispLocal", [&local](WindowPtr, int32_t ch) {
        local = ch;
        return 0;
    });
    routeEvent({keyDown, 'b', 0, {}, 0});
    EXPECT_EQ(local, 0);
    routeEvent({keyDown, 'a', 0, {}, 0});
    EXPECT_EQ(local, 'a');
    gLabel.curIteTyp = 4;
    routeEvent({keyDown, '\r', 0, {}, 0});
    EXPECT_EQ(calls(), std::vector<std::string>{"TypeIntoTextItem 13"});
    EXPECT_NE(gWindows.disp2, nullptr);
}

TEST_F(OutsideKeysTest, AnswerWindowKeysMoveTypeAndAnswer) {
    NumberedChannels& n = numbered();
    n.win[5] = window({100, 100, 300, 500}, documentProc);
    WINDOW_SEL(5);
    platform::TEHandle first = EDIT_FIELD(1, "one", 10, 10, 200, 30, 0, 0);
    platform::TEHandle second = EDIT_FIELD(2, "two", 10, 40, 200, 60, 0, 0);
    n.curWind = 5;
    n.curTE = 1;
    platform::TESetSelect(3, 3, first);
    doAnswerKeys('!');
    EXPECT_EQ(first->text, "one!");
    doAnswerKeys('\t');
    EXPECT_EQ(n.curTE, 2);
    EXPECT_TRUE(second->active);
    EXPECT_FALSE(first->active);
    EXPECT_EQ(second->selStart, 0);
    EXPECT_EQ(second->selEnd, 3);
    doAnswerKeys('X');  // replaces the whole text, selected by the Tab
    EXPECT_EQ(second->text, "X");
    doAnswerKeys('\t');
    EXPECT_EQ(n.curTE, 1);
    EXPECT_EQ(gAnswerKeys.finish, 0);
    doAnswerKeys('\r');
    EXPECT_EQ(gAnswerKeys.pressed, 2);
    EXPECT_EQ(gAnswerKeys.finish, 1);

    // The preferences window takes digits and Backspace only.
    n.curWind = 4;
    platform::TESetSelect(4, 4, first);
    for (unsigned char c : {'7', 'x', '.', '8', '\b'}) doAnswerKeys(c);
    EXPECT_EQ(first->text, "one!7");
    // No field in focus, or a focus number out of range: nothing typed, nothing read.
    for (int32_t none : {0, -1, 40}) {
        n.curTE = none;
        doAnswerKeys('5');
    }
    EXPECT_EQ(first->text, "one!7");
    EXPECT_EQ(second->text, "X");
}

TEST_F(OutsideKeysTest, TipsByPlace) {
    gWindows.wp = window({60, 10, 360, 310}, documentProc);      // 300 high
    gWindows.disp2 = window({60, 400, 260, 800}, documentProc);  // 200 high
    gWindows.ToolWin = window({400, 10, 560, 52}, documentProc, 1);
    const struct {
        WindowPtr* window;
        int32_t v, h, tabLayer, background;
        bool layout;
        const char* tip;
    } cases[] = {
        {&gWindows.disp2, 199, 15, 0, 0, true, "Scale Down"},
        {&gWindows.disp2, 184, 16, 0, 0, true, "Scale Up"},
        {&gWindows.disp2, 190, 59, 0, 0, true, "Scale menu"},
        {&gWindows.disp2, 190, 104, 0, 0, true, "Drawing layer"},
        {&gWindows.disp2, 190, 149, 0, 0, true, "Guide layer"},
        {&gWindows.disp2, 190, 150, 0, 0, true, ""},
        {&gWindows.disp2, 183, 10, 0, 0, true, ""},
        {&gWindows.disp2, 199, 10, 0, 0, false, ""},
        {&gWindows.wp, 4, 4, 0, 0, false, "Numbers/Barcodes Switch"},
        {&gWindows.wp, 29, 22, 0, 0, false, "Numbers/Barcodes Switch"},
        {&gWindows.wp, 30, 22, 0, 0, false, ""},
        {&gWindows.wp, 10, 10, 0, 1, false, ""},
        {&gWindows.wp, 280, 22, 0, 0, false, "Information"},
        {&gWindows.wp, 299, 23, 0, 0, false, "Options"},
        {&gWindows.wp, 290, 91, 0, 0, false, "Bar or Line Colour"},
        {&gWindows.wp, 290, 135, 0, 0, false, "Sizes & Grid"},
        {&gWindows.wp, 290, 136, 0, 0, false, ""},
        {&gWindows.wp, 279, 34, 0, 0, false, "Serial Numbers"},
        {&gWindows.wp, 260, 135, 0, 0, false, "Print Time Entry"},
        {&gWindows.wp, 260, 20, 1, 0, false, ""},
        {&gWindows.wp, 259, 20, 0, 0, false, ""},
        {&gWindows.ToolWin, 5, 5, 0, 0, false, "Selection Tool"},
        {&gWindows.ToolWin, 5, 21, 0, 0, false, "Text Tool"},
        {&gWindows.ToolWin, 45, 25, 0, 0, false, "Oval Tool"},
        {&gWindows.ToolWin, 85, 5, 0, 0, false, "Rotate Tool"},
        {&gWindows.ToolWin, 85, 25, 0, 0, false, ""},
        {&gWindows.ToolWin, 100, 5, 0, 0, false, "Align Items on Page"},
        {&gWindows.ToolWin, 137, 5, 0, 0, false, "Align Items on Page"},
        {&gWindows.ToolWin, 138, 5, 0, 0, false, "Lock items on Page"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tip) + " at " + std::to_string(c.v) + "," + std::to_string(c.h));
        labelBack.labelWidth = c.layout ? 2000 : 0;
        labelBack.labelHeight = c.layout ? 1000 : 0;
        gProd.background = c.background;
        EXPECT_EQ(stickyTip(*c.window, {c.v, c.h}, c.tabLayer), c.tip);
    }
    EXPECT_EQ(stickyTip(nullptr, {0, 0}, 0), "");
}

TEST_F(OutsideKeysTest, ATipShowsWhenTheMouseRestsAndGoesWhenItMoves) {
    gWindows.ToolWin = window({100, 100, 260, 142}, documentProc, 1);
    const qd::Point overText = {100 + 5, 100 + 25};
    DesktopMouseMoved(overText);
    CheckStickyWins();  // the mouse moved: nothing yet
    EXPECT_EQ(gWindows.PopWin, nullptr);
    AdvanceTicks(121);
    CheckStickyWins();
    ASSERT_NE(gWindows.PopWin, nullptr);
    EXPECT_TRUE(gWindows.PopWin->visible);
    // The tip stands just above the mouse, never under it.
    EXPECT_LT(ContentBounds(gWindows.PopWin).bottom, overText.v);
    DesktopMouseMoved({overText.v + 1, overText.h});
    CheckStickyWins();
    EXPECT_FALSE(gWindows.PopWin->visible);
    // Resting again: no new tip until 120 ticks after the last one.
    CheckStickyWins();
    EXPECT_FALSE(gWindows.PopWin->visible);
    AdvanceTicks(121);
    CheckStickyWins();
    EXPECT_TRUE(gWindows.PopWin->visible);
}

TEST_F(OutsideKeysTest, TheHotKeyIsParsedButNotRegisteredAndSwitchingRaisesOnlyThisProgram) {
    EXPECT_EQ(SetHotKey(""), kHotKeyNotRegistered);
    EXPECT_EQ(gHotKey.keyCode, 96);
    EXPECT_EQ(SetHotKey("F3"), kHotKeyNotRegistered);
    EXPECT_EQ(gHotKey.keyCode, 99);
    EXPECT_FALSE(gHotKey.registered);
    GetStrixelProcess();
    EXPECT_GT(gHotKey.gPSN, 0);

    window({100, 100, 200, 200}, documentProc);
    const int32_t beeps = BeepCount();
    gLoop.gactive = 0;  // in front: the key only beeps
    EXPECT_EQ(HotKeyEventHandler(), 0);
    EXPECT_EQ(BeepCount(), beeps + 1);
    gLoop.gactive = 1;  // behind another program
    SwitchToStrixel();
    EXPECT_EQ(BeepCount(), beeps + 1);
    SwitchToApp(
        reinterpret_cast<const unsigned char*>("\x06"
                                               "Finder"));
    SwitchToApp(
        reinterpret_cast<const unsigned char*>("\x07"
                                               "Strixel"));
    SwitchToApp(nullptr);
    EXPECT_EQ(BeepCount(), beeps + 1);
}

}  // namespace
