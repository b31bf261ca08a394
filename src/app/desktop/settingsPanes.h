// The panes of the main window: labels, marks and pop-up boxes at fixed
// window-local positions for the code header, the text-item panel, the serial,
// import and print-time panels, the three options panels and the colour panel.
// The text fields are drawn afterwards by the main window.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

// The string list the panes' labels come from.
constexpr int32_t kPaneLabels = 138;

// Pane 0: the code header and the text-item panel.
void DrawWindowHeader();
void DrawBgFont();
void DrawItemNameBox();
// Serial (1), import (2), colour (4) and print-time (5) panes.
void DrawBg1();
void DrawBg2();
void DrawBg4();
void DrawBg5();
// Options: bars and bearers (0), human-readable text (1), dimensions (2).
void DrawBg3();
void DrawBgCustomText();
void DrawBgDimensions();

// The colour block: CMYK percentages shown as a line sample (mode 1) or painted (0).
constexpr qd::Rect kColourBlock{140, 115, 156, 131};
void ShowColourBlock(const qd::Rect& rect, int32_t c, int32_t m, int32_t y, int32_t k,
                     int32_t mode);

// The 15 x 15 palette of the colour panel.
constexpr qd::Rect kPaletteRect{167, 15, 267, 125};
constexpr int32_t kPaletteCells = 15;
void DrawColourPallette(const qd::Rect& rect);
// The colour of the cell under point (column and row kept to 0-14).
void GetColourFromPallette(qd::RGBColor* out, const qd::Rect& rect, qd::Point point);

// A 3-D button captioned with a string of a list.
void Build3dButton(const qd::Rect& rect, int32_t flag, int32_t list, int32_t index);

// The output-format name shown in the code header for tool, ill and purePost.
const char* outputFormatName(int32_t tool, int32_t ill, int32_t purePost);
// The import mode's name.
const char* importModeName(int32_t impoMode);
// The justification's name for TEjust.
const char* justificationName(int32_t teJust);
