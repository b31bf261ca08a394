#include <cstring>

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
    EXPECT_EQ(padded("42", 6), "000042");
    EXPECT_EQ(padded("1234567", 6), "1234567");
    EXPECT_EQ(padded("", 3), "000");
    EXPECT_EQ(padded("7", 300).size(), 255u);  // a Pascal string holds no more
}

TEST_F(Blocks, LinearBarAtTheDefaultHeightOfEan) {
    // EAN-13 at 100 % and 26 mm: the ordinary bars stop 22.85 mm below the top,
    // guard bars (with a drop) reach down to the text.
    gSym.code = 0;
    gSym.Hei = 26;
    dialect(95);
    DrawBlock(1000000, 33000, 10, 0, 0, 0, 0, 10, 5, 0);
    EXPECT_EQ(written(),
              cr({"15.000000 73.700786 m", "15.330000 73.700786 L", "15.330000 8.929134 L",
                  "15.000000 8.929134 L", "15.000000 73.700786 L", "f"}));
    EXPECT_DOUBLE_EQ(gSym.cuHei, 22.85);
    DrawBlock(1000000, 33000, 10, 0, 0, 5, 0, 10, 5, 0);
    EXPECT_NE(written().find("15.330000 5.000000 L\r"), std::string::npos);
}

TEST_F(Blocks, LinearBarInsetHeaderAndOffset) {
    gSym.code = 1;  // a header line above the bars lowers the top by 1.2 T
    gSym.Hei = 20;
    gBlock.gxyy = 0.5;
    dialect(1115);
    DrawBlock(0, 100000, 10, 2.7, 0, 3, 1, 30, 0, 4);
    // x from trunc(inset); top 56.692912 - 5.4 - 12 - 1 + 2.7 + 4 + 0.5; bottom 30 - 3 + 2.7 + 4.5
    EXPECT_EQ(written(), cr({"2.000000 45.492912 m", "3.000000 45.492912 l", "3.000000 34.200000 l",
                             "2.000000 34.200000 l", "2.000000 45.492912 l", "f"}));
}

TEST_F(Blocks, BarOutlineIsStrokedWithItsBottomOnWholePoints) {
    gSym.code = 0;
    gSym.Hei = 26;  // no default-height rule for the outline
    dialect(88);
    DrawBlockg(0, 33000, 10, 0.6, 0, 0.4, 0, 10, 0, 0);
    EXPECT_EQ(written(), cr({"0.000000 73.100786 m", "0.330000 73.100786 L", "0.330000 10.000000 L",
                             "0.000000 10.000000 L", "0.000000 73.100786 L", "s"}));
}

TEST_F(Blocks, FourStateBarsInFixedPoint) {
    dialect(95);
    DrawMultiLineBlock(50000, 33000, 10, 0, 10, 2, 5, 20, 0, 0);  // x = 0.5 points
    EXPECT_EQ(written(),
              cr({"0.5000 25 m", "0.8300 25 L", "0.8300 28 L", "0.5000 28 L", "0.5000 25 L", "f"}));
    dialect(1115);  // every rectangle of PDF ends with its own paint operator
    DrawMultiLineBlock(123456789, 33000, 10, 1, 10, 2, 5, 20, 2, 0);
    DrawMultiLineBlockg(0, 33000, 10, 0, 10, 2, 5, 20, 0, 0);
    EXPECT_EQ(written(), cr({"1237.5678 25 m", "1237.8978 25 l", "1237.8978 28 l", "1237.5678 28 l",
                             "1237.5678 25 l", "f", "0.0000 25 m", "0.3300 25 l", "0.3300 28 l",
                             "0.0000 28 l", "0.0000 25 l", "s"}));
}

TEST_F(Blocks, TypeThreeFontDialectStepsFromCornerToCorner) {
    // rlineto takes the step to the next corner, not the corner itself.
    dialect(2);
    DrawBlock2(0, 100000, 10, 2, 0, 0, 50.5, 47.5, 3, 1);
    EXPECT_EQ(written(), cr({"5.000000 53.500000 moveto", "1.000000 0.000000 rlineto",
                             "0.000000 -5.000000 rlineto", "-1.000000 0.000000 rlineto",
                             "0.000000 5.000000 rlineto closepath"}));
    DrawMultiLineBlock(50000, 33000, 10, 0, 10, 2, 5, 20, 0, 0);
    EXPECT_EQ(written(), cr({"0.5000 25 moveto", "0.3300 0 rlineto", "0.0000 3 rlineto",
                             "-.3300 0 rlineto", "0.0000 -3 rlineto closepath"}));
}

TEST_F(Blocks, RowRunsAndModules) {
    dialect(93);
    DrawBlock2(0, 100000, 10, 2, 0, 0, 50.5, 47.5, 3, 1);
    EXPECT_EQ(written(), cr({"5.000000 53.500000 m", "6.000000 53.500000 L", "6.000000 48.500000 L",
                             "5.000000 48.500000 L", "5.000000 53.500000 L", "f"}));
    DrawBlock2(0, 0, 10, 2, 0, 0, 50.5, 47.5, 3, 1);       // zero width
    DrawBlock2(0, 100000, 10, 0, 0, 0, 47.5, 47.5, 3, 0);  // zero height
    EXPECT_EQ(written(), "");
    Draw2DBlock(100000, 50000, 25000, 2, 1000000, 0, 1, 0);  // a square of the module width
    EXPECT_EQ(written(), cr({"3.000000 11.250000 m", "3.500000 11.250000 L", "3.500000 11.750000 L",
                             "3.000000 11.750000 L", "3.000000 11.250000 L", "f"}));
}

TEST_F(Blocks, TextAboveTheSymbol) {
    gSym.Hei = 20;                                                      // 56.692912 points
    EXPECT_DOUBLE_EQ(GetTextPosAboveCode(3, 10), 20 * 2.8346456 - 13);  // bar-font text
    gSym.textAsFont = 1;
    EXPECT_DOUBLE_EQ(GetTextPosAboveCode(3, 10), 20 * 2.8346456 - 13 + 2);
    pstrSet(gSym.fontBelow, "Helvetica");
    gSym.code = 16;
    EXPECT_DOUBLE_EQ(GetTextPosAboveCode(3, 10), 20 * 2.8346456 - 13);
    gSym.code = 0;
    EXPECT_DOUBLE_EQ(GetTextPosAboveCode(3, 10), 20 * 2.8346456 - 13 + 2);
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
