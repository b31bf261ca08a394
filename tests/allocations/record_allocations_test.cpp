// Heap allocations a command-line record costs once the batch is warm. This
// program replaces the global operator new and delete to count every
// allocation, so it is a test program of its own: its count must not leak into
// other tests.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <sstream>
#include <string>

#include "automation/cli.h"
#include "support/reader.h"

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t n) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kWarmUp = 50;     // records that fill the caches and grow the buffers
constexpr int kRecords = 1000;  // the steady-state records counted
// A warm record makes no heap allocation: its pairs, label item, file names and
// write buffer reuse the storage of the record before. A few over the whole
// run leave room for a buffer that grows now and then; one a record means a
// new per-record allocation crept in.
constexpr long kMostOverTheRecords = kRecords / 100;

// Records of the same shape, each a different symbol, all saving to one file
// so the file names do not grow with the count.
std::string records(const char* type, const char* format, int count, const std::string& saveto) {
    std::string text;
    char data[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(data, sizeof data, format, i);
        text += "{type:\"";
        text += type;
        text += "\", data:\"";
        text += data;
        text += "\", saveto:\"" + saveto + "\"}\n";
    }
    return text;
}

// Allocations one in-process command-line run over `input` makes, all of it
// counted: set-up, the records and the tear-down.
long allocationsOfRun(const std::string& input) {
    const char* argv[] = {"strixel", "--dialect=ai3", "-"};
    std::istringstream in(input);
    std::ostringstream out, err;
    const long before = gAllocations.load();
    const int status = runCommandLine(3, argv, in, out, err);
    const long made = gAllocations.load() - before;
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_TRUE(err.str().empty()) << err.str();
    return made;
}

TEST(RecordAllocations, CountingAllocatorSeesAllocations) {
    // The replacement is the one in use: a plain new is counted.
    const long before = gAllocations.load();
    auto* p = new std::string(100, 'x');
    delete p;
    EXPECT_GE(gAllocations.load() - before, 2);
}

// The allocations of kRecords warm records of `type`, their data made from `format`.
long overWarmRecords(const char* type, const char* format) {
    const std::string path = testsupport::tempPath("record_allocations.eps");
    std::filesystem::remove(path);
    const std::string warm = records(type, format, kWarmUp, path);
    const std::string full = records(type, format, kWarmUp + kRecords, path);
    allocationsOfRun(warm);  // first use of fonts, tables and the like
    // The same set-up and tear-down in both runs: the difference is the
    // steady-state records alone.
    const long warmOnly = allocationsOfRun(warm);
    const long withRecords = allocationsOfRun(full);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_GE(withRecords, warmOnly);
    std::printf("allocations of %d warm %s EPS records: %ld\n", kRecords, type,
                withRecords - warmOnly);
    return withRecords - warmOnly;
}

TEST(RecordAllocations, WarmEpsRecordsStayUnderTheirBound) {
    EXPECT_LE(overWarmRecords("Code 128", "STX%06d"), kMostOverTheRecords);
    EXPECT_LE(overWarmRecords("EAN 13", "400638%06d"), kMostOverTheRecords);
}

}  // namespace
