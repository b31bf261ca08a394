// The human-readable line of every EAN and UPC layout: the glyphs keep clear of
// one another and of the bars. Ink boxes come from Ghostscript: each filled path
// of the page is rebuilt in PostScript and measured flattened.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "paint_fixture.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/info.h"
#include "symbology/state.h"

using namespace painttest;

namespace {

struct Box {
    double x0, y0, x1, y1;
};

bool overlap(const Box& a, const Box& b) {
    constexpr double kSlack = 0.01;  // points: boxes that only touch do not collide
    return a.x0 < b.x1 - kSlack && b.x0 < a.x1 - kSlack && a.y0 < b.y1 - kSlack &&
           b.y0 < a.y1 - kSlack;
}

// The filled paths of a PDF page, in order, as PostScript paths measured by
// Ghostscript; rectangles (five straight points) stand apart from outlines.
struct PagePaths {
    std::vector<Box> bars;
    std::vector<Box> glyphs;
};

// A bar reaches higher than any glyph: more than 15 points between its corners.
bool tall(const std::string& path) {
    std::istringstream in(path);
    double lo = 1e9, hi = -1e9, x = 0, y = 0;
    std::string op;
    while (in >> x >> y >> op) {
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
    return hi - lo > 15;
}

PagePaths measure(const std::string& pdf) {
    std::istringstream in(pdf);
    std::string line, ps, path, font, origin;
    std::vector<bool> rect;
    int points = 0;
    bool curved = false;
    while (std::getline(in, line, '\r')) {
        if (line.empty()) continue;
        const char op = line.back();
        if (line.size() > 2 && line[line.size() - 2] == ' ' &&
            (op == 'm' || op == 'l' || op == 'c' || op == 'h')) {
            static const char* const kOps[] = {"moveto", "lineto", "curveto", "closepath"};
            const int k = op == 'm' ? 0 : op == 'l' ? 1 : op == 'c' ? 2 : 3;
            path += line.substr(0, line.size() - 1) + kOps[k] + "\n";
            ++points;
            curved |= op != 'm' && op != 'l';
        } else if (line.size() > 3 && line.compare(line.size() - 3, 3, " Tf") == 0) {
            font = line.substr(0, line.size() - 3);  // "/Name size"
        } else if (line.size() > 3 && line.compare(line.size() - 3, 3, " Tm") == 0) {
            origin = line.substr(line.find(' ', line.find(' ', 4) + 1) + 1);
            origin.resize(origin.size() - 3);  // "x y"
        } else if (line.size() > 3 && line.compare(line.size() - 3, 3, " Tj") == 0) {
            // A character of a font: its outline where the text matrix puts it.
            ps += font + " selectfont newpath " + origin + " moveto " +
                  line.substr(0, line.size() - 3) +
                  " false charpath flattenpath pathbbox 4 array astore ==\n";
            rect.push_back(false);
        } else if ((line == "f" || line == "f*") && !path.empty()) {
            ps += "newpath\n" + path + "flattenpath pathbbox 4 array astore ==\n";
            rect.push_back(points == 5 && !curved && tall(path));
            path.clear();
            points = 0;
            curved = false;
        }
    }
    const std::string file = testsupport::tempPath("paths.ps");
    FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) return {};
    std::fwrite(ps.data(), 1, ps.size(), f);
    std::fclose(f);
    const testsupport::RunResult r =
        testsupport::runCommand("gs -q -dNODISPLAY -dBATCH -dNOPAUSE " + file);
    EXPECT_EQ(r.status, 0) << r.err;
    PagePaths out;
    std::istringstream boxes(r.out);
    size_t k = 0;
    for (std::string b; std::getline(boxes, b) && k < rect.size(); ++k) {
        Box box{};
        if (std::sscanf(b.c_str(), "[%lf %lf %lf %lf]", &box.x0, &box.y0, &box.x1, &box.y1) != 4)
            continue;
        if (k == 0) continue;  // the white ground of the item
        (rect[k] ? out.bars : out.glyphs).push_back(box);
    }
    return out;
}

// The glyphs of a line in groups, as the counts of glyphs between wider gaps:
// "1-6-6". Neighbours whose centres stand more than 1.3 advances apart (the
// closest pair of centres taken as the advance) start a new group.
std::string groups(const std::vector<Box>& line) {
    if (line.empty()) return "";
    double step = 1e9;
    for (size_t i = 1; i < line.size(); ++i)
        step = std::min(step, (line[i].x0 + line[i].x1 - line[i - 1].x0 - line[i - 1].x1) / 2);
    std::string out;
    int count = 1;
    for (size_t i = 1; i < line.size(); ++i) {
        const double d = (line[i].x0 + line[i].x1 - line[i - 1].x0 - line[i - 1].x1) / 2;
        if (d > 1.3 * step) {
            out += std::to_string(count) + "-";
            count = 0;
        }
        ++count;
    }
    return out + std::to_string(count);
}

// "name|code|variation|data|add-on|groups" a line: the layouts of every EAN and
// UPC text line, and the groups of glyphs where the layout is worth pinning.
struct Layout {
    std::string name;
    SymbolSpec spec;
    std::string groups;
};

std::vector<Layout> layouts() {
    std::vector<Layout> out;
    // Field by field: GCC 12 at -O2 warns falsely about the temporaries of a
    // braced initialiser here.
    for (const testsupport::CaseLine& f : testsupport::readCases("vector/retail_layouts.txt", 6)) {
        Layout& l = out.emplace_back();
        l.name = f[0];
        l.spec.code = f.integer(1);
        l.spec.variation = f.integer(2);
        l.spec.data = f[3];
        l.spec.addOn = f[4];
        l.groups = f[5];
    }
    return out;
}

TEST(RetailTextLine, GlyphsKeepClearOfEachOtherAndOfTheBars) {
    const std::vector<Layout> all = layouts();
    ASSERT_GT(all.size(), 40u);
    for (const Layout& l : all) {
        SCOPED_TRACE(l.name);
        const PagePaths p = measure(writeSymbol(l.spec, 1115));
        ASSERT_FALSE(p.glyphs.empty());
        std::string clash;
        double barTop = 0;
        for (const Box& b : p.bars) barTop = std::max(barTop, b.y1);
        std::vector<Box> line;  // the header above the bars is not the text line
        std::vector<Box> tall;  // the digits and marks, no hyphen or rule
        for (const Box& g : p.glyphs)
            if (g.y1 < barTop) line.push_back(g);
        for (const Box& g : line)
            if (g.y1 - g.y0 > 3) tall.push_back(g);
        std::sort(tall.begin(), tall.end(), [](const Box& a, const Box& b) { return a.x0 < b.x0; });
        if (!l.groups.empty()) {
            EXPECT_EQ(groups(tall), l.groups);
        }
        for (size_t i = 0; i < line.size(); ++i) {
            const Box& g = line[i];
            for (size_t j = i + 1; j < line.size(); ++j)
                if (overlap(g, line[j]))
                    clash += " glyphs " + std::to_string(i) + "+" + std::to_string(j);
            for (const Box& b : p.bars)
                if (overlap(g, b))
                    clash += " glyph " + std::to_string(i) + " [" + std::to_string(g.x0) + ".." +
                             std::to_string(g.x1) + " up to " + std::to_string(g.y1) + "] on bar " +
                             std::to_string(b.x0) + ".." + std::to_string(b.x1) + " from " +
                             std::to_string(b.y0);
        }
        EXPECT_EQ(clash, "");
    }
}

}  // namespace
