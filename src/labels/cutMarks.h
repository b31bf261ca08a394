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
// and right. A printer's port counts dots: dotsPerPoint turns the points into them.
void DrawPageCutMarks(qd::Point point, int16_t flag, int32_t originH, int32_t originV,
                      double dotsPerPoint = 1);

// The marks of a digital-press sheet, for a row only (flag 0): for each column a
// registration bar above the row, a line and two ticks beside it and a thick
// stroke below it, all placed in millimetres truncated to whole points. With
// pCutMarks 2 the marks move one column to the right and the stroke to the bar's
// left side.
void DrawPageCutMarksIndigo(qd::Point point, int16_t flag, int32_t originH, int32_t originV);
