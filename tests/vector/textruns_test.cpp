#include <cstring>

#include "vector/chars.h"
#include "vector_fixture.h"

namespace {

struct TextRuns : VectorTest {};

TEST_F(TextRuns, RunsPositionsAndFontsMatchTheirGoldenText) {
    expectGoldens(
        *this, {
                   {"run.1", 1, [] { DrawTextEPS("xa(b)c\\", 1, 6); }},
                   // Illustrator 88 writes last - first before the run, of one character at
                   // least; the sink writes a NUL as '0'.
                   {"run.88", 88,
                    [] {
                        DrawTextEPS("xa(b)c\\", 1, 6);
                        DrawTextEPS("AB", 1, 0);
                        const char withNul[] = {'a', 0, 'b'};
                        DrawTextEPS(withNul, 0, 2);
                    }},
                   {"run.93", 93, [] { DrawTextEPS("Hi", 0, 1); }},
                   {"position.88", 88, [] { gVec.trans2 = 270, TextPosition(30, -40); }},
                   {"position.95", 95, [] { gVec.trans2 = 90, TextPosition(30, 40); }},
                   // Four decimals, truncated.
                   {"font.88", 88,
                    [] {
                        SetAnyEpsFontP(1200000, 50000, gSym.gHelvetica, -1);
                        SetAnyEpsFontP(1234567.9, 7, gSym.gHelvetica, -1);
                    }},
                   {"font.95", 95, [] { SetAnyEpsFontP(1200000, 1200000, gSym.gHelvetica, -1); }},
                   // A bold item selects the bold font, never made bold twice; a plain
                   // item and one that does not exist keep the plain font.
                   {"font.bold", 88,
                    [] {
                        initLabelItems();
                        ASSERT_EQ(addLabelItem(), 0);
                        ASSERT_EQ(addLabelItem(), 0);
                        gLabel.labelParts[0]->setI16(item::teFace, 1);
                        SetAnyEpsFontP(1000000, 1000000, gSym.gHelvetica, 0);
                        Str255 bold;
                        pstrSet(bold, "Helvetica-Bold");
                        SetAnyEpsFontP(1000000, 1000000, bold, 0);
                        SetAnyEpsFontP(1000000, 1000000, gSym.gHelvetica, 1);
                        SetAnyEpsFontP(1000000, 1000000, gSym.gHelvetica, 57);
                    }},
                   // PDF remembers the font for the next text object; a text object left
                   // open is closed before the next one.
                   {"pdf.objects", 1115,
                    [] {
                        SetAnyEpsFontP(1200000, 1200000, gSym.gHelvetica, -1);
                        TextPosition(30, 40);
                        DrawTextEPS("a(b)", 0, 3);
                        gVec.trans2 = 180;
                        TextPositionAccurate(150000, 250000);
                        TextPosition(1, 2);
                        DrawTextEPS("x", 0, 0);
                        EXPECT_EQ(pdfFontsUsed(), std::vector<std::string>{"Helvetica"});
                    }},
                   {"pdf.default-font", 1115,
                    [] {
                        TextPosition(0, 0);
                        DrawTextEPS("x", 0, 0);
                        EXPECT_EQ(pdfFontsUsed(), std::vector<std::string>{kDefaultPdfFont});
                    }},
               });
}

TEST_F(TextRuns, PdfTextObjectLeftOpenEndsBeforeAPath) {
    dialect(1115);
    TextPosition(0, 0);                       // the text never comes (a symbol that failed, say)
    doBackColour(kColourFill, 0, 0, 0, 100);  // colours may stand inside it
    FillPostBox(0, 0, 1, 1);
    SetDrawTxtSize(100);
    TextPosition(0, 0);
    pmoveto(0, 0, 0, 0);
    TextPosition(0, 0);
    DrawBlock2(0, 100000, 10, 0, 0, 0, 2, 1, 0, 0);
    TextPosition(0, 0);
    closePdfText();
    closePdfText();  // once only
    const std::string s = written();
    EXPECT_NE(s.find("Tm\r0 0 0 1 k\rET\r0 w\r"), std::string::npos) << crToLf(s);
    EXPECT_NE(s.find("Tm\rET\r0.000000 0.000000 m\r"), std::string::npos);
    EXPECT_NE(s.find("Tm\rET\r0.000000 2.000000 m\r"), std::string::npos);
    EXPECT_EQ(s.substr(s.size() - 6), "Tm\rET\r");
}

// Text blocks wrap at word ends, cut a word wider than the rectangle, skip the
// LF of a CR LF pair, justify, and stop at the lower edge.
TEST_F(TextRuns, BlocksMatchTheirGoldenText) {
    auto width = [](const char* s) {
        return MeasureTextInEPS2(s, static_cast<int32_t>(std::strlen(s)), 10, gSym.fontBelow);
    };
    expectGoldens(
        *this,
        {
            {"block.wrap", 88,
             [&] {
                 epsTextBlock({200, 10, 0, 10 + width("the quick brown") + 2},
                              "the quick brown fox jumps over the lazy dog again and again", 0);
             }},
            {"block.right", 88,
             [] {
                 epsTextBlock({100, 0, 0, 400}, "left\r\nright side", -1);
             }},
            {"block.centre", 88,
             [] {
                 epsTextBlock({100, 0, 0, 400}, "mid", 1);
             }},
            // An empty line takes its height but writes no run.
            {"block.empty-line", 88,
             [] {
                 epsTextBlock({100, 0, 0, 400}, "a\r\rb", 0);
             }},
            {"block.cut", 88,
             [&] {
                 epsTextBlock({100, 0, 0, width("Supercal") + 1}, "Supercalifragilistic", 0);
             }},
            // Room for the first baseline only; the first line is always written.
            {"block.bottom", 88,
             [] {
                 epsTextBlock({100, 0, 80, 400}, "one\rtwo\rthree", 0);
             }},
            // A baseline on the lower edge still has its line inside the rectangle.
            {"block.edge", 88,
             [] {
                 epsTextBlock({100, 0, 76, 400}, "one\rtwo\rthree", 0);
             }},
            {"block.first", 88,
             [] {
                 epsTextBlock({100, 0, 95, 400}, "one\rtwo", 0);
             }},
            // Under 5 points wide nothing; one character a line at the least.
            {"block.narrow", 88,
             [] {
                 epsTextBlock({100, 0, 0, 4}, "narrow", 0);
             }},
            {"block.one-char", 88,
             [] {
                 epsTextBlock({100, 0, 0, 6}, "WWW", 0);
             }},
        },
        [] {
            gSym.customTeSize = 10;
            pstrSet(gSym.fontBelow, "Helvetica");
        });
}

void textItem(const char* text, int32_t bottom = 60, int32_t right = 300) {
    gLabel.externalH = text;
    gLabel.hasExternalH = true;
    EpsTextItem(0, {100, 10, bottom, right});
}

void makeBold() {
    gSym.TEface = 1;
    gLabel.labelParts[0]->setI16(item::teFace, 1);
}

// Text items: one line on its background box; inverse (the box in the text
// colour, the text in the background's, transparent or not, as printed),
// transparent (no box) and in the font dialect (no box); a carriage return
// always wraps; a run's variable text is the data before its separators, a
// single character none. Bold text is placed and wrapped by its bold widths; a
// size of 0 is set at one point, as printed.
TEST_F(TextRuns, ItemsMatchTheirGoldenText) {
    expectGoldens(*this,
                  {
                      {"textitem.88", 88, [] { textItem("Hello"); }},
                      {"textitem.inverse", 88,
                       [] {
                           gSym.TEface = 128;
                           textItem("Hi");
                       }},
                      {"textitem.transparent", 88,
                       [] {
                           gSym.TEface = 128;
                           gSym.transpar_ent = 1;
                           textItem("Hi");
                       }},
                      {"textitem.transparent-plain", 88,
                       [] {
                           gSym.transpar_ent = 1;
                           textItem("Hi");
                       }},
                      {"textitem.bold-centre", 88,
                       [] {
                           makeBold();
                           gSym.TEjust = 1;
                           textItem("Wide words");
                       }},
                      // Fits in regular widths, not in bold ones.
                      {"textitem.bold-wrap", 88,
                       [] {
                           makeBold();
                           const char* text = "Wide words";
                           textItem(text, 0, 11 + MeasureTextInEPS2(text, 10, 12, gSym.fontBelow));
                       }},
                      {"textitem.size0", 88,
                       [] {
                           gSym.customTeSize = 0;
                           textItem("a\rb", 0);
                       }},
                      {"textitem.type3", 2,
                       [] {
                           gSym.TEface = 128;
                           textItem("Hi");
                       }},
                      {"textitem.cr", 88, [] { textItem("a\rb", 0); }},
                      {"textitem.one-char-run", 88,
                       [] {
                           gLabel.serPos = "7";
                           textItem("Block text", 0);
                       }},
                      {"textitem.run", 88,
                       [] {
                           gLabel.serPos = "0042\vPRE\vSUF";
                           textItem("Block text", 0);
                       }},
                      {"textitem.empty", 88, [] { textItem("", 0); }},
                  },
                  [] {
                      pstrSet(gSym.fontBelow, "Helvetica");
                      initLabelItems();
                      ASSERT_EQ(addLabelItem(), 0);
                      gSym.Siz = 100;
                      gSym.customTeSize = 12;
                      gSym.cyan22 = 10;  // the background
                      gSym.black2 = 100;
                  });
}

}  // namespace
