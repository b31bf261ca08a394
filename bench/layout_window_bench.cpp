// The layout window redrawn with a label of 40 items (barcodes, texts and
// shapes) at zoom 100 on Qt's offscreen platform: the whole update, the label's
// picture recorded and drawn, frames and handles (target: under 20 ms, so that
// dragging stays smooth).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <string>

#include "app/desktop/eventLoop.h"
#include "app/desktop/layoutWindow.h"
#include "app/layoutGeometry.h"
#include "app/world.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "platform/toolbox/qt_glue.h"
#include "platform/toolbox/windows.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

constexpr int kBarcodes = 10, kTexts = 15, kShapes = 15;

void item(uint16_t kind, int16_t top, int16_t left, int16_t bottom, int16_t right, bool selected) {
    if (addLabelItem() != 0) return;
    const int32_t i = labelBack.lastItem;
    gLabel.labelParts[size_t(i)]->setI16(item::kind, kind);
    gLabel.itRect = {top, left, bottom, right};
    setItemRect(i);
    if (kind == kKindText) {
        gLabel.externalH = "Item " + std::to_string(i) + std::string(2, '\0');
        gLabel.hasExternalH = true;
    } else {
        gLabel.externalH.clear();
        gLabel.hasExternalH = false;
    }
    setItemData(i, 2);
    gLabel.labelParts[size_t(i)]->setI16(item::selected, selected ? 1 : 0);
}

bool fortyItems() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    toolbox::StartDesktop(nullptr, nullptr);
    resetWorld();
    resetEventLoop();
    resetLayoutWindow();
    gMsg.quiet = true;
    initLabelItems();
    labelBack.labelWidth = 6000;  // 600 by 400 points
    labelBack.labelHeight = 4000;
    labelBack.across = labelBack.down = 1;
    gSym.code = 0;
    GetCodeText();
    copyBounded(gData.chMainCode, "501234567890");
    copyBounded(gData.chMainCode2, "501234567890");
    gData.len1 = gData.len11 = 12;
    for (int n = 0; n < kBarcodes; ++n)
        item(kKindBarcode, int16_t(10 + (n / 5) * 90), int16_t(10 + (n % 5) * 115),
             int16_t(90 + (n / 5) * 90), int16_t(120 + (n % 5) * 115), n == 0);
    for (int n = 0; n < kTexts; ++n)
        item(kKindText, int16_t(200 + (n / 5) * 30), int16_t(10 + (n % 5) * 115),
             int16_t(220 + (n / 5) * 30), int16_t(110 + (n % 5) * 115), false);
    for (int n = 0; n < kShapes; ++n)
        item(uint16_t(kKindRect + n % 7), int16_t(300 + (n / 5) * 30), int16_t(10 + (n % 5) * 115),
             int16_t(325 + (n / 5) * 30), int16_t(100 + (n % 5) * 115), n == 1);
    gLayout.geditMode = 1;
    NewPreviewWindow();
    return gWindows.disp2 != nullptr && labelBack.lastItem == kBarcodes + kTexts + kShapes - 1;
}

void BM_LayoutRedraw40Items(benchmark::State& state) {
    if (!fortyItems()) {
        state.SkipWithError("the layout could not be built");
        return;
    }
    for (auto _ : state) {
        drawDisp2();
        benchmark::ClobberMemory();
    }
    state.counters["items"] = labelBack.lastItem + 1;
    resetLayoutWindow();
}
BENCHMARK(BM_LayoutRedraw40Items)->Unit(benchmark::kMillisecond);

}  // namespace
