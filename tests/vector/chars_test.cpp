#include "vector/chars.h"
#include "vector_fixture.h"

namespace {

struct PathPrimitives : VectorTest {};

TEST_F(PathPrimitives, GlyphPointsAndTextPositionsMatchTheirGoldenText) {
    expectGoldens(
        *this,
        {
            // The origin itself whatever the scale; 7056 units are 10 points at 100 %,
            // 841 units of the second set too.
            {"glyph.points", 95,
             [] {
                 SetDrawTxtSize(100);
                 pmoveto(0, 0, 1234567, -250000);
                 plineto(0, 7056, 0, 0);
                 SetDrawTxtSize2(100);
                 plineto(841, -841, 100000, 100000);
             }},
            // Products truncate toward zero before the origin is added: -1 unit at
            // 1 % is -1.417e-5 point and becomes -1e-5, not -2e-5.
            {"glyph.truncated", 95,
             [] {
                 SetDrawTxtSize(1);
                 pcurveto(-100, 100, -1, 1, 3000, -3000, 0, 0);
                 pfill();
             }},
            // The character position turns with the item.
            {"pos.88.0", 88, [] { TextPositionAccurate(150000, -200000); }},
            {"pos.1.90", 1, [] { gVec.trans2 = 90, TextPositionAccurate(150000, -200000); }},
            {"pos.25.180", 25, [] { gVec.trans2 = 180, TextPositionAccurate(150000, -200000); }},
            {"pos.2.270", 2, [] { gVec.trans2 = 270, TextPositionAccurate(150000, -200000); }},
            {"pos.93.0", 93, [] { TextPositionAccurate(150000, -200000); }},
            {"pos.95.90", 95, [] { gVec.trans2 = 90, TextPositionAccurate(150000, -200000); }},
            {"pos.95.180", 95, [] { gVec.trans2 = 180, TextPositionAccurate(150000, -200000); }},
            {"pos.93.270", 93, [] { gVec.trans2 = 270, TextPositionAccurate(150000, -200000); }},
            {"pos.93.270", 93, [] { gVec.trans2 = -90, TextPositionAccurate(150000, -200000); }},
            // Any other angle still positions the text: a run without its position
            // would leave the text operators unbalanced.
            {"pos.88.45", 88, [] { gVec.trans2 = 45, TextPositionAccurate(0, 100000); }},
        });
}

}  // namespace
