#include "pict_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "picture/PICbcode.h"
#include "picture/PICout2.h"
#include "picture/hooks.h"
#include "picture/pictpaint.h"
#include "picture/services.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"
#include "support/cases.h"
#include "support/symbol_data.h"

namespace picttest {

namespace {
SymbolData gBefore;
// Output units per point of the picture made from the current settings.
double unitsPerPoint() { return labelBack.labelWidth != 0 ? 1.0 : 2540.0 / 72.0; }
}  // namespace

std::vector<SymbolCase> symbolCases() {
    std::vector<SymbolCase> out;
    for (const auto& c : testsupport::readCases("picture/symbols.txt", 9)) {
        SymbolCase s{c.where + " " + c[0], {}, c[6], c[7], {}};
        s.spec.code = c.integer(1);
        s.spec.variation = c.integer(2);
        s.spec.data = c[3];
        s.spec.addOn = c[4];
        s.spec.nCheck = c.integer(5);
        s.opt.code39Check = c[8] == "check";
        s.opt.codabarStartStop = c[8] == "startstop";
        out.push_back(s);
    }
    return out;
}

const SymbolData& preparedData() { return gBefore; }

bool prepare(const Spec& s) {
    resetWorld();
    initLabelItems();
    labelBack = LabelSheet{};
    labelBack3 = LabelSheet{};
    resetProduction();
    resetPictureServices();
    gMsg.quiet = true;
    gDispatch = DispatchState{};
    gRows = RowState{};
    gSym.code = s.code;
    gSym.variation1 = s.variation;
    GetCodeText();
    // The bars keep their height in proportion to the magnification.
    if (s.siz > 0) {
        gSym.Hei = gSym.Hei * s.siz / gSym.Siz;
        gSym.Siz = s.siz;
    }
    gSym.BWidthRed = s.bwr;
    gSym.BW = s.widthStep;
    if (s.nCheck >= 0) gSym.nCheck = s.nCheck;
    testsupport::setSymbolData(s.data, s.addOn);
    gBefore = gData;
    if (STRixel() != 0) {
        ADD_FAILURE() << gMsg.last;
        return false;
    }
    if (s.label) {
        labelBack.labelWidth = 2000;
        labelBack.labelHeight = 1000;
    }
    return true;
}

qd::Picture* recordPicture(const qd::Rect& frame, const std::function<void()>& draw) {
    qd::GWorldPtr scratch = nullptr;
    qd::NewGWorld(&scratch, 32, {0, 0, 1, 1});
    qd::GWorldPtr keep = qd::GetGWorld();
    qd::SetGWorld(scratch);
    qd::Picture* pic = qd::OpenPicture(frame);
    draw();
    qd::ClosePicture();
    qd::SetGWorld(keep);
    qd::DisposeGWorld(scratch);
    return pic;
}

qd::Picture* record() {
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    return recordPicture(frame, [] {
        // The picture driver's targets of the text hooks.
        gHooks.text_ptr = getCharacterOutPict;
        gHooks.drawstring_ptr = getStringOutPict;
        int32_t right = 0, bottom = 0;
        PICbcode(0, 0, &right, &bottom, -1);
    });
}

testsupport::Bitmap rasterise(const qd::Picture* pic, int dpi, int margin) {
    const double k = dpi / 72.0 / unitsPerPoint();
    const int32_t w = static_cast<int32_t>(pic->frame.width() * k),
                  h = static_cast<int32_t>(pic->frame.height() * k);
    qd::GWorldPtr world = nullptr;
    testsupport::Bitmap b;
    if (qd::NewGWorld(&world, 32, {0, 0, h + 2 * margin, w + 2 * margin}) != 0) return b;
    qd::GWorldPtr keep = qd::GetGWorld();
    qd::SetGWorld(world);
    qd::DrawPicture(pic, {margin, margin, margin + h, margin + w});
    int stride = 0;
    const uint32_t* px = qd::GWorldPixels(world, &stride);
    b.width = w + 2 * margin;
    b.height = h + 2 * margin;
    b.pixels.resize(static_cast<size_t>(b.width) * b.height);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            const uint32_t p = px[static_cast<size_t>(y) * (stride / 4) + x];
            b.pixels[static_cast<size_t>(y) * b.width + x] =
                static_cast<uint8_t>(((p >> 16 & 255) + (p >> 8 & 255) + (p & 255)) / 3);
        }
    qd::SetGWorld(keep);
    qd::DisposeGWorld(world);
    return b;
}

testsupport::Bitmap draw(const Spec& s, int dpi) {
    if (!prepare(s)) return {};
    qd::Picture* pic = record();
    testsupport::Bitmap b = rasterise(pic, dpi);
    qd::KillPicture(pic);
    return b;
}

void LabelWorld::SetUp() {
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
    labelBack.labelWidth = 3000;  // 300 by 200 points
    labelBack.labelHeight = 2000;
    qd::NewGWorld(&world, 32, {0, 0, 200, 300});
    qd::SetGWorld(world);
}

void LabelWorld::TearDown() { qd::DisposeGWorld(world); }

void LabelWorld::print() {
    qd::ForeColor(qd::whiteColor);
    qd::PaintRect({0, 0, 200, 300});
    PICout2(0, 0, 1);
}

uint32_t LabelWorld::rgb(int h, int v) const {
    qd::RGBColor c;
    qd::GetCPixel(h, v, &c);
    return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
}

}  // namespace picttest
