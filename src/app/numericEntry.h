// The main window's numeric fields: the key filter that keeps them numbers and
// turns each key at once into the setting behind the field, the nominal bar
// height of each code type, and the CMYK to RGB conversion of the colour pane.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"

// What a key in a numeric field asks of the windows; unset hooks do nothing.
struct NumericEntryHooks {
    std::function<void(const qd::Rect&)> invalMain;  // an area of the main window
    std::function<void()> redrawMain;                // the whole main window
    // The preview window, when it is open; lessScrollBars leaves out the 16
    // pixels at its right and bottom (a label layout's scroll bars).
    std::function<void(bool lessScrollBars)> invalPreview;
};
extern NumericEntryHooks gNumericHooks;

// The most a field holds as typed: three characters without a point, six with one.
constexpr int32_t kNumberLength = 3;
constexpr int32_t kPointNumberLength = 6;
// The fields of the colour pane (gPanels.c_TE) and of pane 0.
constexpr int32_t kSizeField = 2, kHeightField = 3, kBarWidthField = 4;
constexpr int32_t kCyanField = 9, kMagentaField = 10, kYellowField = 11, kBlackField = 12;
constexpr int32_t kBearerField = 13;

int32_t TEGetLen(const platform::TERec* field);
// A Pascal string read as a decimal number (0 when it holds none), and a
// number written as "%f" into a Pascal string; both in the C locale.
void StringToDouble(double* value, const unsigned char* pstr);
void DoubleToString(double value, unsigned char* pstr);

// Inserts key into the field when the length rules allow it: a second point is
// refused with a beep; Backspace and a point are always taken; any other key
// while the field is short or wholly selected, else it is dropped.
void FilterFloatingNumbers(platform::TERec* field, unsigned char key);
// FilterFloatingNumbers, then the field's number as a whole part and hundredths.
void GetFilteredNumbers(platform::TERec* field, unsigned char key, int32_t* whole,
                        int32_t* hundredths);

// The nominal bar height of a code type in millimetres at 100 %, or 0 for a type
// that has none (its height is whatever was set).
double nominalHeight(int32_t code, int32_t variant);
// Hei becomes the code type's nominal height at the current size; unless quiet,
// the height field shows it in its unit. A type without a nominal height keeps
// its height.
void WorkOutHeight(int32_t quiet);

// Process colour percentages to a QuickDraw colour (0 to 65535 a channel).
void convertFromCMYK(int32_t c, int32_t y, int32_t m, int32_t k, int32_t* red, int32_t* green,
                     int32_t* blue);

// One key for the numeric field with the focus in the pane shown
// (gProd.background 0, 3 or 4; the focus gPanels.c_TE or c_TE3).
void Numeric3_Filter(unsigned char key);
