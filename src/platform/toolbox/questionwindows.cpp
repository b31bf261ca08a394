#include "platform/toolbox/questionwindows.h"

#include <cstring>

#include "platform/questions.h"
#include "platform/toolbox/boxes.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/numbered.h"

namespace toolbox {

namespace {

constexpr int32_t kTitleList = 139, kAnswerTitle = 10;
constexpr int32_t kMessageTitleList = 137, kMessageTitle = 27;
constexpr int32_t kGaugeTitleList = 136, kGaugeTitle = 1;
constexpr int32_t kFloating = 1;    // refCon: the boxes float above documents
constexpr uint32_t kLoopSleep = 6;  // ticks between null events
constexpr uint16_t kBoxEvents = mDownMask | keyDownMask | autoKeyMask | updateMask;
constexpr const char* kAskerName = "question box";
constexpr const char* kMessageName = "message box";

WindowPtr gGauge = nullptr;
BoxShownHook gShown = nullptr;

WindowPtr boxWindow(const qd::Rect& r, int32_t list, int32_t index, int16_t procID) {
    WindowPtr w = BuildWindowItem(r, list, index, true, procID, nullptr, false, kFloating);
    SelectWindow(w);
    InitCursor();
    return w;
}

// Puts the box's drawing on the screen and lets tests look at it.
void shown(WindowPtr w) {
    DrawWindowContent(w);
    if (gShown) gShown(w);
}

// An event of the modal loop as the box takes it: null when it is not the box's.
bool toBoxEvent(const EventRecord& e, WindowPtr w, platform::BoxEvent* out) {
    if (e.what == mouseDown) {
        WindowPtr hit = nullptr;
        if (FindWindow(e.where, &hit) != inContent || hit != w) {
            SysBeep(1);
            return false;
        }
        out->where = {e.where.v - w->contentOrigin.v, e.where.h - w->contentOrigin.h};
    } else if (e.what != keyDown && e.what != autoKey) {
        return false;
    }
    out->what = e.what;
    out->message = e.message;
    out->modifiers = e.modifiers;
    return true;
}

// An update for another window while a box waits: its picture stays as it was,
// but it must not ask again and again.
bool otherUpdate(const EventRecord& e, WindowPtr w) {
    if (e.what != updateEvt) return false;
    WindowPtr target = EventWindow(e);
    if (target == w) return false;
    if (target) {
        BeginUpdate(target);
        EndUpdate(target);
    }
    return true;
}

// Disposes the window however the loop ends.
struct WindowCloser {
    WindowPtr w;
    ~WindowCloser() { DisposeWindow(w); }
};

}  // namespace

void SetBoxShownHook(BoxShownHook hook) { gShown = hook; }

int32_t AskerWindow(int32_t list, int32_t prompt, int32_t first, int32_t second,
                    int32_t returnAnswer) {
    WindowPtr w = boxWindow(kAskerWindow, list, prompt, dBoxProc);
    WindowCloser closer{w};
    const auto draw = [&] {
        platform::drawAskerBox(w->port, list, prompt, first, second, returnAnswer);
    };
    draw();
    shown(w);
    for (;;) {
        EventRecord e;
        ModalNextEvent(kAskerName, kBoxEvents, &e, kLoopSleep);
        if (otherUpdate(e, w)) continue;
        if (e.what == updateEvt) {
            BeginUpdate(w);
            draw();
            EndUpdate(w);
            continue;
        }
        platform::BoxEvent be;
        if (!toBoxEvent(e, w, &be)) continue;
        const int32_t answer = platform::askerHandleEvent(be, returnAnswer);
        if (answer != platform::kNoAnswer) return answer;
    }
}

bool AnswerWindow(const char* prompt, char* text, int textSize, const char* label,
                  const char* suffix, bool askCount, int32_t* count) {
    NumberedChannels& n = numbered();
    for (int32_t old : {4, kAnswerWindowNumber, 2}) CloseAgentWindow(old);
    WindowPtr w = boxWindow(kAnswerWindow, kTitleList, kAnswerTitle, dBoxProc);
    n.win[kAnswerWindowNumber] = w;
    const std::string proposed =
        text && textSize > 0 ? std::string(text, strnlen(text, static_cast<size_t>(textSize)))
                             : std::string();
    platform::AnswerBox box;
    platform::AnswerBoxOpen(&box, w->port, prompt, proposed, label, suffix, askCount);
    struct Closer {
        platform::AnswerBox* box;
        bool closed = false;
        ~Closer() {
            if (!closed) platform::AnswerBoxClose(box, nullptr, 0, nullptr);
            numbered().TEWin[1] = numbered().TEWin[2] = nullptr;
            CloseAgentWindow(kAnswerWindowNumber);
        }
    } closer{&box};
    n.TEWin[1] = box.answer;
    n.TEWin[2] = box.count;
    platform::LibRedraw(&box);
    shown(w);
    for (bool done = false; !done;) {
        EventRecord e;
        ModalNextEvent(w->title, kBoxEvents, &e, kLoopSleep);
        if (otherUpdate(e, w)) continue;
        if (e.what == updateEvt) {
            BeginUpdate(w);
            platform::LibRedraw(&box);
            EndUpdate(w);
            continue;
        }
        if (e.what == nullEvent) {
            platform::AnswerIdle(&box);
            continue;
        }
        platform::BoxEvent be;
        if (!toBoxEvent(e, w, &be)) continue;
        done = be.what == platform::boxMouseDown ? platform::doMouseAnswer(&box, be) != 0
                                                 : platform::doAnswerKey(&box, be) != 0;
        DrawWindowContent(w);
    }
    // The box's fields go with it; the numbered slots must not keep them.
    n.TEWin[1] = n.TEWin[2] = nullptr;
    closer.closed = true;
    int32_t typedCount = 0;
    const bool answered = platform::AnswerBoxClose(&box, text, textSize, &typedCount);
    if (box.repeat && count) *count = typedCount;
    return answered;
}

void GaugeShow(const char* title) {
    GaugeKill();
    gGauge = boxWindow(kGaugeWindow, kGaugeTitleList, kGaugeTitle, plainDBox);
    platform::drawGauge(gGauge->port, title ? title : "");
    shown(gGauge);
}

void GaugeSet(int32_t done, int32_t total) {
    if (!gGauge) return;
    platform::drawGaugeBar(gGauge->port, done, total);
    DrawWindowContent(gGauge);
}

void GaugeText(const char* text, int32_t n) {
    if (!gGauge) return;
    platform::drawGaugeText(gGauge->port, text, n);
    DrawWindowContent(gGauge);
}

void GaugeKill() {
    DisposeWindow(gGauge);
    gGauge = nullptr;
}

WindowPtr GaugeWindow() { return gGauge; }

void MessageWindow(const std::string& text) {
    qd::GrafPort* saved = qd::GetPort();
    WindowPtr w = boxWindow(kMessageWindow, kMessageTitleList, kMessageTitle, dBoxProc);
    // Measured in the box's own port: a long text makes the box taller.
    const int32_t growth = platform::messageGrowth(w->port, text);
    if (growth > 0) SizeWindow(w, kMessageWindow.width(), kMessageWindow.height() + growth, false);
    {
        WindowCloser closer{w};
        platform::messUpdateText(w->port, text);
        shown(w);
        for (;;) {
            EventRecord e;
            ModalNextEvent(kMessageName, kBoxEvents, &e, kLoopSleep);
            if (otherUpdate(e, w)) continue;
            if (e.what == updateEvt) {
                BeginUpdate(w);
                platform::messUpdateText(w->port, text);
                EndUpdate(w);
                continue;
            }
            platform::BoxEvent be;
            if (toBoxEvent(e, w, &be) && platform::messHandleEvent(be, growth)) break;
        }
    }
    qd::SetFractEnable(false);
    qd::SetPort(saved);
}

void UseDesktopQuestions() {
    platform::QuestionWindows q;
    q.asker = AskerWindow;
    q.answer = AnswerWindow;
    q.showGauge = GaugeShow;
    q.setGauge = GaugeSet;
    q.gaugeText = GaugeText;
    q.killGauge = GaugeKill;
    q.message = MessageWindow;
    platform::SetQuestionWindows(q);
}

void UseHeadlessQuestions() {
    GaugeKill();
    platform::SetQuestionWindows({});
}

}  // namespace toolbox
