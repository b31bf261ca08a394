// The picture driver: the current symbol, or every item of the open label, drawn
// with QuickDraw into a recorded picture (the preview and the clipboard) or
// into the current port of a printing pass.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/quickdraw/picture.h"
#include "symbology/state.h"

struct PictureDriverState {
    qd::Picture* Pict = nullptr;  // the picture of the last screen pass
    // The preview window, kept as data until the window itself exists.
    bool disp2 = false;
    qd::Rect disp2Rect;
    qd::Rect dispcon;  // its button
    int32_t globItem = 0;
    int32_t iRepeat2 = 0;      // 1 while a production run prints
    int32_t showSpecs = 0;     // the preview shows its information strip
    int32_t offbar = 20;       // height of the layout's tab strip
    int32_t gridOn = 0;        // the layout's grid is drawn in its picture
    int32_t askForRepeat = 0;  // the print-time question also asks for a repeat count
    // The user cancelled a print-time question: the printing job ends.
    bool jobCancelled = false;
};
extern PictureDriverState gDriver;

// Encoding leaves the symbol's printed text in the data's printed copy
// (DataBar's "(01)" and check digit, Code 128 without its escapes); new items
// and the data field take their data from that copy. Kept while one lives, so
// that drawing or measuring a symbol never replaces the data as typed.
class TypedDataKept {
  public:
    TypedDataKept() : length_(gData.len11) {
        std::memcpy(typed_, gData.chMainCode2, sizeof typed_);
    }
    ~TypedDataKept() {
        std::memcpy(gData.chMainCode2, typed_, sizeof typed_);
        gData.len11 = length_;
    }
    TypedDataKept(const TypedDataKept&) = delete;
    TypedDataKept& operator=(const TypedDataKept&) = delete;

  private:
    char typed_[sizeof gData.chMainCode2];
    int32_t length_;
};

// printMode 0: recorded into gDriver.Pict (and put on the clipboard when the
// output is a picture); 1 (and -1, the thermal printer): drawn into the current
// port (a printing pass) at the printer's resolution, guide items left out,
// import items built from the current record, print-time items asked for and
// serial items advanced; -1 draws into the thermal printer's world
// gPrint.therPrin, or item by item through its back end; 2: drawn into the
// current port as it stands (the print window's page picture). h and v move
// every item, points. Always 0.
int32_t PICout2(int32_t h, int32_t v, int32_t printMode);
// A serial item (index i) after one label that showed `value`: the item moves
// on to the value of the next label, as a printed sheet does.
void advanceSerialItem(int32_t i, const std::string& value);
// An import item (index i) takes its data from the current import record
// (gProd.importItems) by its template, as a printed label has it. false, after a
// message, when a barcode item's data comes out empty or blank.
bool buildImportItem(int32_t i);
// The single symbol's data encoded into the element list as PICout2's screen
// pass would leave it, with no picture recorded (outputs that use the element
// list alone); false when the data is refused (reported).
bool encodeSingleSymbol();
// Item index of the open label encoded as the layout's view encodes it (an
// import item from the current record, a serial item between its affixes);
// false when it is refused (reported) or there is no such item.
bool encodeLayoutItem(int32_t index);
// Forgets the last picture and the preview.
void resetPictureDriver();
