// An EAN-13 with a five-digit add-on and its text drawn as a single symbol's
// picture (hundredths of a millimetre): into a 600-dpi colour port through cairo,
// and recorded and replayed into a 600-dpi one-bit world as the black-and-white
// files draw it (target: 20,000 a second or more on one core).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstring>

#include "app/world.h"
#include "picture/PICbcode.h"
#include "picture/hooks.h"
#include "picture/pictpaint.h"
#include "platform/quickdraw/quickdraw.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr double kDpi = 600;
constexpr double kFinePerInch = 2540;

bool prepareEan() {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = 0;
    gSym.variation1 = 0;
    GetCodeText();
    copyBounded(gData.chMainCode, "501234567890");
    copyBounded(gData.chMainCode2, "501234567890");
    gData.len1 = gData.len11 = 12;
    copyBounded(gData.chAddCode, "52495");
    copyBounded(gData.chAddCode2, "52495");
    gData.len2 = gData.len22 = 5;
    return STRixel() == 0;
}

void BM_Ean13WithAddOnPicture(benchmark::State& state) {
    if (!prepareEan()) {
        state.SkipWithError("the symbol was refused");
        return;
    }
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    const double scale = kDpi / kFinePerInch;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(frame.width() * scale) + 1,
                                   static_cast<int>(frame.height() * scale) + 1);
    qd::GrafPort* port = qd::NewPort(surface, frame, scale);
    qd::SetPort(port);
    gHooks.text_ptr = getCharacterOutPict;
    gHooks.drawstring_ptr = getStringOutPict;
    for (auto _ : state) {
        int32_t right = 0, bottom = 0;
        PICbcode(0, 0, &right, &bottom, -1);
        benchmark::DoNotOptimize(right);
    }
    qd::FlushPort(port);
    state.SetItemsProcessed(state.iterations());
    qd::SetPort(nullptr);
    qd::DisposePort(port);
    cairo_surface_destroy(surface);
    resetDrawingHooks();
}
BENCHMARK(BM_Ean13WithAddOnPicture);

void BM_Ean13WithAddOnOneBitWorld(benchmark::State& state) {
    if (!prepareEan()) {
        state.SkipWithError("the symbol was refused");
        return;
    }
    qd::Rect frame, window;
    MeasureBarCodeBox(&frame, &window);
    const double scale = kDpi / kFinePerInch;
    const qd::Rect pixels{0, 0, static_cast<int32_t>(std::lround(frame.height() * scale)),
                          static_cast<int32_t>(std::lround(frame.width() * scale))};
    qd::GWorldPtr world = nullptr;
    if (qd::NewGWorld(&world, 1, pixels) != 0) {
        state.SkipWithError("no world");
        return;
    }
    qd::SetGWorld(world);
    gHooks.text_ptr = getCharacterOutPict;
    gHooks.drawstring_ptr = getStringOutPict;
    for (auto _ : state) {
        qd::EraseRect(pixels);
        qd::Picture* pic = qd::OpenPicture(frame);
        int32_t right = 0, bottom = 0;
        PICbcode(0, 0, &right, &bottom, -1);
        qd::ClosePicture();
        qd::DrawPicture(pic, pixels);
        qd::KillPicture(pic);
        benchmark::DoNotOptimize(right);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("target: 20,000 a second or more");
    qd::SetGWorld(nullptr);
    qd::DisposeGWorld(world);
    resetDrawingHooks();
}
BENCHMARK(BM_Ean13WithAddOnOneBitWorld);

}  // namespace
