#include "app/desktop/eventLoop.h"

#include <map>

#include "app/scanner.h"
#include "app/shell.h"
#include "labels/labelDoc.h"
#include "labels/printState.h"
#include "platform/tempfiles.h"
#include "platform/toolbox/menus.h"

using namespace toolbox;

AppWindows gWindows;
LoopState gLoop;

namespace {

std::map<std::string, LoopHandler> gHandlers;
std::vector<LoopCall> gUnhandled;

constexpr unsigned char kTab = 9;
constexpr int16_t kEditMenu = 130;
constexpr int16_t kMessageNothingSelected = 6;
constexpr int16_t kSelectionTool = 1;
// Windows drag anywhere on the desktop.
constexpr qd::Rect kDragRect{0, 0, 8192, 8192};

int32_t route(const std::string& name, WindowPtr window, int32_t arg) {
    if (auto it = gHandlers.find(name); it != gHandlers.end() && it->second)
        return it->second(window, arg);
    if (gUnhandled.size() >= kUnhandledKept) gUnhandled.erase(gUnhandled.begin());
    gUnhandled.push_back({name, window, arg});
    return 0;
}

// A route from a window of AppWindows to a handler's name.
struct WindowRoute {
    WindowPtr AppWindows::*window;
    const char* handler;
};

constexpr WindowRoute kContentClicks[] = {
    {&AppWindows::ToolWin, "doMouseTool"},   {&AppWindows::TabWin, "doMouseTab"},
    {&AppWindows::RulerWin, "doMouseRuler"}, {&AppWindows::LabelWin, "doMouseLabel"},
    {&AppWindows::PrintWin, "doMousePrint"}, {&AppWindows::ControlsWin, "doMouseControls"},
};

constexpr WindowRoute kUpdates[] = {
    {&AppWindows::wp, "doUpdate"},
    {&AppWindows::ToolWin, "ToolUpdate"},
    {&AppWindows::TabWin, "TabUpdate"},
    {&AppWindows::RulerWin, "RulerUpdate"},
    {&AppWindows::LabelWin, "LabelUpdate"},
    {&AppWindows::PrintWin, "PrintUpdate"},
    {&AppWindows::ControlsWin, "ControlsUpdate"},
};

constexpr WindowRoute kKeys[] = {
    {&AppWindows::ControlsWin, "doKeysControls"},
    {&AppWindows::disp2, "doKeyDisp"},
    {&AppWindows::wp, "doKeysMain"},
    {&AppWindows::LabelWin, "ProcessCharsLabel"},
    {&AppWindows::PrintWin, "ProcessCharsPrint"},
};

bool is(WindowPtr w, WindowPtr known) { return w && w == known; }

// A window that draws nothing of its own: its update is taken as done, or the
// same update would come back on every pass.
void DefaultUpdate(WindowPtr w) {
    BeginUpdate(w);
    EndUpdate(w);
}

// Runs the handler of an update, or DefaultUpdate when none is registered.
void update(const char* name, WindowPtr w) {
    const bool registered = gHandlers.count(name) && gHandlers[name];
    route(name, w, 0);
    if (!registered) DefaultUpdate(w);
}

void doUpdateEvent(const EventRecord& e) {
    WindowPtr w = EventWindow(e);
    if (!w) return;
    if (is(w, gWindows.disp2)) {
        if (gPrint.printLoop == 1) return DefaultUpdate(w);
        return update("PICout2", w);
    }
    if (is(w, gWindows.win[kAnswerWindow])) return update("AnswerUpdate", w);
    for (const WindowRoute& r : kUpdates)
        if (is(w, gWindows.*r.window)) return update(r.handler, w);
    DefaultUpdate(w);
}

void doActivateEvent(const EventRecord& e) {
    WindowPtr w = EventWindow(e);
    if (!w) return;
    const bool on = e.modifiers & activeFlag;
    if (is(w, gWindows.wp)) {
        if (on)
            DoActivate();
        else
            route("deactivateAll", w, 0);
    } else if (is(w, gWindows.win[kSecondWindow]) || is(w, gWindows.win[kAnswerWindow]) ||
               is(w, gWindows.win[kPrefWindow])) {
        // No selecting here: the activate comes from a selection already made,
        // and selecting again on a queued (stale) activate answers each
        // activate pair with another, for ever.
        route("activateField", w, on ? 1 : 0);
    }
    if (!is(gWindows.activeWindow, gWindows.win[kAnswerWindow])) gWindows.activeWindow = w;
}

void doOsEvent(const EventRecord& e) {
    if ((e.message >> 24) != suspendResumeMessage) return;
    if (gLoop.gactive != 1) {
        route("deactivateAll", nullptr, 0);
        gLoop.gactive = 1;
    } else {
        DoActivate();
        gLoop.gactive = 0;
    }
}

// A click in a window other than the main window.
void clickInOtherWindow(int16_t part, WindowPtr w, const EventRecord& e) {
    if (is(w, gWindows.disp2)) {
        gShell.changed = 1;
        route("doMouseDisp", w, part);
        return;
    }
    if (is(w, gWindows.win[kAnswerWindow])) {
        route("doMouseAnswer", w, part);
        return;
    }
    switch (part) {
        case inContent:
            if (is(w, gWindows.LabelWin)) gShell.changed = 1;
            if (is(w, gWindows.win[kPrefWindow])) {
                route("doMousePref", w, part);
                return;
            }
            for (const WindowRoute& r : kContentClicks)
                if (is(w, gWindows.*r.window)) {
                    route(r.handler, w, part);
                    return;
                }
            return;
        case inDrag:
            if (w != FrontWindow()) SelectWindowF(w);
            DragWindow(w, e.where, kDragRect);
            return;
        case inGoAway:
            if (!TrackGoAway(w, e.where)) return;
            if (is(w, gWindows.ThermalOutput)) gWindows.ThermalOutput = nullptr;
            DisposeWindow(w);
            if (gWindows.activeWindow == w) gWindows.activeWindow = nullptr;
            return;
        default:
            return;
    }
}

void doMouseEvent(const EventRecord& e) {
    if (gWindows.PopWin) HideWindow(gWindows.PopWin);
    WindowPtr w = nullptr;
    const int16_t part = FindWindow(e.where, &w);
    if (w) gWindows.activeWindow = w;
    if (!is(w, gWindows.wp) && part != inMenuBar && part != inSysWindow) {
        if (w) clickInOtherWindow(part, w, e);
        return;
    }
    if (gLabel.curIteTyp == 0 && gLoop.pTool != kSelectionTool)
        route("Message", nullptr, kMessageNothingSelected);
    gShell.changed = 1;
    DoMouseDown(part, w, e);
}

void doKeyEvent(const EventRecord& e) {
    gShell.changed = 1;
    const unsigned char ch = static_cast<unsigned char>(e.message & charCodeMask);
    gLoop.theChar = ch;
    WindowPtr active = gWindows.activeWindow;
    if (e.modifiers & cmdKey) {
        if (route("doCmdKey", active, ch) == 0) route("doCmdKeyDisp", active, ch);
        return;
    }
    if (is(active, gWindows.wp) || is(active, gWindows.disp2)) {
        // A capture takes everything up to its Return, Tab included.
        if (scanKey(ch)) return;
        if (ch == kTab) {
            route("ProcessTabs", active, ch);
            return;
        }
    }
    for (const WindowRoute& r : kKeys)
        if (is(active, gWindows.*r.window)) {
            route(r.handler, active, ch);
            return;
        }
    if (is(active, gWindows.win[kAnswerWindow]) || is(active, gWindows.win[kPrefWindow])) {
        route("doAnswerKeys", active, ch);
        return;
    }
    if (e.modifiers & optionKey) return;
    if (route("ProcessCharsDisp", active, ch) != 0) route("ProcessCharsDispLocal", active, ch);
}

void MaintainCursor() {
    WindowPtr preview = gWindows.disp2;
    if (!preview || FrontNonFloatingWindow() != preview) return;
    const qd::Point m = MouseGlobal();
    const qd::Rect content = ContentBounds(preview);
    if (m.v >= content.top && m.v < content.bottom && m.h >= content.left && m.h < content.right)
        SetCursor(arrowCursor);
}

// The Edit items that stand for themselves are on; Undo only away from the
// main window.
void MaintainMenus() {
    MenuHandle edit = GetMenuHandle(kEditMenu);
    if (!edit) return;
    constexpr int16_t kUndo = 1, kCut = 3, kCopy = 4, kClear = 6;
    if (!is(FrontWindow(), gWindows.wp)) EnableMenuItem(edit, kUndo);
    for (int16_t item : {kCut, kCopy, kClear}) EnableMenuItem(edit, item);
}

}  // namespace

