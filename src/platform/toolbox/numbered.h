// The window kit every window of the program is made with: windows and buttons
// titled from string lists, and the older numbered layer in which windows,
// fields and scroll bars are known by a number from 1 to 29 (the question and
// preferences windows use it).
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/windows.h"

namespace toolbox {

// ---- Builders ------------------------------------------------------------------------

// A window in front of the others, titled with item index of string list `list`.
// procID 16 (the old zoomable document) becomes a document window without grow box.
WindowPtr BuildWindowItem(const qd::Rect& rect, int32_t list, int32_t index, bool visible,
                          int16_t procID, WindowPtr behind, bool closeBox, int32_t refCon);
// A visible small bevel button titled with the string, showing picture 141 when
// the program has it (value 0, minimum 3, maximum 141 as the bevel expects).
ControlHandle BuildButtonItem(WindowPtr window, int32_t left, int32_t top, int32_t right,
                              int32_t bottom, int32_t list, int32_t index);
inline constexpr int16_t kButtonItemPicture = 141;

// Hooks run on each new window; the desktop has nothing for them to do.
void WindowMetal(WindowPtr window);
void WindowNoMinimise(WindowPtr window);
// Updates reach every window through the event loop: nothing to install.
void startWindow(WindowPtr window);

// The window's content at (0, 0); without a window the whole desktop.
void GetWindowRect(WindowPtr window, qd::Rect* rect);
// Makes the window's port current (nothing without a window).
void carbSetPort(WindowPtr window);
// Memory does not move here: the handle is its own master pointer.
inline void* PtrHLock(void* handle) { return handle; }

// Waits for a click or a key in a modal window named `who`, calling hook every
// 20 ticks with the phase 0, 1, 0... (the message box's marching stripes), then
// drops what else waits.
using ClickHook = void (*)(int32_t phase);
void Get_Click(const char* who, ClickHook hook);

// ---- The numbered layer ------------------------------------------------------------

inline constexpr int32_t kNumberedSlots = 30;  // 0 is never given out
inline constexpr int32_t kNumberedFirst = 1, kNumberedLast = 29;
inline constexpr int32_t kCurrentWindowQuery = 1000;
inline constexpr int32_t kNegativeFieldBit = 128;
inline constexpr int32_t kAgentSlotsCleared = 10;  // fields and bars 0..9 go with a window

struct NumberedChannels {
    WindowPtr win[kNumberedSlots] = {};
    int32_t curWind = 0;
    platform::TEHandle TEWin[kNumberedSlots] = {};
    int32_t TESt[kNumberedSlots] = {};
    ControlHandle CWin[kNumberedSlots] = {};
    int32_t curTE = 0;
    int32_t currentTE = 0;
    int32_t intIt[kNumberedSlots] = {};  // the first word of each item record
};
NumberedChannels& numbered();

// n from 1 to 29 selects win[n] (its port becomes current) and answers 0; 1000
// answers the current window's number; anything else does nothing.
int32_t WINDOW_SEL(int32_t n);
// Field |n| (1 to 29) in the current numbered window's port, over the rectangle,
// aligned, holding text when it is not empty; it becomes the current field.
// Null (nothing made) for a number out of range or no current window. A field
// that held the number before is disposed.
platform::TEHandle EDIT_FIELD(int32_t n, const char* text, int32_t left, int32_t top, int32_t right,
                              int32_t bottom, int32_t options, int16_t alignment);
platform::TEHandle TEHANDLE(int32_t n);
// Scroll bar |n| (1 to 29) in the current numbered window; a negative n marks
// field |n|'s options with bit 128. Null for a number out of range.
ControlHandle SCROLL_BUTTON(int32_t n, int32_t value, int32_t min, int32_t max, int32_t left,
                            int32_t top, int32_t right, int32_t bottom);
// The bar's value plus 1; 0 for no bar.
int32_t BUTTON_POS(int32_t n);
// Disposes win[n] with its fields and bars; the fields and bars 0 to 9, the item
// records and the current numbers are cleared. Nothing for a window not open.
void CloseAgentWindow(int32_t n);

// A field's lines, counting the empty line after a closing return.
int32_t GetNumLines(platform::TEHandle field);
// The bar reaches every line of the field.
void AdjustScrollMax(platform::TEHandle field, ControlHandle bar);
// The bar reaches the lines that do not fit the field's view (at least 0).
void SetVScroll(platform::TEHandle field, ControlHandle bar);

// Forgets the numbered layer (tests; the windows themselves go with resetWindows).
void resetNumbered();

}  // namespace toolbox
