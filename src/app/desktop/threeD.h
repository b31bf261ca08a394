// The small drawing kit of the settings windows: the interface greys, 3-D
// edges and boxes, check marks and letter boxes, pop-up boxes with an arrow,
// icons from the program's resources, and the two rows of tabs at the foot of
// the main window with their click handling.
//
// Everything draws into the current port, in window-local coordinates.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"
#include "labels/production.h"
#include "platform/toolbox/windows.h"

// ---- Interface colours --------------------------------------------------------

constexpr uint16_t kGreyLight = 0xEA00;   // greyInterface 0 (the classic look)
constexpr uint16_t kGreyMedium = 0xC5AE;  // greyInterface 1
constexpr uint16_t kGreyWhite = 0xFFFF;   // greyInterface 2: white panes
constexpr uint16_t kDarkGrey = 0x80E8;

// The interface shade in use (the preference greyInterface, 0 to 2).
int32_t interfaceShade();
void setGrey();        // background: 0xEA00, 0xC5AE or white by the shade
void setForeGrey();    // foreground: 0xEA00, 0xC5AE or 0xC5AE
void setWhite();       // background white
void setDkGrey();      // background dark grey
void setForeDkGrey();  // foreground dark grey
void SetRGBColour(qd::RGBColor* colour, uint16_t red, uint16_t green, uint16_t blue);

// The settings windows' type: Geneva 9 in the given face.
void setPaneFont(int16_t face = 0);

// ---- 3-D edges and boxes ----------------------------------------------------------

// An edge inside the rectangle inset by 1: sunken (non-zero) dark at left and
// top, white at right and bottom; raised the other way round.
void ThreeD(const qd::Rect& rect, int32_t sunken);
void ThreeDEdge(const qd::Rect& rect, int32_t sunken);
// Erases the field's view and draws a sunken edge just outside it.
void ThreeDTE(const platform::TERec& field);
// Draws nothing; answers 1.
int32_t ThreeDFrameRR(const qd::Rect& rect, int32_t flag);
// A black box without its top edge.
void NonTopBox(const qd::Rect& rect);

// ---- Pop-up boxes ----------------------------------------------------------------------

// Frame, arrow (greyed when disabled) and bevel.
void Draw3dMenuPop(const qd::Rect& rect, int32_t disabled);
// The box with a Pascal text centred in it.
void Draw3dPopupMenu(const qd::Rect& rect, const unsigned char* text);
// The box's text alone.
void Draw3dString(const qd::Rect& rect, const unsigned char* text);

// ---- Icons -------------------------------------------------------------------------------

// index > 0: the index-th 16 x 16 icon of small-icon list id at (h, v), OR mode.
// index 0: colour icon id into (h - 8, v - 25, h + 24, v + 7).
void DrawSICN(int32_t id, int32_t index, qd::Point point);

// ---- Check marks and letter boxes ----------------------------------------------------

void drawMark(int32_t h, int32_t v, int32_t on);
// A letter in a framed box (h, v, h + 14, v + 12).
void frameMark(int32_t h, int32_t v, unsigned char letter);
void invertMark(int32_t h, int32_t v);
void invalMark(toolbox::WindowPtr window, int32_t h, int32_t v);
// 1 (and the mark invalidated) when point lies in the mark's hit box.
int32_t inMark(toolbox::WindowPtr window, int32_t h, int32_t v, qd::Point point);
// The hit box of a mark or letter box at (h, v): 12 x 10 inside its frame.
qd::Rect markHitRect(int32_t h, int32_t v);

// ---- Tabs ------------------------------------------------------------------------------------

// One tab whose baseline runs from (h, v); shown 0 draws its outline only. A
// label "\n\" shows colour icon n; any other is centred text.
void drawtab(int32_t h, int32_t v, int32_t width, const unsigned char* label, int32_t shown);
// Draws the tab pressed, waits 20 ticks, draws it released.
void TabClick(int32_t h, int32_t v, int32_t width);
// Tab with a label from a string list.
void BuildTabItem(int32_t h, int32_t v, int32_t width, int32_t flag, int32_t list, int32_t index);

// The tab state of the main window. The pane shown is gProd.background (the
// production run reads it as its mode); the colour sub-tab is gPanels.colTab.
struct TabState {
    int32_t tabselect = 0;  // upper tab chosen 0-3; -1 when a lower tab chose options or colours
    int32_t tablayer = 0;   // 0 upper row, 1 options, 2 colours
    int32_t tabStart = 0;   // added to the upper tab number
    int32_t opTab = 0;      // options sub-pane 0-2
};
extern TabState gTabs;
void resetTabs();

// Pane numbers (gProd.background).
enum Pane : int32_t {
    kPaneCode = 0,
    kPaneSerial = 1,
    kPaneImport = 2,
    kPaneOptions = 3,
    kPaneColours = 4,
    kPanePrintTime = 5
};

// What the main window does around a tab change; the main window fills these in
// (an empty one is skipped). The code length and the colour fields are refreshed
// by the tabs themselves (SetCodeLen, setColourItems).
struct TabHooks {
    std::function<void()> deactivateAll;
    std::function<void(int32_t pane, int32_t index)> setFocus;  // a pane's focus (-1 none)
    std::function<void()> hideFields;
    std::function<void()> doUpdate;
    std::function<void()> ProcessTabs;
};
extern TabHooks gTabHooks;

// Focus indices the lower tabs set.
constexpr int32_t kFocusOptions0 = 14;  // c_TE3 in options 0
constexpr int32_t kFocusSerial = 3;     // c_TE1 in the serial pane
constexpr int32_t kFocusOptions2Layout = 12;
constexpr int32_t kNoFocus = -1;

// The upper and lower tab rows of the main window's panes.
void DrawTabs();
// A click at a global point: 1 when a tab took it (a click between tabs is
// swallowed too), else 0 (the pane handles it).
int32_t CheckTabs(qd::Point where);
// The alternative sub-tab rows (unused by the main window).
void DrawColourTabs();
void DrawOptionTabs();
int32_t CheckTabsColour(qd::Point where);
int32_t CheckTabsOptions(qd::Point where);

// Registers "CheckTabs" with the event loop (clicks in the main window).
void installTabs();

// Waits for a click or key, calling click_ptr every 20 ticks with 0, 1, 0...
void Get_Click(void (*click_ptr)(int32_t));
