// The sheet setup window LabelWin: the sheet's size, margins, counts, gaps,
// label size, extra gutter, label shape and unit on a fields layer, the sheet
// templates on a list layer, and a picture of the sheet that follows every
// change. It edits the working copy labelBack2 and writes it back on OK.
#pragma once

#include <cstdint>

#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

// Opens the window (closing an open sheet or print window first) on the
// working copy of the document sheet.
void ShowLabelWin();
// The buttons, the list's scroll bar and the twelve fields, filled.
void drawLabelContent();
// Draws the whole window.
void LabelUpdate();
// The static texts, boxes, shape pop-up and tabs of the current layer.
void drawSetUpScreen();
// The four unit marks, the current unit's set.
void drawMeasurements();
// The shape swatch.
void updateLabelWindColour();
// The working copy into the fields, and the fields redrawn with their frames.
void resetTexts();
void updateTexts();
// When the window is open: the unit marks and the fields again (the unit
// changed elsewhere).
void updateLabelWind();
void InvalMarks(toolbox::WindowPtr window);
void doMouseLabel(int16_t part, toolbox::WindowPtr window, const toolbox::EventRecord& event);
void ProcessCharsLabel(unsigned char key);
// Checks and applies the working copy; a refusal shows its message and keeps
// the window. 0 applied, else the message number.
int32_t DoLabelOK();

// The sheet window opened from outside (another program's request): the fields
// layer on the document sheet, the focus moved on from field 10, the print
// window's start cell back at the first cell. eventExternalWindow takes
// nothing; closeExternalWindow closes as KillLocalWin does.
void loadExternalWindow(int32_t x);
void closeExternalWindow(toolbox::WindowPtr window, int32_t mode);
void eventExternalWindow();
