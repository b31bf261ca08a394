// The event loop's routing: each event kind and window part reaches its
// window's handler, keys go through Command keys, Tab and the scanner capture
// first, and updates wait for an empty queue. Events are injected into the
// desktop's queue and taken by the loop's own passes.
#include <ostream>
#include <string>
#include <vector>

#include "app/desktop/eventLoop.h"
#include "app/scanner.h"
#include "app/shell.h"
#include "desktop_fixture.h"
#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "platform/toolbox/menus.h"

using namespace toolbox;

// Readable failures: the handler's name, the window's title and the argument.
void PrintTo(const LoopCall& c, std::ostream* os) {
    *os << c.name << "(" << (c.window ? c.window->title : "null") << ", " << c.arg << ")";
}

namespace {

class EventLoopTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        resetEventLoop();
        resetShell();
        resetScanner();
        gLabel.curIteTyp = 1;
        gPrint.printLoop = 0;
    }
    void TearDown() override {
        resetEventLoop();
        resetScanner();
        DesktopTest::TearDown();
    }

    // Each window of the routes at its own place, so that no two overlap.
    WindowPtr open(WindowPtr AppWindows::*slot, int index, int16_t procID = documentProc) {
        WindowPtr w = window(place(index), procID);
        gWindows.*slot = w;
        return w;
    }
    WindowPtr openNumbered(size_t n, int index) {
        gWindows.win[n] = window(place(index), documentProc);
        return gWindows.win[n];
    }
    static qd::Rect place(int index) {
        const int16_t top = int16_t(60 + (index / 4) * 150);
        const int16_t left = int16_t(20 + (index % 4) * 220);
        return {top, left, int16_t(top + 100), int16_t(left + 200)};
    }

    // Runs the loop's passes until nothing waits (bounded).
    static void settle() {
        for (int guard = 0; guard < 50 && MainEventPass(); ++guard) {
        }
    }
    // Settles, forgets what settling recorded, then routes what is posted now.
    static void clean() {
        settle();
        clearUnhandledCalls();
    }
    static void postKey(unsigned char ch, uint16_t modifiers = 0) {
        PostEvent(EventRecord{keyDown, ch, 0, {}, uint16_t(modifiers | btnState)});
    }
    static void postDown(qd::Point where, uint16_t modifiers = 0) {
        PostEvent(EventRecord{mouseDown, 0, 0, where, modifiers});
    }
    static std::vector<std::string> names() {
        std::vector<std::string> n;
        for (const LoopCall& c : unhandledCalls()) n.push_back(c.name);
        return n;
    }
    static qd::Point inside(WindowPtr w) { return centre(ContentBounds(w)); }
};

using Names = std::vector<std::string>;

TEST_F(EventLoopTest, ClicksInContentReachTheirWindowsHandler) {
    struct Case {
        WindowPtr AppWindows::*slot;
        const char* handler;
        bool marksChanged;
    };
    const Case cases[] = {
        {&AppWindows::ToolWin, "doMouseTool", false},
        {&AppWindows::TabWin, "doMouseTab", false},
        {&AppWindows::RulerWin, "doMouseRuler", false},
        {&AppWindows::LabelWin, "doMouseLabel", true},
        {&AppWindows::PrintWin, "doMousePrint", false},
        {&AppWindows::ControlsWin, "doMouseControls", false},
        {&AppWindows::disp2, "doMouseDisp", true},
    };
    int index = 0;
    for (const Case& c : cases) {
        WindowPtr w = open(c.slot, index++);
        clean();
        gShell.changed = 0;
        postDown(inside(w));
        settle();
        EXPECT_EQ(unhandledCalls(), (std::vector<LoopCall>{{c.handler, w, inContent}}))
            << c.handler;
        EXPECT_EQ(gShell.changed, c.marksChanged ? 1 : 0) << c.handler;
        EXPECT_EQ(gWindows.activeWindow, w) << c.handler;
    }
    WindowPtr pref = openNumbered(kPrefWindow, index++);
    WindowPtr answer = openNumbered(kAnswerWindow, index++);
    WindowPtr stray = window(place(index++), documentProc);  // no route of its own
    clean();
    postDown(inside(pref));
    postDown(inside(answer));
    postDown(inside(stray));
    settle();
    EXPECT_EQ(unhandledCalls(), (std::vector<LoopCall>{{"doMousePref", pref, inContent},
                                                       {"doMouseAnswer", answer, inContent}}));
    EXPECT_EQ(gShell.gRunning, 0);  // a click in the answer window never quits
}

