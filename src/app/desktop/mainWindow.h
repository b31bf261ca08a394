// The main window `wp`: six panes of labels, marks, pop-up boxes and text
// fields from which the user chooses the code type, types the data, sets the
// options and presses OK. The panes are chosen by gProd.background (0 code
// entry, 1 serial numbers, 2 import, 3 options, 4 colours, 5 entry at print
// time); pane 3 has three sub-tabs (gTabs.opTab) and pane 4 two
// (gPanels.colTab).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/menus.h"
#include "platform/toolbox/windows.h"

// The window's own state beside the shared panels (symbology/panels.h).
struct MainWindowState {
    platform::TERec TEOut2;     // scratch field outside the window
    platform::TERec TEBack2_9;  // import: the hidden "X" field (TEBack2[9])

    toolbox::ControlHandle ONK = nullptr;     // the OK button
    toolbox::ControlHandle TECont = nullptr;  // scrolls TETe1[0]
    toolbox::MenuHandle fontMenu = nullptr;   // id 142, every installed family
    int32_t lineHeight = 0;                   // Geneva 9: ascent + descent + leading
};
extern MainWindowState gMain;

// The window's content: 140 x 280 pixels, at (10, 50) on the screen.
inline constexpr qd::Rect kMainWindowGlobal{50, 10, 330, 150};
inline constexpr int32_t kHiddenOffset = -200;  // hideIF: off the screen
inline constexpr int16_t kMainTitleList = 139, kMainTitleItem = 20;
inline constexpr int16_t kMainWindowProc = 16;
inline constexpr int16_t kBackgroundPicture = 137;
inline constexpr int16_t kFontMenuId = 142;
inline constexpr int16_t kFontMenuChoice = -1, kOutputMenuChoice = -2;  // doPopUpMenu's ids
inline constexpr int16_t kOutputMenuId = 133;                           // menu16
inline constexpr size_t kMostTextData = 2540;  // what getTextData reads of a field

// The hooks through which the window reaches what is built elsewhere; each
// starts with a plain stand-in.
struct MainWindowHooks {
    // The code type's data-entry filter for a key (gLoop.theChar) in the data
    // or add-on field. Stand-in: the key typed into the focused field.
    std::function<void()> filter;
    // The numeric filter of the size, height, colour and option fields.
    // Stand-in: the key typed into the focused field.
    std::function<void(unsigned char ch)> numeric;
    // The modal coupon dialog (DataBarCouponDialog by default).
    std::function<void()> couponDialog;
    // Shows the symbol OK has just made in the preview window, from which a
    // click delivers it. Stand-in: nothing shown.
    std::function<void()> showPreview;
    // Takes the preview window down when OK made no symbol, lest it go on
    // showing the last one under the new settings. Stand-in: nothing done.
    std::function<void()> dropPreview;
};
MainWindowHooks& mainWindowHooks();

// ---- The window --------------------------------------------------------------------

void Create_Window();
// Takes the window and its fields down (the fields keep their texts).
void disposeMainWindow();
void doMouse(qd::Point where, int32_t shift);
void doOKButton();
// false after a message when a field holds more than its buffer takes.
bool getTextData();
void GetManualEntry();
void doUpdate();
void updateTextFields();
void doPopUpMenu(const qd::Rect& rect, int16_t menuId, int32_t h, int32_t v);
void MenuPopUp(const qd::Rect& rect, int16_t menuId, qd::Point where, toolbox::WindowPtr window);
void setBgGraphic();
void deactivateAll();
void hideFields();
// 0 when pt (local) lies in the field's view rectangle, -1 otherwise.
int32_t InEditField(qd::Point pt, const platform::TERec* field);
void InvalTERect(const platform::TERec* field, toolbox::WindowPtr window);
// 1 when kind and test share none of the bits 1, 2, 4 and 8.
int32_t Is(int32_t kind, int32_t test);

// The field with the caret in the current pane, or null.
platform::TERec* focusedField();
// Text fields of the window by pane and index (null for none).
platform::TERec* TEBack2Field(int32_t i);
// Copies the size, height and bar-width texts between the window's fields and
// the shared panels.
void mirrorNumberFields(bool toPanels);

// ---- Keys --------------------------------------------------------------------------

void doKeysMain(unsigned char ch, uint16_t modifiers);
// The Edit menu's Cut, Copy, Paste and Clear on the focused field: the text
// goes through the platform clipboard, and a paste is typed through the
// field's own filter. Nothing without a focused field.
enum class MainFieldEdit { cut, copy, paste, clear };
void editFocusedField(MainFieldEdit edit);
void ProcessTabs(uint16_t modifiers);
void ProcessCodeLength(platform::TERec* field);
inline constexpr int32_t kMostCodeLength = 2047;

// ---- Routing -----------------------------------------------------------------------

// Registers the window's handlers with the event loop: the start-up step
// "Create_Window", "doMouse", "doUpdate", "doKeysMain", "ProcessTabs",
// "deactivateAll", "activateFocus", "doIdle", "editMainField" (the Edit menu's
// item on the focused field), and the tabs' "CheckTabs".
void installMainWindow();
