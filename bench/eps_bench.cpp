// Single-label documents with one text item written to memory, per dialect.
// The reference run copies a document of the same size byte by byte into a
// memory file: compare the ratio, not the raw figure, on a noisy machine.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "platform/files.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

void setUp(int32_t ill) {
    resetWorld();
    initLabelItems();
    gMsg.quiet = true;
    gOut.ill = ill;
    labelBack.labelWidth = 2000;
    labelBack.labelHeight = 1000;
    addLabelItem();
    LabelItem* it = gLabel.labelParts[0].get();
    it->setI16(item::kind, kKindText);
    it->setI16(item::rectTop, 10);
    it->setI16(item::rectLeft, 10);
    it->setI16(item::rectBottom, 40);
    it->setI16(item::rectRight, 190);
    it->setI16(item::customTeSize, 12);
    it->setText(item::fontBelow, "\x09Helvetica");
    it->dataHandle = "Best before 12/2027";
    it->hasDataHandle = true;
}

size_t writeOne() {
    platform::FileRef ref = platform::FSOpenMemory();
    EPSout(ref, 0);
    const size_t n = platform::FSMemoryContents(ref).size();
    platform::FSClose(ref);
    return n;
}

void BM_Document(benchmark::State& state) {
    const int32_t ill = static_cast<int32_t>(state.range(0));
    setUp(ill);
    size_t bytes = 0;
    for (auto _ : state) bytes = writeOne();
    state.counters["documents/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Document)->Arg(1)->Arg(88)->Arg(93)->Arg(95)->Arg(25)->Arg(2)->Arg(1115);

void BM_Reference(benchmark::State& state) {
    setUp(95);
    platform::FileRef probe = platform::FSOpenMemory();
    EPSout(probe, 0);
    const std::string doc = platform::FSMemoryContents(probe);
    platform::FSClose(probe);
    for (auto _ : state) {
        platform::FileRef ref = platform::FSOpenMemory();
        for (char c : doc) {
            int32_t one = 1;
            platform::FSWrite(ref, &one, &c);
        }
        benchmark::DoNotOptimize(platform::FSMemoryContents(ref).size());
        platform::FSClose(ref);
    }
    state.counters["documents/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reference);

}  // namespace
