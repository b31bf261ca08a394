// Tick marks outside a printed sheet's label area, in line with the edges of
// every label row and column, for trimming the sheet. Drawn into the current
// port in whole points.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

enum CutMarkFlag : int16_t { kCutMarkRow = 0, kCutMarkColumn = 1 };

// point: the label's top-left corner in the port; (originH, originV): the sheet's
// origin in the port. A row gets horizontal ticks at its top and bottom (also
// inside the gutter when the sheet has one), a column vertical ticks at its left
// and right.
void DrawPageCutMarks(qd::Point point, int16_t flag, int32_t originH, int32_t originV);
