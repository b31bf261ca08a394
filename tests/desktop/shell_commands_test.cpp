// The menu bar and the commands: the bar's titles in order, every File, Edit
// and Help item chosen by a click does its work or calls the window that will
// do it, Command keys, and the menus the shell does not own go to doMenu.
#include <cstdio>
#include <fstream>

#include "app/desktop/glue.h"
#include "app/desktop/linkBlock.h"
#include "app/preferences.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/printState.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "platform/resources.h"
#include "platform/toolbox/numbered.h"
#include "shell_fixture.h"
#include "symbology/panels.h"
#include "symbology/state.h"

using namespace toolbox;

namespace {

using Names = std::vector<std::string>;

std::string message(int n) {
    unsigned char p[256];
    platform::StringResourceGetString(p, 136, n);
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

class ShellCommands : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        start();
        clearUnhandledCalls();
        resetMessages();
        gMsg.quiet = true;
        closeHelpWindow();
    }
    void TearDown() override {
        labelBack = LabelSheet{};
        gPrint.thermalPrint = 0;
        gPrint.printLoop = 0;
        ShellTest::TearDown();
    }
    static void openLayout() {
        labelBack.labelWidth = 5000;
        labelBack.labelHeight = 3000;
    }
    // The calls the commands made, without the activations and updates that
    // the menus' opening and closing bring.
    static Names commandCalls() {
        const Names noise = {"activateFocus", "deactivateAll", "doUpdate", "PICout2"};
        Names n;
        for (const std::string& name : unhandledNames())
            if (std::find(noise.begin(), noise.end(), name) == noise.end()) n.push_back(name);
        return n;
    }
    static size_t items() { return size_t(labelBack.lastItem + 1); }
    static WindowPtr openPreview() {
        gWindows.disp2 = window({300, 300, 400, 500}, documentProc);
        return gWindows.disp2;
    }
};

TEST_F(ShellCommands, TheBarReadsApplicationFileEditLayoutScriptsHelpAndSubMenusHangBelow) {
    const int16_t expected[] = {kAppleMenu,    kFileMenu,    kEditMenu, kLayoutMenu,
                                kCodeTypeMenu, kScriptsMenu, kHelpMenu};
    int16_t previousLeft = -1;
    for (int16_t id : expected) {
        MenuHandle m = GetMenuHandle(id);
        if (id == kCodeTypeMenu && !m) continue;  // its resource comes with the code types
        ASSERT_NE(m, nullptr) << id;
        const qd::Rect title = MenuTitleBounds(id);
        EXPECT_GT(title.left, previousLeft) << id;
        previousLeft = title.left;
    }
    EXPECT_EQ(GetMenuHandle(kAppleMenu)->title, "Strixel");
    EXPECT_EQ(GetMenuHandle(kFileMenu)->title, "File");
    EXPECT_EQ(GetMenuHandle(kEditMenu)->title, "Edit");
    EXPECT_EQ(GetMenuHandle(kHelpMenu)->title, "Help");
    MenuHandle help = GetMenuHandle(kHelpMenu);
    EXPECT_EQ(help->items.back().text, "Welcome To Strixel");
    EXPECT_EQ(CountMenuItems(help), 10);
    // File's item 6 opens the layout formats.
    MenuHandle file = GetMenuHandle(kFileMenu);
    EXPECT_EQ(file->items[kFileSaveLayoutAs - 1].cmd, hMenuCmd);
    EXPECT_EQ(file->items[kFileSaveLayoutAs - 1].mark, kSaveLayoutMenu);
    EXPECT_NE(GetMenuHandle(kSaveLayoutMenu), nullptr);
    EXPECT_EQ(file->items[kFileQuit - 1].text, "Quit");
    EXPECT_EQ(file->items[kFileQuit - 1].cmd, 'Q');
}

