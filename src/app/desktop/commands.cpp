#include "app/desktop/commands.h"

#include <cctype>
#include <string>

#include "app/desktop/about.h"
#include "app/desktop/eventLoop.h"
#include "app/desktop/helpWindow.h"
#include "app/desktop/layoutDocuments.h"
#include "app/desktop/layoutWindow.h"
#include "app/desktop/outsideInterface.h"
#include "app/desktop/startup.h"
#include "app/fileDialogs.h"
#include "app/preferences.h"
#include "app/shell.h"
#include "automation/cli.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "labels/layoutText.h"
#include "labels/printState.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "labels/runs/ProcessBarcodes.h"
#include "picture/output/outer2.h"
#include "platform/resources.h"
#include "platform/toolbox/menus.h"
#include "platform/toolbox/numbered.h"
#include "platform/toolbox/pstrings.h"
#include "symbology/host.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

using namespace toolbox;

CommandState gCommands;

namespace {

// The sub-menus Create_Menu hangs below the code-type menu, in order.
constexpr int16_t kSubMenus[] = {236, 237, 254, 253, 238, 239, 240, 241, 242, 243,
                                 244, 245, 246, 235, 133, 151, 248, 249, 250};
constexpr int16_t kOutputMenu = 133;

constexpr int32_t kHelpList = 142;
constexpr int32_t kManualName = 14;
constexpr int32_t kFirstLink = 5, kSecondLink = 7, kThirdLink = 9;

constexpr uint16_t kMsgNoLayout = 10;
constexpr uint16_t kMsgNoLayoutToPrint = 11;
constexpr uint16_t kMsgThermalPrinting = 12;
constexpr uint16_t kMsgDocumentNotOpened = 70;
constexpr uint16_t kMsgNoPreview = 72;

constexpr const char* kUntitledName = "Untitled";
constexpr const char* kExampleLabel = "Examples/ExampleCard 1";
constexpr const char* kDocumentTypeName = "labl";

// Save Layout As (menu 143) items.
constexpr int32_t kSaveAsTemplate = 2;

// Edit menu items.
constexpr int32_t kUndo = 1, kCut = 3, kCopy = 4, kPaste = 5, kClear = 6, kDuplicate = 7;
// Output-format items of menu 133 that Command keys choose.
constexpr int32_t kOutputItemE = 4, kOutputItemT = 5;
constexpr int32_t kAnswerWindowNumber = 5;

int32_t packed(int16_t menu, int32_t item) { return (int32_t(menu) << 16) | (item & 0xFFFF); }
int32_t doMenu(int32_t item, int16_t menu) {
    return callLoopHandler("doMenu", nullptr, packed(menu, item));
}
int32_t sendLayoutKey(char key) {
    return callLoopHandler("doCmdKeyDisp", gWindows.activeWindow, key);
}

// Inserts a menu whose resource exists; null when it does not.
MenuHandle insertIfThere(int16_t id, int16_t beforeID) {
    MenuHandle m = GetMenu(id);
    if (m) InsertMenu(m, beforeID);
    return m;
}

void appendItem(MenuHandle menu, const char* text) {
    if (!menu) return;
    unsigned char p[256];
    AppendMenu(menu, platform::toPascal(text, p));
}

// The palettes of the layout editor, unless the interface is hidden.
void showPalettes() {
    if (gPrefs.hideIF != 0) return;
    if (!gWindows.ToolWin) callLoopHandler("ShowToolWin", nullptr, 0);
    if (!gWindows.TabWin) callLoopHandler("ShowTabWin", nullptr, 0);
}

void closePreview() {
    if (!gWindows.disp2) return;
    if (gWindows.activeWindow == gWindows.disp2) gWindows.activeWindow = gWindows.wp;
    DisposeWindow(gWindows.disp2);
    gWindows.disp2 = nullptr;
}

// Sheet Setup edits a copy of the document's sheet: once the document is
// replaced its OK would put that sheet on another document. Closed unapplied.
void closeSheetSetup() {
    if (gWindows.LabelWin) callLoopHandler("KillLocalWin", gWindows.LabelWin, 1);
}

void showLabelWindow(int32_t layer) {
    gCommands.glablayer = layer;
    callLoopHandler("ShowLabelWin", nullptr, layer);
}

// After a document was loaded: a fresh preview of it, nothing selected.
void showLoadedDocument() {
    closePreview();
    if (gPrefs.hideIF == 0) callLoopHandler("NewPreviewWindow", nullptr, 0);
    callLoopHandler("selectAllItems", nullptr, 0);
    if (gWindows.disp2) SelectWindowF(gWindows.disp2);
    if (gWindows.wp) InvalWindowRect(gWindows.wp, gWindows.wp->portRect);
}

// Loads gDocFile.globFilS; a failure that said nothing of its own gets the
// general message.
int32_t loadDocument(int32_t mode) {
    const int32_t before = gMsg.shown;
    if (loadObjects(mode) == 1 && !gDocFile.globFilS.empty()) {
        showLoadedDocument();
        return 1;
    }
    if (gMsg.shown == before) MessageInBox(kMsgDocumentNotOpened);
    return 0;
}

// Loads the document at path in place of the open layout. The layout's
// changes count as gone only once another document replaced it; one that
// failed to load leaves the layout, its name and its changes as they were.
int32_t replaceDocument(const std::string& path, int32_t mode) {
    const DocumentFileState before = gDocFile;
    gDocFile.impoFile.clear();
    gDocFile.globFilS = path;
    if (loadDocument(mode) != 1) {
        gDocFile = before;
        return 0;
    }
    gDocFile.globFilS = openedDocumentName(path);
    callLoopHandler("retitleLayoutWindow", nullptr, 0);
    closeSheetSetup();
    gShell.changed = 0;
    return 1;
}

int32_t openDocument() {
    // The open layout is replaced: its changes are offered for saving first.
    if (!saveChanges()) return 0;
    showPalettes();
    std::string path;
    // A cancelled dialog is no failure: nothing to say.
    if (DoOpenDocument(kDocumentTypeName, &path) != 0) return 0;
    // An EPS file made here gives back its settings; the layout stays.
    if (looksLikeEps(path)) {
        takeEpsSettings(path);
        return 0;
    }
    return replaceDocument(path, 1);
}

bool unnamed() { return gDocFile.globFilS.empty() || gDocFile.globFilS == kUntitledName; }

// Saves the layout: under its name, or under one the save dialog asks for.
// true when the layout was written (a text export is not the layout).
// The document takes the new name only once it was written under it.
bool saveLayout(bool askName) {
    std::string path = gDocFile.globFilS;
    if (askName || unnamed()) {
        const std::string offered =
            unnamed() ? std::string(kUntitledName)
                      : gDocFile.globFilS.substr(gDocFile.globFilS.rfind('/') + 1);
        if (DoSaveAsDocument(offered, &path) != 0) return false;
    }
    // Option held: the layout text export goes into the chosen file instead.
    // It is no copy of the document: the layout keeps its name and its
    // changes stay marked, so that quitting still asks.
    if (optionKeyDown()) {
        saveLayoutTextTo(path);
        return false;
    }
    gDocFile.fileType = kDocumentType;
    if (saveDocumentTo(path) != 0) return false;
    gDocFile.globFilS = path;
    callLoopHandler("retitleLayoutWindow", nullptr, 0);
    return true;
}

// Writes the single symbol by the output settings; true when it was delivered.
// Without data there is no symbol: a file of it would hold no marks.
bool deliverSingleSymbol() {
    constexpr uint16_t kMsgNoDataToEncode = 1209;
    if (gData.chMainCode[0] == 0) {
        Message(kMsgNoDataToEncode);
        return false;
    }
    callLoopHandler("deactivateAll", nullptr, 0);
    return deliverSymbol();  // a picture kind needs the symbol's picture made first
}

int32_t save(bool askName) {
    if (!labelLayoutOpen()) {
        // A symbol not written keeps the changes marked, so that quit asks.
        if (!deliverSingleSymbol()) return 0;
        gShell.changed = 0;
        return 1;
    }
    // A cancelled or failed save keeps the changes marked, so that quit asks.
    if (!saveLayout(askName)) return 0;
    gShell.changed = 0;
    return 1;
}

void redrawPreviewTwice() {
    if (!gWindows.disp2) return;
    for (int i = 0; i < 2; ++i) {
        InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
        callLoopHandler("updateDisp", gWindows.disp2, 0);
    }
}

void printItem() {
    if (gPrint.thermalPrint == 0) {
        const int32_t showDia = gOut.showDia;
        gPrint.printLoop = 1;
        if (!labelLayoutOpen()) {
            Message(kMsgNoLayoutToPrint);
            gOut.showDia = showDia;
            // Nothing printed: the preview must draw again.
            gPrint.printLoop = 0;
        } else
            callLoopHandler("doPrint", nullptr, 0);
    } else
        Message(kMsgThermalPrinting);
    redrawPreviewTwice();
}

// The window the keys go to: the main window is a floating one, so the front
// document window does not tell.
bool mainWindowActive() { return gWindows.wp && gWindows.activeWindow == gWindows.wp; }

// The layout's view and its palettes: the windows whose keys are the layout's.
bool layoutActive() {
    const WindowPtr w = gWindows.activeWindow;
    return w && (w == gWindows.disp2 || w == gWindows.ToolWin || w == gWindows.TabWin ||
                 w == gWindows.RulerWin);
}

// Command-period: the cancel of the list-answer, label and print windows.
void cancelFrontWindow() {
    WindowPtr front = FrontWindow();
    if (!front) return;
    if (front == gWindows.win[kAnswerWindow] && numbered().curWind == kAnswerWindowNumber) {
        gCommands.pressed = 1;
        gCommands.finish = 1;
    } else if (front == gWindows.LabelWin)
        callLoopHandler("KillLocalWin", gWindows.LabelWin, 1);
    else if (front == gWindows.PrintWin)
        callLoopHandler("KillLocalWin", gWindows.PrintWin, 0);
}

struct QuitSaver : ShellHost {
    bool doFile(int32_t item) override { return DoFile(item) != 0; }
};
QuitSaver gQuitSaver;

}  // namespace

