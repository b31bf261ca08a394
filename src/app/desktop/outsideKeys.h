// The keys of the preview and of the answer windows, and the tool tips, as the
// event loop routes them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/toolbox/windows.h"

// Registers "doKeyDisp", "doAnswerKeys" and "CheckStickyWins".
void installOutsideKeys();

// A key in the preview or layout view. Return or Enter with no label layout
// open closes the preview (delivering the output, unless serial numbers or an
// import are being entered); other keys go to the layout's keys, and for a
// selected text item to its text field ("TypeIntoTextItem", the layout
// editor's).
void doKeyDisp(unsigned char ch);

// The list-answer and preferences windows' keys (numbered windows 5 and 4):
// Tab moves between their two fields, Return or Enter sets pressed 2 and finish
// 1 for the window's own loop, other keys are typed into the focused field
// (digits and Backspace only in the preferences window).
struct AnswerKeysState {
    int32_t pressed = 0;
    int32_t finish = 0;
};
extern AnswerKeysState gAnswerKeys;
void doAnswerKeys(unsigned char ch);

// Tool tips: the tip for a place in a window (local coordinates), empty for
// none; tabLayer is the main window's tab layer.
std::string stickyTip(toolbox::WindowPtr window, qd::Point local, int32_t tabLayer);
// Hides the tip when the mouse moved; shows the place's tip once the mouse has
// rested there and the last tip is 120 ticks old.
void CheckStickyWins();
// The main window's tab layer for the tips (its window sets it; 0 by default).
void setTipTabLayerSource(int32_t (*source)());
void resetStickyWins();
