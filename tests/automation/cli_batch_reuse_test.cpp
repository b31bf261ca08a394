// A record made in a batch writes the same bytes as the record made alone: what
// a batch keeps from record to record (the line's pairs, the label item, the
// file entries and names, the kept glyph and number texts) carries nothing over.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli_run.h"

namespace {

struct Kind {
    const char* keys;
    const char* ext;
};

// Each unlike the one before: an add-on then none, long data then short, a
// height then the default, EPS then PDF, a matrix symbol among the bars, the
// same digits in another colour and then as PDF.
constexpr Kind kKinds[] = {
    {R"(type:"EAN 13", data:"400638133393", options:"12345")", ".eps"},
    {R"(type:"Code 128", data:"STRIXEL-A-RATHER-LONG-DATUM-0001", size:"80")", ".eps"},
    {R"(type:"EAN 13", data:"978030640615", height:"30")", ".eps"},
    {R"(type:"Code 128", data:"X")", ".pdf"},
    {R"(type:"QRCode", data:"https://example.com/a")", ".eps"},
    {R"(type:"EAN 13", data:"400638133394")", ".eps"},
    {R"(type:"EAN 13", data:"400638133394", colour:"10 20 30 60")", ".eps"},
    {R"(type:"EAN 13", data:"400638133394")", ".pdf"},
};
constexpr size_t kCount = sizeof kKinds / sizeof kKinds[0];

// Where record i goes; an EPS dialect writes no PDF.
std::string made(const std::string& folder, const std::string& stem, size_t i, bool eps) {
    return folder + "/" + stem + std::to_string(i) + (eps ? ".eps" : kKinds[i].ext);
}

// The default dialect, and the old one whose glyph counters are painted white
// and the fill colour set again after each.
TEST(CommandLineBatch, EveryRecordWritesWhatItWritesAlone) {
    for (const char* dialect : {"", "--dialect=ai88"}) {
        SCOPED_TRACE(dialect);
        const bool eps = dialect[0] != 0;
        const std::string dir = fresh(std::string("batch_reuse") + (eps ? "_ai88" : ""));
        std::filesystem::create_directories(dir);
        auto args = [&](std::vector<std::string> more) {
            if (eps) more.insert(more.begin(), dialect);
            return more;
        };
        // Alone: a program of its own for each record, so that nothing kept by an
        // earlier one can be there.
        for (size_t i = 0; i < kCount; ++i) {
            const std::string command = std::string("\"") + STRIXEL_BINARY + "\" " + dialect +
                                        " '" + record(kKinds[i].keys, made(dir, "alone", i, eps)) +
                                        "'";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        }
        // Two rounds, so that the second finds everything the first left; records
        // share lines as well as standing alone on theirs.
        std::string input;
        for (const char* round : {"first", "second"}) {
            auto rec = [&](size_t i) { return record(kKinds[i].keys, made(dir, round, i, eps)); };
            input += rec(0) + " " + rec(1) + "\n" + rec(2) + "\n" + rec(3) + " " + rec(4) + " " +
                     rec(5) + "\n" + rec(6) + " " + rec(7) + "\n";
        }
        const CliRun batch = run(args({"-"}), input);
        ASSERT_EQ(batch.status, 0) << batch.err;
        for (const char* round : {"first", "second"})
            for (size_t i = 0; i < kCount; ++i) {
                SCOPED_TRACE(std::string(round) + " " + kKinds[i].keys);
                const std::string alone = testsupport::slurp(made(dir, "alone", i, eps));
                ASSERT_FALSE(alone.empty());
                EXPECT_TRUE(testsupport::slurp(made(dir, round, i, eps)) == alone);
            }
    }
}

}  // namespace
