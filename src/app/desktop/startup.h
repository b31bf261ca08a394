// The desktop program's start-up and shut-down: a fixed list of named steps
// run in order before the event loop, and the settings saved and the windows
// disposed after it.
//
// Each step is a loop handler of the same name (see eventLoop.h): the shell
// registers its own, the windows built elsewhere register theirs, and a step
// nobody registered is recorded in unhandledCalls() and does nothing else. The
// names of the steps run are kept in startupLog(), so a headless start can be
// checked for its order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/desktop/eventLoop.h"

struct StartupState {
    int32_t gNavServicesExists = 0;  // the file dialogs are there
    int32_t wneAvail = 0;
    int32_t geditMode = 0;  // 1: the layout palettes show when a layout opens
    std::string appFolder;  // the program's folder, ending in "/" (empty: unknown)
    WindowPtr gDocumentWindowRef = nullptr;
};
extern StartupState gStartup;

// Initialize's steps, then the rest of the start-up, in the order they run.
// "DisplayCocoaWebWindow" runs only while the help page is wanted at start-up.
inline constexpr const char* kInitializeSteps[] = {
    "InitCursor",    "installEventHandler", "GetStrixelProcess", "SetHotKey",  "DoAbout",
    "ClearChannels", "InstallHandlers",     "SetScrollAction",   "SetUpMenus", "BuildScriptMenu",
};
inline constexpr const char* kStartupSteps[] = {
    "HGetVol",
    "GetPrefernces",
    "initLabelItems",
    "Installfont",
    "Create_Window",
    "BuildDocStruct",
    "BuildCustMenu",
    "GetTheDefault",
    "ThermalGetDefault",
    "SelectMainWindow",
    "initializeCocoa",
    "DisplayCocoaWebWindow",
    "checkIncomingFiles",
};
// After the loop: the settings saved, then CleanUpApp, which ends with these.
inline constexpr const char* kShutdownSteps[] = {"SetAsDefault", "CleanUpApp", "UnregisterHotKey",
                                                 "CleanUpEvents"};

// The main window when nothing registered "Create_Window": a plain window at
// the main window's place, so that the program can be used and quit.
inline constexpr qd::Rect kPlainMainWindow{50, 10, 450, 610};

void Initialize();
// Initialize, then every start-up step up to the event loop.
void startProgram();
// The settings saved under "Default", then CleanUpApp.
void endProgram();
// Disposes the program's windows, frees the label items, lets the hot key go.
void CleanUpApp();
// startProgram, the event loop until a quit, endProgram; the exit status.
int32_t runProgram();

// The steps run since the last reset, in order.
const std::vector<std::string>& startupLog();
// Registers the shell's own steps.
void installStartup();
void resetStartup();
