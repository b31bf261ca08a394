#include "vector/chars.h"
#include "vector_fixture.h"

namespace {

struct PathPrimitives : VectorTest {};

TEST_F(PathPrimitives, SizeSettersSetEveryGlyphScale) {
    SetDrawTxtSize(250);
    EXPECT_DOUBLE_EQ(gVec.gCtexsize, 2.5);
    EXPECT_DOUBLE_EQ(gVec.gCtexsize2, 2.5);
    EXPECT_DOUBLE_EQ(gVec.gCtexsizeX, 2.5);
    EXPECT_DOUBLE_EQ(gVec.globHeight, 250 / 70560.0);
    SetDrawTxtSize2(80);
    EXPECT_DOUBLE_EQ(gVec.gCtexsizeX, 0.8);
    EXPECT_NEAR(gVec.globHeight, 80 / 8410.0, 1e-15);
}

TEST_F(PathPrimitives, GlyphPointsAreScaledAndPlacedAtTheOrigin) {
    dialect(95);
    SetDrawTxtSize(100);
    pmoveto(0, 0, 1234567, -250000);  // the origin itself, whatever the scale
    plineto(0, 7056, 0, 0);           // 7056 units are 10 points at 100 %
    EXPECT_EQ(written(), cr({"12.345670 -2.500000 m", "0.000000 10.000000 l"}));
    SetDrawTxtSize2(100);
    plineto(841, -841, 100000, 100000);  // 841 units of the second set are 10 points
    EXPECT_EQ(written(), cr({"11.000000 -9.000000 l"}));
    // Products truncate toward zero before the origin is added: -1 unit at 100 %
    // is -1.417 (1e-5 point) and becomes -1, not -2.
    SetDrawTxtSize(1);
    pcurveto(-100, 100, -1, 1, 3000, -3000, 0, 0);
    EXPECT_EQ(written(), cr({"-0.001410 0.001410 -0.000010 0.000010 0.042510 -0.042510 c"}));
    pfill();
    EXPECT_EQ(written(), "f\r");
}

TEST_F(PathPrimitives, WhiteFill) {
    dialect(88);
    pcolourwhite();
    EXPECT_EQ(written(), "0 0 0 0 k\r");
}

TEST_F(PathPrimitives, CharacterPositionTurnsWithTheItem) {
    struct Case {
        int32_t ill, angle;
        const char* text;
    };
    const Case cases[] = {
        {88, 0, "[1 0 0 1 1.500000 -2.000000]e\r"},
        {1, 90, "[0 1 -1 0 1.500000 -2.000000]e\r"},
        {25, 180, "[-1 0 0 -1 1.500000 -2.000000]e\r"},
        {2, 270, "[0 -1 1 0 1.500000 -2.000000]e\r"},
        {93, 0, "0 To\r1 0 0 1 1.500000 -2.000000 0 Tp\rTP\r0 Tr\r"},
        {95, 90, "0 To\r0 1 -1 0 1.500000 -2.000000 0 Tp\rTP\r0 Tr\r"},
        {95, 180, "0 To\r-1 0 0 -1 1.500000 -2.000000 0 Tp\rTP\r0 Tr\r"},
        {93, 270, "0 To\r0 -1 1 0 1.500000 -2.000000 0 Tp\rTP\r0 Tr\r"},
        {93, -90, "0 To\r0 -1 1 0 1.500000 -2.000000 0 Tp\rTP\r0 Tr\r"},
    };
    for (const Case& c : cases) {
        dialect(c.ill);
        gVec.trans2 = c.angle;
        TextPositionAccurate(150000, -200000);
        EXPECT_EQ(written(), c.text) << c.ill << " " << c.angle;
    }
}

TEST_F(PathPrimitives, AnyOtherAngleStillPositionsTheText) {
    // A text run without its position would leave the text operators unbalanced.
    dialect(88);
    gVec.trans2 = 45;
    TextPositionAccurate(0, 100000);
    EXPECT_EQ(written(), "[0.707107 0.707107 -0.707107 0.707107 0.000000 1.000000]e\r");
}

TEST_F(PathPrimitives, HGaugeIsAnHOfTwoUprights) {
    dialect(95);
    SetDrawTxtSize(100);
    drawHGauge(1, 0, 0);  // d = 100 units
    const std::vector<std::string> lines = linesOf(written());
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "0 0 0 1 k");             // the fill colour first
    EXPECT_EQ(lines[1], "3.132080 10.029760 m");  // (2210, 7077)
    EXPECT_EQ(lines[6], "4.691040 0.000000 l");   // (3310, 0)
    EXPECT_EQ(lines[13], "3.132080 10.029760 l");
    EXPECT_EQ(lines[14], "f");
}

}  // namespace
