// The picture driver: the current symbol, or every item of the open label, drawn
// with QuickDraw into a recorded picture (the preview and the clipboard) or
// into the current port of a printing pass.
#pragma once

#include <cstdint>

#include "platform/quickdraw/picture.h"

struct PictureDriverState {
    qd::Picture* Pict = nullptr;  // the picture of the last screen pass
    // The preview window, kept as data until the window itself exists.
    bool disp2 = false;
    qd::Rect disp2Rect;
    qd::Rect dispcon;  // its button
    int32_t globItem = 0;
    int32_t iRepeat2 = 0;  // 1 while a production run prints
};
extern PictureDriverState gDriver;

// printMode 0: recorded into gDriver.Pict; 1 (and -1, the thermal printer): drawn
// into the current port (a printing pass) at the printer's resolution, guide
// items left out, import items built from the current record and serial items
// advanced; 2: drawn into the current port as it stands (the print window's page
// picture). h and v move every item, points. Always 0.
int32_t PICout2(int32_t h, int32_t v, int32_t printMode);
// Forgets the last picture and the preview.
void resetPictureDriver();
