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
    std::string TEHeight;         // size, height and bar-width-reduction fields
    std::string TESize;
    std::string TEBWR;
    int chStyle = 0;  // the text-style entry of field 4 of the text panel
    // The colour panel: its four percentage fields, and which colour set it shows
    // (colTab 1 the fill colours, 0 the ink colours).
    platform::TERec TEBlac, TEYell, TECyan, TEMage;
    int colTab = 0;
};
extern PanelFields gPanels;

void resetPanels();

// Puts a Pascal string into colour field n (0 cyan, 1 magenta, 2 yellow, 3
// black) and redraws it where it is shown; any other n changes nothing.
void inscolour(int32_t n, const unsigned char* pstr);

// Per-code-type size, bar height and style defaults.
void defaults();
