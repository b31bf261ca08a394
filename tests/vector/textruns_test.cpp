#include <cstdio>
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

// The text runs of dialect 88 output: position and text of each.
struct TextRun {
    int x = 0, y = 0;
    std::string text;
};
std::vector<TextRun> runsOf(const std::string& out) {
    std::vector<TextRun> runs;
    TextRun cur;
    for (const std::string& line : linesOf(out)) {
        if (line.rfind("[1 0 0 1 ", 0) == 0) {
            std::sscanf(line.c_str() + 9, "%d %d", &cur.x, &cur.y);
        } else if (line.size() > 2 && line.substr(line.size() - 2) == ")t") {
            const size_t open = line.find('(');
            cur.text.clear();
            for (size_t k = open + 1; k + 2 < line.size(); ++k) {
                if (line[k] == '\\') ++k;
                cur.text.push_back(line[k]);
            }
            runs.push_back(cur);
        }
    }
    return runs;
}

struct TextBlocks : VectorTest {
    void SetUp() override {
        VectorTest::SetUp();
        dialect(88);
        gSym.customTeSize = 10;
        pstrSet(gSym.fontBelow, "Helvetica");
    }
    int32_t width(const std::string& s) {
        return MeasureTextInEPS2(s.data(), static_cast<int32_t>(s.size()), 10, gSym.fontBelow);
    }
};

TEST_F(TextBlocks, WordsWrapInsideTheRectangle) {
    const std::string text = "the quick brown fox jumps over the lazy dog again and again";
    const PageRect r{200, 10, 0, 10 + width("the quick brown") + 2};
    epsTextBlock(r, text.c_str(), 0);
    const std::vector<TextRun> runs = runsOf(written());
    ASSERT_GE(runs.size(), 3u);
    std::string joined;
    for (size_t k = 0; k < runs.size(); ++k) {
        EXPECT_LT(width(runs[k].text), r.right - r.left) << runs[k].text;
        EXPECT_EQ(runs[k].x, 10);
        EXPECT_EQ(runs[k].y, 200 - 12 * static_cast<int>(k + 1));
        joined += (k ? " " : "") + runs[k].text;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(runs[0].text, "the quick brown");
}

TEST_F(TextBlocks, LineBreaksAndJustification) {
    const PageRect r{100, 0, 0, 400};
    epsTextBlock(r, "left\r\nright side", -1);  // the LF of a CR LF pair is skipped
    std::vector<TextRun> runs = runsOf(written());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "left");
    EXPECT_EQ(runs[1].text, "right side");
    EXPECT_EQ(runs[0].x + width("left"), 400);
    EXPECT_EQ(runs[1].x + width("right side"), 400);
    epsTextBlock(r, "mid", 1);
    runs = runsOf(written());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].x, (400 - width("mid")) / 2);
    epsTextBlock(r, "a\r\rb", 0);  // an empty line takes its height but writes no run
    runs = runsOf(written());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].y, 100 - 36);
}

TEST_F(TextBlocks, AWordWiderThanTheRectangleIsCut) {
    const std::string word = "Supercalifragilistic";
    const PageRect r{100, 0, 0, width("Supercal") + 1};
    epsTextBlock(r, word.c_str(), 0);
    const std::vector<TextRun> runs = runsOf(written());
    ASSERT_GE(runs.size(), 2u);
    std::string joined;
    for (const TextRun& run : runs) {
        EXPECT_LT(width(run.text), r.right - r.left);
        joined += run.text;
    }
    EXPECT_EQ(joined, word);  // nothing lost: the rest continues on the next lines
}

TEST_F(TextBlocks, LinesStopAtTheLowerEdge) {
    const PageRect r{100, 0, 80, 400};  // room for the first baseline (88) only
    epsTextBlock(r, "one\rtwo\rthree", 0);
    std::vector<TextRun> runs = runsOf(written());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, "one");
    epsTextBlock({100, 0, 95, 400}, "one\rtwo", 0);  // the first line is always written
    EXPECT_EQ(runsOf(written()).size(), 1u);
    epsTextBlock({100, 0, 0, 4}, "narrow", 0);  // under 5 points wide: nothing
    EXPECT_EQ(written(), "");
    epsTextBlock({100, 0, 0, 6}, "WWW", 0);  // one character a line at the least
    EXPECT_EQ(runsOf(written()).size(), 3u);
}

struct TextItems : TextBlocks {
    void SetUp() override {
        TextBlocks::SetUp();
        initLabelItems();
        ASSERT_EQ(addLabelItem(), 0);
        gSym.Siz = 100;
        gSym.customTeSize = 12;
        gSym.cyan22 = 10;  // the background
        gSym.black2 = 100;
    }
    void block(const char* text) {
        gLabel.externalH = text;
        gLabel.hasExternalH = true;
    }
};

TEST_F(TextItems, OneLineOnABackgroundBox) {
    block("Hello");
    EpsTextItem(0, {100, 10, 60, 300});
    EXPECT_EQ(written(), goldenTexts().at("textitem.88"));
}

TEST_F(TextItems, InverseTransparentAndTypeThree) {
    block("Hi");
    gSym.TEface = 128;  // inverse: the first set is the box, the second the text
    EpsTextItem(0, {100, 10, 60, 300});
    std::string s = written();
    EXPECT_EQ(s.substr(0, 10), "0 0 0 1 k\r");
    EXPECT_NE(s.find("f\r.10 0 0 0 k\r"), std::string::npos);
    gSym.transpar_ent = 1;
    EpsTextItem(0, {100, 10, 60, 300});
    s = written();
    EXPECT_EQ(s.find(" m\r"), std::string::npos);  // no box
    EXPECT_EQ(s.substr(0, 12), ".10 0 0 0 k\r");
    gSym.transpar_ent = 0;
    dialect(2);
    EpsTextItem(0, {100, 10, 60, 300});
    EXPECT_EQ(written().find(" m\r"), std::string::npos);
}

TEST_F(TextItems, ACarriageReturnAlwaysWraps) {
    block("a\rb");
    EpsTextItem(0, {100, 10, 0, 300});
    const std::vector<TextRun> runs = runsOf(written());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "a");
    EXPECT_EQ(runs[1].text, "b");
}

TEST_F(TextItems, VariableTextOfARun) {
    block("Block text");
    gLabel.serPos = "7";  // a single character is no variable text
    EpsTextItem(0, {100, 10, 0, 300});
    std::vector<TextRun> runs = runsOf(written());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, "Block text");
    gLabel.serPos = "0042\vPRE\vSUF";  // the data before the separators
    EpsTextItem(0, {100, 10, 0, 300});
    runs = runsOf(written());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, "0042");
    gLabel.serPos.clear();
    block("");
    EpsTextItem(0, {100, 10, 0, 300});  // an empty item writes no text run
    EXPECT_TRUE(runsOf(written()).empty());
}

}  // namespace
