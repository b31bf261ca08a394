// Painting module squares into an offscreen world, directly and from a picture.
#include <benchmark/benchmark.h>

#include "platform/quickdraw/picture.h"
#include "platform/quickdraw/quickdraw.h"

namespace {

// 10,000 dark modules of a large matrix symbol at 300 dpi: 0.34 mm is 4 pixels.
constexpr int kModules = 10000;
constexpr int kModulePixels = 4;
constexpr int kAcross = 177;

void paintModules() {
    for (int i = 0, n = 0; n < kModules; ++i) {
        if ((i * 7919) % 3 == 0) continue;  // a scatter like a real symbol's
        const int col = i % kAcross, row = i / kAcross;
        const int h = col * kModulePixels, v = row * kModulePixels;
        qd::PaintRect({v, h, v + kModulePixels, h + kModulePixels});
        ++n;
    }
}

constexpr qd::Rect kWorld{0, 0, kAcross* kModulePixels, kAcross* kModulePixels};

void BM_PaintModules(benchmark::State& state) {
    qd::GWorldPtr w = nullptr;
    qd::NewGWorld(&w, 32, kWorld);
    qd::SetGWorld(w);
    for (auto _ : state) paintModules();
    qd::DisposeGWorld(w);
}
BENCHMARK(BM_PaintModules)->Unit(benchmark::kMillisecond);

void BM_ReplayModules(benchmark::State& state) {
    qd::GWorldPtr w = nullptr;
    qd::NewGWorld(&w, 32, kWorld);
    qd::SetGWorld(w);
    qd::Picture* pic = qd::OpenPicture(kWorld);
    paintModules();
    qd::ClosePicture();
    for (auto _ : state) qd::DrawPicture(pic, kWorld);
    qd::KillPicture(pic);
    qd::DisposeGWorld(w);
}
BENCHMARK(BM_ReplayModules)->Unit(benchmark::kMillisecond);

}  // namespace
