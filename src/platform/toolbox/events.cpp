#include "platform/toolbox/events.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>

#include "platform/macroman.h"
#include "platform/toolbox/internal.h"
#include "platform/toolbox/qt_glue.h"
#include "platform/toolbox/windows.h"

namespace toolbox {

namespace {

constexpr uint32_t kTicksPerSecond = 60;
constexpr uint32_t kDoubleClickTicks = 30;
constexpr int kMsPerTick = 1000 / int(kTicksPerSecond);

std::deque<EventRecord> gQueue;
std::deque<EventRecord> gActivates;  // ahead of everything else
std::string gHighLevelData;
std::deque<std::string> gHighLevelPending;

bool gButton = false;
bool gStillDown = false;  // the button has stayed down since the last mouse-down taken
qd::Point gMouse;
uint16_t gModifiers = 0;

bool gManualClock = false;
uint32_t gManualTicks = 0;
const auto gStart = std::chrono::steady_clock::now();

int gGuard = -1;  // -1: on when the desktop is Qt's offscreen platform
int32_t gBeeps = 0;
int16_t gCursor = arrowCursor;

bool inMask(int16_t what, uint16_t mask) {
    if (what == kHighLevelEvent) return (mask & highLevelEventMask) != 0;
    return what >= 0 && what < 16 && (mask & (1u << what)) != 0;
}

uint32_t windowMessage(WindowRecord* w) { return w ? w->id : 0; }

}  // namespace

// The window each waiting event names, so that a disposed window's go with it.
namespace {
std::deque<WindowRecord*> gQueueWindows;     // parallel to gQueue
std::deque<WindowRecord*> gActivateWindows;  // parallel to gActivates
}  // namespace

WindowRecord* EventWindow(const EventRecord& e) {
    if (e.what != updateEvt && e.what != activateEvt) return nullptr;
    return GetWindowFromID(e.message);
}

namespace {

bool takeFrom(std::deque<EventRecord>& q, std::deque<WindowRecord*>& ws, uint16_t mask,
              EventRecord* event, bool remove) {
    for (size_t i = 0; i < q.size(); ++i) {
        if (!inMask(q[i].what, mask)) continue;
        if (event) *event = q[i];
        if (remove) {
            if (q[i].what == kHighLevelEvent && !gHighLevelPending.empty()) {
                gHighLevelData = gHighLevelPending.front();
                gHighLevelPending.pop_front();
            }
            if (q[i].what == mouseDown) gStillDown = true;
            if (q[i].what == mouseUp) gStillDown = false;
            q.erase(q.begin() + long(i));
            ws.erase(ws.begin() + long(i));
        }
        return true;
    }
    return false;
}

bool nextEvent(uint16_t mask, EventRecord* event, bool remove) {
    if (takeFrom(gActivates, gActivateWindows, mask, event, remove)) return true;
    if (takeFrom(gQueue, gQueueWindows, mask, event, remove)) return true;
    if (mask & updateMask) {
        if (WindowRecord* w = WindowNeedingUpdate()) {
            EventRecord e;
            e.what = updateEvt;
            e.message = windowMessage(w);
            e.when = TickCount();
            e.where = gMouse;
            e.modifiers = gModifiers | (gButton ? 0 : btnState);
            if (event) *event = e;
            return true;
        }
    }
    return false;
}

void post(const EventRecord& e, WindowRecord* w) {
    gQueue.push_back(e);
    gQueueWindows.push_back(w);
}

}  // namespace

bool WaitNextEvent(uint16_t mask, EventRecord* event, uint32_t sleep) {
    const uint32_t until = TickCount() + sleep;
    for (;;) {
        if (DesktopStarted()) {
            ShowAllWindows();
            PumpDesktop(0);
        }
        if (nextEvent(mask, event, true)) return true;
        const uint32_t now = TickCount();
        if (now >= until || gManualClock) break;
        if (DesktopStarted())
            PumpDesktop(int(std::min<uint32_t>(until - now, 6)) * kMsPerTick);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(kMsPerTick));
    }
    *event = EventRecord{};
    event->when = TickCount();
    event->where = gMouse;
    event->modifiers = gModifiers | (gButton ? 0 : btnState);
    return false;
}

bool GetNextEvent(uint16_t mask, EventRecord* event) {
    if (DesktopStarted()) PumpDesktop(0);
    if (nextEvent(mask, event, true)) return true;
    *event = EventRecord{};
    event->when = TickCount();
    event->where = gMouse;
    return false;
}

bool EventAvail(uint16_t mask, EventRecord* event) {
    if (DesktopStarted()) PumpDesktop(0);
    EventRecord e;
    const bool found = nextEvent(mask, &e, false);
    if (event) *event = e;
    return found;
}

void FlushEvents(uint16_t mask, uint16_t stopMask) {
    for (size_t i = 0; i < gQueue.size();) {
        if (inMask(gQueue[i].what, stopMask)) break;
        if (inMask(gQueue[i].what, mask)) {
            gQueue.erase(gQueue.begin() + long(i));
            gQueueWindows.erase(gQueueWindows.begin() + long(i));
        } else {
            ++i;
        }
    }
}

void PostEvent(const EventRecord& e) {
    if (e.what == mouseDown || e.what == mouseUp) {
        gButton = e.what == mouseDown;
        gMouse = e.where;
    }
    post(e, nullptr);
}

void PostHighLevelEvent(uint32_t eventClass, uint32_t eventID, const std::string& data) {
    EventRecord e;
    e.what = kHighLevelEvent;
    e.message = eventClass;
    e.where = {int32_t(eventID >> 16), int32_t(eventID & 0xFFFF)};
    e.when = TickCount();
    gHighLevelPending.push_back(data);
    post(e, nullptr);
}

