// The program's one event loop: waits for the next event, routes it by its kind
// and by the window it concerns to that window's handler, and blinks the caret
// after every pass. It also catches a scanner's identifier ("]" and what
// follows) typed into the main or preview window.
//
// The windows' own handlers register by name (`setLoopHandler`). A route whose
// handler is not registered yet is recorded in `unhandledCalls()` and does
// nothing else, so the routing stays whole while the windows come one by one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

using toolbox::WindowPtr;

// The windows the loop tells apart; null while a window is not open.
constexpr size_t kNumberedWindows = 10;
constexpr size_t kAnswerWindow = 5;  // the list-answer window among the numbered ones
constexpr size_t kPrefWindow = 4;    // the preferences window
constexpr size_t kSecondWindow = 2;
struct AppWindows {
    WindowPtr wp = nullptr;     // main window
    WindowPtr disp2 = nullptr;  // preview or layout view
    WindowPtr ToolWin = nullptr;
    WindowPtr TabWin = nullptr;
    WindowPtr RulerWin = nullptr;
    WindowPtr LabelWin = nullptr;
    WindowPtr PrintWin = nullptr;
    WindowPtr ControlsWin = nullptr;
    WindowPtr PopWin = nullptr;  // tool tips
    WindowPtr ThermalOutput = nullptr;
    WindowPtr win[kNumberedWindows] = {};
    WindowPtr activeWindow = nullptr;  // the window keys go to
    WindowPtr lastFloatingWindow = nullptr;
};
extern AppWindows gWindows;

// Sleep before the first event, so start-up work shows at once, then a second.
constexpr int32_t kFirstSleepTicks = 0;
constexpr int32_t kSleepTicks = 60;

struct LoopState {
    toolbox::EventRecord gmyEvent;  // the event of the current pass
    int32_t sSleepTime = kFirstSleepTicks;
    int32_t gactive = 0;  // 1 after a suspend, 0 after a resume
    unsigned char theChar = 0;
    int32_t pTool = 1;  // the current layout tool; 1 selects
};
extern LoopState gLoop;
void resetEventLoop();  // windows, loop state, handlers and the record

// A window's handler: the window concerned and the route's argument (the part
// for a click, the character for a key, the activate flag, a menu choice).
// The event itself is gLoop.gmyEvent. Handlers that answer (doCmdKey, CheckTabs,
// ProcessCharsDisp) return non-zero when they took the event.
using LoopHandler = std::function<int32_t(WindowPtr window, int32_t arg)>;
void setLoopHandler(const std::string& name, LoopHandler handler);
// Runs the named handler as a route does (recorded in unhandledCalls() while
// none is registered), for the code outside the loop that hands work to a window.
int32_t callLoopHandler(const std::string& name, WindowPtr window, int32_t arg);
bool loopHandlerRegistered(const std::string& name);
// An update route's handler: draws the window between BeginUpdate and
// EndUpdate, then answers `answer`.
LoopHandler updateHandler(void (*draw)(), int32_t answer = 1);

struct LoopCall {
    std::string name;
    WindowPtr window = nullptr;
    int32_t arg = 0;
    bool operator==(const LoopCall&) const = default;
};
// Routes that reached no registered handler, oldest first (the most recent
// kUnhandledKept only).
constexpr size_t kUnhandledKept = 256;
const std::vector<LoopCall>& unhandledCalls();
void clearUnhandledCalls();

// Runs passes until gShell.gRunning is non-zero; returns it.
int32_t MainEvent();
// One pass: cursor and menus, the next event routed, the idle work. True when
// an event came. A signal held back by a run in the pass ends the program.
bool MainEventPass();
// Routes one event as the loop does (gLoop.gmyEvent becomes it).
void routeEvent(const toolbox::EventRecord& event);

void DoMouseDown(int16_t part, WindowPtr window, const toolbox::EventRecord& event);
void DoActivate();
void doIdle();
void DoIdleEvent(const toolbox::EventRecord& event);

// A window whose reference constant is non-zero floats above the documents.
void SelectWindowF(WindowPtr window);
WindowPtr FrontWindowF();
void DragWindowF(WindowPtr window, qd::Point where, const qd::Rect& bounds);