void resetEventLoop() {
    gWindows = AppWindows{};
    gLoop = LoopState{};
    gHandlers.clear();
    gUnhandled.clear();
}

void setLoopHandler(const std::string& name, LoopHandler handler) {
    gHandlers[name] = std::move(handler);
}

LoopHandler updateHandler(void (*draw)(), int32_t answer) {
    return [draw, answer](WindowPtr w, int32_t) {
        BeginUpdate(w);
        draw();
        EndUpdate(w);
        return answer;
    };
}

int32_t callLoopHandler(const std::string& name, WindowPtr window, int32_t arg) {
    return route(name, window, arg);
}

bool loopHandlerRegistered(const std::string& name) {
    auto it = gHandlers.find(name);
    return it != gHandlers.end() && it->second;
}

const std::vector<LoopCall>& unhandledCalls() { return gUnhandled; }
void clearUnhandledCalls() { gUnhandled.clear(); }

void routeEvent(const EventRecord& event) {
    gLoop.gmyEvent = event;
    switch (event.what) {
        case nullEvent:
            DoIdleEvent(event);
            break;
        case mouseDown:
            doMouseEvent(event);
            break;
        case keyDown:
        case autoKey:
            doKeyEvent(event);
            break;
        case updateEvt:
            doUpdateEvent(event);
            break;
        case activateEvt:
            doActivateEvent(event);
            break;
        case osEvt:
            doOsEvent(event);
            break;
        case kHighLevelEvent:
            route("DoHighLevelEvent", nullptr, 0);
            break;
        default:
            break;
    }
}

