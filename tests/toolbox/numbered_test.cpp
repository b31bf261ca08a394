// The window kit and the numbered layer: builders from string lists, the
// numbered windows, fields and scroll bars within their bounds, and closing.
#include "desktop_fixture.h"

#include "platform/toolbox/numbered.h"

using namespace toolbox;

namespace {

class NumberedTest : public DesktopTest {
  protected:
    void TearDown() override {
        resetNumbered();
        DesktopTest::TearDown();
    }
};

}  // namespace

TEST_F(NumberedTest, BuildersTakeTheirTitlesAndKinds) {
    WindowPtr w = BuildWindowItem({50, 60, 150, 260}, 139, 20, true, 16, nullptr, false, 0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->procID, noGrowDocProc);
    EXPECT_EQ(w->title, "Strixel");
    EXPECT_EQ(FrontWindow(), w);
    ControlHandle b = BuildButtonItem(w, 10, 20, 90, 40, 139, 1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->procID, kControlBevelButtonSmallBevelProc);
    EXPECT_EQ(b->rect, (qd::Rect{20, 10, 40, 90}));
    EXPECT_EQ(b->max, kButtonItemPicture);
    EXPECT_FALSE(b->title.empty());
    EXPECT_EQ(BuildButtonItem(nullptr, 0, 0, 1, 1, 139, 1), nullptr);

    qd::Rect r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (qd::Rect{0, 0, 100, 200}));
    GetWindowRect(nullptr, &r);
    EXPECT_EQ(r, DesktopBounds());
}

TEST_F(NumberedTest, NumbersOutsideOneToTwentyNineMakeNothing) {
    NumberedChannels& n = numbered();
    n.win[3] = window({100, 100, 300, 400}, documentProc);
    EXPECT_EQ(WINDOW_SEL(3), 0);
    EXPECT_EQ(WINDOW_SEL(kCurrentWindowQuery), 3);
    EXPECT_EQ(qd::GetPort(), n.win[3]->port);
    EXPECT_EQ(WINDOW_SEL(30), 0);
    EXPECT_EQ(WINDOW_SEL(0), 0);
    EXPECT_EQ(WINDOW_SEL(kCurrentWindowQuery), 3);

    for (int32_t bad : {0, 30, -30, 1000}) {
        EXPECT_EQ(EDIT_FIELD(bad, "x", 10, 10, 100, 30, 6, 0), nullptr) << bad;
        EXPECT_EQ(SCROLL_BUTTON(bad, 0, 0, 10, 180, 10, 196, 150), nullptr) << bad;
    }
    EXPECT_EQ(TEHANDLE(-1), nullptr);
    EXPECT_EQ(BUTTON_POS(99), 0);

    platform::TEHandle te = EDIT_FIELD(-29, "Hello", 10, 10, 100, 30, 6, platform::teCenter);
    ASSERT_NE(te, nullptr);
    EXPECT_EQ(TEHANDLE(29), te);
    EXPECT_EQ(te->text, "Hello");
    EXPECT_EQ(te->just, platform::teCenter);
    EXPECT_EQ(te->port, n.win[3]->port);
    EXPECT_EQ(n.curTE, 29);
    ControlHandle bar = SCROLL_BUTTON(-29, 4, 0, 10, 180, 10, 196, 150);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->procID, scrollBarProc);
    EXPECT_EQ(n.TESt[29], 6 | kNegativeFieldBit);
    EXPECT_EQ(BUTTON_POS(29), 5);
    // The same number again replaces the bar in its window.
    SCROLL_BUTTON(29, 1, 0, 10, 180, 10, 196, 150);
    EXPECT_EQ(n.win[3]->controls.size(), 1u);

    // Without a current window nothing is made.
    n.curWind = 0;
    EXPECT_EQ(EDIT_FIELD(2, "", 0, 0, 10, 10, 0, 0), nullptr);
}

TEST_F(NumberedTest, CloseAgentWindowTakesItsFieldsAndBarsAlong) {
    NumberedChannels& n = numbered();
    n.win[4] = window({100, 100, 300, 400}, documentProc);
    n.win[6] = window({100, 500, 300, 800}, documentProc);
    WINDOW_SEL(6);
    EDIT_FIELD(12, "other", 10, 10, 100, 30, 0, 0);
    WINDOW_SEL(4);
    EDIT_FIELD(1, "one", 10, 10, 100, 30, 0, 0);
    EDIT_FIELD(15, "fifteen", 10, 40, 100, 60, 0, 0);
    SCROLL_BUTTON(2, 0, 0, 5, 180, 10, 196, 150);
    n.intIt[7] = 9;

    CloseAgentWindow(4);
    EXPECT_EQ(n.win[4], nullptr);
    EXPECT_EQ(TEHANDLE(1), nullptr);
    EXPECT_EQ(TEHANDLE(15), nullptr);
    EXPECT_EQ(n.CWin[2], nullptr);
    EXPECT_EQ(n.intIt[7], 0);
    EXPECT_EQ(n.curWind, 0);
    ASSERT_NE(TEHANDLE(12), nullptr);  // another window's field beyond 9 stays
    EXPECT_EQ(TEHANDLE(12)->text, "other");
    EXPECT_EQ(WindowList().size(), 1u);
    CloseAgentWindow(4);  // closed already: nothing
    CloseAgentWindow(31);
    EXPECT_EQ(WindowList().size(), 1u);
}

TEST_F(NumberedTest, ScrollBarsReachTheFieldsLines) {
    numbered().win[1] = window({100, 100, 300, 400}, documentProc);
    WINDOW_SEL(1);
    platform::TEHandle te = EDIT_FIELD(1, "a\rb\rc\rd\re\r", 10, 10, 200, 10, 0, 0);
    ControlHandle bar = SCROLL_BUTTON(1, 0, 0, 0, 200, 10, 216, 100);
    ASSERT_NE(te, nullptr);
    const int32_t lineHeight = te->lineHeight;
    ASSERT_GT(lineHeight, 0);
    te->viewRect.bottom = te->viewRect.top + 2 * lineHeight;
    EXPECT_EQ(GetNumLines(te), 6);  // five lines and the empty one after the last return
    AdjustScrollMax(te, bar);
    EXPECT_EQ(GetControlMaximum(bar), 6);
    SetVScroll(te, bar);
    EXPECT_EQ(GetControlMaximum(bar), 4);
    te->viewRect.bottom = te->viewRect.top + 10 * lineHeight;
    SetVScroll(te, bar);
    EXPECT_EQ(GetControlMaximum(bar), 0);
    SetVScroll(nullptr, bar);
    AdjustScrollMax(te, nullptr);
}

namespace {
int gPhases[2] = {};
void countPhase(int32_t phase) { ++gPhases[phase & 1]; }
}  // namespace

TEST_F(NumberedTest, GetClickWaitsForAKeyOrClickAndDropsTheRest) {
    gPhases[0] = gPhases[1] = 0;
    EventRecord e;
    e.what = keyDown;
    e.message = 'a';
    PostEvent(e);
    PostEvent(e);
    Get_Click("message box", countPhase);
    EXPECT_EQ(gPhases[0], 1);
    EXPECT_FALSE(EventAvail(everyEvent, &e));
    EXPECT_THROW(Get_Click("message box", countPhase), ModalStall);
}
