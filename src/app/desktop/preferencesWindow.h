// The preferences window: switches as marks and the thermal printer's four
// numbers as fields, shown as a modal window; the preferences file is written
// when it closes.
#pragma once

#include <cstdint>

#include "platform/textedit.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

// Shows the window until its button is pressed, takes the fields, closes it and
// writes the preferences (SetPreferences). The file's status, or 0.
int16_t showPreferences();

void prefUpdate();
// A click in the window: 1 when the window is to close.
int32_t doMousePref(int16_t part, toolbox::WindowPtr window, const toolbox::EventRecord& event);
// A key for the field with the focus: digits and Backspace; Tab moves the focus.
void prefKey(unsigned char ch);
// The window's own loop, until doMousePref answers 1.
void prefEvent();
// The main window's output box, where a changed switch shows.
void UpdateAll();

// The four fields while the window is open (heat, speed, strip length, gap
// length), null otherwise.
constexpr int kPrefFields = 4;
platform::TEHandle prefField(int index);