TEST_F(ShellCommands, FileItemsThatOpenWindowsCallThem) {
    struct Case {
        int16_t item;
        bool layout;
        Names calls;
        int32_t glablayer;
        int message;  // 0: none
    };
    const Case cases[] = {
        {kFileNew, false, {"ShowToolWin", "ShowTabWin", "ShowLabelWin"}, 1, 0},
        {kFileSheet, false, {"ShowLabelWin"}, 1, 0},
        {kFileSheet, true, {"ShowLabelWin"}, 0, 0},
        {kFileLabelSetup, true, {"ShowLabelWin"}, 0, 0},
        {kFileLabelSetup, false, {}, -1, 10},
        {kFilePageSetup, false, {"PrintSetUp"}, -1, 0},
        {kFilePrint, true, {"doPrint"}, -1, 0},
        {kFilePrint, false, {}, -1, 11},
        {kFilePrintPreview, false, {}, -1, 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        labelBack = LabelSheet{};
        if (c.layout) openLayout();
        gCommands.glablayer = -1;
        clearUnhandledCalls();
        resetMessages();
        gMsg.quiet = true;
        chooseMenuItem(kFileMenu, c.item);
        EXPECT_EQ(commandCalls(), c.calls);
        EXPECT_EQ(gCommands.glablayer, c.glablayer);
        EXPECT_EQ(gMsg.last, c.message ? message(c.message) : std::string());
        EXPECT_EQ(gShell.gRunning, 0);
    }
    EXPECT_EQ(gCommands.printsheet, 1);  // the sheet item without a layout
}

TEST_F(ShellCommands, NewEmptiesTheDocumentAndClosesThePreview) {
    openLayout();
    gDocFile.impoFile = "/tmp/import.txt";
    gDocFile.globFilS = "/tmp/old.labl";
    ASSERT_EQ(addLabelItem(), 0);
    WindowPtr preview = openPreview();
    gPrefs.hideIF = 1;  // hidden interface: no palettes
    chooseMenuItem(kFileMenu, kFileNew);
    gPrefs.hideIF = 0;
    EXPECT_EQ(items(), 0u);
    EXPECT_EQ(gDocFile.globFilS, "Untitled");
    EXPECT_TRUE(gDocFile.impoFile.empty());
    EXPECT_EQ(gWindows.disp2, nullptr);
    for (WindowPtr w : WindowList()) EXPECT_NE(w, preview);
    EXPECT_EQ(commandCalls(), (Names{"ShowLabelWin"}));
}

TEST_F(ShellCommands, PrintingWithoutALayoutLeavesThePreviewDrawingAndThermalPrintingRefuses) {
    WindowPtr preview = openPreview();
    chooseMenuItem(kFileMenu, kFilePrintPreview);
    EXPECT_EQ(gMsg.last, message(11));
    EXPECT_EQ(gPrint.printLoop, 0);
    // The preview is redrawn twice.
    EXPECT_EQ(commandCalls(), (Names{"updateDisp", "updateDisp"}));
    for (const LoopCall& c : unhandledCalls())
        EXPECT_TRUE(c.name != "updateDisp" || c.window == preview);

    gPrint.thermalPrint = 1;
    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(doCmdKey('p'), 1);
    EXPECT_EQ(gMsg.last, message(12));
    resetMessages();
    gMsg.quiet = true;
    DoFile(kFileThermalOnly);
    EXPECT_EQ(gMsg.last, message(12));
}

TEST_F(ShellCommands, OpenAsksForADocumentAndACancelSaysNothing) {
    // Cancelled: no message, nothing loaded; without a layout nothing to save.
    chooseMenuItem(kFileMenu, kFileOpen);
    EXPECT_EQ(gMsg.shown, 0);
    EXPECT_EQ(platform::questionScript().asked, 0);

    // A document saved, then opened again through the dialog.
    openLayout();
    ASSERT_EQ(addLabelItem(), 0);
    static std::string path;
    path = (home / "two.labl").string();
    ASSERT_EQ(saveDocumentTo(path), 0);
    labelBack = LabelSheet{};
    deleteAllItems(gLabel.labelParts, labelBack);
    platform::SetDialogAnswers(nullptr, nullptr, [](const char*, std::string* chosen) {
        *chosen = path;
        return true;
    });
    clearUnhandledCalls();
    chooseMenuItem(kFileMenu, kFileOpen);
    EXPECT_EQ(gMsg.shown, 0) << gMsg.last;
    EXPECT_EQ(gDocFile.globFilS, path);
    EXPECT_EQ(items(), 1u);
    EXPECT_NE(labelBack.labelWidth, 0);
    const Names calls = commandCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "NewPreviewWindow"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "selectAllItems"), calls.end());

    // A file that is no document: one message, the document as it was.
    std::ofstream(home / "junk.labl") << "not a label document";
    path = (home / "junk.labl").string();
    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(DoFile(kFileOpen), 0);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_EQ(items(), 1u);

    // The example label is not shipped: said once.
    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(DoFile(kFileExample), 0);
    EXPECT_EQ(gMsg.shown, 1);
}

