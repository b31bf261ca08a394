#include "platform/toolbox/numbered.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/resources.h"
#include "platform/toolbox/events.h"

namespace toolbox {

namespace {

constexpr int16_t kOldZoomDocProc = 16;
constexpr int16_t kButtonValue = 0, kButtonMinimum = 3;
constexpr uint32_t kClickHookTicks = 20;
constexpr unsigned char kReturn = '\r';

NumberedChannels gNumbered;

bool inRange(int32_t n) { return n >= kNumberedFirst && n <= kNumberedLast; }

WindowPtr currentWindow() {
    return inRange(gNumbered.curWind) ? gNumbered.win[gNumbered.curWind] : nullptr;
}

void disposeField(int32_t i) {
    platform::TEDispose(gNumbered.TEWin[i]);
    gNumbered.TEWin[i] = nullptr;
    gNumbered.TESt[i] = 0;
}

}  // namespace

// ---- Builders ------------------------------------------------------------------------

WindowPtr BuildWindowItem(const qd::Rect& rect, int32_t list, int32_t index, bool visible,
                          int16_t procID, WindowPtr, bool closeBox, int32_t refCon) {
    unsigned char title[256];
    platform::StringResourceGetString(title, list, index);
    if (procID == kOldZoomDocProc) procID = noGrowDocProc;
    WindowPtr w = NewCWindow(nullptr, rect, title, visible, procID, nullptr, closeBox, refCon);
    WindowMetal(w);
    return w;
}

ControlHandle BuildButtonItem(WindowPtr window, int32_t left, int32_t top, int32_t right,
                              int32_t bottom, int32_t list, int32_t index) {
    if (!window) return nullptr;
    unsigned char title[256];
    platform::StringResourceGetString(title, list, index);
    return NewControl(window, {top, left, bottom, right}, title, true, kButtonValue, kButtonMinimum,
                      kButtonItemPicture, kControlBevelButtonSmallBevelProc, 0);
}

void WindowMetal(WindowPtr) {}
void WindowNoMinimise(WindowPtr) {}
void startWindow(WindowPtr) {}

void GetWindowRect(WindowPtr window, qd::Rect* rect) {
    if (!rect) return;
    if (!window) {
        *rect = DesktopBounds();
        return;
    }
    *rect = {0, 0, window->portRect.height(), window->portRect.width()};
}

void carbSetPort(WindowPtr window) {
    if (window && window->port) qd::SetPort(window->port);
}

void Get_Click(const char* who, ClickHook hook) {
    int32_t phase = 0;
    uint32_t next = TickCount();
    EventRecord e;
    for (;;) {
        if (hook && TickCount() >= next) {
            hook(phase);
            phase ^= 1;
            next = TickCount() + kClickHookTicks;
        }
        ModalNextEvent(who ? who : "", mDownMask | keyDownMask | autoKeyMask, &e, 1);
        if (e.what == mouseDown || e.what == keyDown || e.what == autoKey) break;
    }
    FlushEvents(everyEvent, 0);
}

// ---- The numbered layer ------------------------------------------------------------

NumberedChannels& numbered() { return gNumbered; }

int32_t WINDOW_SEL(int32_t n) {
    if (n == kCurrentWindowQuery) return gNumbered.curWind;
    if (!inRange(n)) return 0;
    WindowPtr w = gNumbered.win[n];
    if (w) {
        SelectWindow(w);
        carbSetPort(w);
    }
    gNumbered.curWind = n;
    return 0;
}

platform::TEHandle EDIT_FIELD(int32_t n, const char* text, int32_t left, int32_t top, int32_t right,
                              int32_t bottom, int32_t options, int16_t alignment) {
    const int32_t i = std::abs(n);
    WindowPtr w = currentWindow();
    if (!inRange(i) || !w) return nullptr;
    disposeField(i);
    qd::GrafPort* saved = qd::GetPort();
    carbSetPort(w);
    const qd::Rect r{top, left, bottom, right};
    platform::TEHandle te = platform::TEStyleNew(r, r);
    platform::TESetAlignment(alignment, te);
    if (text && *text) platform::TESetText(text, static_cast<int32_t>(std::strlen(text)), te);
    qd::SetPort(saved);
    gNumbered.TEWin[i] = te;
    gNumbered.TESt[i] = options;
    gNumbered.curTE = i;
    return te;
}

platform::TEHandle TEHANDLE(int32_t n) { return inRange(n) ? gNumbered.TEWin[n] : nullptr; }

ControlHandle SCROLL_BUTTON(int32_t n, int32_t value, int32_t min, int32_t max, int32_t left,
                            int32_t top, int32_t right, int32_t bottom) {
    const int32_t i = std::abs(n);
    WindowPtr w = currentWindow();
    if (!inRange(i) || !w) return nullptr;
    // A bar of this number in this window is replaced; one in a window since
    // disposed went with it.
    ControlHandle old = gNumbered.CWin[i];
    if (old && std::find(w->controls.begin(), w->controls.end(), old) != w->controls.end())
        DisposeControl(old);
    const auto clamp16 = [](int32_t v) {
        return static_cast<int16_t>(std::clamp(v, -32768, 32767));
    };
    gNumbered.CWin[i] = NewControl(w, {top, left, bottom, right}, nullptr, true, clamp16(value),
                                   clamp16(min), clamp16(max), scrollBarProc, 0);
    if (n < 0) gNumbered.TESt[i] |= kNegativeFieldBit;
    return gNumbered.CWin[i];
}

int32_t BUTTON_POS(int32_t n) {
    return inRange(n) && gNumbered.CWin[n] ? GetControlValue(gNumbered.CWin[n]) + 1 : 0;
}

void CloseAgentWindow(int32_t n) {
    if (!inRange(n) || !gNumbered.win[n]) return;
    WindowPtr w = gNumbered.win[n];
    // The window's own fields and bars go with it, wherever they are numbered.
    for (int32_t i = 0; i < kNumberedSlots; ++i) {
        if (gNumbered.TEWin[i] && gNumbered.TEWin[i]->port == w->port) disposeField(i);
        if (gNumbered.CWin[i] && gNumbered.CWin[i]->owner == w) gNumbered.CWin[i] = nullptr;
    }
    for (int32_t i = 0; i < kAgentSlotsCleared; ++i) {
        disposeField(i);
        gNumbered.CWin[i] = nullptr;
    }
    for (int32_t& item : gNumbered.intIt) item = 0;
    DisposeWindow(w);
    gNumbered.win[n] = nullptr;
    gNumbered.curTE = gNumbered.currentTE = gNumbered.curWind = 0;
}

int32_t GetNumLines(platform::TEHandle field) {
    if (!field) return 0;
    const int32_t lines = platform::TENumLines(field);
    return !field->text.empty() && field->text.back() == static_cast<char>(kReturn) ? lines + 1
                                                                                    : lines;
}

void AdjustScrollMax(platform::TEHandle field, ControlHandle bar) {
    if (bar) SetControlMaximum(bar, GetNumLines(field));
}

void SetVScroll(platform::TEHandle field, ControlHandle bar) {
    if (!field || !bar) return;
    const int32_t lineHeight = std::max<int32_t>(1, field->lineHeight);
    const int32_t visible = field->viewRect.height() / lineHeight;
    SetControlMaximum(bar, std::max(0, GetNumLines(field) - visible));
}

void resetNumbered() {
    for (int32_t i = 0; i < kNumberedSlots; ++i) platform::TEDispose(gNumbered.TEWin[i]);
    gNumbered = NumberedChannels{};
}

}  // namespace toolbox
