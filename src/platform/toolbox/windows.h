// The desktop's windows: each one a top-level window of the desktop whose
// content is drawn through a QuickDraw port (platform/quickdraw) onto an image
// shown when the desktop repaints it.
//
// Global coordinates are screen coordinates; a window's portRect starts at (0, 0)
// and its content stands at `contentOrigin` on the screen. The window list runs
// front to back in two layers: floating windows (refCon other than 0) above the
// document windows (refCon 0). Selecting a window brings it to the front of its layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/quickdraw/quickdraw.h"

namespace toolbox {

// Window kinds (procID).
enum WindowKind : int16_t {
    documentProc = 0,   // framed by the window manager, with a grow box
    dBoxProc = 1,       // modal frame drawn by us
    plainDBox = 2,      // a plain box with a drag bar drawn by us; moved by DragWindow
    noGrowDocProc = 4,  // a document window without grow box
};

// FindWindow's parts.
enum WindowPart : int16_t {
    inDesk = 0,
    inMenuBar = 1,
    inSysWindow = 2,
    inContent = 3,
    inDrag = 4,
    inGrow = 5,
    inGoAway = 6,
};

// The title bar that the window manager puts above a document window and the
// drag bar over a plain box: both count in FindWindow and DragWindow.
inline constexpr int32_t kTitleBarHeight = 20;
inline constexpr int32_t kDragBarHeight = 10;
inline constexpr int32_t kGoAwayWidth = 20;  // the close box at the title bar's left end
inline constexpr int32_t kGrowBoxSize = 15;  // bottom-right corner of the content
inline constexpr int32_t kModalFrameWidth = 4;

struct ControlRecord;
struct WindowNative;  // the desktop's side of a window, owned by the toolbox

struct WindowRecord {
    qd::GrafPort* port = nullptr;  // draws into the window's content image
    qd::Rect portRect;             // the content in local coordinates, (0, 0) at top left
    qd::Point contentOrigin;       // the content's top left in global coordinates
    int32_t refCon = 0;
    int16_t procID = documentProc;
    bool visible = false;
    bool hilited = false;  // the front window of its layer, active
    bool goAwayFlag = false;
    std::string title;                // Mac OS Roman
    std::vector<qd::Rect> updateRgn;  // invalid parts of the content, local
    std::vector<ControlRecord*> controls;
    WindowNative* native = nullptr;
    uint32_t id = 0;  // what update and activate events carry as their message
    bool floating() const { return refCon != 0; }
};
using WindowPtr = WindowRecord*;

// Creates a window; behind is ignored (new windows come to the front of their
// layer). title is a Pascal string in Mac OS Roman. boundsRect is the content in
// global coordinates.
WindowPtr NewCWindow(void* storage, const qd::Rect& boundsRect, const unsigned char* title,
                     bool visible, int16_t procID, WindowPtr behind, bool goAwayFlag,
                     int32_t refCon);
void DisposeWindow(WindowPtr w);
void ShowWindow(WindowPtr w);
void HideWindow(WindowPtr w);
// Brings w to the front of its layer and makes it the active window (activate pair).
void SelectWindow(WindowPtr w);
void BringToFront(WindowPtr w);
// Puts w behind behindWindow, or to the back of its layer when behindWindow is null.
void SendBehind(WindowPtr w, WindowPtr behindWindow);
void HiliteWindow(WindowPtr w, bool on);
// The frontmost visible window (floating ones included), or null.
WindowPtr FrontWindow();
// The frontmost visible document window (refCon 0), or null.
WindowPtr FrontNonFloatingWindow();
// Every window, front to back (hidden ones included).
const std::vector<WindowPtr>& WindowList();
// The part of the screen at a global point and the window there (null outside).
int16_t FindWindow(qd::Point where, WindowPtr* window);
// Follows the mouse while the button is held and moves w by as far as it went,
// kept inside limit (global). Also moves a window the window manager dragged.
void DragWindow(WindowPtr w, qd::Point start, const qd::Rect& limit);
// Follows the mouse from the grow box; returns (height << 16) | width, or 0 when
// the size did not change. sizeRect holds the minimum (top, left) and maximum sizes.
int32_t GrowWindow(WindowPtr w, qd::Point start, const qd::Rect& sizeRect);
// Places the content's top left at (h, v) global; front true also selects it.
void MoveWindow(WindowPtr w, int32_t h, int32_t v, bool front);
void SizeWindow(WindowPtr w, int32_t width, int32_t height, bool update);
// True when the close box was released over itself.
bool TrackGoAway(WindowPtr w, qd::Point start);
void SetWTitle(WindowPtr w, const unsigned char* title);
void GetWTitle(WindowPtr w, unsigned char* title);
void SetWRefCon(WindowPtr w, int32_t refCon);
int32_t GetWRefCon(WindowPtr w);
WindowPtr GetWindowFromPort(qd::GrafPort* port);
// The window with that id (an event's message), or null when it is gone.
WindowPtr GetWindowFromID(uint32_t id);
qd::GrafPort* GetWindowPort(WindowPtr w);

// The parts of the content that need drawing: update events come for them.
void InvalWindowRect(WindowPtr w, const qd::Rect& r);
void ValidWindowRect(WindowPtr w, const qd::Rect& r);
// Between the two the port draws only in what was invalid, and nothing stays invalid.
void BeginUpdate(WindowPtr w);
void EndUpdate(WindowPtr w);
// Shows what the port drew (the event loop does this for every window).
void DrawWindowContent(WindowPtr w);

// The content of w in global coordinates.
qd::Rect ContentBounds(WindowPtr w);
// The whole screen and the desktop (the screen less the menu bar).
qd::Rect ScreenBounds();
qd::Rect DesktopBounds();
// Local to global and back, for the current port's window.
void LocalToGlobal(qd::Point* pt);
void GlobalToLocal(qd::Point* pt);

// The pixel of w's content at a local point, 0xRRGGBB (for tests).
uint32_t WindowPixel(WindowPtr w, int32_t h, int32_t v);

// Disposes of every window (tests).
void resetWindows();

}  // namespace toolbox
