// The geometry of the label layout window, without the window: mapping item
// rectangles between label points and window pixels, the hit test, the resize
// handles, the rubber band's selection, the grid, and the small tables of the
// tool palette and the tab bar. The desktop window (app/desktop/layoutWindow)
// draws and tracks the mouse; everything it decides is decided here.
//
// Window coordinates here are the layout's content coordinates: the drag bar
// (`offbar`) is already taken off, the view offsets of labelDesc are not.
#pragma once

#include <cstdint>

#include "labels/labelDoc.h"
#include "platform/quickdraw/quickdraw.h"

struct LayoutView {
    int32_t guideLayer = 0;    // 0 ordinary items, 1 guide items, 2 the background graphic
    qd::Point LeGrid{10, 10};  // grid step in points, vertical then horizontal
    uint16_t geditMode = 0;    // edit mode: rulers, drag bar and palettes shown
    int32_t iteNumbers = 0;    // 1: each item's index is drawn
    int32_t showTypes = 0;     // 1: text and barcode items carry a kind badge
    int32_t onlylabel = 0;     // set by item and background clicks, cleared by a redraw
};
extern LayoutView gLayout;
void resetLayoutView();

constexpr int32_t kLayerItems = 0, kLayerGuide = 1, kLayerBackground = 2;
constexpr uint16_t kGuideBit = 0x20;  // in the item's word at offset 46

// Tools of the palette (pTool): the kind the next new item takes.
constexpr int32_t kToolArrow = 1, kToolRotate = 9, kToolTen = 10;

qd::Rect toRect(const Rect16& r);
Rect16 toRect16(const qd::Rect& r);

// Each coordinate times zoom / 100, truncated; and divided by it, truncated.
void ScaleRect(qd::Rect* rect, int32_t zoom);
void ScaleDownRect(qd::Rect* rect, int32_t zoom);
// 1 when inner lies within outer, edges touching allowed.
int32_t RectInRect(const qd::Rect& outer, const qd::Rect& inner);
// 1 when r's top-left or bottom-right corner lies in outer.
int32_t AnyPtsInRect(const qd::Rect& outer, const qd::Rect& r);
// Swaps reversed edges, so that a rectangle never has a negative size.
void FixRectangle(qd::Rect* rect);
void FixRectangle(Rect16* rect);
// rect becomes its bounding box turned by item index's rotation.
void RotIte(Rect16* rect, int32_t index);
// The item's rectangle as the window shows it: normalised, the rotated bounding
// box for text, barcode and picture items, scaled by the zoom and moved by the
// view offsets.
qd::Rect itemWindowRect(int32_t index);
// A label rectangle (points) to window coordinates and back.
qd::Rect labelToWindow(const Rect16& r);
Rect16 windowToLabel(const qd::Rect& r);

// The resize handle under point (1-8, 0 for none), within 2 pixels.
int32_t getCorner(qd::Point point, const qd::Rect& rect);
// With shift: 1 when the horizontal movement is the larger, else 2; 0 without.
int32_t getAxis(qd::Point start, qd::Point now, bool shift);
// The edges that handle moves follow point (window coordinates).
void moveHandle(qd::Rect* rect, int32_t handle, qd::Point point);
// The handle of item index under point, or 0 when the item cannot be resized
// there (not selected, a barcode, a line's middle handles).
int32_t resizeHandleAt(int32_t index, qd::Point point);
// Stores a window rectangle dragged by its handles as item index's rectangle:
// offsets and zoom taken off, the rotation removed, normalised (a line keeps
// its direction).
void storeResizedRect(int32_t index, const qd::Rect& windowRect);

// Snaps a window point down to the zoomed grid when the grid is on.
void GetGridPoint(qd::Point* point);

// The item under point (window coordinates, drag bar taken off), front to
// back, on the active layer; -1 for none. Background items are never hit.
int32_t findLabelItem(qd::Point point, bool shift);
// Selects the items lying wholly in rect (label points); the last one's index or -1.
int32_t selectInRect(const qd::Rect& rect);
// gSelRect: the union of the selected items' rectangles, backgrounds left out.
void recomputeSelRect();
// Moves every selected item by (dh, dv) points.
void moveSelectedItems(int32_t dh, int32_t dv);
// 0 up, 1 left, 2 right, 3 down: every selected item one point that way.
void moveItemRectangle(int32_t direction);
// Turns every selected item by 90 degrees more (360 becomes 0); barcodes are
// stored at 0 degrees.
void rotateSelectedItems();

// A new item of kind tool in rect (label points), selected, on the active
// layer: its index, or -1 when none could be added (a message said why).
// Pictures are left to the caller, which asks for the file.
int32_t createLayoutItem(int32_t tool, const qd::Rect& rect);
// A shape of kind tool 5 points inside the label's edges; -1 at 100 items.
int32_t addShapeFillingLabel(int32_t tool);

// The zoom one step out (not below 50) and in (not above 1000).
int16_t zoomedOut(int16_t zoom);
int16_t zoomedIn(int16_t zoom);
// The next unit of the ruler band: inch, centimetre, millimetre, point, inch.
int32_t nextMeasType(int32_t unit);
// The view offset a scroll bar's value gives.
int32_t scrollOffset(int32_t value);

// The tool a palette click at point picks (button table with outline and
// filled halves), kToolRotate for the rotate button, 0 outside the buttons.
int32_t paletteTool(qd::Point point);
// The transparency a tool gives new shapes: 1, 0, or -1 when it leaves it.
int32_t toolTransparency(int32_t tool);
// The tab bar: the tab under h, and the File command it runs (-1 for none).
int32_t tabAt(int32_t h);
int32_t tabCommand(int32_t tab);

// 1 when every character of text is white space (an empty text included).
int32_t isallspace(const char* text);
