// The fonts found by one run serve the next, and a cache that does not fit the
// machine any more is never believed: each run below must write the same file as
// a run that asks the font configuration.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fontcache.h"
#include "support/reader.h"

namespace fs = std::filesystem;

namespace {

// Code 128's text line is measured in Helvetica: a run that needs a font.
constexpr char kRecord[] = R"('{type:"Code 128", data:"STRIXEL-100000", saveto:"%s"}')";

struct FontCacheRuns : ::testing::Test {
    std::string cacheHome = testsupport::freshFolder("cache");
    std::string cacheFile = cacheHome + "/strixel/fonts";

    // The PDF one run writes, with the cache folder given.
    std::string make(const std::string& name) {
        const std::string pdf = testsupport::tempPath(name);
        char record[256];
        std::snprintf(record, sizeof record, kRecord, pdf.c_str());
        const testsupport::RunResult r = testsupport::runCommand("XDG_CACHE_HOME='" + cacheHome +
                                                                 "' " STRIXEL_BINARY " " + record);
        EXPECT_EQ(r.status, 0) << r.err;
        return testsupport::slurp(pdf);
    }

    void overwriteCache(const std::string& text) {
        std::ofstream(cacheFile, std::ios::trunc) << text;
    }
    std::string lines(int from) {
        std::ifstream in(cacheFile);
        std::string line, rest;
        for (int i = 0; std::getline(in, line); ++i)
            if (i >= from) rest += line + "\n";
        return rest;
    }
};

TEST_F(FontCacheRuns, ARunRemembersItsFontsAndTheNextWritesTheSame) {
    const std::string cold = make("cold.pdf");
    ASSERT_TRUE(fs::exists(cacheFile));
    EXPECT_NE(lines(2).find("Helvetica\t0\t/"), std::string::npos) << lines(0);
    EXPECT_EQ(make("warm.pdf"), cold);
}

TEST_F(FontCacheRuns, ACacheThatNoLongerFitsIsNotBelieved) {
    const std::string cold = make("cold.pdf");
    const std::string all = lines(0);
    const std::string header = all.substr(0, all.find('\n') + 1);
    const std::string signature = lines(1).substr(0, lines(1).find('\n') + 1);
    const std::string entries = lines(2);
    // Another installed face in Helvetica's place: believed while the signature
    // fits (the cache answers), passed over once it does not.
    std::string other = entries;
    const size_t at = other.find("Regular");
    ASSERT_NE(at, std::string::npos) << entries;
    other.replace(at, 7, "Bold");
    ASSERT_TRUE(fs::exists(other.substr(other.find('/'), other.find('\n') - other.find('/'))));
    overwriteCache(header + signature + other);
    EXPECT_NE(make("believed.pdf"), cold);
    // A signature of other font folders, a font file that is gone, damaged lines
    // and a file of no cache at all: each run measures as the first did.
    for (const std::string& text :
         {header + "1;2;3;\n" + other, header + signature + "0 Helvetica\t0\t/nonexistent.otf\n",
          header + "\n\t\t\t\n0 Helvetica\tx\n", std::string("not a cache\n"), std::string()}) {
        overwriteCache(text);
        EXPECT_EQ(make("again.pdf"), cold) << text;
    }
    // The last run put a whole cache back.
    EXPECT_EQ(lines(2), entries);
}

TEST(FontCachePath, FollowsTheCacheFolderOfTheUser) {
    const char* keep = std::getenv("XDG_CACHE_HOME");
    const std::string kept = keep ? keep : "";
    setenv("XDG_CACHE_HOME", "/tmp/some-cache", 1);
    EXPECT_EQ(platform::fontCachePath(), "/tmp/some-cache/strixel/fonts");
    // A relative folder counts as unset.
    setenv("XDG_CACHE_HOME", "relative", 1);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        EXPECT_EQ(platform::fontCachePath(), std::string(home) + "/.cache/strixel/fonts");
    }
    if (keep) {
        setenv("XDG_CACHE_HOME", kept.c_str(), 1);
    } else {
        unsetenv("XDG_CACHE_HOME");
    }
}

}  // namespace