void SetUpMenus() {
    MenuHandle apple = GetMenu(kAppleMenu);
    MenuHandle file = GetMenu(kFileMenu);
    if (file && insertIfThere(kSaveLayoutMenu, hierMenu)) {
        SetItemCmd(file, kFileSaveLayoutAs, hMenuCmd);
        SetItemMark(file, kFileSaveLayoutAs, static_cast<unsigned char>(kSaveLayoutMenu));
    }
    MenuHandle edit = GetMenu(kEditMenu);
    MenuHandle help = GetMenu(kHelpMenu);
    appendItem(help, "Welcome To Strixel");
    for (MenuHandle m : {apple, file, edit})
        if (m) InsertMenu(m, 0);
    insertIfThere(kLayoutMenu, 0);
    Create_Menu();
    if (help) InsertMenu(help, 0);
    DrawMenuBar();
}

void Create_Menu() {
    insertIfThere(kCodeTypeMenu, 0);
    // The GS1 menu's DataMatrix item and the MSI menu's 10-10 item are in
    // their menus' resources, where the pop-ups find them too.
    for (int16_t id : kSubMenus) insertIfThere(id, hierMenu);
    insertIfThere(kScriptsMenu, 0);
    DrawMenuBar();
}

int32_t DoCommand(int32_t menuResult) {
    const auto menu = static_cast<int16_t>(menuResult >> 16);
    const int32_t item = menuResult & 0xFFFF;
    switch (menu) {
        case 0:
            break;
        case kAppleMenu:
            HandleAppleChoice(item);
            break;
        case kFileMenu:
            DoFile(item);
            break;
        case kEditMenu:
            DoEditMenu(item);
            break;
        case kHelpMenu:
            doHelpItem(item);
            doMenu(item, kHelpMenu);
            break;
        default:
            doMenu(item, menu);
            break;
    }
    HiliteMenu(0);
    return 1;
}

