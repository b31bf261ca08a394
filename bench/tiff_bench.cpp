// TIFF files of EAN-13 symbols at 600 dpi: files per second through the whole
// command line into a tmpfs folder (target 3,000 or more), the TIFF bytes alone,
// and the user CPU of the program's own process against the peer encoder's batch
// mode (zint --batch writing TIFF) on the same numbers in the same run. Read the
// ratio (user_ratio_to_zint): the machine is noisy.
#include <string>

#include "app/world.h"
#include "automation/options.h"
#include "bench_support.h"
#include "labels/labelDoc.h"
#include "picture/outputstate.h"
#include "picture/output/rasterfiles.h"
#include "picture/symbolbox.h"
#include "picture/symbolpicture.h"
#include "symbology/info.h"
#include "symbology/messages.h"

namespace {

constexpr int kBatch = 1000;

constexpr char kBench[] = "strixel-tiff-bench";

std::string scratch(const std::string& name) { return benchsupport::scratch(kBench, name); }

std::string digits(int i) { return std::to_string(400638100000 + i); }  // twelve digits

std::string records(int n, const std::string& dir) {
    std::string s;
    char name[32];
    for (int i = 0; i < n; ++i) {
        std::snprintf(name, sizeof name, "/%05d.tif", i);
        s += "{type:\"EAN 13\", data:\"" + digits(i) + "\", saveto:\"" + dir + name + "\"}\n";
    }
    return s;
}

// The whole path of a request: record, symbol, picture, TIFF, file.
void BM_Ean13TiffFilesThroughTheCommandLine(benchmark::State& state) {
    benchsupport::runRecords(state, records(kBatch, scratch("files")), kBatch);
    state.SetLabel("target: 3,000 files a second or more");
}
BENCHMARK(BM_Ean13TiffFilesThroughTheCommandLine)->Unit(benchmark::kMillisecond)->UseRealTime();

// The TIFF bytes alone, from the symbol's picture.
void BM_Ean13TiffBytes(benchmark::State& state) {
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
    parseCodeType("EAN 13");
    applyScriptPair("data", "400638133393");
    if (!addSingleSymbolItem() || !recordSymbolPicture()) {
        state.SkipWithError("no picture");
        return;
    }
    const qd::Picture* pic = gPictOut.Pict;
    const qd::Rect rect{0, 0, 625, 908};  // 109 x 75 points at 600 dpi
    std::string out;
    for (auto _ : state) {
        if (!TiffToFile(pic, rect, "", 600, &out)) state.SkipWithError("not written");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
    resetWorld();
}
BENCHMARK(BM_Ean13TiffBytes)->Unit(benchmark::kMicrosecond);

// Both programs as a user runs them, one process each, the same 1,000 numbers.
void BM_Ean13TiffAgainstZint(benchmark::State& state) {
    // zint's scale 4 makes its image 904 pixels wide against our 908: the nearest
    // its half steps of scale come to our width.
    benchsupport::batchAgainstZint(
        state, kBench, kBatch, [](const std::string& dir) { return records(kBatch, dir); }, digits,
        {"-b", "13", "--scale=4", "--filetype=TIF"}, "tif");
}
BENCHMARK(BM_Ean13TiffAgainstZint)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
