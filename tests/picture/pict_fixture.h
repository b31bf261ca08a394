// Symbols drawn as pictures: the barcode item recorded into a picture and the
// picture drawn into a 600-dpi offscreen world for the outside readers.
#pragma once

#include <string>

#include "platform/quickdraw/picture.h"
#include "support/reader.h"
#include "symbology/state.h"

namespace picttest {

struct Spec {
    int code = 0;
    int variation = 0;
    std::string data;
    std::string addOn;
    double siz = 0;  // 0: the code type's default
    int bwr = 0;
    bool label = false;  // a label layout is open: points instead of hundredths of a millimetre
    int nCheck = -1;     // -1: the code type's default
};

// The data as prepare set it, before the symbol was generated from it.
const SymbolData& preparedData();
// A fresh world, the code type's defaults and the case's data and settings; the
// symbol generated. False when the data is refused.
bool prepare(const Spec& s);
// The symbol as a picture: PICbcode at (0, 0) recorded with the frame
// MeasureBarCodeBox gives.
qd::Picture* record();
// The picture drawn at dpi into an offscreen world, as grey pixels.
testsupport::Bitmap rasterise(const qd::Picture* pic, int dpi = 600);
// prepare, record, rasterise.
testsupport::Bitmap draw(const Spec& s, int dpi = 600);
// Output units per point of the picture made from the current settings.
double unitsPerPoint();

}  // namespace picttest
