// Small EAN has no bars: its seven digits and check digit stand in two groups of
// four under an open frame. No reader reads it, so its line is checked as ink:
// eight glyphs, the wider gap between the groups, all of it inside the box.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "cli_run.h"

namespace {

using testsupport::Bitmap;

constexpr int kDpi = 300;
constexpr uint8_t kInk = 128;

bool inkAt(const Bitmap& b, int x, int y) { return b.at(x, y) < kInk; }

// Rows [top, bottom) of the rows that hold ink.
std::pair<int, int> inkRows(const Bitmap& b) {
    int top = -1, bottom = -1;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (inkAt(b, x, y)) {
                if (top < 0) top = y;
                bottom = y + 1;
                break;
            }
    return {top, bottom};
}

// Runs of columns with ink between rows top and bottom: the glyphs of a line.
// A gap narrower than a 70th of the line lies within a glyph's foot.
std::vector<std::pair<int, int>> inkColumnRuns(const Bitmap& b, int top, int bottom) {
    std::vector<std::pair<int, int>> runs;
    bool in = false;
    for (int x = 0; x < b.width; ++x) {
        bool ink = false;
        for (int y = top; y < bottom && !ink; ++y) ink = inkAt(b, x, y);
        if (ink && !in) runs.push_back({x, x + 1});
        if (ink) runs.back().second = x + 1;
        in = ink;
    }
    if (runs.empty()) return runs;
    const int least = (runs.back().second - runs.front().first) / 70;
    std::vector<std::pair<int, int>> glyphs{runs.front()};
    for (size_t i = 1; i < runs.size(); ++i) {
        if (runs[i].first - glyphs.back().second <= least)
            glyphs.back().second = runs[i].second;
        else
            glyphs.push_back(runs[i]);
    }
    return glyphs;
}

Bitmap rendered(const std::string& path) {
    Bitmap b;
    if (path.ends_with(".tif")) {
        const std::string pgm = path + ".pgm";
        testsupport::runCommand("convert '" + path + "' '" + pgm + "'");
        EXPECT_TRUE(testsupport::readPGM(pgm, &b)) << path;
        return b;
    }
    const testsupport::Rendered r =
        testsupport::renderWithGhostscript(path, kDpi, path.ends_with(".eps"));
    EXPECT_TRUE(r.ok) << r.err;
    return r.bitmap;
}

TEST(SmallEan, EveryOutputShowsItsEightDigitsInTwoGroups) {
    for (const char* ext : {".eps", ".pdf", ".tif"}) {
        SCOPED_TRACE(ext);
        const std::string path = fresh(std::string("small") + ext);
        const CliRun r = run({record(R"(type:"Small EAN", data:"1234567")", path)});
        ASSERT_EQ(r.status, 0) << r.err;
        const Bitmap b = rendered(path);
        const auto [top, bottom] = inkRows(b);
        ASSERT_GT(bottom, top);
        // The frame's sides reach down to half the height; the digits' feet stand
        // below them.
        const int band = top + (bottom - top) * 3 / 5;
        const auto glyphs = inkColumnRuns(b, band, bottom);
        ASSERT_EQ(glyphs.size(), 8u);
        int widestGap = 0, widestAt = 0;
        for (size_t i = 1; i < glyphs.size(); ++i) {
            const int gap = glyphs[i].first - glyphs[i - 1].second;
            if (gap > widestGap) widestGap = gap, widestAt = static_cast<int>(i);
        }
        EXPECT_EQ(widestAt, 4);
        // The frame spans the line: its top runs over every digit.
        const auto frame = inkColumnRuns(b, top, top + 2);
        ASSERT_FALSE(frame.empty());
        EXPECT_LE(frame.front().first, glyphs.front().first);
        EXPECT_GE(frame.back().second, glyphs.back().second);
    }
}

TEST(SmallEan, ItsBoxHoldsAllItsInk) {
    const std::string path = fresh("small-box.eps");
    ASSERT_EQ(run({record(R"(type:"Small EAN", data:"7654321", size:"150")", path)}).status, 0);
    std::smatch m;
    const std::string eps = testsupport::slurp(path);
    ASSERT_TRUE(std::regex_search(eps, m, std::regex(R"(%%BoundingBox: (\d+) (\d+) (\d+) (\d+))")));
    double llx = 0, lly = 0, urx = 0, ury = 0;
    ASSERT_TRUE(testsupport::inkBoundingBox(path, &llx, &lly, &urx, &ury));
    EXPECT_GE(llx, std::stod(m[1]));
    EXPECT_GE(lly, std::stod(m[2]));
    EXPECT_LE(urx, std::stod(m[3]));
    EXPECT_LE(ury, std::stod(m[4]));
    // The digits fill the box: it is not the width of the three separators alone.
    EXPECT_GT(urx - llx, 0.8 * (std::stod(m[3]) - std::stod(m[1])));
}

}  // namespace
