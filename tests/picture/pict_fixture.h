// Symbols drawn as pictures: the barcode item recorded into a picture and the
// picture drawn into a 600-dpi offscreen world for the outside readers.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/quickdraw/picture.h"
#include "platform/quickdraw/quickdraw.h"
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
    int widthStep = 0;   // the bar-font step BW that thins the bars, as the desktop sets it
};

// A symbol of tests/data/picture/symbols.txt and what zxing-cpp reads of it
// (format "-": no reader here decodes the code type).
struct SymbolCase {
    std::string where;
    Spec spec;
    std::string format;
    std::string want;
    testsupport::ReadOptions opt;
};
std::vector<SymbolCase> symbolCases();

// The data as prepare set it, before the symbol was generated from it.
const SymbolData& preparedData();
// A fresh world, the code type's defaults and the case's data and settings; the
// symbol generated. False when the data is refused.
bool prepare(const Spec& s);
// The symbol as a picture: PICbcode at (0, 0) recorded with the frame
// MeasureBarCodeBox gives.
qd::Picture* record();
// The picture drawn at dpi into an offscreen world, inside a white margin of
// `margin` pixels, as grey pixels.
testsupport::Bitmap rasterise(const qd::Picture* pic, int dpi = 600, int margin = 0);
// What `draw` records into a picture of `frame`, in a scratch world that is gone
// afterwards; the current world stays current.
qd::Picture* recordPicture(const qd::Rect& frame, const std::function<void()>& draw);
// prepare, record, rasterise.
testsupport::Bitmap draw(const Spec& s, int dpi = 600);

// A fresh label of 300 by 200 points printed into a 32-bit world of that size.
struct LabelWorld : ::testing::Test {
    qd::GWorldPtr world = nullptr;
    void SetUp() override;
    void TearDown() override;
    // The label's items drawn by a printing pass on white.
    void print();
    // The pixel as 0xRRGGBB.
    uint32_t rgb(int h, int v) const;
};

}  // namespace picttest
