#include "app/desktop/wiring.h"

#include "app/desktop/commands.h"
#include "app/desktop/couponDialog.h"
#include "app/desktop/eventLoop.h"
#include "app/desktop/hotKey.h"
#include "app/desktop/layoutDocuments.h"
#include "app/desktop/layoutPalettes.h"
#include "app/desktop/layoutWindow.h"
#include "app/desktop/localWindows.h"
#include "app/desktop/mainWindow.h"
#include "app/desktop/outsideInterface.h"
#include "app/desktop/outsideKeys.h"
#include "app/desktop/printDialogs.h"
#include "app/desktop/printWindowView.h"
#include "app/desktop/scriptsMenu.h"
#include "app/desktop/settingMenus.h"
#include "app/desktop/sheetSetupWindow.h"
#include "app/desktop/startup.h"
#include "app/desktop/threeD.h"
#include "app/numericEntry.h"
#include "app/sheetSetup.h"
#include "labels/preview.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "labels/runs/printWindow.h"
#include "platform/textedit.h"
#include "platform/toolbox/windows.h"
#include "symbology/panels.h"

namespace {

int gArgc = 0;
char** gArgv = nullptr;

void redrawMainWindow() {
    if (gWindows.wp) toolbox::InvalWindowRect(gWindows.wp, gWindows.wp->portRect);
}

// The windows call each other through the shell's names and through hooks of
// their own; this is the one place that joins them.
void joinWindows() {
    // The shell's commands, by the names it calls them.
    setLoopHandler("ShowToolWin", [](WindowPtr, int32_t) {
        ShowToolWin();
        return 1;
    });
    setLoopHandler("ShowTabWin", [](WindowPtr, int32_t) {
        ShowTabWin();
        return 1;
    });
    setLoopHandler("retitleLayoutWindow", [](WindowPtr, int32_t) {
        retitleLayoutWindow();
        return 1;
    });
    setLoopHandler("NewPreviewWindow", [](WindowPtr, int32_t) {
        NewPreviewWindow();
        return 1;
    });
    setLoopHandler("selectAllItems", [](WindowPtr, int32_t flag) {
        selectAllItems(flag);
        return 1;
    });
    setLoopHandler("updateDisp", [](WindowPtr, int32_t) {
        updateDisp();
        return 1;
    });
    setLoopHandler("doUndo", [](WindowPtr, int32_t) {
        doUndo();
        return 1;
    });
    setLoopHandler("doCmdKeyDisp", [](WindowPtr, int32_t key) {
        doCmdKeyDisp(static_cast<char>(key));
        return 1;
    });
    setLoopHandler("killWp", [](WindowPtr, int32_t) {
        deactivateAll();
        return 1;
    });
    setLoopHandler("ShowLabelWin", [](WindowPtr, int32_t) {
        ShowLabelWin();
        // The command says which sheet OK sets up: a sheet of single symbols
        // for the sheet item without a layout, else the layout's own sheet
        // (New Label's among them, though no layout is open yet).
        gSheetWin.printsheet = gCommands.printsheet;
        gCommands.printsheet = 0;
        return 1;
    });
    // File > Print on a layout: the print window, with nothing selected and
    // the main window's fields put away; printing starts from its button.
    setLoopHandler("doPrint", [](WindowPtr, int32_t) {
        selectAllItems(0);
        redrawMainWindow();
        deactivateAll();
        gPrint.printScreen = 1;
        ShowPrintWin();
        return 1;
    });
    setLoopHandler("PrintSetUp", [](WindowPtr, int32_t) {
        PrintSetUp();
        return 1;
    });
    setLoopHandler("KillLocalWin", [](WindowPtr, int32_t labelWindow) {
        WindowPtr w = labelWindow == 1 ? gWindows.LabelWin : gWindows.PrintWin;
        if (w) KillLocalWin(w, labelWindow);
        return 1;
    });

    // The number fields redraw the main window.
    gNumericHooks.redrawMain = [] { doUpdate(); };
    gNumericHooks.invalMain = [](const qd::Rect& r) {
        if (gWindows.wp) toolbox::InvalWindowRect(gWindows.wp, r);
    };

    // The setting menus reach the main window's fields and panes.
    SettingMenuHooks& menus = settingMenuHooks();
    menus.WorkOutHeight = [](int32_t quiet) { WorkOutHeight(quiet); };
    menus.DataBarCouponDialog = [] { DataBarCouponDialog(); };
    menus.doShapeMenu = [](int32_t item) { doShapeMenu(item); };
    menus.setMainField = [](const std::string& field, const std::string& text) {
        platform::TERec* f = field == "TELine"     ? &gPanels.TELine
                             : field == "TETe1[1]" ? &gPanels.TETe1[1]
                                                   : nullptr;
        if (f) platform::SetWindowText(f, text.c_str());
        redrawMainWindow();
    };
    menus.showColourPane = [] {
        gTabs.tabselect = -1;
        gTabs.tablayer = 2;
        redrawMainWindow();
    };

    // The layout window shows an item's settings in the main window's panes.
    LayoutHost& layout = layoutHost();
    layout.doFile = [](int32_t item) { DoFile(item); };
    layout.doMenu = [](int32_t item, int32_t menu) { doMenu(item, menu); };
    layout.killWp = [] { deactivateAll(); };
    layout.setPallette = [](int32_t) {
        gProd.background = gLayoutPanels.background;
        gTabs.tabselect = gLayoutPanels.tabselect;
        gTabs.tablayer = gLayoutPanels.tablayer;
        redrawMainWindow();
    };
    layout.invalMain = redrawMainWindow;
    layout.selectMain = [] {
        if (gWindows.wp) SelectWindowF(gWindows.wp);
    };

    gLocalHooks.NewPreviewWindow = [] { NewPreviewWindow(); };
    mainWindowHooks().showPreview = [] {
        if (gWindows.disp2)
            toolbox::InvalWindowRect(gWindows.disp2, gWindows.disp2->portRect);
        else
            NewPreviewWindow();
    };
    mainWindowHooks().dropPreview = [] {
        if (gWindows.disp2) disposeDisp2();
    };

    // The outside interface's start-up and shut-down steps.
    auto plain = [](void (*f)()) {
        return [f](WindowPtr, int32_t) {
            f();
            return 1;
        };
    };
    setLoopHandler("installEventHandler", plain(installEventHandler));
    setLoopHandler("GetStrixelProcess", plain(GetStrixelProcess));
    setLoopHandler("SetHotKey", [](WindowPtr, int32_t) { return SetHotKey(""); });
    setLoopHandler("InstallHandlers", [](WindowPtr, int32_t) {
        InstallHandlers(gArgc, gArgv);
        return 1;
    });
    setLoopHandler("BuildScriptMenu", [](WindowPtr, int32_t) {
        BuildScriptMenu(toolbox::GetMenuHandle(kScriptsMenu), 0);
        return 1;
    });
    setLoopHandler("UnregisterHotKey", plain(UnregisterHotKey));
    setLoopHandler("CleanUpEvents", plain(CleanUpEvents));
    setLoopHandler("doPrint", plain(doPrint));
    setLoopHandler("ShowPrintWin", plain(ShowPrintWin));
    menus.GetScriptMenuItem = [](int32_t item) { GetScriptMenuItem(item, 0, nullptr); };
    setTipTabLayerSource([] { return gTabs.tablayer; });

    // Once the menus are in the bar and the defaults read, the Custom menu is
    // listed and the Options marks set.
    setLoopHandler("ThermalGetDefault", [](WindowPtr, int32_t) {
        ThermalGetDefault();
        installSettingMenus();
        return 1;
    });
}

}  // namespace

void wireDesktop(int argc, char** argv) {
    gArgc = argc;
    gArgv = argv;
    wireDesktop();
}

// The shell first: a window's installer may take over one of its steps.
void wireDesktop() {
    installStartup();
    installCommands();
    installMainWindow();
    installSettingMenus();
    installLayoutEditor();
    installSheetAndPrintWindows();
    installOutsideInterface();
    joinWindows();
}

void unwireDesktop() {
    gNumericHooks = NumericEntryHooks{};
    settingMenuHooks() = SettingMenuHooks{};
    layoutHost() = LayoutHost{};
    gLocalHooks = LocalWindowHooks{};
    gPrintWindowHooks = PrintWindowHooks{};
    useDesktopPrintDialogs(false);
    setTipTabLayerSource(nullptr);
    resetOutsideInterface();
    gArgc = 0;
    gArgv = nullptr;
}