TEST_F(EventLoopTest, ClicksInTheMainWindowGoThroughTabsThenTheLayout) {
    WindowPtr wp = open(&AppWindows::wp, 0);
    clean();
    postDown(inside(wp), shiftKey);
    settle();
    EXPECT_EQ(names(), (Names{"CheckTabs", "doMouse"}));
    EXPECT_EQ(unhandledCalls().back().arg, 1);  // the shift key
    EXPECT_EQ(gShell.changed, 1);

    // The tabs take the click: the layout does not see it.
    setLoopHandler("CheckTabs", [](WindowPtr, int32_t) { return 1; });
    clean();
    postDown(inside(wp));
    settle();
    EXPECT_TRUE(unhandledCalls().empty());

    // Nothing selected with a drawing tool: the message first.
    gLabel.curIteTyp = 0;
    gLoop.pTool = 2;
    clean();
    postDown(inside(wp));
    settle();
    ASSERT_FALSE(unhandledCalls().empty());
    EXPECT_EQ(unhandledCalls().front(), (LoopCall{"Message", nullptr, 6}));
}

TEST_F(EventLoopTest, TheMenuBarRunsTheChosenCommand) {
    open(&AppWindows::wp, 0);
    MenuHandle file = NewMenu(129, reinterpret_cast<const unsigned char*>("\x04"
                                                                          "File"));
    AppendMenu(file, reinterpret_cast<const unsigned char*>("\x0BOpen;Close"));
    InsertMenu(file, 0);
    DrawMenuBar();
    clean();
    SendDesktopMouse(true, centre(MenuTitleBounds(129)), 0);
    SendDesktopMouse(false, centre(MenuItemBounds(129, 2)), 0);
    settle();
    ASSERT_EQ(names(), (Names{"DoCommand"}));
    EXPECT_EQ(unhandledCalls()[0].arg, (int32_t(129) << 16) | 2);
}

TEST_F(EventLoopTest, CloseBoxesQuitFromTheMainWindowAndCloseOthers) {
    WindowPtr thermal = open(&AppWindows::ThermalOutput, 1);
    clean();
    DesktopCloseBox(thermal);
    settle();
    EXPECT_EQ(gWindows.ThermalOutput, nullptr);
    for (WindowPtr w : WindowList()) EXPECT_NE(w, thermal);
    EXPECT_EQ(gShell.gRunning, 0);

    WindowPtr wp = open(&AppWindows::wp, 0);
    clean();
    DesktopCloseBox(wp);
    settle();
    EXPECT_NE(gShell.gRunning, 0);
}

TEST_F(EventLoopTest, CommandKeysGoToTheMenusThenToTheLayout) {
    gWindows.activeWindow = open(&AppWindows::wp, 0);
    clean();
    postKey('k', cmdKey);
    settle();
    EXPECT_EQ(names(), (Names{"doCmdKey", "doCmdKeyDisp"}));
    EXPECT_EQ(gLoop.theChar, 'k');
    EXPECT_EQ(gShell.changed, 1);

    setLoopHandler("doCmdKey", [](WindowPtr, int32_t) { return 1; });
    clean();
    postKey(']', cmdKey);  // a Command key never starts a capture
    settle();
    EXPECT_TRUE(unhandledCalls().empty());
    EXPECT_FALSE(gScan.capturing);
}