TEST_F(ShellCommands, OpenAndNewOverAChangedLayoutAskFirstAndKeepItUntilReplaced) {
    static int dialogs = 0;
    static std::string path;
    dialogs = 0;
    path.clear();
    // The save dialog is always cancelled; the open dialog gives path, or cancels.
    platform::SetDialogAnswers(nullptr, nullptr, [](const char*, std::string* chosen) {
        ++dialogs;
        *chosen = path;
        return !path.empty();
    });
    openLayout();
    ASSERT_EQ(addLabelItem(), 0);
    gDocFile.globFilS = "Untitled";
    gShell.changed = 1;

    // Save chosen, its dialog cancelled: neither Open nor New goes on.
    for (int16_t item : {kFileOpen, kFileNew}) {
        SCOPED_TRACE(item);
        platform::questionScript().asked = 0;
        platform::questionScript().askerAnswers = {0};
        chooseMenuItem(kFileMenu, item);
        EXPECT_EQ(platform::questionScript().asked, 1);
        EXPECT_EQ(dialogs, 0);
        EXPECT_EQ(items(), 1u);
        EXPECT_EQ(gShell.changed, 1);
    }

    // From here on "Don't Save". The open dialog cancelled, then a file that
    // does not load: the layout keeps its name and its changes count at quit.
    chooseMenuItem(kFileMenu, kFileOpen);
    EXPECT_EQ(dialogs, 1);
    std::ofstream(home / "junk.labl") << "not a label document";
    path = (home / "junk.labl").string();
    EXPECT_EQ(DoFile(kFileOpen), 0);
    EXPECT_EQ(items(), 1u);
    EXPECT_EQ(gShell.changed, 1);
    EXPECT_EQ(gDocFile.globFilS, "Untitled");

    // Once another document is loaded, or New has emptied the label, nothing is unsaved.
    path = (home / "other.labl").string();
    ASSERT_EQ(saveDocumentTo(path), 0);
    EXPECT_EQ(DoFile(kFileOpen), 1);
    EXPECT_EQ(gShell.changed, 0);
    gShell.changed = 1;
    EXPECT_EQ(DoFile(kFileNew), 1);
    EXPECT_EQ(items(), 0u);
    EXPECT_EQ(gShell.changed, 0);
}

