// One item's settings scaled for the printer's resolution.
#pragma once

#include "labels/labelDoc.h"
#include "platform/quickdraw/quickdraw.h"

// Each coordinate times factor, truncated (and kept within 16 bits).
void ScaleDoubleRect(Rect16* rect, double factor);
// A place on the page times factor, truncated as ScaleDoubleRect truncates but in
// 32 bits (a large sheet has more printer dots than a word holds), and kept
// within 2^28 dots either way.
qd::Rect scaledPageRect(const qd::Rect& rect, double factor);
// Multiplies itRect, insetAmount, Siz, Hei, BWidthRed, customTeSize, line,
// cLength, cuHei and extraMargin by factor: whole-number settings truncated toward
// zero, Siz, Hei, line and cuHei keeping their fractions.
void scaleItemData(double factor);
