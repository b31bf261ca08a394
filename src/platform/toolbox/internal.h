// What the toolbox's managers ask of each other.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

namespace toolbox {

struct WindowRecord;

// menus.cpp: the menu bar's window.
bool MenuBarContains(qd::Point global);
int32_t MenuBarHeight();
// Alt and a title's first letter: a click on that title is queued (true), so
// the program's loop opens its menu.
bool ClickMenuTitleByLetter(char32_t letter);

// events.cpp: activate and deactivate events, queued ahead of the others.
void PostActivate(WindowRecord* w, bool activate);
// Drops every waiting event that names w (it is going away).
void ForgetWindowEvents(WindowRecord* w);
// The first waiting update, in window order, as the queue hands it out.
WindowRecord* WindowNeedingUpdate();
// Shows what every window's port drew (before waiting for the desktop).
void ShowAllWindows();

// windows.cpp: a close box the window manager's close button pressed.
bool TakeCloseRequest(WindowRecord* w);

}  // namespace toolbox
