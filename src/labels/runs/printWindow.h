// The print window's logic: how many labels, pages, copies and prints of each
// label, the start cell picked on a small picture of the page, and the print
// button. The window's state is data here; the desktop draws it later.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

struct PrintWindowState {
    int32_t dlog = 0;         // 1 while the window is up
    int32_t prScale = 50;     // zoom of the page-picture layer, percent
    int32_t winLayer = 0;     // 0 the settings layer
    int32_t curLocalTE = 2;   // the field with focus, 1 to 4
    int32_t startLabels = 0;  // preference: the labels field takes the focus and 1
};
extern PrintWindowState gPrintWin;

// Where the page picture lies in the window: the page box's corner, and the
// picture's scale against the sheet's tenths of a point.
constexpr int32_t kPagePictH = 25, kPagePictV = 45;
constexpr int32_t kPagePictDivisor = 50;  // tenths of a point to one fifth of a point

// The desktop builds and draws the window when the state is open; headless
// nothing is shown.
struct PrintWindowHooks {
    void (*shown)() = nullptr;
    void (*closed)() = nullptr;  // the job starts: the window goes
};
extern PrintWindowHooks gPrintWindowHooks;

// Opens the window's state: Print.def read, one page, labels 0 (1 for thermal
// printing or with startLabels), one copy and one print of each label, the start
// cell (1, 1); then the desktop's window, when there is one.
void ShowPrintWin();
// The start cell from a click on the page picture, limited to the sheet.
void PrintClick(qd::Point point);
// Pages from labels (after the cells the fill order skips before the start
// cell), or labels from pages when no label count is given; at least one copy.
void workOutPages();
// The page picture at (h, v) of the current port: the paper at one fifth, every
// label cell, the start cell inverted.
void updatePagePict(int32_t h, int32_t v);
// The print button: Print.def written, pages worked out, and the job printed
// when labels, pages and copies are all there. The printing system's status (0
// also when nothing was to be printed); a job whose labels run off the paper is
// refused with a message (status 128).
int32_t PrintButton();

void resetPrintWindow();
