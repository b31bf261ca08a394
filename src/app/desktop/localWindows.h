// The two local windows, sheet setup (LabelWin) and print (PrintWin): the field
// and control slots they share, closing them, the small drawing helpers they
// both use, and the one installer that routes the event loop to them.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/windows.h"

constexpr int32_t kLocalFieldSlots = 13;    // TELocal[0..12]; 1 to 12 used
constexpr int32_t kLocalControlSlots = 10;  // LocalButton[0..9]
struct LocalWindowSlots {
    platform::TEHandle TELocal[kLocalFieldSlots] = {};
    toolbox::ControlHandle LocalButton[kLocalControlSlots] = {};
};
extern LocalWindowSlots gLocal;

// What closing the sheet window does to a layout window it leaves without one:
// the layout editor opens its window here (unset: nothing is opened).
struct LocalWindowHooks {
    std::function<void()> NewPreviewWindow;
};
extern LocalWindowHooks gLocalHooks;

// The kinds KillLocalWin closes.
constexpr int32_t kKillPrintWindow = 0, kKillSheetWindow = 1, kKillOther = 2, kKillGauge = 3;
// Disposes a local window and clears its global; the sheet and print windows
// also give up their fields and controls (the print window its page picture).
// Closing the sheet window refreshes the layout window (or opens or closes it as
// the sheet now has a label) and brings the main window to the front.
void KillLocalWin(toolbox::WindowPtr window, int32_t kind);

// The ground both windows are drawn on.
constexpr qd::RGBColor kLocalWindowGrey{0xDDDD, 0xDDDD, 0xDDDD};
// Makes w the port and erases it to the ground with a plain black pen: where
// each window's update starts.
void eraseLocalWindow(toolbox::WindowPtr w);

// A 3D edge inside r: white top and left, dark grey bottom and right.
void HiliteFrameRect(const qd::Rect& r);
// Erases and frames a 14 x 12 mark box with its top left at (x, y).
void boxMark(int32_t x, int32_t y);
// The box with a dot inside: a mark that is set.
void setMark(int32_t x, int32_t y);
// Geneva's font number.
int16_t genevaFont();
// A click's point in the window's own coordinates.
qd::Point localPoint(toolbox::WindowPtr window, qd::Point global);
// Draws string `index` of list `list` at (h, v).
void drawListString(int32_t list, int32_t index, int32_t h, int32_t v);

// Registers the handlers of the sheet setup and print windows with the event loop.
void installSheetAndPrintWindows();
