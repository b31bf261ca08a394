// The label's ground in the layout preview and on paper: its shape erased in
// the label's background colour, and the layout grid.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

// Erases the label's shape at (h, v) in its background colour (mode 0, the
// screen) or white (otherwise; when printing, modes 1 and -1, scaled to the
// printer's dots).
// On the screen an edge shows the label's outline.
void DrawLabelBackground(int32_t h, int32_t v, int32_t mode);
// The layout grid over the window's rectangle, in label points.
void DrawGrid(const qd::Rect& window);