TEST_F(EventLoopTest, TabAndTheScannerCaptureComeBeforeTheMainWindowsKeys) {
    gWindows.activeWindow = open(&AppWindows::wp, 0);
    clean();
    postKey('\t');
    postKey('a');
    settle();
    EXPECT_EQ(names(), (Names{"ProcessTabs", "doKeysMain"}));

    // From "]" to the Return everything is the capture's, Tab included.
    clean();
    for (unsigned char c : std::string("]zzA\tB")) postKey(c);
    settle();
    EXPECT_TRUE(unhandledCalls().empty());
    EXPECT_TRUE(gScan.capturing);
    EXPECT_EQ(gScan.buffer, "zzA\tB");
    postKey('\r');
    postKey('x');
    settle();
    EXPECT_FALSE(gScan.capturing);
    EXPECT_EQ(names(), (Names{"doKeysMain"}));  // after the capture keys type again

    // The preview window captures as well; other windows do not.
    gWindows.activeWindow = open(&AppWindows::disp2, 1);
    clean();
    postKey(']');
    settle();
    EXPECT_TRUE(gScan.capturing);
    resetScanner();
    gWindows.activeWindow = open(&AppWindows::LabelWin, 2);
    clean();
    postKey(']');
    postKey('\t');
    settle();
    EXPECT_FALSE(gScan.capturing);
    EXPECT_EQ(names(), (Names{"ProcessCharsLabel", "ProcessCharsLabel"}));
}

TEST_F(EventLoopTest, KeysGoToTheActiveWindowsHandler) {
    struct Case {
        WindowPtr AppWindows::*slot;
        const char* handler;
    };
    const Case cases[] = {
        {&AppWindows::ControlsWin, "doKeysControls"},
        {&AppWindows::disp2, "doKeyDisp"},
        {&AppWindows::wp, "doKeysMain"},
        {&AppWindows::LabelWin, "ProcessCharsLabel"},
        {&AppWindows::PrintWin, "ProcessCharsPrint"},
    };
    int index = 0;
    for (const Case& c : cases) {
        gWindows.activeWindow = open(c.slot, index++);
        clean();
        postKey('q');
        settle();
        EXPECT_EQ(unhandledCalls(),
                  (std::vector<LoopCall>{{c.handler, gWindows.activeWindow, 'q'}}))
            << c.handler;
    }
    for (size_t n : {kAnswerWindow, kPrefWindow}) {
        gWindows.activeWindow = openNumbered(n, index++);
        clean();
        postKey('7');
        settle();
        EXPECT_EQ(names(), (Names{"doAnswerKeys"}));
    }

    // Any other window: the layout's keys, then its local keys when it passes
    // them on; with Option down nothing.
    gWindows.activeWindow = window(place(index++), documentProc);
    clean();
    postKey('w');
    settle();
    EXPECT_EQ(names(), (Names{"ProcessCharsDisp"}));
    setLoopHandler("ProcessCharsDisp", [](WindowPtr, int32_t) { return 1; });
    clean();
    postKey('w');
    postKey('w', optionKey);
    settle();
    EXPECT_EQ(names(), (Names{"ProcessCharsDispLocal"}));
}

