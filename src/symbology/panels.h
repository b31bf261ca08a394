// The text fields of the main window and of the run panels. Headless they hold
// text and selection only; the desktop shell draws them later.
#pragma once

#include <cstdint>
#include <string>

#include "platform/textedit.h"

struct PanelFields {
    platform::TERec TEH;          // data
    platform::TERec TEX;          // add-on or options
    platform::TERec TEType;       // code-type name
    platform::TERec TEBack1[9];   // serial-number panel fields by place: 0 start ... 8 repeat
    platform::TERec TEBack2[9];   // import panel fields by place: 1 file ... 8 record count
    platform::TERec TEBack3[15];  // item panel: 9 to 12 the item's top, left, width, height
    platform::TERec TEBack5[8];   // print-time panel fields, from 1
    platform::TERec TETe1[2];     // a text item's text and its text size
    platform::TERec TEHeight;     // size, height and bar-width-reduction fields
    platform::TERec TESize;
    platform::TERec TEBWR;
    int chStyle = 0;  // the text-style entry of field 4 of the text panel
    // The colour panel: its four percentage fields, and which colour set it shows
    // (colTab 1 the fill colours, 0 the ink colours).
    platform::TERec TEBlac, TEYell, TECyan, TEMage;
    platform::TERec TELine;  // the colour panel's bearer width
    int colTab = 0;
    // The field with the caret in each pane, -1 for none: c_TE pane 0 (0 TEH,
    // 1 TEX, 2 TESize, 3 TEHeight, 4 TEBWR) and the colour pane (9 to 13),
    // c_TE1 to c_TE3 indexes into TEBack1 to TEBack3, c_TE5 the print-time pane
    // (0 TEH, 1 and 2 TEBack5[0] and [1], 3 TEBack1[3]).
    int32_t c_TE = 0;
    int32_t c_TE1 = 0;
    int32_t c_TE2 = 0;
    int32_t c_TE3 = 0;
    int32_t c_TE5 = 0;
};
extern PanelFields gPanels;

void resetPanels();

// Puts a Pascal string into colour field n (0 cyan, 1 magenta, 2 yellow, 3
// black) and redraws it where it is shown; any other n changes nothing.
void inscolour(int32_t n, const unsigned char* pstr);

// Per-code-type size, bar height and style defaults.
void defaults();
// The bar height, in mm, that the current code type's defaults give it (what a
// height of 0 asks for); the settings and fields are left as they were.
double typeOwnHeight();
