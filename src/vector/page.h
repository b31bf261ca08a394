// The page writer: every item of a label at one label position.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files.h"

struct Rect16;
struct PageRect;

// Writes every item of the label once, the label's lower left corner at (x, y)
// points on the page (0, 0 for a single label), then the page trailer when
// `page` is not 0.
void EpsPageCode(platform::FileRef refNum, int32_t page, double x, double y);
// Writes label item i (loaded into the current settings) in its rectangle r, in
// page coordinates, turned by its rotation as on the label.
void writeLabelItem(platform::FileRef refNum, int32_t i, const PageRect& r);
// While one lives, the bars of the label item written must also stay inside
// `box` (label points, y down): the box of the press file that holds the item.
class ItemFileBox {
  public:
    explicit ItemFileBox(const Rect16& box);
    ItemFileBox(const ItemFileBox&) = delete;
    ItemFileBox& operator=(const ItemFileBox&) = delete;
    ~ItemFileBox();
};
// A serial item's value between its prefix and suffix, as the printed label shows it.
void showSerialAffixes(int32_t i);
// Why the open label cannot be written whole by the page writer: the first of
// its items that has no vector form (a picture, a background or a rounded
// rectangle), or in the Type 3 font dialect a second barcode item, named for
// the user; empty when every item can be drawn.
std::string itemsWithoutVectorForm();
// An item rectangle (QuickDraw order, y down) to page coordinates (y up) on a
// page of height pageHeight.
void CorrectItemRect(int32_t ignored, int32_t pageHeight, const Rect16& itemRect, PageRect* out);
// kind 200/150: remember angle and the rectangle's size; 201/151: forget them.
void SetOrient(int32_t kind, const Rect16& rect, double angle);
// Width of the current symbol in micrometres at 100 %.
int32_t GetCodeWidth();
// Bars this low (millimetres) or lower are not drawn: the symbol is set as
// text in the bar font.
constexpr double kBarFontMaxHeight = 2;
// Whether the symbols of dispatcher code `code` are drawn at any height, never
// set as bar-font text.
bool drawnAlways(int32_t code);
// Whether the barcode item of the current settings is set as text in the bar
// font (a symbol lower than 2 mm) rather than painted.
bool setAsBarFontText();
// The barcode item of the current settings in its rectangle: generated, then
// hung from the rectangle's top left corner at its own size on a label (as
// printing draws it), or set in the bar font when it is that low; a symbol the
// data cannot make is left out. On a label a symbol refused without a message of
// its own, and one whose bars reach past the label (or past the box of the press
// file being written), are reported too.
void writeBarcodeItem(platform::FileRef refNum, int32_t item, const PageRect& itemRect);
// The barcode item, drawn once the dispatcher has made its element list.
void EPSbcode(platform::FileRef refNum, int32_t item, const PageRect& itemRect, double x, double y);
// The extent in points of the symbol in the element list (generated from the
// current settings): its width with bearers, inset and margins, and its height.
struct SymbolExtent {
    double width = 0;
    double height = 0;
};
SymbolExtent symbolExtent();