TEST_F(EventLoopTest, UpdatesReachTheirWindowsDrawingOnlyWhenNothingElseWaits) {
    struct Case {
        WindowPtr AppWindows::*slot;
        const char* handler;
    };
    const Case cases[] = {
        {&AppWindows::wp, "doUpdate"},          {&AppWindows::disp2, "PICout2"},
        {&AppWindows::ToolWin, "ToolUpdate"},   {&AppWindows::TabWin, "TabUpdate"},
        {&AppWindows::RulerWin, "RulerUpdate"}, {&AppWindows::LabelWin, "LabelUpdate"},
        {&AppWindows::PrintWin, "PrintUpdate"}, {&AppWindows::ControlsWin, "ControlsUpdate"},
    };
    int index = 0;
    for (const Case& c : cases) {
        WindowPtr w = open(c.slot, index++);
        clean();
        InvalWindowRect(w, w->portRect);
        gWindows.activeWindow = nullptr;
        postKey('a');  // waits first: the update comes after it
        settle();
        EXPECT_EQ(names(), (Names{"ProcessCharsDisp", c.handler})) << c.handler;
        EXPECT_TRUE(w->updateRgn.empty()) << c.handler;  // taken as drawn, not repeated
    }
    WindowPtr answer = openNumbered(kAnswerWindow, index++);
    clean();
    InvalWindowRect(answer, answer->portRect);
    settle();
    EXPECT_EQ(names(), (Names{"AnswerUpdate"}));

    // A running print loop leaves the preview alone.
    gPrint.printLoop = 1;
    clean();
    InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
    settle();
    EXPECT_TRUE(unhandledCalls().empty());
    EXPECT_TRUE(gWindows.disp2->updateRgn.empty());
}

TEST_F(EventLoopTest, ActivationFocusesTheMainPaneOrTheNumberedWindowsField) {
    WindowPtr wp = open(&AppWindows::wp, 0);
    WindowPtr pref = openNumbered(kPrefWindow, 1);
    clean();
    const auto activate = [](WindowPtr w, bool on) {
        PostEvent(EventRecord{activateEvt, w->id, 0, {}, uint16_t(on ? activeFlag : 0)});
    };
    activate(wp, true);
    settle();
    EXPECT_EQ(names(), (Names{"deactivateAll", "activateFocus"}));
    EXPECT_EQ(gWindows.activeWindow, wp);
    clean();
    activate(wp, false);
    settle();
    EXPECT_EQ(names(), (Names{"deactivateAll"}));

    clean();
    activate(pref, true);
    settle();
    ASSERT_FALSE(unhandledCalls().empty());
    EXPECT_EQ(unhandledCalls().front(), (LoopCall{"activateField", pref, 1}));
    EXPECT_EQ(gWindows.activeWindow, pref);

    // The answer window keeps the keys while it is open.
    WindowPtr answer = openNumbered(kAnswerWindow, 2);
    gWindows.activeWindow = answer;
    clean();
    activate(wp, true);
    settle();
    EXPECT_EQ(gWindows.activeWindow, answer);
}

TEST_F(EventLoopTest, SuspendResumeAndHighLevelEvents) {
    const EventRecord suspendResume{osEvt, suspendResumeMessage << 24, 0, {}, 0};
    PostEvent(suspendResume);
    settle();
    EXPECT_EQ(names(), (Names{"deactivateAll"}));
    EXPECT_EQ(gLoop.gactive, 1);
    clean();
    PostEvent(suspendResume);
    settle();
    EXPECT_EQ(names(), (Names{"deactivateAll", "activateFocus"}));
    EXPECT_EQ(gLoop.gactive, 0);

    clean();
    PostHighLevelEvent(0x61657674, 0x6F646F63, "doc.labl");
    PostEvent(EventRecord{mouseUp, 0, 0, {}, btnState});  // a kind with no route
    settle();
    EXPECT_EQ(names(), (Names{"DoHighLevelEvent"}));
}

TEST_F(EventLoopTest, TheLoopWaitsNoTimeUntilTheFirstEventThenASecondAndEndsOnQuit) {
    EXPECT_EQ(gLoop.sSleepTime, kFirstSleepTicks);
    EXPECT_FALSE(MainEventPass());
    EXPECT_EQ(gLoop.sSleepTime, kFirstSleepTicks);
    postKey('a');
    EXPECT_TRUE(MainEventPass());
    EXPECT_EQ(gLoop.sSleepTime, kSleepTicks);

    int idles = 0;
    setLoopHandler("doIdle", [&](WindowPtr, int32_t) {
        if (++idles == 3) gShell.gRunning = -1;
        return 0;
    });
    EXPECT_EQ(MainEvent(), -1);
    EXPECT_EQ(idles, 3);  // the idle work runs after every pass
}

}  // namespace
