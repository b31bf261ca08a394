// Text items of a label: the escape language that puts in the time, the date,
// control characters and special bytes, and the drawing of a text item as a
// wrapped, turned text box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "labels/labelDoc.h"
#include "platform/quickdraw/quickdraw.h"

// The clock the time and date escapes read. Tests set both so that the text is
// exact; the program leaves them at the system clock and time zone.
struct EscapeClock {
    int64_t now = -1;      // seconds since 1970-01-01 UTC; -1: the system clock
    std::string timeZone;  // a TZ rule ("UTC0", "CET-1CEST,M3.5.0,M10.5.0/3"); empty: the system's
};
extern EscapeClock gEscapeClock;

// The text with its escapes expanded (see the table in textitems.cpp). The
// result grows as needed; a "\d" without its three characters ends the text,
// and a "\d" that makes the byte 0 adds nothing.
std::string SearchReplace(const char* source, size_t length);

// Draws text item i into rect (points) turned by angle degrees. printMode 0 is
// the layout window (the text scaled by its zoom and the box below its bar);
// any other value a printer. A fixed-text item draws its text with the escapes
// expanded; a serial, import or print-time item the data the run gave it.
void DrawRotatedText(int32_t i, int32_t printMode, double angle, const qd::Rect& rect);

// A text item in the picture driver: its turned rectangle filled (unless it is
// transparent; inverse text always fills with the text colour), and, when
// printing, its text drawn over it.
void DrawTextItem(int32_t i, const qd::Rect& r, int32_t printMode);

void resetTextItems();