TEST_F(ShellCommands, UndoNeverBringsBackADocumentThatWasOpenedOverClosedOrNewed) {
    static std::string path;
    path = (home / "b.labl").string();
    platform::SetDialogAnswers(nullptr, nullptr, [](const char*, std::string* chosen) {
        *chosen = path;
        return true;
    });
    // Document B: one item on a 500 point label, saved.
    openLayout();
    ASSERT_EQ(addLabelItem(), 0);
    ASSERT_EQ(saveDocumentTo(path), 0);
    // Document A: three items on a 400 point label, kept in the undo copy.
    const auto editA = [] {
        openLayout();
        labelBack.labelWidth = 4000;
        while (items() < 3) ASSERT_EQ(addLabelItem(), 0);
        putUndoBuffer();
        ASSERT_EQ(addLabelItem(), 0);
        gShell.changed = 0;
    };
    editA();
    ASSERT_EQ(DoFile(kFileOpen), 1);
    doUndo();
    EXPECT_EQ(items(), 1u) << "B's items stay";
    EXPECT_EQ(labelBack.labelWidth, 5000u) << "B's sheet stays";
    for (int32_t item : {kFileNew, kFileCloseLabel}) {
        SCOPED_TRACE(item);
        editA();
        DoFile(item);
        openLayout();
        doUndo();
        EXPECT_EQ(items(), 0u);
        EXPECT_EQ(labelBack.labelWidth, 5000u);
    }
}

TEST_F(ShellCommands, SaveWritesTheLayoutOrWithoutOneDeliversTheSymbol) {
    // Without a layout: the current symbol through the output settings; with no
    // data there is no symbol, and the changes stay marked.
    gShell.changed = 1;
    EXPECT_EQ(DoFile(kFileSave), 0);
    EXPECT_EQ(gShell.changed, 1);
    EXPECT_TRUE(unhandledNames().empty());
    std::snprintf(gData.chMainCode, sizeof gData.chMainCode, "%s", "4006381333931");
    EXPECT_EQ(DoFile(kFileSave), 1);
    EXPECT_EQ(gShell.changed, 0);
    EXPECT_EQ(unhandledNames(), (Names{"deactivateAll"}));

    openLayout();
    static std::string path;
    path = (home / "saved.labl").string();
    platform::SetDialogAnswers(
        [](const std::string& offered, std::string* chosen) {
            EXPECT_EQ(offered, "Untitled");
            *chosen = path;
            return true;
        },
        nullptr);
    gDocFile.globFilS = "Untitled";
    chooseMenuItem(kFileMenu, kFileSave);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(gDocFile.globFilS, path);

    // Save As offers the current name and writes under the new one.
    path = (home / "copy.labl").string();
    platform::SetDialogAnswers(
        [](const std::string& offered, std::string* chosen) {
            EXPECT_EQ(offered, "saved.labl");
            *chosen = path;
            return true;
        },
        nullptr);
    gShell.changed = 1;
    chooseMenuItem(kFileMenu, kFileSaveAs);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(gShell.changed, 0);

    // A cancelled Save As keeps the changes marked, so that quit still asks.
    platform::SetDialogAnswers(nullptr, nullptr);
    gShell.changed = 1;
    EXPECT_EQ(DoFile(kFileSaveAs), 0);
    EXPECT_EQ(gShell.changed, 1);
}

TEST_F(ShellCommands, ClosingThePreviewDeliversTheSymbolAndItem15FreesTheLabel) {
    chooseMenuItem(kFileMenu, kFileClosePreview);
    EXPECT_TRUE(commandCalls().empty());  // no preview: nothing to deliver
    openPreview();
    clearUnhandledCalls();
    std::snprintf(gData.chMainCode, sizeof gData.chMainCode, "%s", "4006381333931");
    DoFile(kFileClosePreview);
    EXPECT_EQ(unhandledNames(), (Names{"deactivateAll", "killWp"}));

    openLayout();
    ASSERT_EQ(addLabelItem(), 0);
    DoFile(kFileCloseLabel);
    EXPECT_EQ(gWindows.disp2, nullptr);
    EXPECT_EQ(items(), 0u);
}

