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

struct Layout {
    const char* name;
    SymbolSpec spec;
    const char* groups;  // the line's groups of glyphs, marks included; nullptr: not checked
};

const Layout kLayouts[] = {
    {"EAN-UCC 13", {0, 0, "501234567890", ""}, "1-6-6-1"},
    {"Littlewoods", {0, 1, "501234567890", ""}, "1-6-6-1"},
    {"Orvane 13", {0, 2, "501234567890", ""}, "1-6-6-1"},
    {"Debenhams", {0, 3, "501234567890", ""}, "1-4-3-2"},
    {"WPC 13", {0, 4, "501234567890", ""}, nullptr},
    {"JAN 13", {0, 5, "501234567890", ""}, nullptr},
    {"Halfords", {0, 6, "12345", ""}, nullptr},
    {"Coty 5", {0, 7, "501234567890", ""}, nullptr},
    {"Coty 6", {0, 8, "501234567890", ""}, nullptr},
    {"CADW", {0, 9, "501234567890", ""}, "1-6-6-1"},
    {"Coty 6-2", {0, 10, "501234567890", ""}, nullptr},
    {"EAN Text Above", {0, 11, "501234567890", ""}, nullptr},
    {"Peacocks EAN 13", {0, 12, "12345678", ""}, "6-7"},
    {"EAN 13 Text Below Addon", {0, 255, "501234567890", ""}, nullptr},
    {"EAN Presscode 414", {0, 256, "501234567890", ""}, nullptr},
    {"EAN Presscode 419", {0, 257, "501234567890", ""}, nullptr},
    {"EAN-UCC 13 add-on 5", {0, 0, "501234567890", "52495"}, nullptr},
    {"Orvane 13 add-on 2", {0, 2, "501234567890", "34"}, nullptr},
    {"Text Below Addon 5", {0, 255, "501234567890", "52495"}, nullptr},
    {"ISBN", {1, 0, "080442957", ""}, nullptr},
    {"ISBN Type K", {1, 1, "080442957", ""}, nullptr},
    {"ISMN", {1, 2, "979034567890", ""}, nullptr},
    {"ISBN-13", {1, 3, "978030640615", ""}, nullptr},
    {"ISBN-13-10", {1, 4, "080442957", ""}, nullptr},
    {"ISSN", {2, 0, "0317847", ""}, nullptr},
    {"ISSN No Text", {2, 1, "0317847", ""}, nullptr},
    {"ISSN Text Below Addon", {2, 255, "0317847", ""}, nullptr},
    {"EAN-UCC 8", {3, 0, "5512345", ""}, "1-4-4-1"},
    {"WHS 6", {3, 1, "12345", ""}, "1-2-4-1"},
    {"Wickes 8", {3, 2, "5512345", ""}, nullptr},
    {"Woolworth 8", {3, 3, "5512345", ""}, nullptr},
    {"ASDA 8", {3, 4, "5512345", "12"}, nullptr},
    {"WPC 8", {3, 5, "5512345", ""}, nullptr},
    {"JAN 8", {3, 6, "5512345", ""}, nullptr},
    {"Peacocks EAN 8", {3, 7, "5512345", ""}, nullptr},
    {"Primark 7", {3, 8, "5512345", ""}, "1-7-1"},
    {"UPC-A", {10, 0, "01234567890", ""}, "1-5-5-1"},
    {"GAP", {10, 2, "01234567890", ""}, "1-5-5-1"},
    {"NDC 5-3-2", {10, 3, "1234567890", ""}, nullptr},
    {"NDC 4-4-2", {10, 4, "1234567890", ""}, nullptr},
    {"NDC 5-5", {10, 5, "1234567890", ""}, nullptr},
    {"NDC 5-5 Alt", {10, 6, "1234567890", ""}, nullptr},
    {"UPC-A add-on 2", {10, 0, "01234567890", "34"}, nullptr},
    {"UPC E", {11, 0, "01234000005", ""}, "1-6-1"},
    {"MS 7A", {16, 0, "1234567", ""}, "1-4-3-1"},
    {"MS 7B", {16, 1, "1234567", ""}, nullptr},
    {"MS 7C", {16, 3, "1234567", ""}, nullptr},
    {"MS 8A", {16, 5, "1234567", ""}, nullptr},
    {"MS 8B", {16, 6, "1234567", ""}, nullptr},
    {"MS 8C", {16, 7, "1234567", ""}, nullptr},
    {"MC", {25, 0, "501234567890", ""}, "6-7"},
    {"Plus Code", {26, 0, "501234567890", ""}, nullptr},
};

TEST(RetailTextLine, GlyphsKeepClearOfEachOtherAndOfTheBars) {
    for (const Layout& l : kLayouts) {
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
        if (l.groups != nullptr) {
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
