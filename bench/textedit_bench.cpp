// Typing into a text field drawn in an offscreen world: 10,000 keys, the field
// redrawn after each (TEKey draws what it changed). The counter gives the time
// per key; the aim is well under a millisecond.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/quickdraw/quickdraw.h"
#include "platform/textedit.h"

namespace {

constexpr int kKeys = 10000;
constexpr qd::Rect kWindow{0, 0, 300, 400};
constexpr qd::Rect kField{20, 20, 280, 380};
constexpr unsigned char kBackspace = 8, kReturn = 13;

// Words, blanks, now and then a return or a correction, like a person typing.
unsigned char keyAt(int i) {
    if (i % 97 == 96) return kReturn;
    if (i % 23 == 22) return kBackspace;
    if (i % 7 == 6) return ' ';
    return static_cast<unsigned char>('a' + (i * 31) % 26);
}

void BM_TypeIntoAField(benchmark::State& state) {
    qd::GWorldPtr w = nullptr;
    qd::NewGWorld(&w, 32, kWindow);
    qd::SetGWorld(w);
    for (auto _ : state) {
        std::unique_ptr<platform::TERec, void (*)(platform::TERec*)> te(
            platform::TEStyleNew(kField, kField), platform::TEDispose);
        platform::TESetStyle(0, 12, 0, te.get());
        platform::TEAutoView(true, te.get());
        platform::TEActivate(te.get());
        for (int i = 0; i < kKeys; ++i) platform::TEKey(keyAt(i), te.get());
        benchmark::DoNotOptimize(te->text.size());
    }
    state.counters["us_per_key"] = benchmark::Counter(
        kKeys * 1e-6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    qd::DisposeGWorld(w);
}
BENCHMARK(BM_TypeIntoAField)->Unit(benchmark::kMillisecond);

}  // namespace
