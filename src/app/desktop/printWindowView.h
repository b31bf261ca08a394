// The print window PrintWin on the desktop: the counts (labels, pages, copies,
// prints of each label), the start cell picked on a small picture of the page,
// the fill order, cut marks, forms and four-up switches, the direction, and a
// second layer with the page picture at a chosen zoom. The window's logic
// (ShowPrintWin's state, PrintClick, workOutPages, PrintButton) is in
// labels/runs/printWindow.h; this draws it and takes its clicks and keys.
#pragma once

#include <cstdint>
#include <string>

#include "platform/quickdraw/quickdraw.h"
#include "platform/toolbox/events.h"
#include "platform/toolbox/windows.h"

// Builds and draws the window for the state ShowPrintWin opened (its hook).
void showPrintWindow();
// The fields, buttons and scroll bars.
void drawPrintContent();
// Erases the window and draws it.
void PrintUpdate();
void drawPrintScreen();
void doMousePrint(qd::Point where, toolbox::WindowPtr window, const toolbox::EventRecord& event);
void ProcessCharsPrint(unsigned char character);
// The help tag: text in a small yellow caption window just above point (global).
void ShowPopWin(qd::Point point, const std::string& text);
// The zoom panel along v: the smaller and larger buttons and the percentage.
void drawScalePanel(int32_t v, int32_t percent);
// Two layer tabs at h and h + 45 above v; tab `raised` (0 or 1) is the one shown.
void drawTabPanel(int32_t v, int32_t h, int32_t raised = 0);
// Item `pport` of the port menu as a Pascal string (empty without the menu).
void GetPortString(unsigned char* destination);
// The page setup dialog on the main window; with thermal printing a message instead.
void PrintSetUp();
