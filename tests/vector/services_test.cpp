#include <cstring>

#include "vector_fixture.h"

namespace {

TEST_F(VectorTest, PascalAppendIsBounded) {
    Str255 p;
    pstrSet(p, "abc");
    EXPECT_TRUE(cpstrcat2(p, "de", 2));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(p + 1), p[0]), "abcde");
    const std::string many(300, 'x');
    EXPECT_FALSE(cpstrcat2(p, many.data(), 300));
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[255], 'x');
    EXPECT_FALSE(cpstrcat2(p, "y", 1));
    EXPECT_EQ(p[0], 255);
}

TEST_F(VectorTest, TextSizeScaleIsASinglePrecisionProduct) {
    gSym.Siz = 100;
    TextSizeGC(7, 7);
    EXPECT_EQ(gVec.gCtexsize, static_cast<double>(0.7f));
    gSym.Siz = 150;
    TextSizeGC(12, 10);
    EXPECT_EQ(gVec.gCtexsize, 1.5);
}

// The retail text of Code 128 in four groups, the second white on a dark box,
// the small groups 5 points higher; scaled groups keep clear of each other; a
// short text writes what there is.
TEST_F(VectorTest, RetailTextMatchesItsGoldenText) {
    auto draw = [](const char* text, double scale) {
        DrawMS128Text(text, static_cast<int32_t>(std::strlen(text)), 1, 1000000, 2000000, scale);
    };
    expectGoldens(*this,
                  {
                      {"ms128.1", 88, [&] { draw("123456789012345678", 1.0); }},
                      {"ms128.2", 88, [&] { draw("123456789012345678", 2.0); }},
                      {"ms128.short", 88, [&] { draw("12345", 1.0); }},
                      {"ms128.empty", 88, [&] { draw("", 1.0); }},
                  },
                  [] { pstrSet(gSym.fontBelow, "Helvetica"); });
}

// A damaged document can put the text at the far end of the position range:
// the groups right of it and above it stay there instead of wrapping round to
// the other side of the page.
TEST_F(VectorTest, RetailTextAtTheEndOfTheRangeStaysThere) {
    pstrSet(gSym.fontBelow, "Helvetica");
    dialect(88);
    DrawMS128Text("123456789012345678", 18, 1, INT32_MAX - 100, INT32_MAX, 1.0);
    const std::string page = written();
    EXPECT_NE(page.find("21474.83647"), std::string::npos) << crToLf(page);
    EXPECT_EQ(page.find("-2147"), std::string::npos) << crToLf(page);
}

}  // namespace
