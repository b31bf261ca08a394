// The barcode item of a vector page: places the symbol, paints its background,
// has bar painting draw bars and text, and adds bearers, end bars, special
// marks, cut marks, gauges and quiet-zone marks.
#pragma once

#include <cstdint>

#include "platform/files.h"

struct PageRect;

// Draws label item `item` whose symbol the dispatcher has just generated into
// the element list; itemRect in page coordinates, (x, y) the label position on
// a full sheet (0, 0 for a single label). The caller skips an item whose
// generation failed.
void EPSbcode(platform::FileRef refNum, int32_t item, const PageRect& itemRect, double x, double y);
