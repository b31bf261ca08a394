// The program's start-up and shut-down on the offscreen desktop: the steps in
// order, the main window, the splash and the help page, and the quit through
// Ctrl-Q, the File menu and the close box with the settings written; a changed
// layout is offered for saving and a save that did not happen keeps it running;
// a signal that a run held back ends the program once the run is over.
#include <csignal>
#include <fstream>
#include <iterator>

#include "app/defaultsFile.h"
#include "app/preferences.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "platform/tempfiles.h"
#include "platform/toolbox/questionwindows.h"
#include "shell_fixture.h"
#include "symbology/state.h"

using namespace toolbox;

namespace {

using Names = std::vector<std::string>;

Names allSteps(bool helpPage) {
    Names n(std::begin(kInitializeSteps), std::end(kInitializeSteps));
    for (const char* s : kStartupSteps)
        if (helpPage || std::string(s) != "DisplayCocoaWebWindow") n.emplace_back(s);
    return n;
}

// Steps that belong to the outside interface and the windows not built here.
const Names kRecordedAtStart = {"installEventHandler", "GetStrixelProcess", "SetHotKey",
                                "InstallHandlers",     "BuildScriptMenu",   "Create_Window",
                                "BuildDocStruct"};

bool windowOpen(WindowPtr w) {
    for (WindowPtr x : WindowList())
        if (x == w) return true;
    return false;
}

void quitWithCtrlQ() {
    SendDesktopKey(gWindows.wp, U'q', 0, cmdKey, false);
    ShellTest::settle();
}

// Opens a label layout with unsaved changes.
void changedLayout() {
    labelBack.labelWidth = 5000;
    labelBack.labelHeight = 3000;
    gShell.changed = 1;
}

using ShellStartup = ShellTest;

TEST_F(ShellStartup, StartsInOrderShowsSplashMainWindowAndHelpThenQuitsOnCtrlQ) {
    start();
    EXPECT_EQ(startupLog(), allSteps(true));
    EXPECT_EQ(unhandledNames(), kRecordedAtStart);

    // The splash was drawn and is gone again.
    EXPECT_EQ(aboutRecord().shown, 1);
    EXPECT_EQ(aboutRecord().kind, kSplashKind);
    EXPECT_GE(aboutRecord().draws, 1);
    EXPECT_EQ(WindowList().size(), 1u);

    ASSERT_NE(gWindows.wp, nullptr);
    EXPECT_EQ(gWindows.wp->contentOrigin.h, 10);
    EXPECT_EQ(gWindows.wp->contentOrigin.v, 50);
    EXPECT_TRUE(gWindows.wp->visible);
    EXPECT_EQ(gWindows.activeWindow, gWindows.wp);
    EXPECT_EQ(gWindows.lastFloatingWindow, gWindows.wp);
    EXPECT_EQ(gStartup.gDocumentWindowRef, gWindows.wp);
    EXPECT_EQ(gStartup.geditMode, 1);
    EXPECT_EQ(gStartup.wneAvail, 1);
    EXPECT_EQ(gStartup.gNavServicesExists, 1);

    // No defaults file yet: the code type's own texts; the help page shows.
    EXPECT_FALSE(std::filesystem::exists(defaultsFilePath()));
    const HelpWindowView help = helpWindowView();
    EXPECT_TRUE(help.visible);
    EXPECT_TRUE(help.checked);
    EXPECT_EQ(help.source, helpPageAddress());
    EXPECT_EQ(help.title, "Welcome to Strixel");

    quitWithCtrlQ();
    EXPECT_EQ(gShell.gRunning, -1);
    WindowPtr wp = gWindows.wp;
    endProgram();
    EXPECT_FALSE(windowOpen(wp));
    EXPECT_EQ(gWindows.wp, nullptr);
    EXPECT_FALSE(helpWindowView().open);
    ASSERT_TRUE(std::filesystem::exists(defaultsFilePath()));
    char name[kMostNameBytes] = {};
    EXPECT_EQ(GetTheDefault(defaultsFilePath().c_str(), name, sizeof name, 0), 1);
    EXPECT_STREQ(name, kDefaultEntryName);
    const Names tail(startupLog().end() - 4, startupLog().end());
    EXPECT_EQ(tail, (Names{"SetAsDefault", "CleanUpApp", "UnregisterHotKey", "CleanUpEvents"}));
}

TEST_F(ShellStartup, TheHelpCheckBoxDecidesWhetherTheNextStartShowsTheHelpPage) {
    start();
    clickHelpCheckBox();  // untick: not at start-up
    EXPECT_EQ(gPrefs.iBrow, 1);
    quitWithCtrlQ();
    endProgram();

    forget();
    resetPreferences();
    start();
    EXPECT_EQ(gPrefs.iBrow, 1);
    EXPECT_EQ(startupLog(), allSteps(false));
    EXPECT_FALSE(helpWindowView().visible);

    // The Help menu shows it unticked; ticking it brings it back next time.
    chooseMenuItem(kHelpMenu, 6);
    EXPECT_TRUE(helpWindowView().visible);
    EXPECT_FALSE(helpWindowView().checked);
    clickHelpCheckBox();
    EXPECT_EQ(gPrefs.iBrow, 0);
    chooseMenuItem(kFileMenu, kFileQuit);
    EXPECT_EQ(gShell.gRunning, -1);
    endProgram();

    forget();
    resetPreferences();
    gPrefs.iBrow = 1;
    start();
    EXPECT_EQ(startupLog(), allSteps(true));
    EXPECT_TRUE(helpWindowView().checked);
    endProgram();
}

TEST_F(ShellStartup, QuitThroughTheMenuAndTheCloseBoxWritesTheSettings) {
    start();
    gSym.Hei = 31.5;  // a setting that must come back next time
    chooseMenuItem(kFileMenu, kFileQuit);
    EXPECT_EQ(gShell.gRunning, -1);
    endProgram();

    forget();
    gSym.Hei = 1;
    start();
    EXPECT_DOUBLE_EQ(gSym.Hei, 31.5);
    DesktopCloseBox(gWindows.wp);
    settle();
    EXPECT_EQ(gShell.gRunning, -1);
    endProgram();
}

TEST_F(ShellStartup, QuittingWithAChangedLayoutAsksAndASaveThatFailsKeepsRunning) {
    start();
    changedLayout();
    gDocFile.globFilS = "Untitled";

    // Save chosen, the save dialog cancelled: still running, asked once.
    platform::questionScript().askerAnswers = {0};
    quitWithCtrlQ();
    EXPECT_EQ(gShell.gRunning, 0);
    EXPECT_EQ(platform::questionScript().asked, 1);

    // Save chosen into a folder that does not exist: the failure keeps it running.
    static std::string target;
    target = (home / "missing" / "folder" / "card.labl").string();
    std::filesystem::create_directories(home / "missing");
    std::ofstream(home / "missing" / "folder") << "a file where the folder should be";
    platform::SetDialogAnswers(
        [](const std::string&, std::string* path) {
            *path = target;
            return true;
        },
        nullptr);
    changedLayout();
    platform::questionScript().askerAnswers = {0};
    quitWithCtrlQ();
    EXPECT_EQ(gShell.gRunning, 0);
    EXPECT_EQ(platform::questionScript().asked, 2);

    // Save chosen and written: the program ends with the document on disk.
    target = (home / "card.labl").string();
    changedLayout();
    platform::questionScript().askerAnswers = {0};
    quitWithCtrlQ();
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(gDocFile.globFilS, target);
    endProgram();
}

TEST_F(ShellStartup, QuittingWithoutSavingOrWithNothingChangedAsksNoMoreThanNeeded) {
    start();
    changedLayout();
    platform::questionScript().askerAnswers = {1};  // do not save
    quitWithCtrlQ();
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_EQ(platform::questionScript().asked, 1);
    endProgram();

    forget();
    start();
    labelBack.labelWidth = 0;  // no layout: nothing to ask about
    gShell.changed = 1;
    quitWithCtrlQ();
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_EQ(platform::questionScript().asked, 0);
    endProgram();
}

TEST_F(ShellStartup, ReturnInTheQuitQuestionSavesAndEscapeThrowsNothingAway) {
    start();
    UseDesktopQuestions();
    changedLayout();
    static std::string target;
    target = (home / "kept.labl").string();
    platform::SetDialogAnswers(
        [](const std::string&, std::string* path) {
            *path = target;
            return true;
        },
        nullptr);
    // Ctrl-Q, then Escape (ignored) and Return, typed into the question box.
    SendDesktopKey(gWindows.wp, U'q', 0, cmdKey, false);
    for (const uint32_t c : {27u, 13u}) PostEvent(EventRecord{keyDown, c, TickCount(), {}, 0});
    settle();
    UseHeadlessQuestions();
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_TRUE(std::filesystem::exists(target)) << "Return chose Save";
    endProgram();
}

TEST_F(ShellStartup, ASignalDuringARunEndsTheProgramOnceTheRunIsOver) {
    // A fresh process rather than a fork of this one, which holds Qt's threads.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            start();
            {
                // As when SIGTERM comes while a run's message waits for OK.
                const platform::StoppableRun run;
                ::raise(SIGTERM);
            }
            MainEventPass();
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    GTEST_FLAG_SET(death_test_style, style);
}

TEST_F(ShellStartup, AWindowMakerThatRegistersTakesTheMainWindowsStep) {
    static WindowPtr made = nullptr;
    wireDesktop();
    setLoopHandler("Create_Window", [](WindowPtr, int32_t) {
        made = window({50, 10, 190, 290}, noGrowDocProc);
        gWindows.wp = made;
        return 0;
    });
    startProgram();
    EXPECT_EQ(gWindows.wp, made);
    EXPECT_EQ(WindowList().size(), 1u);
    for (const std::string& n : unhandledNames()) EXPECT_NE(n, "Create_Window");
    endProgram();
}

}  // namespace