TEST_F(ShellCommands, EditItemsWorkOnTheMainFieldOrGoToTheLayoutsKeys) {
    // The main window active: its focused field takes the text edits.
    ASSERT_EQ(gWindows.activeWindow, gWindows.wp);
    clearUnhandledCalls();
    for (int16_t item : {3, 4, 5, 6}) chooseMenuItem(kEditMenu, item);
    std::vector<int32_t> fieldEdits;
    for (const LoopCall& c : unhandledCalls()) {
        EXPECT_NE(c.name, "doCmdKeyDisp") << "the layout's items are left alone";
        if (c.name == "editMainField") fieldEdits.push_back(c.arg);
    }
    EXPECT_EQ(fieldEdits, (std::vector<int32_t>{3, 4, 5, 6}));

    // Another window active (the sheet window's fields): neither.
    gWindows.LabelWin = window({300, 300, 400, 500}, documentProc);
    gWindows.activeWindow = gWindows.LabelWin;
    clearUnhandledCalls();
    for (int16_t item : {3, 4, 5, 6}) chooseMenuItem(kEditMenu, item);
    for (const LoopCall& c : unhandledCalls()) {
        EXPECT_NE(c.name, "doCmdKeyDisp");
        EXPECT_NE(c.name, "editMainField");
    }

    // The layout's window active: the layout's command keys.
    WindowPtr preview = openPreview();
    SelectWindowF(preview);
    gWindows.activeWindow = preview;
    clearUnhandledCalls();
    for (int16_t item : {1, 3, 4, 5, 6, 7}) chooseMenuItem(kEditMenu, item);
    std::vector<int32_t> keys;
    Names names;
    for (const LoopCall& c : unhandledCalls())
        if (c.name == "doCmdKeyDisp") keys.push_back(c.arg);
    names = commandCalls();
    EXPECT_EQ(names,
              (Names{"doUndo", "doCmdKeyDisp", "doCmdKeyDisp", "doCmdKeyDisp", "doCmdKeyDisp"}));
    EXPECT_EQ(keys, (std::vector<int32_t>{'X', 'C', 'V', 'D'}));
    EXPECT_EQ(DoEditMenu(8), 0);
    EXPECT_EQ(DoEditMenu(0), 0);
}

TEST_F(ShellCommands, CommandKeysMapByLetterAndTellWhetherTheLayoutSeesThemToo) {
    struct Case {
        unsigned char key;
        int32_t result;
        Names calls;
        int32_t arg;  // the last call's argument
    };
    const int32_t outputMenu = 133 << 16;
    const Case cases[] = {
        {'e', 0, {"doMenu"}, outputMenu | 4},
        {'T', 1, {"doMenu"}, outputMenu | 5},
        {'l', 1, {}, 0},  // no layout: a message
        {'k', 0, {}, 0},
        {'d', 1, {"doCmdKeyDisp"}, 'D'},
    };
    SelectWindowF(openPreview());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        clearUnhandledCalls();
        EXPECT_EQ(doCmdKey(c.key), c.result);
        EXPECT_EQ(unhandledNames(), c.calls);
        if (!c.calls.empty()) {
            EXPECT_EQ(unhandledCalls().back().arg, c.arg);
        }
    }
    // Command-H shows the manual's page when no manual lies beside the program.
    EXPECT_EQ(doCmdKey('h'), 0);
    EXPECT_EQ(helpWindowView().source, "help:/manual.html");
    EXPECT_TRUE(opened().empty());

    // Command-period cancels the label and print windows and the answer window.
    gWindows.LabelWin = window({60, 600, 160, 800}, documentProc);
    clearUnhandledCalls();
    EXPECT_EQ(doCmdKey('.'), 1);
    ASSERT_EQ(unhandledCalls().size(), 1u);
    EXPECT_EQ(unhandledCalls()[0], (LoopCall{"KillLocalWin", gWindows.LabelWin, 1}));
    gWindows.win[kAnswerWindow] = window({60, 300, 160, 500}, documentProc);
    numbered().curWind = 5;
    EXPECT_EQ(doCmdKey('.'), 1);
    EXPECT_EQ(gCommands.pressed, 1);
    EXPECT_EQ(gCommands.finish, 1);
    numbered().curWind = 0;
}

