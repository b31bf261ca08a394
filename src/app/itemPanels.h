// The main window's fields filled from the current settings when a text or
// barcode item of the layout is selected, so that the panels show the item.
#pragma once

#include <cstdint>

// kind 4 (barcode) names the code type first. The data field stays empty for a
// serial or import item (its data comes from the run); the serial fields show
// the item's counter only for a serial item.
void setPallitem(int32_t kind);

// The text item's fields from the loaded item: its words in the text field
// (empty for none) and customTeSize in the size field.
void setPallText();
