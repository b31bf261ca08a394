// One item's settings scaled for the printer's resolution.
#pragma once

#include "labels/labelDoc.h"

// Each coordinate times factor, truncated (and kept within 16 bits).
void ScaleDoubleRect(Rect16* rect, double factor);
// Multiplies itRect, insetAmount, Siz, Hei, BWidthRed, customTeSize, line,
// cLength, cuHei and extraMargin by factor: whole-number settings truncated toward
// zero, Siz, Hei, line and cuHei keeping their fractions.
void scaleItemData(double factor);
