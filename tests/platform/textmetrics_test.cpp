#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/textmetrics.h"
#include "support/cases.h"
#include "support/fonts.h"

namespace {

using namespace platform;

std::string pstr(const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; }
const unsigned char* bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

int16_t fontNumber(const std::string& name) {
    std::string p = pstr(name);
    int16_t num = -1;
    GetFNum(bytes(p), &num);
    return num;
}

void select(const std::string& name, int16_t size, int16_t face = 0, bool fract = true) {
    TextFont(fontNumber(name));
    TextSize(size);
    TextFace(face);
    SetFractEnable(fract);
}

double width(const std::string& text) {
    return TextWidthFract(text.data(), 0, static_cast<int16_t>(text.size()));
}

// Advance widths by glyph name from the metrics file the font package ships.
std::map<std::string, int> afmWidths(const std::string& font) {
    std::map<std::string, int> wx;
    std::ifstream in(std::string(testsupport::kUrwAfmFolder) + "/" + font + ".afm");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("C ", 0) != 0) continue;
        std::istringstream fields(line);
        std::string tok, name;
        int w = -1;
        while (fields >> tok) {
            if (tok == "WX") fields >> w;
            if (tok == "N") fields >> name;
        }
        wx[name] = w;
    }
    EXPECT_FALSE(wx.empty()) << "no metrics for " << font << ": install fonts-urw-base35";
    return wx;
}

double afmSum(const std::string& font, std::initializer_list<const char*> glyphs, double size) {
    std::map<std::string, int> wx = afmWidths(font);
    double units = 0;
    for (const char* g : glyphs) units += wx[g];
    return units * size / 1000.0;
}

const auto kDigitsAndMarks = {"zero", "one",   "two",   "three", "four", "five",
                              "six",  "seven", "eight", "nine",  "less", "greater"};
const std::string kSample = "0123456789<>";

struct TextMetrics : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(testsupport::useTestFonts());
        MoveTo(0, 0);
    }
};

TEST_F(TextMetrics, HelveticaMatchesItsMetricsFile) {
    select("Helvetica", 12);
    const double expected = afmSum("NimbusSans-Regular", kDigitsAndMarks, 12);
    EXPECT_NEAR(width(kSample), expected, 1e-9);
    EXPECT_EQ(TextWidth(kSample.data(), 0, 12), 81);  // 80.736
    // Whole-point widths per character when fractional widths are off: 10 x 7 + 2 x 7.
    SetFractEnable(false);
    EXPECT_EQ(TextWidth(kSample.data(), 0, 12), 84);
    // Part of a text, from an offset.
    SetFractEnable(true);
    EXPECT_NEAR(TextWidthFract(kSample.data(), 10, 2), 2 * 584 * 12 / 1000.0, 1e-9);
}

