// The sheet setup window's logic: its twelve fields against the working copy
// labelBack2 (lengths in thousandths of a tenth of a point), what each field
// shows and what typing into it stores, and OK's checks and write-back. The
// desktop window draws and routes; this holds the rules.
#pragma once

#include <cstdint>
#include <string>

#include "labels/labelDoc.h"
#include "platform/quickdraw/quickdraw.h"

constexpr int32_t kSheetFieldCount = 12;

// What a field edits in the working copy.
enum class SheetFieldKind : int16_t {
    length,        // a length word, shown in the user's unit
    countAcross,   // the across word's count (modulo 1280)
    countDown,     // the down word's count
    gutterColumn,  // the across word's gutter: label columns before the extra gutter
    gutterWidth,   // the down word's gutter: its width in whole tenths of a point
};

struct SheetField {
    int16_t number;  // the field's slot, 1 to 12
    qd::Rect rect;   // top, left, bottom, right in the window
    int16_t title;   // strings of list 137: the box's title and the field's label
    int16_t label;
    SheetFieldKind kind;
    uint32_t LabelSheet::*word;  // the length word (length fields only)
};

// The fields in the order the window lays them out (slot order is field.number).
inline constexpr SheetField kSheetFields[kSheetFieldCount] = {
    {11, {38, 50, 52, 80}, 70, 34, SheetFieldKind::length, &LabelSheet::sheetWidth},
    {12, {38, 125, 52, 160}, 70, 69, SheetFieldKind::length, &LabelSheet::sheetHeight},
    {7, {88, 50, 102, 80}, 29, 30, SheetFieldKind::length, &LabelSheet::leftMargin},
    {8, {88, 125, 102, 160}, 29, 31, SheetFieldKind::length, &LabelSheet::topMargin},
    {9, {88, 215, 102, 250}, 32, 33, SheetFieldKind::gutterColumn, nullptr},
    {10, {88, 285, 102, 320}, 32, 34, SheetFieldKind::gutterWidth, nullptr},
    {1, {133, 85, 147, 160}, 35, 36, SheetFieldKind::countAcross, nullptr},
    {2, {153, 85, 167, 160}, 35, 37, SheetFieldKind::countDown, nullptr},
    {3, {133, 250, 147, 325}, 38, 36, SheetFieldKind::length, &LabelSheet::spaceAcross},
    {4, {153, 250, 167, 325}, 38, 37, SheetFieldKind::length, &LabelSheet::spaceDown},
    {5, {198, 85, 212, 160}, 39, 36, SheetFieldKind::length, &LabelSheet::labelWidth},
    {6, {218, 85, 232, 160}, 39, 37, SheetFieldKind::length, &LabelSheet::labelHeight},
};

const SheetField& sheetField(int32_t number);  // 1 to 12

// The largest values a field takes: beyond them the working copy's words would
// pass 32 bits (lengths times 1000, gutters times 1280) or a count would wrap
// into the gutter.
constexpr uint32_t kSheetCountMost = kGutterModulus - 1;
constexpr uint32_t kSheetGutterMost = 3354;
constexpr double kSheetLengthTenthsMost = 4294967;  // tenths of a point

struct SheetSetupWindowState {
    int32_t printsheet = 0;  // 1: the window sets up labelBack3, a sheet of single symbols
    int32_t glablayer = 1;   // 1 the template list, 0 the fields
    int32_t curLocalTE = 0;  // the field with focus, 0 none
};
extern SheetSetupWindowState gSheetWin;
void resetSheetSetupWindow();

// The working copy from the document sheet: lengths times 1000, a count word of
// 0 becomes 1.
void beginSheetSetup();
// The text field `number` shows for the working copy: lengths with "%f" in the
// user's unit, counts and gutters as whole numbers.
std::string sheetFieldText(int32_t number, const LabelSheet& copy);
// Reads a field's text into the working copy as that field stores it. False,
// leaving the copy as it was, when the text is no number the field takes or the
// value lies beyond what the copy can hold.
bool storeSheetField(int32_t number, const std::string& text, LabelSheet* copy);
// OK's checks: 0 when the working copy can be applied, else the message that
// refuses it (35 no label width, 36 no label height, 37 no label across, 38
// none down).
uint16_t sheetSetupFault(const LabelSheet& copy);
// Applies the working copy: to labelBack (lengths divided by 1000, the last item
// index kept), or in print-sheet mode to labelBack3 as it stands; the document's
// sheet size follows in both. Returns the refusing message (not shown, with its
// detail in *detail when given) or 0; a sheet whose labels do not fit it, or
// that a saved document could not be opened with, is refused too, in either
// mode.
uint16_t applySheetSetup(std::string* detail = nullptr);
