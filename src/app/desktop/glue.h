// Toolbox glue the windows share: the scroll bars' arrow and page steps, and
// scrolling a text field to a line.
#pragma once

#include <cstdint>

#include "platform/textedit.h"
#include "platform/toolbox/controls.h"

// The scroll-bar parts and how far each moves the value.
enum ScrollPart : int16_t { kUpArrow = 20, kDownArrow = 21, kPageUp = 22, kPageDown = 23 };
inline constexpr int32_t kArrowStep = 1;
inline constexpr int32_t kPageStep = 10;

// How far a click in `part` of a scroll bar moves its value; 0 outside the
// arrows and page areas.
int32_t scrollStep(int16_t part);
// The action of a click held in a scroll bar; start-up installs scrollProc.
void scrollProc(toolbox::ControlHandle control, int16_t part);
extern toolbox::ControlActionProc scrollProcPtr;

// Scrolls the field so that line (from 0) is at the top of its view.
void AdjustText(platform::TEHandle field, int32_t line);

// The numbered fields and scroll bars 1 to 9 (see toolbox/numbered.h): the
// index of a bar (0 when it is none of them), the field of that index, the
// first field whose view holds a point of its window (0 for none), a field's
// view, and a bar set to the line a field is scrolled to.
inline constexpr int32_t kFirstNumberedItem = 1, kLastNumberedItem = 9;
int32_t GetControlItem(toolbox::ControlHandle control);
platform::TEHandle GetControlTE(toolbox::ControlHandle control);
int32_t GetSelectedTERec(qd::Point point);
qd::Rect GetTERect(platform::TEHandle field);
void SetScrollPos(platform::TEHandle field, toolbox::ControlHandle control);

// Ticks times 10.
uint32_t GetTickCount();