const std::string& HighLevelEventData() { return gHighLevelData; }

void PostActivate(WindowRecord* w, bool activate) {
    EventRecord e;
    e.what = activateEvt;
    e.message = windowMessage(w);
    e.when = TickCount();
    e.where = gMouse;
    e.modifiers = uint16_t(gModifiers | (activate ? activeFlag : 0));
    gActivates.push_back(e);
    gActivateWindows.push_back(w);
}

void ForgetWindowEvents(WindowRecord* w) {
    auto drop = [w](std::deque<EventRecord>& q, std::deque<WindowRecord*>& ws) {
        for (size_t i = 0; i < q.size();) {
            if (ws[i] == w) {
                q.erase(q.begin() + long(i));
                ws.erase(ws.begin() + long(i));
            } else {
                ++i;
            }
        }
    };
    drop(gActivates, gActivateWindows);
    drop(gQueue, gQueueWindows);
}

uint32_t TickCount() {
    if (gManualClock) return gManualTicks;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - gStart)
                        .count();
    return uint32_t(ms * kTicksPerSecond / 1000);
}

void SetTickClock(bool manual, uint32_t ticks) {
    gManualClock = manual;
    gManualTicks = ticks;
}

void AdvanceTicks(uint32_t ticks) { gManualTicks += ticks; }

void Delay(uint32_t ticks, uint32_t* finalTicks) {
    if (gManualClock) {
        gManualTicks += ticks;
    } else {
        const uint32_t until = TickCount() + ticks;
        while (TickCount() < until) {
            if (DesktopStarted())
                PumpDesktop(kMsPerTick);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(kMsPerTick));
        }
    }
    if (finalTicks) *finalTicks = TickCount();
}

uint32_t GetDblTime() { return kDoubleClickTicks; }

bool Button() {
    if (DesktopStarted()) PumpDesktop(0);
    return gButton;
}

bool StillDown() {
    if (DesktopStarted()) PumpDesktop(0);
    // A mouse-up waiting in the queue ends it as well.
    for (const EventRecord& e : gQueue)
        if (e.what == mouseUp || e.what == mouseDown) return false;
    return gStillDown && gButton;
}

void GetMouse(qd::Point* pt) {
    if (DesktopStarted()) PumpDesktop(0);
    *pt = gMouse;
    GlobalToLocal(pt);
}

qd::Point MouseGlobal() { return gMouse; }

void SetModalGuard(bool on) { gGuard = on ? 1 : 0; }

bool ModalGuard() {
    if (gGuard < 0) return DesktopStarted() && OffscreenDesktop();
    return gGuard == 1;
}

void ModalNextEvent(const std::string& who, uint16_t mask, EventRecord* event, uint32_t sleep) {
    for (;;) {
        if (WaitNextEvent(mask, event, ModalGuard() ? 0 : sleep)) return;
        if (ModalGuard())
            throw ModalStall("the modal loop of \"" + platform::macRomanToUtf8(who) +
                             "\" waits for an event that nobody sends");
        // A real desktop: the null event lets the loop follow the mouse.
        if (gButton) return;
    }
}

void SysBeep(int16_t) {
    ++gBeeps;
    DesktopBeep();
}

int32_t BeepCount() { return gBeeps; }

void SetCursor(int16_t kind) {
    gCursor = kind;
    DesktopSetCursor(kind);
}

void InitCursor() { SetCursor(arrowCursor); }
int16_t CurrentCursor() { return gCursor; }

void resetEvents() {
    gQueue.clear();
    gQueueWindows.clear();
    gActivates.clear();
    gActivateWindows.clear();
    gHighLevelPending.clear();
    gHighLevelData.clear();
    gButton = gStillDown = false;
    gMouse = {};
    gModifiers = 0;
    gManualClock = false;
    gManualTicks = 0;
    gBeeps = 0;
    gGuard = -1;
}

// ---- The desktop's side ----------------------------------------------------------

void DesktopMouse(bool down, qd::Point global, uint16_t modifiers, bool) {
    gModifiers = modifiers;
    EventRecord e;
    e.what = down ? mouseDown : mouseUp;
    e.where = global;
    e.when = TickCount();
    e.modifiers = uint16_t(modifiers | (down ? 0 : btnState));
    PostEvent(e);
}

void DesktopMouseMoved(qd::Point global) { gMouse = global; }

void DesktopKey(bool down, char32_t ch, int32_t specialChar, uint8_t keyCode, uint16_t modifiers,
                bool autoRepeat) {
    gModifiers = modifiers;
    constexpr uint16_t kAltAlone = optionKey;
    if (down && !autoRepeat && (modifiers & (cmdKey | optionKey | controlKey)) == kAltAlone && ch &&
        ClickMenuTitleByLetter(ch))
        return;
    int32_t code = specialChar;
    if (!code) {
        code = platform::unicodeToMacRoman(ch);
        if (code < 0) {
            // Mac OS Roman has no such character: nothing the program could keep.
            if (down) SysBeep(1);
            return;
        }
    }
    EventRecord e;
    e.what = !down ? keyUp : autoRepeat ? autoKey : keyDown;
    e.message = uint32_t(code & 0xFF) | (uint32_t(keyCode) << 8);
    e.where = gMouse;
    e.when = TickCount();
    e.modifiers = uint16_t(modifiers | (gButton ? 0 : btnState));
    post(e, nullptr);
}

void DesktopFocus(bool active) {
    EventRecord e;
    e.what = osEvt;
    e.message = (suspendResumeMessage << 24) | (active ? resumeFlag : 0);
    e.where = gMouse;
    e.when = TickCount();
    post(e, nullptr);
}

}  // namespace toolbox