TEST_F(ShellCommands, HelpItemsOpenTheLinksTheManualAndTheHelpPage) {
    for (int16_t item : {2, 3, 4, 7, 8, 1, 6, 10}) chooseMenuItem(kHelpMenu, item);
    const Names links = {"https://www.gs1.org/standards/barcodes",
                         "https://www.isbn-international.org/", "https://www.issn.org/",
                         "https://www.isbn-international.org/", "https://www.issn.org/"};
    EXPECT_EQ(opened(), links);
    const HelpWindowView help = helpWindowView();
    EXPECT_TRUE(help.visible);
    EXPECT_EQ(help.source, helpPageAddress());
    // Every Help item goes on to doMenu as well.
    EXPECT_EQ(commandCalls(), Names(8, "doMenu"));
    EXPECT_EQ(unhandledCalls().back().arg, (kHelpMenu << 16) | 10);

    // Links inside the help: its own pages stay in the window, the web goes out,
    // and anything else is refused.
    opened().clear();
    clickHelpLink("manual.html");
    EXPECT_EQ(helpWindowView().source, "help:/manual.html");
    EXPECT_EQ(helpWindowView().title, "Strixel Manual");
    clickHelpLink("https://www.gs1.org/standards/barcodes");
    clickHelpLink("javascript:alert(1)");
    EXPECT_EQ(CPURLHandlerLaunchURL("/usr/bin/xterm"), -1);
    EXPECT_EQ(opened(), (Names{"https://www.gs1.org/standards/barcodes"}));
    clickHelpCloseButton();
    EXPECT_FALSE(helpWindowView().visible);
}

TEST_F(ShellCommands, AManualBesideTheProgramOpensOutside) {
    gStartup.appFolder = (home / "").string();
    std::ofstream(home / "StrixelManual.pdf") << "%PDF-1.4\n";
    EXPECT_EQ(doCmdKey('H'), 0);
    EXPECT_EQ(opened(), (Names{"file://" + (home / "StrixelManual.pdf").string()}));
    EXPECT_EQ(CPURLHandlerLaunchPDF("../etc/passwd"), -1);
}

TEST_F(ShellCommands, OtherMenusGoToDoMenuAndAboutWaitsForAClick) {
    DoCommand((kLayoutMenu << 16) | 2);
    DoCommand((kSaveLayoutMenu << 16) | 1);
    DoCommand((246 << 16) | 3);
    DoCommand(0);  // no choice
    ASSERT_EQ(unhandledCalls().size(), 3u);
    EXPECT_EQ(unhandledCalls()[0].arg, (kLayoutMenu << 16) | 2);
    EXPECT_EQ(unhandledCalls()[1].arg, (kSaveLayoutMenu << 16) | 1);
    EXPECT_EQ(unhandledCalls()[2].arg, (246 << 16) | 3);

    // The About window stays until a key; without one a test fails, not hangs.
    const size_t windows = WindowList().size();
    EXPECT_THROW(DoCommand((kAppleMenu << 16) | 1), ModalStall);
    EXPECT_EQ(WindowList().size(), windows);
    PostEvent(EventRecord{keyDown, 'a', 0, {}, btnState});
    const uint32_t before = TickCount();
    DoCommand((kAppleMenu << 16) | 1);
    EXPECT_EQ(aboutRecord().kind, kAboutKind);
    EXPECT_EQ(aboutRecord().bounds, kAboutWindow);
    EXPECT_GE(TickCount() - before, kAboutLingerTicks);
    EXPECT_EQ(WindowList().size(), windows);
}

}  // namespace

