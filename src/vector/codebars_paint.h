// Bar painting: the element list of the current symbol as vector output. One
// filled rectangle per bar (a run of dark elements), module rows and module
// squares of the two-dimensional symbols, and the human-readable text, the
// header above the symbol and the add-on digits, as glyph outlines or in a
// PostScript font. Bearers, marks and gauges are the barcode item's.
#pragma once

#include <cstdint>

// T: text height in points, the unit of guard drops and rises. textX: accepted
// for the caller's sake and unused. textY: the text baseline (points) from which
// header lines hang. B: the symbol box width less insetAmount. left: the box's
// x. item: the label item (its second colour set outlines grip bars). inset:
// insetAmount + gline. baseY: added to every bar's y. All lengths in points.
//
// The element list must hold a generated symbol: nothing is read past cu_len.
void drawCodebars(int32_t T, int32_t textX, int32_t textY, int32_t B, int32_t left, int32_t item,
                  double inset, int32_t baseY);

// Whether symbols of dispatcher code `code` are painted bar by bar with their
// human-readable line under the bars; DataBar, the stacked and the
// two-dimensional codes paint rows or modules and set no such line.
bool paintedBarByBar(int32_t code);

// Whether the text line of dispatcher code `code` is its data as entered, set
// centred or justified: the bar font's letter codes there stand for themselves.
bool textLineIsData(int32_t code);
// Whether byte ch of the text row of code `code` is drawn as the character it
// is: the printable ASCII of a row that is the data as typed, where '?', '='
// and the like are data, not the gaps and spacers of the grouped lines.
bool typedCharacter(int32_t code, unsigned char ch);
inline constexpr unsigned char kFirstTypedCharacter = '!', kLastTypedCharacter = '~';

// The text height T (points) bar painting is called with for the current symbol.
int32_t symbolTextUnit();
// The box height (points) of the current symbol whose height set comes to
// `points`. Royal Mail, KIX and POSTNET hang their bars from the box's top a text
// unit a band whatever the height, and Royal Mail's text line stands at its foot:
// their box is raised to hold both. Other symbols keep `points`.
double postalHeight(double points);
// Whether every bar of the current linear symbol keeps some height above its
// text line and below its header: a symbol set lower than its text would have
// its bars painted upside down, above its box. Other symbols always fit.
bool linearBarsFit();
constexpr const char* kNoRoomForBarsText =
    "The bars have no room under the header and above the text at this height. Raise the "
    "height, lower the size or the text size, and try again.";

// The narrowest bar (or module) of the current symbol in micrometres at its size,
// before the bar-width reduction; 0 for a symbol with no bars to reduce (Small
// EAN). A reduction of at least this width would leave no bar.
int32_t narrowestBar();
// False when the current bar-width reduction is as wide as the narrowest bar.
bool reductionLeavesBars();
constexpr const char* kBarsVanishText =
    "The bar-width reduction is as wide as the narrowest bar at this size: the bars would "
    "vanish. Lower the reduction or raise the size, and try again.";
constexpr const char* kNegativeReductionText =
    "The bar-width reduction is below 0 by as much as the narrowest bar at this size: the "
    "widened bars would close the spaces and would not scan. Raise the reduction towards 0 or "
    "raise the size, and try again.";
// Why the current symbol cannot be written or printed at its bar-width
// reduction: kNegativeReductionText, kBarsVanishText, or null when it can.
const char* reductionFault();

// How many module rows of the PDF417 or MicroPDF417 in the element list bar
// painting paints.
int32_t paintedModuleRows();

// The second colour set (CMYK percentages) of label item `item`: the symbol's
// background and the outline of grip bars. Without such an item, the current
// settings' second set.
struct ItemColours {
    int32_t c, m, y, k;
};
ItemColours itemSecondColours(int32_t item);
