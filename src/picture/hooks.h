// The drawing hooks: every bar, character, text run and shape of a picture goes
// through one of these, so that the picture driver can send them elsewhere (the
// thermal printer's world, a test's recorder). Each starts at the target that
// draws into the current QuickDraw port.
#pragma once

#include <cstdint>

#include "platform/quickdraw/quickdraw.h"

// One bar or module, a filled rectangle in the current foreground colour.
using BarHook = void (*)(const qd::Rect& r);
// One human-readable character at the pen position (x, y) of its baseline;
// returns the width correction of the character (charWidthCorrection).
using TextHook = int32_t (*)(const unsigned char* ch, int32_t x, int32_t y);
// count characters of text with the pen at (x, y).
using DrawStringHook = void (*)(const unsigned char* text, int32_t x, int32_t y, int32_t count);
// A shape item: its rectangle and its index.
using ShapeHook = void (*)(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i);
// One item on a thermal printer: the item's kind and index, and its graphics world.
using ThermHook = void (*)(int32_t kind, int32_t i, qd::GWorldPtr world);

struct DrawingHooks {
    BarHook bar_ptr;
    TextHook text_ptr;
    DrawStringHook drawstring_ptr;
    ShapeHook rect_ptr;
    ShapeHook oval_ptr;
    ShapeHook rrect_ptr;
    ShapeHook line_ptr;
    ThermHook therm_ptr;  // null: the thermal back end lies outside the program
};
extern DrawingHooks gHooks;

// The hooks pointing at their defaults.
DrawingHooks defaultDrawingHooks();
void resetDrawingHooks();

// What a character's width differs by for its caller: 3122 for 'M', 1320 for
// '(' and ')', 0 for every other character.
int32_t charWidthCorrection(unsigned char ch);

// The default targets.
void myPaintRect(const qd::Rect& r);
int32_t drawCharOutPict(const unsigned char* ch, int32_t x, int32_t y);
void drawStringOutPict(const unsigned char* text, int32_t x, int32_t y, int32_t count);
// Shape items: unless transpar_ent, painted in item i's fill colour (its second
// CMYK set); then framed with the current pen in the current colour. The rounded
// rectangle's corners are 16 by 16 points.
void getRectOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i);
void getOvalOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i);
void getRRectOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i);
// A line from (left, top) to (right, bottom) with the current pen.
void getLineOutPict(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t i);
