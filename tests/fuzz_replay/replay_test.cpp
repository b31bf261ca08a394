// Replays the committed fuzz corpora through the same entry points that
// libFuzzer drives, under the sanitizers of the test build: every input that
// once found a fault, and the seeds, stay fixed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "../../fuzz/targets/fuzz_common.h"
#include "support/reader.h"

extern "C" int fuzzCrashOneInput(const uint8_t* in, size_t n);
extern "C" int fuzzRoundTripOneInput(const uint8_t* in, size_t n);
extern "C" int fuzzDocumentOneInput(const uint8_t* in, size_t n);
extern "C" int fuzzEpsSettingsOneInput(const uint8_t* in, size_t n);
extern "C" int fuzzSettingsOneInput(const uint8_t* in, size_t n);
extern "C" int fuzzImportOneInput(const uint8_t* in, size_t n);
extern "C" int fuzzRecordsOneInput(const uint8_t* in, size_t n);
extern "C" int fuzzPicturesOneInput(const uint8_t* in, size_t n);

namespace {

namespace fs = std::filesystem;

struct Finding : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An input that runs longer than this hangs or runs away: the replay ends
// with the input's name rather than waiting for the test's own timeout.
constexpr unsigned kMostSecondsAnInput = 120;
char gCurrentInput[512];

// An input that makes the program allocate without bound is a finding too: the
// replay runs under a memory bound. The address sanitizer reserves far more
// address space than it uses, so there the bound is on the resident size (its
// own option, below); elsewhere on the address space.
#if defined(__SANITIZE_ADDRESS__)
#define STRIXEL_REPLAY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STRIXEL_REPLAY_ASAN 1
#endif
#endif
#ifndef STRIXEL_REPLAY_ASAN
constexpr rlim_t kMostReplayBytes = rlim_t{3} << 30;
[[maybe_unused]] const bool gMemoryBounded = [] {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0) return false;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < kMostReplayBytes) return true;
    limit.rlim_cur = kMostReplayBytes;
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}();
#endif

void onOverrun(int) {
    static const char said[] = "\nfuzz replay: an input ran past its time: ";
    (void)!::write(2, said, sizeof said - 1);
    (void)!::write(2, gCurrentInput, std::strlen(gCurrentInput));
    (void)!::write(2, "\n", 1);
    ::_exit(124);
}

std::vector<fs::path> corpus(const std::string& target) {
    std::vector<fs::path> files;
    const fs::path dir = fs::path(STRIXEL_SOURCE_DIR) / "fuzz" / "corpus" / target;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Replays every `shards`-th file from `shard` on, so that a slow corpus runs
// as several tests side by side.
void replay(const std::string& target, int (*entry)(const uint8_t*, size_t), size_t shard = 0,
            size_t shards = 1) {
    const auto files = corpus(target);
    ASSERT_FALSE(files.empty()) << "no corpus for " << target;
    fuzzing::gFailHook = [](const std::string& what) { throw Finding(what); };
    for (size_t k = shard; k < files.size(); k += shards) {
        const fs::path& file = files[k];
        const std::string bytes = testsupport::slurp(file);
        std::snprintf(gCurrentInput, sizeof gCurrentInput, "%s", file.string().c_str());
        ::signal(SIGALRM, onOverrun);
        ::alarm(kMostSecondsAnInput);
        try {
            entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ::alarm(0);
        } catch (const Finding& e) {
            ::alarm(0);
            ADD_FAILURE() << file.filename().string() << ": " << e.what();
            fuzzing::gCurrent = nullptr;
        }
    }
    fuzzing::gFailHook = nullptr;
}

TEST(FuzzReplay, CrashCorpus) { replay("crash", fuzzCrashOneInput); }
TEST(FuzzReplay, RoundTripCorpus) { replay("roundtrip", fuzzRoundTripOneInput); }
TEST(FuzzReplay, EpsSettingsCorpus) { replay("epssettings", fuzzEpsSettingsOneInput); }
TEST(FuzzReplay, SettingsCorpus) { replay("settings", fuzzSettingsOneInput); }
TEST(FuzzReplay, ImportCorpus) { replay("import", fuzzImportOneInput); }
TEST(FuzzReplay, RecordsCorpus) { replay("records", fuzzRecordsOneInput); }
TEST(FuzzReplay, PicturesCorpus) { replay("pictures", fuzzPicturesOneInput); }
// Each document is written in nine dialects: the slowest corpus by far.
constexpr size_t kDocumentShards = 6;
struct DocumentReplay : ::testing::TestWithParam<size_t> {};
TEST_P(DocumentReplay, DocumentCorpus) {
    replay("document", fuzzDocumentOneInput, GetParam(), kDocumentShards);
}
INSTANTIATE_TEST_SUITE_P(FuzzReplay, DocumentReplay, ::testing::Range<size_t>(0, kDocumentShards));

}  // namespace

#ifdef STRIXEL_REPLAY_ASAN
// The replay's memory bound under the address sanitizer: 3 GiB resident.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return "hard_rss_limit_mb=3072";
}
#endif
