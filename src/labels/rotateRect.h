// Item rectangles turned by the item's rotation.
#pragma once

#include "labels/labelDoc.h"

// The bounding rectangle of rect turned by `orient` degrees about its centre.
void RotateRect(Rect16* rect);
// The same turned by 360 - `orient` degrees.
void UnRotateRect(Rect16* rect);
