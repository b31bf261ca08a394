// The help screen drawn by code in the second numbered window (400 x 300): two
// 3-D panels and four tabs at its foot.
#pragma once

#include "platform/quickdraw/quickdraw.h"
#include "platform/toolbox/windows.h"

// Erases the screen above the tabs on the interface grey and draws the tabs.
void drawHelptabs2();
// The two panels and the screen's caption, in the window's port.
void drawHelpScreen(toolbox::WindowPtr window);
// Invalidates part of the help window (nothing while it is not open).
void InvalHelpRect(const qd::Rect& rect);