void HandleAppleChoice(int32_t item) {
    if (item == 1) DoAbout(kAboutKind);
}

void doHelpItem(int32_t item) {
    switch (item) {
        case 1:
            CPURLHandlerLaunchPDF(platform::StringResourceText(kHelpList, kManualName));
            break;
        case 2:
            CPURLHandlerLaunchURL(platform::StringResourceText(kHelpList, kFirstLink));
            break;
        case 3:
        case 7:
            CPURLHandlerLaunchURL(platform::StringResourceText(kHelpList, kSecondLink));
            break;
        case 4:
        case 8:
            CPURLHandlerLaunchURL(platform::StringResourceText(kHelpList, kThirdLink));
            break;
        case 6:
        case 10:
            showHelpPage();
            break;
        default:
            break;
    }
}

int32_t DoSaveLayoutAs(int32_t item) {
    if (item == kSaveAsTemplate) return saveLayoutDocument(2) ? 1 : 0;
    return save(true);
}

int32_t openDocumentAt(const std::string& path) {
    if (replaceDocument(path, 0) != 1) return 0;
    showPalettes();
    return 1;
}

int32_t DoFile(int32_t item) {
    const bool layout = labelLayoutOpen();
    switch (item) {
        case kFileNew:
            // The open layout is thrown away: its changes are offered for saving first.
            if (!saveChanges()) return 0;
            showPalettes();
            gDocFile.impoFile.clear();
            deleteAllItems(gLabel.labelParts, labelBack);
            gDocFile.globFilS = kUntitledName;
            gShell.changed = 0;
            closePreview();
            showLabelWindow(1);
            break;
        case kFileOpen:
            return openDocument();
        case kFileSave:
            return save(false);
        case kFileSaveAs:
            return save(true);
        case kFileClosePreview:
            if (gWindows.disp2) {
                deliverSingleSymbol();
                callLoopHandler("killWp", gWindows.wp, 0);
            }
            break;
        case kFileSheet:
            if (!layout) {
                gCommands.printsheet = 1;
                showLabelWindow(1);
            } else
                showLabelWindow(0);
            break;
        case kFileLabelSetup:
            if (layout)
                showLabelWindow(0);
            else
                Message(kMsgNoLayout);
            break;
        case kFilePageSetup:
            callLoopHandler("PrintSetUp", nullptr, 0);
            break;
        case kFilePrint:
            printItem();
            break;
        case kFilePrintPreview:
            if (gWindows.disp2)
                printItem();
            else
                Message(kMsgNoPreview);
            break;
        case kFileQuit:
            requestQuit();
            break;
        case kFileCloseLabel:
            closeSheetSetup();
            closePreview();
            killLabelItems();
            break;
        case kFileThermalOnly:
            Message(kMsgThermalPrinting);
            break;
        case kFileExample:
            if (!saveChanges()) return 0;
            showPalettes();
            if (gStartup.appFolder.empty()) {
                Message(kMsgDocumentNotOpened);
                return 0;
            }
            return replaceDocument(gStartup.appFolder + kExampleLabel, 0);
        default:
            break;
    }
    return 1;
}

