// Between the toolbox and Qt: the calls the toolbox makes on the desktop and the
// calls the desktop makes back. Qt's types stay in the .cpp files of this folder.
#pragma once

#include "platform/cairoLibrary.h"

#include <cstdint>
#include <string>

#include "platform/quickdraw/quickdraw.h"

namespace toolbox {

struct WindowRecord;
struct WindowNative;

// What a desktop window shows: an image (the content, drawn by a port) at an
// offset inside the window, the frame the toolbox draws around it, and where the
// content stands on the screen.
enum class FrameKind { none, modal, dragBar, menu };
struct SurfaceSpec {
    WindowRecord* owner = nullptr;  // null for the menu bar and open menus
    FrameKind frame = FrameKind::none;
    bool managed = false;  // framed and moved by the window manager
    bool floating = false;
    std::string title;  // UTF-8
    cairo_surface_t* image = nullptr;
    qd::Point contentOrigin;        // global
    int32_t width = 0, height = 0;  // the content
    bool hilited = false;
};

// Starts Qt once (argc/argv as the program got them; null for tests).
void StartDesktop(int* argc, char** argv);
bool DesktopStarted();
// Qt's offscreen platform: tests.
bool OffscreenDesktop();
double DesktopPixelRatio();
qd::Rect DesktopScreen();

WindowNative* CreateNative(const SurfaceSpec& spec);
void DestroyNative(WindowNative* n);
// The window takes spec's geometry, title, frame and image.
void UpdateNative(WindowNative* n, const SurfaceSpec& spec);
void ShowNative(WindowNative* n, bool show);
void RaiseNative(WindowNative* n);
// The image changed: show it again.
void RepaintNative(WindowNative* n);

// Input delivered as the desktop delivers it, through the same translation
// (tests): a mouse button at a global point, to whatever window is there; a key
// typed into a window (a character, or a Qt key number for keys without one).
void SendDesktopMouse(bool down, qd::Point global, uint16_t modifiers);
void SendDesktopKey(WindowRecord* target, char32_t ch, int32_t qtKey, uint16_t modifiers,
                    bool autoRepeat);

// Runs Qt's event loop once, waiting at most waitMs for something to happen.
void PumpDesktop(int waitMs);

// Fills in the file manager and application switch of the desktop hooks.
}  // namespace toolbox
namespace platform {
struct DesktopHooks;
}
namespace toolbox {
void InstallServiceHooks(platform::DesktopHooks* hooks);

// The desktop's calls back into the toolbox (events.cpp, windows.cpp).
void DesktopMouse(bool down, qd::Point global, uint16_t modifiers, bool autoRepeat);
void DesktopMouseMoved(qd::Point global);
// A key: the Unicode character typed (0 for none), the character code of a key
// that types none (arrows, Return...), the key code, modifiers, repeat.
void DesktopKey(bool down, char32_t ch, int32_t specialChar, uint8_t keyCode, uint16_t modifiers,
                bool autoRepeat);
void DesktopFocus(bool active);
void DesktopWindowMoved(WindowRecord* w, qd::Point contentOrigin);
void DesktopWindowResized(WindowRecord* w, int32_t width, int32_t height);
void DesktopCloseBox(WindowRecord* w);
void DesktopBeep();
void DesktopSetCursor(int16_t kind);

}  // namespace toolbox
