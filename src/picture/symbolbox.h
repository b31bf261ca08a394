// The box of a plain symbol: the single barcode item takes the size of the symbol
// that the current settings make.
#pragma once

#include <cstdint>

// Generates the symbol on a copy of the data and sizes label item `index` to it
// (in points, from the item's top left). PDF417 and MicroPDF417 take the height
// of their rows. Returns false, leaving the item as it was, when the data is
// refused (the user has been told).
bool sizeSingleSymbol(int32_t index);

// The single barcode item of a plain symbol: added, sized to the symbol the
// current settings make, and given them. False when the data is refused (the
// user has been told).
bool addSingleSymbolItem();