TEST_F(TextMetrics, OcrBMatchesTheFontFile) {
    select("OCRB", 10);
    FT_Library lib;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Face face;
    const std::string file = std::string(testsupport::kOcrBFolder) + "/OCRB.otf";
    ASSERT_EQ(FT_New_Face(lib, file.c_str(), 0, &face), 0) << "install fonts-ocr-b";
    double expected = 0;
    for (char c : kSample) {
        FT_Fixed adv = 0;
        FT_Get_Advance(face, FT_Get_Char_Index(face, static_cast<unsigned char>(c)),
                       FT_LOAD_NO_SCALE, &adv);
        expected += adv * 10.0 / face->units_per_EM;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    EXPECT_GT(expected, 0);
    EXPECT_NEAR(width(kSample), expected, 1e-9);
    EXPECT_STREQ(currentFontFile(), file.c_str());
}

TEST_F(TextMetrics, StandardNamesMeasureWithTheirCompatibleFonts) {
    for (const auto& c : testsupport::readCases("platform/font_files.txt", 3)) {
        select(c[0], 12, static_cast<int16_t>(c.integer(1)));
        const std::string file = currentFontFile();
        EXPECT_EQ(file.substr(file.rfind('/') + 1), c[2]) << c.where;
    }
    select("Helvetica", 12, 1);
    EXPECT_NEAR(width(kSample), afmSum("NimbusSans-Bold", kDigitsAndMarks, 12), 1e-9);
}

TEST_F(TextMetrics, BytesAreMacRoman) {
    select("Helvetica", 10);
    const std::map<std::string, int> wx = afmWidths("NimbusSans-Regular");
    // 0xA5 is the bullet in Mac OS Roman (the yen sign in Latin-1), 0x8A the a-umlaut.
    EXPECT_NEAR(width("\xA5"), wx.at("bullet") / 100.0, 1e-9);
    EXPECT_NEAR(width("\x8A"), wx.at("adieresis") / 100.0, 1e-9);
    // Symbol fonts take the byte itself: 'a' is alpha.
    select("Symbol", 10);
    EXPECT_NEAR(width("a"), afmWidths("StandardSymbolsPS").at("alpha") / 100.0, 1e-9);
}

TEST_F(TextMetrics, UnknownFontMeasuresAsHelveticaAndSaysSoOnce) {
    select("Helvetica", 12);
    const double helvetica = width(kSample);
    ::testing::internal::CaptureStderr();
    select("No Such Font Strixel", 12);
    EXPECT_NEAR(width(kSample), helvetica, 1e-9);
    EXPECT_EQ(TextWidth(kSample.data(), 0, 12), 81);
    select("No Such Font Strixel", 20);
    width(kSample);
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string name = "\"No Such Font Strixel\"";
    ASSERT_NE(err.find(name), std::string::npos) << err;
    EXPECT_EQ(err.find(name, err.find(name) + 1), std::string::npos) << err;
    // Its number stays its own, whatever the spelling.
    EXPECT_EQ(fontNumber("no such font strixel"), fontNumber("No Such Font Strixel"));
    EXPECT_NE(fontNumber("No Such Font Strixel"), fontNumber("Helvetica"));
}

TEST_F(TextMetrics, BarFontElementsAreAsWideAsTheirElements) {
    // At 10 points an element glyph is its width at 100 %: u micrometres = u x 72 / 25400 points.
    auto points = [](double um, double size) { return um * 72 / 25400 * size / 10; };
    select("Strixel", 10);
    EXPECT_NEAR(width("\xBE"), points(330, 10), 1e-9);       // 190, one 330 um module bar
    EXPECT_NEAR(width(";"), points(330, 10), 1e-9);          // 59, one module space
    EXPECT_NEAR(width("\x8C\x81"), points(5080, 10), 1e-9);  // 140 + 129: wide bar, wide space
    EXPECT_NEAR(width("\x83"), points(1016, 10), 1e-9);      // 131: bar 130 thinned by BW 1
    EXPECT_NEAR(width("0"), points(2310, 10), 1e-9);         // a digit spans seven modules
    EXPECT_NEAR(width("\r"), 0, 1e-12);
    EXPECT_STREQ(currentFontFile(), "");
    // Siz 250 sets the bar font at 25 points: 2.5 times as wide.
    select("STRixel", 25);
    EXPECT_NEAR(width("\xBE;0"), points(330 + 330 + 2310, 25), 1e-9);
}

TEST_F(TextMetrics, PenAdvancesByTheText) {
    select("Helvetica", 12);
    MoveTo(5, 40);
    DrawText(kSample.data(), 0, 12);
    Point pt{};
    GetPen(&pt);
    EXPECT_EQ(pt.h, 85);  // 5 + 80.736, truncated
    EXPECT_EQ(pt.v, 40);
    DrawText(kSample.data(), 0, 12);
    GetPen(&pt);
    EXPECT_EQ(pt.h, 166);  // the fractions add up: 5 + 161.472
}

TEST_F(TextMetrics, PostScriptNames) {
    unsigned char out[256];
    for (const auto& c : testsupport::readCases("platform/postscript_names.txt", 2)) {
        std::string p = pstr(c[0]);
        ASSERT_TRUE(FindPostScriptName(bytes(p), out)) << c.where;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), c[1]) << c.where;
    }
    std::string missing = pstr("No Such Font Strixel");
    EXPECT_FALSE(FindPostScriptName(bytes(missing), out));
    EXPECT_EQ(out[0], 0);
}

}  // namespace
