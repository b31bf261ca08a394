#include <cstring>
#include <map>
#include <string>
#include <tuple>

#include "vector_fixture.h"

namespace {

struct Blocks : VectorTest {};

std::string padded(const char* digits, int32_t n) {
    unsigned char s[256];
    pstrSet(s, digits);
    padToLen(s, n);
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

TEST_F(Blocks, PadToLenKeepsTheSignInFront) {
    EXPECT_EQ(padded("-5", 6), "-00005");
    EXPECT_EQ(padded("1234567", 6), "1234567");
    EXPECT_EQ(padded("", 3), "000");
    EXPECT_EQ(padded("7", 300).size(), 255u);  // a Pascal string holds no more
}

TEST_F(Blocks, BarsAndModulesMatchTheirGoldenText) {
    expectGoldens(*this,
                  {
                      // EAN-13 at 26 mm: ordinary bars stop 22.85 mm below the top...
                      {"bar.ean", 95,
                       [] {
                           gSym.code = 0;
                           gSym.Hei = 26;
                           DrawBlock(1000000, 33000, 10, 0, 0, 0, 0, 10, 5, 0);
                           EXPECT_DOUBLE_EQ(gSym.cuHei, 22.85);
                       }},
                      // ...guard bars (with a drop) reach down to the text.
                      {"bar.ean.guard", 95,
                       [] {
                           gSym.code = 0;
                           gSym.Hei = 26;
                           DrawBlock(1000000, 33000, 10, 0, 0, 5, 0, 10, 5, 0);
                       }},
                      // A header line lowers the top by 1.2 T; x from trunc(inset).
                      {"bar.header", 1115,
                       [] {
                           gSym.code = 1;
                           gSym.Hei = 20;
                           gBlock.gxyy = 0.5;
                           DrawBlock(0, 100000, 10, 2.7, 0, 3, 1, 30, 0, 4);
                       }},
                      // The outline has no default-height rule; its bottom is on whole points.
                      {"bar.outline", 88,
                       [] {
                           gSym.code = 0;
                           gSym.Hei = 26;
                           DrawBlockg(0, 33000, 10, 0.6, 0, 0.4, 0, 10, 0, 0);
                       }},
                      {"fourstate.95", 95,
                       [] { DrawMultiLineBlock(50000, 33000, 10, 0, 10, 2, 5, 20, 0, 0); }},
                      // Every rectangle of PDF ends with its own paint operator.
                      {"fourstate.1115", 1115,
                       [] {
                           DrawMultiLineBlock(123456789, 33000, 10, 1, 10, 2, 5, 20, 2, 0);
                           DrawMultiLineBlockg(0, 33000, 10, 0, 10, 2, 5, 20, 0, 0);
                       }},
                      // rlineto takes the step to the next corner, not the corner itself.
                      {"type3", 2,
                       [] {
                           DrawBlock2(0, 100000, 10, 2, 0, 0, 50.5, 47.5, 3, 1);
                           DrawMultiLineBlock(50000, 33000, 10, 0, 10, 2, 5, 20, 0, 0);
                       }},
                      // Row runs; zero width or height write nothing; a module square.
                      {"rows.93", 93,
                       [] {
                           DrawBlock2(0, 100000, 10, 2, 0, 0, 50.5, 47.5, 3, 1);
                           DrawBlock2(0, 0, 10, 2, 0, 0, 50.5, 47.5, 3, 1);
                           DrawBlock2(0, 100000, 10, 0, 0, 0, 47.5, 47.5, 3, 0);
                           Draw2DBlock(100000, 50000, 25000, 2, 1000000, 0, 1, 0);
                       }},
                  });
}

TEST_F(Blocks, ABarWrittenAgainComesOutAsTheFirstTime) {
    // The same bars in turn in three dialects, filled and stroked: each comes out
    // as it did the first time, whatever was written between.
    std::map<std::tuple<int32_t, int, int32_t>, std::string> first;
    for (int round = 0; round < 3; ++round)
        for (int32_t ill : {95, 1115, 88})
            for (int stroked = 0; stroked < 2; ++stroked)
                for (int32_t x : {0, 33000, 99000}) {
                    dialect(ill);
                    if (stroked == 0)
                        DrawBlock(x, 33000, 10, 0, 0, 0, 0, 10, 5, 0);
                    else
                        DrawBlockg(x, 33000, 10, 0.6, 0, 0.4, 0, 10, 0, 0);
                    const std::string got = written();
                    ASSERT_FALSE(got.empty());
                    const auto [kept, fresh] = first.emplace(std::tuple(ill, stroked, x), got);
                    if (!fresh) {
                        EXPECT_EQ(got, kept->second) << ill << " " << stroked << " " << x;
                    }
                }
    const std::string ai = first[std::tuple(95, 0, 0)];
    EXPECT_NE(ai, first[std::tuple(1115, 0, 0)]);  // PDF has operators of its own
    EXPECT_NE(ai, first[std::tuple(95, 0, 33000)]);
}

TEST_F(Blocks, TextAboveTheSymbol) {
    gSym.Hei = 20;  // 56.692912 points
    const double top = 20 * 2.8346456 - 13;
    EXPECT_DOUBLE_EQ(GetTextPosAboveCode(3, 10), top);  // bar-font text
    gSym.textAsFont = 1;
    EXPECT_DOUBLE_EQ(GetTextPosAboveCode(3, 10), top + 2);
    pstrSet(gSym.fontBelow, "Helvetica");
    gSym.code = 16;
    EXPECT_DOUBLE_EQ(GetTextPosAboveCode(3, 10), top);
}

TEST_F(Blocks, LeftQuietZone) {
    const unsigned char bars[] = {59, 58, 190, 59};  // 330 + 660 of spaces, then a bar
    gEl.put(bars, sizeof bars);
    EXPECT_EQ(getLeftMarginEPS(), 990);
    gEl.clear();
    EXPECT_EQ(getLeftMarginEPS(), 0);
    const unsigned char spaces[] = {59, 59};  // spaces only: the walk stops at the end
    gEl.put(spaces, sizeof spaces);
    EXPECT_EQ(getLeftMarginEPS(), 660);
}

}  // namespace
