// Glyph outlines: outline or font, origin and baseline shifts, and counters that
// stay unpainted (or white in the older dialects) in every dialect.
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "paint_fixture.h"
#include "vector/chars.h"
#include "vector/glyphs.h"
#include "vector/shapes.h"
#include "vector_fixture.h"

namespace {

struct Glyphs : VectorTest {
    void SetUp() override {
        VectorTest::SetUp();
        SetDrawTxtSize(100);
    }
};

const unsigned char kZero = '0';

// How counters are painted in each dialect is proven on renders below; a font
// glyph has no background of its own: one path, its counter cut, no colour.
TEST_F(Glyphs, AFontGlyphIsOnePathWithoutColour) {
    dialect(2);
    getCharacterOut(&kZero, 0, 0);
    const std::string w = written();
    EXPECT_EQ(w.find(" k\r"), std::string::npos) << crToLf(w);
    EXPECT_EQ(w.find("f\r"), w.size() - 2);
}

TEST_F(Glyphs, CharactersWithoutOutlineAndAdvances) {
    dialect(95);
    const unsigned char a = 'A', m = 'M', blank = ' ';
    // A character the main set has no outline for is set in OCR-B, so that no
    // character of a line goes missing; the caller still advances it.
    EXPECT_EQ(getCharacterOut(&a, 0, 0), 0);
    const std::string ocrb = written();
    EXPECT_NE(ocrb.find("OCRB-Regular"), std::string::npos) << ocrb;
    EXPECT_NE(ocrb.find("(A)"), std::string::npos) << ocrb;
    EXPECT_EQ(getCharacterOut(&blank, 0, 0), 0);
    EXPECT_EQ(written(), "");
    EXPECT_EQ(getCharacterOut2(&a, 0, 0), 2910);
    EXPECT_EQ(written(), "");
    EXPECT_EQ(getCharacterOut(&m, 0, 0), 3122);
    EXPECT_NE(written(), "");
    const unsigned char p = 'P';
    EXPECT_EQ(getCharacterOutPeacock(&p, 0, 0), 2910);
    EXPECT_NE(written(), "");
    // The second digit design ends with a zero line width, with or without an outline.
    gSym.bol = 1;
    getCharacterOut(&blank, 0, 0);
    EXPECT_EQ(written(), "0 w\r");
}

TEST_F(Glyphs, OriginAndBaselineShifts) {
    dialect(95);
    // Byte 175 starts at (2904, 5879); at size 100 a unit is 1/705.6 point and the
    // main set moves 0.48505 point left.
    const unsigned char one = 175;
    const double x0 = 10 + static_cast<int>(2904 * 100000 / 705.6) * 1e-5 - 0.48505;
    const double y0 = static_cast<int>(5879 * 100000 / 705.6) * 1e-5;
    auto firstPoint = [&]() {
        const std::string w = written();
        const size_t k = w.find("\r", w.find("k\r") + 2);
        return w.substr(w.find("k\r") + 2, k - w.find("k\r") - 2);
    };
    getCharacterOut(&one, 1000000, 0);
    char want[64];
    std::snprintf(want, sizeof want, "%f %f m", x0, y0);
    EXPECT_EQ(firstPoint(), want);

    // Baseline shift and the lift over a bearer without text above.
    gSym.gBaseAdjust = 2;
    gSym.line = 3;
    getCharacterOut(&one, 1000000, 0);
    std::snprintf(want, sizeof want, "%f %f m", x0, y0 + 2 + 0.4186);
    EXPECT_EQ(firstPoint(), want);
}

TEST_F(Glyphs, OutlineOrFont) {
    dialect(88);
    const unsigned char five = '5', lt = '<', paren = '(';
    // The bar font as text font, set as a font: digits go to the font, the
    // light-margin marks stay outlines.
    gSym.textAsFont = 1;
    EXPECT_EQ(getCharacterOut(&five, 0, 0), 0);
    std::string w = written();
    EXPECT_NE(w.find("(5)"), std::string::npos) << crToLf(w);
    EXPECT_EQ(w.find(" m\r"), std::string::npos);
    getCharacterOut(&lt, 0, 0);
    w = written();
    EXPECT_NE(w.find(" m\r"), std::string::npos);
    EXPECT_EQ(w.find("(<)"), std::string::npos);

    // Another font: a font for most code types, outlines for 16 and 25.
    gSym.textAsFont = 0;
    pstrSet(gSym.fontBelow, "Helvetica");
    EXPECT_EQ(getCharacterOut(&paren, 0, 0), 1320);
    EXPECT_NE(written().find("(\\()"), std::string::npos);
    pstrSet(gSym.fontBelow, "OCRB");
    EXPECT_EQ(getCharacterOut(&paren, 0, 0), 0);
    written();
    gSym.code = 25;
    getCharacterOut(&five, 0, 0);
    EXPECT_NE(written().find(" m\r"), std::string::npos);

    // The header set goes to fontAbove only when text is set as a font.
    gSym.textAsFont = 1;
    pstrSet(gSym.fontAbove, "Times");
    EXPECT_EQ(getCharacterOut2(&five, 0, 0), 2910);
    EXPECT_NE(written().find("(5)"), std::string::npos);
}

TEST_F(Glyphs, BarFontCodesDrawTheirLetters) {
    // The ISBN header "[_]^" reads ISBN; '%' is the check character X; '`' is M.
    dialect(95);
    auto drawn = [&](unsigned char ch) {
        getCharacterOut(&ch, 0, 0);
        return written();
    };
    EXPECT_EQ(drawn('_'), drawn('S'));
    EXPECT_EQ(drawn(']'), drawn('B'));
    EXPECT_EQ(drawn('`'), drawn('M'));
    EXPECT_EQ(drawn('^'), drawn('N'));
    int32_t lo = 0, hi = 0;
    ASSERT_TRUE(glyphOutlineExtent('[', &lo, &hi));  // the I stands inside a digit cell
    EXPECT_GE(lo, 400);
    EXPECT_LE(hi, 4100);
    ASSERT_TRUE(glyphOutlineExtent('%', &lo, &hi));  // X is as wide as a digit
    EXPECT_GT(hi - lo, 3000);
    // In a line of data they are themselves, set in the OCR-B of the fallback.
    for (unsigned char ch : std::string("[]_^`\\%(")) {
        getDataCharacterOut(&ch, 0, 0);
        const std::string w = written();
        EXPECT_NE(w.find("OCRB-Regular"), std::string::npos) << ch;
        EXPECT_EQ(w.find(" m\r"), std::string::npos) << ch;
        EXPECT_TRUE(setInOcrb(ch, 28, gSym.barFont, 0, true)) << ch;
        EXPECT_FALSE(setInOcrb(ch, 16, gSym.barFont, 0, false)) << ch;
    }
    const unsigned char five = '5';
    EXPECT_EQ(drawn('5'), (getDataCharacterOut(&five, 0, 0), written()));
}

// A large zero on a grey box, then a box painted after it: the counter shows
// white in the older dialects and the background in those with compound paths,
// and the text colour is back for what follows.
TEST(GlyphRender, CountersStayUnpaintedInEveryDialect) {
    for (int ill : vectortest::kDialects) {
        if (ill == 2) continue;  // a font glyph has no background of its own
        SCOPED_TRACE(ill);
        vectortest::resetAll();
        gOut.ill = ill;
        vectortest::singleItem(120, 120);
        const std::string doc = vectortest::writeDocument([] {
            doBackColour(kColourFill, 0, 0, 0, 40);
            FillPostBox(0, 120, 120, 0);
            SetDrawTxtSize(1000);
            getCharacterOut(&kZero, 2000000, 1000000);
            FillPostBox(100, 20, 110, 10);
        });
        const int dpi = 72;
        testsupport::Rendered r = painttest::render(doc, ill, dpi, "zero");
        ASSERT_TRUE(r.ok) << r.err;
        // '0' at size 1000: counter centre (2157, 3276) units, stroke at x 776.
        const double unit = 1000 / 70560.0, shift = 4.8505;
        const int counter =
            painttest::probe(r.bitmap, dpi, 20 - shift + 2157 * unit, 10 + 3276 * unit);
        const int stroke =
            painttest::probe(r.bitmap, dpi, 20 - shift + 776 * unit, 10 + 3276 * unit);
        const int background = painttest::probe(r.bitmap, dpi, 5, 5);
        const int after = painttest::probe(r.bitmap, dpi, 105, 15);
        EXPECT_LT(stroke, 60);
        EXPECT_LT(after, 60);
        EXPECT_GT(background, 100);
        EXPECT_LT(background, 200);
        if (ill < 93 && ill != 25)  // 25 paints its white inside a compound path
            EXPECT_GT(counter, 245);
        else
            EXPECT_NEAR(counter, background, 10);
    }
}

}  // namespace