bool MainEventPass() {
    MaintainCursor();
    MaintainMenus();
    EventRecord e;
    const bool got = WaitNextEvent(everyEvent, &e, uint32_t(gLoop.sSleepTime));
    gLoop.gmyEvent = e;
    if (got) {
        gLoop.sSleepTime = kSleepTicks;
        routeEvent(e);
    }
    doIdle();
    // A signal that came while a run went on was held until the run ended,
    // which it now has: it ends the program as it would have outside a run.
    if (platform::stopRequested()) platform::endForNotedSignal();
    return got;
}

int32_t MainEvent() {
    while (gShell.gRunning == 0) MainEventPass();
    return gShell.gRunning;
}

void DoMouseDown(int16_t part, WindowPtr window, const EventRecord& event) {
    switch (part) {
        case inMenuBar:
            route("DoCommand", window, MenuSelect(event.where));
            break;
        case inContent:
            if (window && window != FrontWindow()) SelectWindowF(window);
            if (route("CheckTabs", window, 0) != 0) break;
            route("doMouse", window, (event.modifiers & shiftKey) ? 1 : 0);
            break;
        case inDrag:
            if (is(window, gWindows.wp)) DragWindow(window, event.where, kDragRect);
            if (gWindows.wp) SelectWindowF(gWindows.wp);
            break;
        case inGoAway:
            if (is(window, gWindows.wp) && TrackGoAway(window, event.where)) {
                if (gHandlers.count("DoFile"))
                    route("DoFile", window, 14);
                else
                    requestQuit();
            }
            break;
        default:
            break;
    }
}

void DoActivate() {
    route("deactivateAll", nullptr, 0);
    route("activateFocus", gWindows.wp, 0);
}

// The carets blink through the fields' own window; nothing is recorded while
// no one has registered it, or every pass would.
void doIdle() {
    if (auto it = gHandlers.find("doIdle"); it != gHandlers.end() && it->second)
        it->second(nullptr, 0);
}

void DoIdleEvent(const EventRecord&) {
    gLoop.sSleepTime = 0x7FFFFFFF;
    if (!WindowList().empty()) doIdle();
}

// A document window comes to the front of the documents, below the floating
// windows; a floating window to the very front.
void SelectWindowF(WindowPtr window) {
    if (!window) return;
    if (window->floating())
        BringToFront(window);
    else
        SelectWindow(window);
}

WindowPtr FrontWindowF() {
    for (WindowPtr w : WindowList())
        if (!w->floating()) return w;
    return nullptr;
}

void DragWindowF(WindowPtr window, qd::Point where, const qd::Rect& bounds) {
    DragWindow(window, where, bounds);
    SelectWindowF(window);
}