int32_t DoEditMenu(int32_t item) {
    if (item < kUndo || item > kDuplicate) return 0;
    switch (item) {
        case kUndo:
            callLoopHandler("doUndo", nullptr, 0);
            break;
        // Text edits belong to the active window: the main window's focused
        // field, or the layout's items; any other window's fields keep theirs.
        case kCut:
        case kCopy:
        case kPaste:
        case kClear:
            if (mainWindowActive())
                callLoopHandler("editMainField", gWindows.wp, item);
            else if (layoutActive() && item != kClear)
                sendLayoutKey(item == kCut ? 'X' : item == kCopy ? 'C' : 'V');
            break;
        case kDuplicate:
            sendLayoutKey('D');
            break;
        default:
            break;
    }
    return 1;
}

int32_t doCmdKey(unsigned char ch) {
    switch (std::toupper(ch)) {
        case 'C':
            DoEditMenu(kCopy);
            return 1;
        case 'D':
            DoEditMenu(kDuplicate);
            return 1;
        case 'E':
            doMenu(kOutputItemE, kOutputMenu);
            return 0;
        case 'H':
            CPURLHandlerLaunchPDF(platform::StringResourceText(kHelpList, kManualName));
            return 0;
        case 'L':
            DoFile(kFileLabelSetup);
            return 1;
        case 'N':
            DoFile(kFileNew);
            return 1;
        case 'O':
            DoFile(kFileOpen);
            return 1;
        case 'P':
            DoFile(kFilePrint);
            return 1;
        case 'Q':
            DoFile(kFileQuit);
            return 1;
        case 'S':
            DoFile(kFileSave);
            return 1;
        case 'T':
            doMenu(kOutputItemT, kOutputMenu);
            return 1;
        case 'V':
            DoEditMenu(kPaste);
            return 1;
        case 'X':
            DoEditMenu(kCut);
            return 1;
        case '.':
            cancelFrontWindow();
            return 1;
        default:
            return 0;
    }
}

void installCommands() {
    setLoopHandler("DoCommand", [](WindowPtr, int32_t choice) { return DoCommand(choice); });
    setLoopHandler("doCmdKey",
                   [](WindowPtr, int32_t ch) { return doCmdKey(static_cast<unsigned char>(ch)); });
    setLoopHandler("DoFile", [](WindowPtr, int32_t item) { return DoFile(item); });
    setLoopHandler("DoSaveLayoutAs", [](WindowPtr, int32_t item) { return DoSaveLayoutAs(item); });
    setShellHost(&gQuitSaver);
}

void resetCommands() { gCommands = CommandState{}; }
