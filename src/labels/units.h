// Measurement units: label and sheet lengths are held in tenths of a point and
// shown in the user's unit gMeasType (0 inch, 1 centimetre, 2 millimetre,
// 3 point, 4 a fine unit of 1/812 inch).
#pragma once

#include <cstdint>

struct UnitState {
    int32_t gMeasType = 2;
};
extern UnitState gUnits;

void resetUnits();

constexpr int32_t kMeasInch = 0, kMeasCentimetre = 1, kMeasMillimetre = 2, kMeasPoint = 3,
                  kMeasFine = 4;

// Tenths of a point to the current unit and back. A unit outside 0..4 (which only
// a damaged document can bring) converts as millimetres.
double convertToMeas(double tenths);
double convertToMeas2(double tenths);  // the label width field's, the same
double convertFromMeas(double value);

// The item geometry fields of the main window (TEBack3 slots 9 to 12: top, left,
// width, height in the current unit) from itRect, and back: setitemdimensions
// reads them into itRect and applies it to the selected items.
void getitemdimensions();
void setitemdimensions();
