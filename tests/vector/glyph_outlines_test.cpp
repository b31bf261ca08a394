#include <gtest/gtest.h>

#include <string>

#include "platform/glyph_outlines.h"

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
    // Characters with counters keep them, so the counters stay unpainted.
    struct Want {
        GlyphSet set;
        unsigned char ch;
        int contours;
    } wants[] = {
        {GlyphSet::Main, '0', 2},    {GlyphSet::Main, '6', 2},
        {GlyphSet::Main, '8', 3},    {GlyphSet::Main, '9', 2},
        {GlyphSet::Main, '1', 1},    {GlyphSet::Main, 'B', 3},
        {GlyphSet::Main, 'R', 2},    {GlyphSet::Main, ']', 3},
        {GlyphSet::Main, 174, 2},  // the bar font's B
        {GlyphSet::Main, 175, 1},    {GlyphSet::Main, 178, 2},
        {GlyphSet::Main, 180, 2},    {GlyphSet::Main, 182, 3},
        {GlyphSet::Main, 183, 2},    {GlyphSet::Main, '&', 3},
        {GlyphSet::Header, '0', 2},  {GlyphSet::Header, '6', 2},
        {GlyphSet::Header, '8', 3},  {GlyphSet::Header, 'B', 3},
        {GlyphSet::Header, 'X', 1},  {GlyphSet::Peacock, 'P', 2},
        {GlyphSet::Peacock, 'S', 1},
    };
    for (const Want& w : wants) {
        SCOPED_TRACE(std::string(1, static_cast<char>(w.ch)));
        const glyphs::GlyphOutline* g = glyphs::findOutline(w.set, w.ch);
        ASSERT_NE(g, nullptr);
        Box b = measure(*g);
        EXPECT_TRUE(b.closed);
        EXPECT_EQ(b.contours, w.contours);
    }
    for (unsigned char d = '0'; d <= '9'; ++d) {
        Box b = measure(*glyphs::findOutline(GlyphSet::Main, d));
        EXPECT_GE(b.minY, 450);
        EXPECT_LE(b.maxY, 6200);
        Box h = measure(*glyphs::findOutline(GlyphSet::Header, d));
        EXPECT_GE(h.minY, -20);
        EXPECT_LE(h.maxY, 880);
    }
    for (const char* chars : {"<>-BLMRSTW%(&'[]\\`N^_"})
        for (const char* c = chars; *c; ++c)
            EXPECT_NE(glyphs::findOutline(GlyphSet::Main, static_cast<unsigned char>(*c)), nullptr)
                << *c;
    EXPECT_EQ(glyphs::findOutline(GlyphSet::Main, 'A'), nullptr);
    EXPECT_EQ(glyphs::findOutline(GlyphSet::Header, 'A'), nullptr);
}

TEST(GlyphOutlines, TheClassicShapesStandAsDrawn) {
    const glyphs::GlyphOutline* one = glyphs::findOutline(GlyphSet::Main, 175);
    const int32_t want[] = {0,   2904, 5879, 1,    2904, 584,  1,    1732,
                            584, 1,    1732, 5879, 1,    2904, 5879, 3};
    ASSERT_EQ(one->count, sizeof want / sizeof want[0]);
    for (size_t i = 0; i < one->count; ++i) EXPECT_EQ(one->ops[i], want[i]);
    const glyphs::GlyphOutline* zero = glyphs::findOutline(GlyphSet::Header, '0');
    EXPECT_EQ(zero->ops[1], 589);
    EXPECT_EQ(zero->ops[2], 63);
}

}  // namespace
