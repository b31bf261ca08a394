// The production run's entry mode and the state the sheet writers advance.
#pragma once

#include <cstdint>

struct ProductionSettings {
    int32_t background = 0;  // entry mode: 0 normal, 1 serial numbers, 2 import, 3 print time
    int32_t gcite = 0;       // non-zero while a serial or import run fills the sheet
    int32_t gemode = 0;      // 1 serial, 2 import
    int32_t importer = 0;
    int32_t sepIm = 0;
};
extern ProductionSettings gProd;

void resetProduction();

// Starts the production run for the current entry mode. Headless, the normal mode
// generates the one symbol; delivery comes with the output dispatch.
int32_t ProcessBarcodes();
// Invalidates a rectangle of the layout preview (nothing to redraw headless).
void Disp2InvalRect(int32_t mode, const struct Rect16& rect);
// Shows the layout preview's error text over the item being drawn, then empties it.
void updateDisp();
