#include "app/desktop/startup.h"

#include "app/defaultsFile.h"
#include "app/desktop/about.h"
#include "app/desktop/commands.h"
#include "app/desktop/glue.h"
#include "app/desktop/helpWindow.h"
#include "app/customTypes.h"
#include "app/layoutGeometry.h"
#include "app/preferences.h"
#include "app/shell.h"
#include "labels/labelDoc.h"
#include "labels/printDefaults.h"
#include "platform/toolbox/menus.h"
#include "platform/toolbox/numbered.h"
#include "symbology/appBits.h"

using namespace toolbox;

StartupState gStartup;

namespace {

std::vector<std::string> gLog;

constexpr const char* kBarFontFile = "Strixel.ttf";
constexpr int32_t kMainTitleList = 139;
constexpr int32_t kMainTitleIndex = 20;  // the product's name
constexpr int16_t kCustomMenu = 151;
constexpr size_t kChannelsCleared = 10;

int32_t runStep(const char* name, int32_t arg = 0) {
    gLog.emplace_back(name);
    return callLoopHandler(name, nullptr, arg);
}

void clearChannels() {
    NumberedChannels& n = numbered();
    for (size_t i = 0; i < kChannelsCleared; ++i) {
        gWindows.win[i] = nullptr;
        n.TEWin[i] = nullptr;
        n.TESt[i] = 0;
        n.CWin[i] = nullptr;
    }
}

// The main window's step: the real window when its maker registered, else a
// plain one so that the program still shows and quits.
void createMainWindow() {
    const bool registered = loopHandlerRegistered("Create_Window");
    runStep("Create_Window");
    if (!registered && !gWindows.wp)
        gWindows.wp = BuildWindowItem(kPlainMainWindow, kMainTitleList, kMainTitleIndex, true,
                                      documentProc, nullptr, true, 0);
    gStartup.gDocumentWindowRef = gWindows.wp;
}

// The Custom menu's items are the files of the Custom folder.
void buildCustomMenu() {
    BuildCustMenu();
    MenuHandle custom = GetMenuHandle(kCustomMenu);
    if (!custom) return;
    while (CountMenuItems(custom) > 0) DeleteMenuItem(custom, CountMenuItems(custom));
    for (const CustomItem& item : gCustom.menu17) {
        // One item each, whatever characters the name holds: not read as
        // AppendMenu's metacharacters.
        unsigned char text[256] = {1, ' '};
        AppendMenu(custom, text);
        std::string name = item.name.substr(0, 255);
        text[0] = static_cast<unsigned char>(name.size());
        std::copy(name.begin(), name.end(), text + 1);
        SetMenuItemText(custom, CountMenuItems(custom), text);
    }
}

void loadDefaults() {
    char name[kMostNameBytes] = {};
    if (GetTheDefault(defaultsFilePath().c_str(), name, sizeof name, 0) == 0) GetCodeText();
}

void selectMainWindow() {
    gWindows.lastFloatingWindow = gWindows.wp;
    SelectWindowF(gWindows.wp);
    gWindows.activeWindow = gWindows.wp;
}

void disposeIfOpen(WindowPtr& w) {
    if (w) DisposeWindow(w);
    w = nullptr;
}

}  // namespace

void Initialize() {
    for (const char* step : kInitializeSteps) runStep(step);
}

void startProgram() {
    Initialize();
    for (const char* step : kStartupSteps) {
        const std::string name = step;
        if (name == "Create_Window")
            createMainWindow();
        else if (name == "DisplayCocoaWebWindow") {
            if (gPrefs.iBrow == 0) runStep(step, 1);
        } else
            runStep(step);
    }
}

void endProgram() {
    runStep("SetAsDefault");
    CleanUpApp();
}

void CleanUpApp() {
    gLog.emplace_back("CleanUpApp");
    for (WindowPtr AppWindows::*w :
         {&AppWindows::disp2, &AppWindows::wp, &AppWindows::ToolWin, &AppWindows::RulerWin,
          &AppWindows::TabWin, &AppWindows::LabelWin, &AppWindows::PrintWin})
        disposeIfOpen(gWindows.*w);
    gWindows.activeWindow = gWindows.lastFloatingWindow = nullptr;
    gStartup.gDocumentWindowRef = nullptr;
    closeHelpWindow();
    killLabelItems();
    runStep("UnregisterHotKey");
    runStep("CleanUpEvents");
}

int32_t runProgram() {
    startProgram();
    MainEvent();
    endProgram();
    return 0;
}

const std::vector<std::string>& startupLog() { return gLog; }

void resetStartup() {
    gLog.clear();
    gStartup = StartupState{};
}

void installStartup() {
    auto step = [](const char* name, void (*fn)()) {
        setLoopHandler(name, [fn](WindowPtr, int32_t) {
            fn();
            return 0;
        });
    };
    step("InitCursor", [] {
        InitCursor();
        gStartup.gNavServicesExists = 1;
    });
    setLoopHandler("DoAbout", [](WindowPtr, int32_t kind) {
        DoAbout(kind);
        return 0;
    });
    step("ClearChannels", clearChannels);
    step("SetScrollAction", [] {
        scrollProcPtr = scrollProc;
        gStartup.wneAvail = 1;
    });
    step("SetUpMenus", SetUpMenus);
    step("HGetVol", [] { gStartup.appFolder = GetFolderLocation(); });
    step("GetPrefernces", [] {
        startPreferences();
        GetPrefernces();
    });
    step("initLabelItems", [] {
        gStartup.geditMode = 1;
        // The layout window and its palettes read edit mode from the layout view.
        gLayout.geditMode = 1;
        labelBack3.labelWidth = 0;
        initLabelItems();
    });
    step("Installfont", [] { Installfont(kBarFontFile); });
    step("BuildCustMenu", buildCustomMenu);
    step("GetTheDefault", loadDefaults);
    step("ThermalGetDefault", ThermalGetDefault);
    step("SelectMainWindow", selectMainWindow);
    step("initializeCocoa", [] { initializeCocoa(handleCommand); });
    setLoopHandler("DisplayCocoaWebWindow", [](WindowPtr, int32_t keepShowing) {
        orderWindowFront();
        DisplayCocoaWebWindow(helpPageAddress(), keepShowing);
        return 0;
    });
    step("checkIncomingFiles", [] {});
    step("SetAsDefault", [] { SetAsDefault(defaultsFilePath().c_str(), kDefaultEntryName, 0); });
}
