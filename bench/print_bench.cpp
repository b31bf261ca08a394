// A print job of 100 pages of 24 Code 128 serial labels (3 by 8 on A4) to a PDF
// file at 1200 dpi: pages per second (target 200 or more) and the size of the
// PDF (the text is set in embedded fonts, so it holds each glyph once), against
// cairo writing the same number of bars alone in the same process (read the
// ratio: the machine is noisy, and most of the job's time is cairo formatting
// numbers and compressing the page streams).
#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "labels/labelDoc.h"
#include "labels/runs/printLabels.h"
#include "labels/runs/printWindow.h"
#include "platform/printing/printing.h"
#include "symbology/appBits.h"
#include "symbology/info.h"

namespace {

constexpr char kBench[] = "strixel-print-bench";
constexpr int kPages = 100;
constexpr int kLabelsPerPage = 24;
constexpr int32_t kCode128 = 5;
constexpr const char* kFirstSerial = "00000001";
constexpr const char* kLastSerial = "99999999";

// A 3 by 8 sheet of 180 by 100 point labels, one serial Code 128 item on each.
void serialSheet() {
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
    setenv("XDG_CONFIG_HOME", benchsupport::scratch(kBench, "config").c_str(), 1);
    labelBack.leftMargin = 200;
    labelBack.topMargin = 100;
    labelBack.across = 3;
    labelBack.down = 8;
    labelBack.spaceAcross = 50;
    labelBack.spaceDown = 30;
    labelBack.labelWidth = 1800;
    labelBack.labelHeight = 1000;
    addLabelItem();
    gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
    gLabel.itRect = {10, 20, 90, 170};
    gSym = SymbolSettings{};
    gSym.code = kCode128;
    GetCodeText();
    const std::string first(kFirstSerial), end(kLastSerial);
    benchsupport::loadData(first.c_str());
    gData.chPrefix[0] = gData.chSuffix[0] = 0;
    // Copies of named texts: GCC 12 warns falsely about literals assigned here.
    gLabel.serPos = first;
    gLabel.incAmount = std::string(1, '1');
    gLabel.serEnd = end;
    gLabel.proMode = 1;
    setItemRect(0);
    setItemData(0, 2);
}

void BM_PrintJobToPdf(benchmark::State& state) {
    serialSheet();
    std::string pdf = benchsupport::scratch(kBench, "job");
    pdf += "/labels.pdf";
    for (auto _ : state) {
        gPrint.destination = print::settingsFor(pdf);
        ShowPrintWin();
        gPrint.nLabels = kPages * kLabelsPerPage;
        if (PrintButton() != print::kPrintNoErr || gPrint.nPages != kPages)
            state.SkipWithError("the job failed");
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(state.iterations()) * kPages, benchmark::Counter::kIsRate);
    std::error_code missing;
    const auto bytes = std::filesystem::file_size(pdf, missing);
    if (!missing) state.counters["PDF KB"] = double(bytes) / 1024;
    state.SetLabel("target: 200 pages a second or more");
    resetWorld();
}
BENCHMARK(BM_PrintJobToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: the same pages as bare rectangles straight into cairo's PDF
// surface, 22 bars a label (what Code 128 with eight digits in set C draws) at
// 1200 dpi, no text. What the job costs beyond it is the program's own.
void BM_BareRectanglesIntoCairo(benchmark::State& state) {
    constexpr double kA4Width = 595.276, kA4Height = 841.89, kDotsPerPoint = 1200.0 / 72;
    constexpr int kBars = 22;
    for (auto _ : state) {
        std::string bytes;
        cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(
            [](void* out, const unsigned char* data, unsigned int n) {
                static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), n);
                return CAIRO_STATUS_SUCCESS;
            },
            &bytes, kA4Width, kA4Height);
        cairo_t* cr = cairo_create(pdf);
        cairo_scale(cr, 1 / kDotsPerPoint, 1 / kDotsPerPoint);
        for (int page = 0; page < kPages; ++page) {
            for (int label = 0; label < kLabelsPerPage; ++label) {
                const double h = (20 + 185 * (label % 3) + 20) * kDotsPerPoint;
                const double v = (10 + 103 * (label / 3) + 10) * kDotsPerPoint;
                double x = h;
                for (int bar = 0; bar < kBars; ++bar) {
                    const double w = (1 + bar % 4) * 17.0;
                    cairo_rectangle(cr, x, v, w, 60 * kDotsPerPoint);
                    cairo_fill(cr);
                    x += w + 17.0 * (1 + (bar + 1) % 3);
                }
            }
            cairo_show_page(cr);
        }
        cairo_destroy(cr);
        cairo_surface_destroy(pdf);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["pages/s"] =
        benchmark::Counter(double(state.iterations()) * kPages, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BareRectanglesIntoCairo)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
