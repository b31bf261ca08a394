#include <gtest/gtest.h>

#include <string>

#include "platform/glyph_outlines.h"
#include "support/cases.h"

namespace {

using glyphs::GlyphSet;

struct Box {
    int32_t minY = 1 << 30, maxY = -(1 << 30), contours = 0;
    bool closed = true;
};

Box measure(const glyphs::GlyphOutline& g) {
    Box b;
    size_t i = 0;
    bool open = false;
    while (i < g.count) {
        int32_t op = g.ops[i];
        size_t args = op == 2 ? 6 : op == 3 ? 0 : 2;
        if (op == 0) {
            if (open) b.closed = false;
            open = true;
            ++b.contours;
        }
        if (op == 3) open = false;
        for (size_t k = 1; k < args; k += 2) {
            b.minY = std::min(b.minY, g.ops[i + 1 + k]);
            b.maxY = std::max(b.maxY, g.ops[i + 1 + k]);
        }
        i += 1 + args;
    }
    if (open) b.closed = false;
    return b;
}

TEST(GlyphOutlines, CoverageCountersAndHeights) {
    // Characters with counters keep them, so the counters stay unpainted:
    // "set byte contours" a line, the set Main, Header or Peacock.
    for (const testsupport::CaseLine& c : testsupport::readCases("vector/glyph_contours.txt", 3)) {
        SCOPED_TRACE(c.where);
        const GlyphSet s = c[0] == "Main"     ? GlyphSet::Main
                           : c[0] == "Header" ? GlyphSet::Header
                                              : GlyphSet::Peacock;
        const glyphs::GlyphOutline* g =
            glyphs::findOutline(s, static_cast<unsigned char>(c.integer(1)));
        ASSERT_NE(g, nullptr);
        const Box b = measure(*g);
        EXPECT_TRUE(b.closed);
        EXPECT_EQ(b.contours, c.integer(2));
    }
    for (unsigned char d = '0'; d <= '9'; ++d) {
        Box b = measure(*glyphs::findOutline(GlyphSet::Main, d));
        EXPECT_GE(b.minY, 450);
        EXPECT_LE(b.maxY, 6200);
        Box h = measure(*glyphs::findOutline(GlyphSet::Header, d));
        EXPECT_GE(h.minY, -20);
        EXPECT_LE(h.maxY, 880);
    }
    for (const char* c = "<>-BLMRSTW%(&'[]\\`N^_"; *c; ++c)
        EXPECT_NE(glyphs::findOutline(GlyphSet::Main, static_cast<unsigned char>(*c)), nullptr)
            << *c;
    EXPECT_EQ(glyphs::findOutline(GlyphSet::Main, 'A'), nullptr);
    EXPECT_EQ(glyphs::findOutline(GlyphSet::Header, 'A'), nullptr);
}

}  // namespace
