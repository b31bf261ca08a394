// The preview and layout window `disp2`: in single-code mode the last symbol's
// picture with its dimension lines, a click delivering the output; with a label
// open, the label editor (items drawn at the zoom and scroll of labelDesc,
// frames, handles, numbers and kind badges, grid, rulers, the drag bar and the
// zoom and layer strip). The decisions are app/layoutGeometry's; this file
// draws and follows the mouse.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/quickdraw/quickdraw.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

// What the layout window asks of windows it does not own: the shell's File
// commands, the main window's panels and menus. Unset hooks do nothing.
struct LayoutHost {
    std::function<void(int32_t item)> doFile;        // File command (5 output, 14 close)
    std::function<void(int32_t index)> setPallette;  // load item index (-1 none) into the panels
    std::function<void()> killWp;                    // the main window's fields off
    std::function<void(int32_t item, int32_t menu)> doMenu;  // a pop-up's choice
    std::function<void()> invalMain;                         // redraw the main window
    std::function<void()> selectMain;                        // bring the main window forward
};
LayoutHost& layoutHost();

// The panel the main window shows, as the layout sets it for an item.
struct LayoutPanels {
    int32_t background = 0;
    int32_t tabselect = 0;
    int32_t tablayer = 0;
    int32_t colTab = 0;
};
extern LayoutPanels gLayoutPanels;

struct LayoutWindowState {
    toolbox::ControlHandle disp2Con[2] = {};  // the vertical scroll bar, then the horizontal
    std::string errorText;                    // a message raised while a layout is open
    qd::Rect dragRect{0, 0, 8192, 8192};
};
extern LayoutWindowState gDisp;
void resetLayoutWindow();

constexpr int32_t kRulerBand = 32;      // rulers' width; the label starts here
constexpr int32_t kBottomStrip = 16;    // the zoom and layer strip
constexpr int32_t kCloseBoxWidth = 20;  // the drag bar's close box

// Registers the window's, the palettes' and the document commands' handlers
// with the event loop and the preview hooks of the document model.
void installLayoutEditor();

void NewPreviewWindow();
// Disposes of disp2 and its controls (nothing when it is closed).
void disposeDisp2();
// Draws the whole window into its port (the update event's work).
void drawDisp2();
void doMouseDisp(int16_t part, toolbox::WindowPtr window, const toolbox::EventRecord& event);
// Arrow keys move the selection: 0 when handled, 1 otherwise.
int32_t ProcessCharsDisp(unsigned char key);
// Backspace and Delete delete the selection; Return and Enter in the preview deliver.
void ProcessCharsDispLocal(unsigned char key);
// Points below are in content coordinates: the drag bar taken off.
void ClickBackground(qd::Point point);
void SelectDeselect(int32_t index, qd::Point point);
void objectDrag(qd::Point start, int32_t index);
// Drags a handle of item index; the handle, 0 when none was hit.
int32_t ResizeRect(int32_t index, qd::Point point);
// The rubber band from start until the button is released; kind picks the outline.
void doMarquee(qd::Rect* rect, qd::Point start, int32_t kind);
void ScrollDisp(toolbox::ControlHandle control, int32_t value);
// Tracks a scroll bar under point (window coordinates); its new value, or -1.
int32_t ControlTrapper(qd::Point point, toolbox::WindowPtr window, toolbox::ControlHandle* control);
void setLayerAccordingToMode(int32_t index);
void killWp();
void SetPallette(int32_t index);
void Draw_RectXOR(const qd::Rect& rect);
void WindowClipRect(toolbox::WindowPtr window, const qd::Rect& rect);
// The preview's dimension texts: millimetres as fmtMm, or inches as fmtIn when
// inches is set.
std::string dimensionText(double millimetres, bool inches, const char* fmtMm, const char* fmtIn);
// The handles of item index when it is selected, into the layout window.
void drawSelectionRectangles(int32_t index);
// The whole main window drawn again.
void WpInvalRect();
// The Shift (either) and Option (either) keys of the event being handled.
bool shiftKeyDown();
bool optionKeyDown();
// Shows what the window's port has drawn.
void FlushScreen(toolbox::WindowPtr window);
void PenPatqdgray();
void PenPatqdblack();
// True when the mouse button stays down for ticks after the event being handled
// (a mouse-up queued within them makes it a click).
bool buttonHeldFor(uint32_t ticks);
// Drops the layout and closes the window, after asking to save a changed
// document; false when the save that was asked for did not happen.
bool closeLabelWindow();
