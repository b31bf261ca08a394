#include "labels/production.h"

#include "labels/labelDoc.h"
#include "symbology/info.h"
#include "symbology/messages.h"

ProductionSettings gProd;

void resetProduction() { gProd = ProductionSettings{}; }

int32_t ProcessBarcodes() {
    // One symbol from the single barcode item.
    if (labelBack.lastItem >= 0) getItemData(0);
    return STRixel();
}

void Disp2InvalRect(int32_t, const Rect16&) {}

void updateDisp() {
    // Headless there is no preview to draw the box into; the text has been shown
    // on standard error when it was raised.
    gMsg.gerrorstr[0] = 0;
}