namespace {

TEST_F(ShellCommands, TheLinkBlockOpensTheAddressOfTheLineClicked) {
    qd::SetPort(gWindows.wp->port);
    DrawLinkBlock(20, 30);
    const Names addresses = {"https://www.gs1.org/standards/barcodes",
                             "https://www.isbn-international.org/", "https://www.issn.org/"};
    for (int32_t line = 0; line < kLinkLines; ++line) {
        opened().clear();
        const qd::Point inLine{int16_t(30 + line * kLinkLineHeight + 8), 100};
        EXPECT_EQ(ClickLinkBlock(20, 30, inLine), line >= 2 ? 1 : 0) << line;
        EXPECT_EQ(opened(), line >= 2 ? Names{addresses[size_t(line - 2)]} : Names{}) << line;
    }
    opened().clear();
    EXPECT_EQ(ClickLinkBlock(20, 30, {int16_t(30 + 3 * kLinkLineHeight), 20 + kLinkBlockWidth}), 0);
    EXPECT_EQ(ClickLinkBlock(20, 30, {int16_t(30 + kLinkLines * kLinkLineHeight), 100}), 0);
    EXPECT_TRUE(opened().empty());
}

TEST_F(ShellCommands, EachPassEnablesTheEditItemsTheFrontWindowUses) {
    MenuHandle edit = GetMenuHandle(kEditMenu);
    const int16_t items[] = {1, 3, 4, 6};
    for (int16_t i : items) DisableMenuItem(edit, i);
    MainEventPass();  // the main window in front: no Undo
    EXPECT_FALSE(IsMenuItemEnabled(edit, 1));
    for (int16_t i : {3, 4, 6}) EXPECT_TRUE(IsMenuItemEnabled(edit, i)) << i;

    SelectWindowF(openPreview());
    for (int16_t i : items) DisableMenuItem(edit, i);
    MainEventPass();
    for (int16_t i : items) EXPECT_TRUE(IsMenuItemEnabled(edit, i)) << i;
}

}  // namespace

namespace {

TEST_F(ShellCommands, ScrollBarsStepByArrowsAndPagesAndFieldsScrollToALine) {
    ControlHandle bar =
        NewControl(gWindows.wp, {10, 300, 110, 316}, nullptr, true, 50, 0, 55, scrollBarProc, 0);
    struct Step {
        int16_t part;
        int16_t value;
    };
    const Step steps[] = {
        {kUpArrow, 49},  {kDownArrow, 50}, {kPageUp, 40}, {kPageDown, 50},
        {kPageDown, 55}, {99, 55}};  // held within the bar; other parts do nothing
    for (const Step& s : steps) {
        scrollProc(bar, s.part);
        EXPECT_EQ(GetControlValue(bar), s.value) << s.part;
    }
    EXPECT_EQ(scrollProcPtr, &scrollProc);  // start-up installed it

    qd::SetPort(gWindows.wp->port);
    platform::TEHandle field = platform::TEStyleNew({10, 10, 200, 200}, {10, 10, 60, 200});
    const std::string text = "one\rtwo\rthree\rfour\rfive\rsix";
    platform::TESetText(text.data(), int32_t(text.size()), field);
    platform::TECalText(field);
    ASSERT_GT(field->lineHeight, 0);
    AdjustText(field, 3);
    EXPECT_EQ(field->viewRect.top - field->destRect.top, 3 * field->lineHeight);
    AdjustText(field, 1);
    EXPECT_EQ(field->viewRect.top - field->destRect.top, field->lineHeight);
    SetScrollPos(field, bar);
    EXPECT_EQ(GetControlValue(bar), 1);

    // The numbered layer finds a bar's field and the field under a point.
    EXPECT_EQ(GetControlItem(bar), 0);
    EXPECT_EQ(GetControlTE(bar), nullptr);
    numbered().CWin[3] = bar;
    numbered().TEWin[3] = field;
    EXPECT_EQ(GetControlItem(bar), 3);
    EXPECT_EQ(GetControlTE(bar), field);
    EXPECT_EQ(GetSelectedTERec({30, 50}), 3);
    EXPECT_EQ(GetSelectedTERec({70, 50}), 0);  // below the view
    EXPECT_EQ(GetTERect(field), (qd::Rect{10, 10, 60, 200}));
    numbered().CWin[3] = nullptr;
    numbered().TEWin[3] = nullptr;
    platform::TEDispose(field);
    DisposeControl(bar);
}

}  // namespace
