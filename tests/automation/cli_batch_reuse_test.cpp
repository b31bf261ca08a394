// A record made in a batch writes the same bytes as the record made alone: what
// a batch keeps from record to record (the line's pairs, the label item, the
// file entries and names, the kept glyph and number texts) carries nothing over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_run.h"

namespace {

struct Kind {
    const char* keys;
    const char* ext;
};

// Each unlike the one before: an add-on then none, long data then short, a
// height then the default, EPS then PDF, a matrix symbol among the bars.
constexpr Kind kKinds[] = {
    {R"(type:"EAN 13", data:"400638133393", options:"12345")", ".eps"},
    {R"(type:"Code 128", data:"STRIXEL-A-RATHER-LONG-DATUM-0001", size:"80")", ".eps"},
    {R"(type:"EAN 13", data:"978030640615", height:"30")", ".eps"},
    {R"(type:"Code 128", data:"X")", ".pdf"},
    {R"(type:"QRCode", data:"https://example.com/a")", ".eps"},
    {R"(type:"EAN 13", data:"400638133394")", ".eps"},
};
constexpr size_t kCount = sizeof kKinds / sizeof kKinds[0];

std::string made(const std::string& folder, const std::string& stem, size_t i) {
    return folder + "/" + stem + std::to_string(i) + kKinds[i].ext;
}

TEST(CommandLineBatch, EveryRecordWritesWhatItWritesAlone) {
    const std::string dir = fresh("batch_reuse");
    std::filesystem::create_directories(dir);
    for (size_t i = 0; i < kCount; ++i) {
        const CliRun r = run({record(kKinds[i].keys, made(dir, "alone", i))});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    // Two rounds, so that the second finds everything the first left; records
    // share lines as well as standing alone on theirs.
    std::string input;
    for (const char* round : {"first", "second"}) {
        auto rec = [&](size_t i) { return record(kKinds[i].keys, made(dir, round, i)); };
        input += rec(0) + " " + rec(1) + "\n" + rec(2) + "\n" + rec(3) + " " + rec(4) + " " +
                 rec(5) + "\n";
    }
    const CliRun batch = run({"-"}, input);
    ASSERT_EQ(batch.status, 0) << batch.err;
    for (const char* round : {"first", "second"})
        for (size_t i = 0; i < kCount; ++i) {
            SCOPED_TRACE(std::string(round) + " " + kKinds[i].keys);
            const std::string alone = testsupport::slurp(made(dir, "alone", i));
            ASSERT_FALSE(alone.empty());
            EXPECT_TRUE(testsupport::slurp(made(dir, round, i)) == alone);
        }
}

}  // namespace
