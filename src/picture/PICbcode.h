// The barcode item in a picture: its box, and the item drawn with background,
// bearers, frames, cut marks, the symbol's painter and the H marks of the
// bar-width gauge.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

// The human-readable text size of the current settings, points.
int32_t pictTextSize();

// The box of the current symbol (element list already made): frame is the
// picture frame (points on a label, hundredths of a millimetre for a single
// symbol), window the preview window's place in points.
void MeasureBarCodeBox(qd::Rect* frame, qd::Rect* window);
// A PDF417 or MicroPDF417 label item paints its rows at the height its size
// gives them, whatever its bar height: a bar height lower than the rows is
// raised to hold them, so that the item's box (to which a turned item is
// clipped) holds the whole symbol. Other items are left as they are.
void holdPaintedRows();
// Draws the current symbol for item i with its box's top left at (left, top)
// points; outRight and outBottom receive the box's right and bottom, points.
void PICbcode(int32_t left, int32_t top, int32_t* outRight, int32_t* outBottom, int32_t i);
// One H mark, its bottom left at (x, y); the character has no effect.
void drawHGaugePict(unsigned char character, int32_t x, int32_t y);
