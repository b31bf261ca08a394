#include "app/desktop/preferencesWindow.h"

#include <string>

#include "app/desktop/eventLoop.h"
#include "app/preferences.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/runs/printWindow.h"
#include "picture/PICout2.h"
#include "platform/resources.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/numbered.h"

using namespace toolbox;

namespace {

constexpr qd::Rect kPrefRect{100, 300, 460, 700};
constexpr qd::Rect kCloseButton{325, 290, 345, 386};
constexpr int32_t kTitleList = 137, kTitleIndex = 11, kButtonList = 139, kButtonIndex = 1;
constexpr int32_t kFieldLeft = 80, kFieldWidth = 35, kFieldHeight = 15;
constexpr int32_t kFieldTops[kPrefFields] = {200, 220, 240, 260};
constexpr int32_t kFieldLabels[kPrefFields] = {19, 20, 21, 22};
constexpr int16_t kGeneva = 3, kPlainSize = 10;
constexpr int32_t kPrefNumber = 4, kAnswerNumber = 5, kSecondNumber = 2;
constexpr unsigned char kBackspace = 8, kTab = 9;
constexpr uint32_t kLoopSleep = 6;
constexpr size_t kMostDigits = 9;  // every number the fields take fits a word

struct PrefMark {
    int32_t h, v;
    int32_t* setting;
    int32_t bit;
    int32_t label;
};
PrefMark marks[] = {
    {100, 40, &gPrefs.hideIF, 1, 12},          {100, 60, &gPrint.printScreen, 1, 13},
    {100, 80, &gPrint.printForever, 1, 14},    {100, 160, &gDriver.askForRepeat, 1, 18},
    {100, 280, &gPrintWin.startLabels, 1, 24}, {100, 300, &gPrefs.barco, 1, 25},
    {200, 300, &gPrefs.barco, 2, 26},
};

struct PrefWindow {
    WindowPtr window = nullptr;
    ControlHandle button = nullptr;
    platform::TEHandle fields[kPrefFields] = {};
    int focus = -1;
    bool finish = false;
};
PrefWindow gPref;

qd::Rect markBox(const PrefMark& m) { return {m.v + 1, m.h + 1, m.v + 11, m.h + 13}; }
bool contains(const qd::Rect& r, qd::Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

void drawString(int32_t list, int32_t index, int32_t h, int32_t v) {
    unsigned char s[256] = {};
    platform::StringResourceGetString(s, list, index);
    qd::MoveTo(h, v);
    qd::DrawString(s);
}

void drawMarkBox(const PrefMark& m) {
    const qd::Rect box = markBox(m);
    qd::EraseRect(box);
    qd::FrameRect(box);
    if (*m.setting & m.bit) {
        qd::MoveTo(box.left + 2, box.top + 2);
        qd::LineTo(box.right - 3, box.bottom - 3);
        qd::MoveTo(box.left + 2, box.bottom - 3);
        qd::LineTo(box.right - 3, box.top + 2);
    }
}

void focusField(int index) {
    for (int i = 0; i < kPrefFields; ++i)
        if (gPref.fields[i]) platform::TEDeactivate(gPref.fields[i]);
    gPref.focus = index;
    if (index >= 0 && gPref.fields[index]) {
        platform::TEActivate(gPref.fields[index]);
        platform::TESelectAll(gPref.fields[index]);
    }
}

void openWindow() {
    for (int32_t n : {kPrefNumber, kAnswerNumber, kSecondNumber}) CloseAgentWindow(n);
    gPref = PrefWindow{};
    gPref.window = BuildWindowItem(kPrefRect, kTitleList, kTitleIndex, true, 16, nullptr, false, 0);
    gWindows.win[kPrefWindow] = gPref.window;
    qd::SetPort(gPref.window->port);
    qd::TextFont(kGeneva);
    qd::TextSize(kPlainSize);
    unsigned char title[256] = {};
    platform::StringResourceGetString(title, kButtonList, kButtonIndex);
    gPref.button = NewControl(gPref.window, kCloseButton, title, true, 0, 0, 1, pushButProc, 0);
    const int32_t values[kPrefFields] = {gThermal.heat, gThermal.speed, gThermal.striplen,
                                         gThermal.gaplen};
    for (int i = 0; i < kPrefFields; ++i) {
        const qd::Rect r{kFieldTops[i], kFieldLeft, kFieldTops[i] + kFieldHeight,
                         kFieldLeft + kFieldWidth};
        gPref.fields[i] = platform::TEStyleNew(r, r);
        platform::TESetAlignment(platform::teCenter, gPref.fields[i]);
        platform::TESetStyle(kGeneva, kPlainSize, 0, gPref.fields[i]);
        const std::string v = std::to_string(values[i]);
        platform::TESetText(v.data(), int32_t(v.size()), gPref.fields[i]);
        platform::TEDeactivate(gPref.fields[i]);
    }
    prefUpdate();
    SelectWindow(gPref.window);
    gWindows.activeWindow = gPref.window;
}

void closeWindow() {
    for (platform::TEHandle& f : gPref.fields) {
        if (f) platform::TEDispose(f);
        f = nullptr;
    }
    if (gPref.window) DisposeWindow(gPref.window);
    if (gWindows.activeWindow == gPref.window) gWindows.activeWindow = gWindows.wp;
    gWindows.win[kPrefWindow] = nullptr;
    gPref.window = nullptr;
    if (gWindows.wp) SelectWindow(gWindows.wp);
}

}  // namespace

platform::TEHandle prefField(int index) {
    return index >= 0 && index < kPrefFields ? gPref.fields[index] : nullptr;
}

void prefUpdate() {
    WindowPtr w = gPref.window;
    if (!w) return;
    qd::SetPort(w->port);
    qd::RGBBackColor({0xFFFF, 0xFFFF, 0xFFFF});
    qd::RGBForeColor({0, 0, 0});
    qd::EraseRect(w->portRect);
    qd::TextFont(kGeneva);
    qd::TextSize(kPlainSize);
    qd::TextFace(0);
    for (const PrefMark& m : marks) {
        drawMarkBox(m);
        drawString(kTitleList, m.label, m.h + 20, m.v + 10);
    }
    for (int i = 0; i < kPrefFields; ++i) {
        const qd::Rect r{kFieldTops[i], kFieldLeft, kFieldTops[i] + kFieldHeight,
                         kFieldLeft + kFieldWidth};
        qd::FrameRect({r.top - 1, r.left - 1, r.bottom + 1, r.right + 1});
        platform::TEUpdate(r, gPref.fields[i]);
        drawString(kTitleList, kFieldLabels[i], r.right + 10, r.top + 11);
    }
    DrawControls(w);
}

int32_t doMousePref(int16_t, WindowPtr window, const EventRecord& event) {
    if (!window || window != gPref.window) return 0;
    qd::SetPort(window->port);
    qd::Point local = event.where;
    GlobalToLocal(&local);
    ControlHandle hit = nullptr;
    if (FindControl(local, window, &hit) != 0) {
        if (hit != gPref.button) return 1;
        return TrackControl(hit, local, nullptr) != 0 ? 1 : 0;
    }
    for (const PrefMark& m : marks)
        if (contains(markBox(m), local)) {
            *m.setting ^= m.bit;
            InvalWindowRect(window, markBox(m));
            prefUpdate();
            return 0;
        }
    for (int i = 0; i < kPrefFields; ++i)
        if (gPref.fields[i] && contains(gPref.fields[i]->viewRect, local)) {
            // The whole number is selected, so that typing replaces it.
            focusField(i);
            prefUpdate();
            return 0;
        }
    return 0;
}

void prefKey(unsigned char ch) {
    if (ch == kTab) {
        focusField((gPref.focus + 1) % kPrefFields);
        prefUpdate();
        return;
    }
    if (gPref.focus < 0) return;
    platform::TEHandle f = gPref.fields[gPref.focus];
    int16_t start = 0, end = 0;
    platform::TEGetSelect(f, &start, &end);
    const bool digit = ch >= '0' && ch <= '9';
    // Numbers only, decimal and never negative; a word holds every one typed.
    if (ch == kBackspace || (digit && f->text.size() - size_t(end - start) < kMostDigits))
        platform::TEKey(ch, f);
    else
        SysBeep(1);
    prefUpdate();
}

void prefEvent() {
    gPref.finish = false;
    for (;;) {
        EventRecord e;
        ModalNextEvent("Preferences", everyEvent, &e, kLoopSleep);
        if (e.what == mouseDown) {
            WindowPtr w = nullptr;
            FindWindow(e.where, &w);
            if (w == gPref.window && doMousePref(inContent, w, e) == 1) break;
        } else if ((e.what == keyDown || e.what == autoKey) && !(e.modifiers & cmdKey)) {
            prefKey(static_cast<unsigned char>(e.message & charCodeMask));
        } else if (e.what == updateEvt && EventWindow(e) == gPref.window) {
            BeginUpdate(gPref.window);
            prefUpdate();
            EndUpdate(gPref.window);
        }
    }
    gPref.finish = false;
}

void UpdateAll() {
    constexpr qd::Rect kOutputMark{111, 110, 127, 127};
    if (gWindows.wp) InvalWindowRect(gWindows.wp, kOutputMark);
}

int16_t showPreferences() {
    openWindow();
    try {
        prefEvent();
    } catch (...) {
        closeWindow();
        throw;
    }
    takePreferenceFields(gPref.fields[0]->text, gPref.fields[1]->text, gPref.fields[2]->text,
                         gPref.fields[3]->text);
    closeWindow();
    UpdateAll();
    return SetPreferences();
}
