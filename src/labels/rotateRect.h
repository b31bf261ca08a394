// Item rectangles turned by the item's rotation, and whether the symbol a
// printed label or a label file draws stays on its label.
#pragma once

#include <cstdint>

#include "labels/labelDoc.h"
#include "platform/quickdraw/quickdraw.h"

// The bounding rectangle of rect turned by `orient` degrees about its centre.
void RotateRect(Rect16* rect);
// The same in 32 bits, for a place on a page of printer dots.
qd::Rect RotatedRect(const qd::Rect& rect);
// The same turned by 360 - `orient` degrees.
void UnRotateRect(Rect16* rect);

// A box in the label's own coordinates, in points from its top left corner, y
// down; empty until something is added.
struct LabelBox {
    double top = 0, left = 0, bottom = 0, right = 0;
    bool any = false;
    void add(double x0, double y0, double x1, double y1);
};

// Whether the bars of label item i's symbol (the current settings), turned by
// `orient` degrees (counter-clockwise as seen) about (cx, cy) as the item is,
// stay on the label: a symbol cut across its bars at the label's edge reads as
// nothing. false after a message naming the item. Its quiet zones, text and
// frame may reach past the label, and so may the ends of a linear symbol's bars
// while most of their length stays on it.
bool barsOnLabel(int32_t i, const LabelBox& bars, double cx, double cy, int32_t orient);

// How far the same bars reach past `box` (label points, y down) by the same
// rules, at the first edge they pass ("left", "right", "top" or "bottom");
// edge is null when they stay inside.
struct BarsPast {
    double by = 0;
    const char* edge = nullptr;
};
BarsPast barsPastBox(const LabelBox& bars, double cx, double cy, int32_t orient,
                     const LabelBox& box);

// Barcode item i would go out without its symbol: its data was refused without
// a message of its own (no data at all, or a reason told earlier and not again).
void tellSymbolNotMade(int32_t i);
