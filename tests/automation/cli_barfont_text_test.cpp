// Text set in the program's bar font: every character of the data shows, the
// ones without an outline of the bar font's own drawn from OCR-B, in print and
// in pages and pictures alike. Glyphs are counted as separate patches of ink.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "automation/options.h"
#include "cli_run.h"
#include "labels/labelDoc.h"
#include "support/grey_image.h"
#include "support/label_document.h"
#include "symbology/state.h"

namespace {

// Patches of ink (pixels below 128, joined at their sides and corners).
int inkPatches(const testsupport::Bitmap& b) {
    std::vector<uint8_t> seen(b.pixels.size(), 0);
    std::vector<int> stack;
    int patches = 0;
    for (int start = 0; start < static_cast<int>(b.pixels.size()); ++start) {
        if (seen[start] || b.pixels[start] >= 128) continue;
        ++patches;
        seen[start] = 1;
        stack.push_back(start);
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            const int x = at % b.width, y = at / b.width;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= b.width || ny >= b.height) continue;
                    const int n = ny * b.width + nx;
                    if (seen[n] || b.pixels[n] >= 128) continue;
                    seen[n] = 1;
                    stack.push_back(n);
                }
        }
    }
    return patches;
}

struct BarFontText : ::testing::Test {
    std::string dir;
    void SetUp() override {
        dir = testsupport::freshFolder("barfont");
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
    // A label of one text item in the bar font holding text.
    std::string saveLabel(const std::string& text) {
        testsupport::startLabelDocument(1700, 850, 1, 1);
        LabelItem& t = testsupport::addItemOfKind(kKindText, 10, 10, 40, 160);
        t.setI16(item::customTeSize, 14);
        t.setText(item::fontBelow, "\x07Strixel");
        testsupport::setItemText(t, text);
        return testsupport::saveLabelDocument(dir + "/label.labl");
    }
};

// The bracket before the x is the bar font's own glyph, drawn wide enough to
// touch its neighbour: the text leaves it out so that each glyph is one patch.
TEST_F(BarFontText, EveryCharacterOfATextItemShowsInPrint) {
    const std::string text = "Hello World ABC abc 123 x)";
    const int glyphs = 21;  // the characters but the blanks, one patch of ink each
    const std::string doc = saveLabel(text);
    const std::string printed = dir + "/printed.pdf";
    const CliRun r = run({"--open", doc, "{printer:\"" + printed + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(testsupport::pdftoppm(printed, printed, 300).status, 0);
    testsupport::Bitmap page;
    ASSERT_TRUE(testsupport::readPGM(printed + "-1.pgm", &page));
    EXPECT_EQ(inkPatches(page), glyphs);
}

// A barcode item 2 mm low or lower stands as its text: printed as the label
// file holds it, not refused for want of room for bars the printer's scale
// would have made taller.
TEST_F(BarFontText, ALowBarcodeItemPrintsAsItsText) {
    constexpr double kTextOnlyHeight = 1.5;  // millimetres
    testsupport::startLabelDocument(2880, 1400, 1, 1);
    testsupport::addItemOfKind(kKindBarcode, 20, 20, 100, 250);
    ASSERT_EQ(parseCodeType("Code 128"), 1);
    copyBounded(gData.chMainCode, "ABC123");
    copyBounded(gData.chMainCode2, "ABC123");
    gData.len1 = gData.len11 = 6;
    gSym.Hei = kTextOnlyHeight;
    gLabel.itRect = {20, 20, 100, 250};
    setItemRect(0);
    setItemData(0, 2);
    const std::string doc = testsupport::saveLabelDocument(dir + "/low.labl");
    testsupport::Bitmap ink[2];
    for (const std::string key : {"printer", "saveto"}) {
        const std::string pdf = dir + "/low-" + key + ".pdf";
        const CliRun r = run({"--dialect=pdf", "--open", doc, "{" + key + ":\"" + pdf + "\"}"});
        ASSERT_EQ(r.status, 0) << key << ": " << r.err;
        ASSERT_EQ(testsupport::pdftoppm(pdf, pdf, 300).status, 0);
        testsupport::Bitmap page;
        ASSERT_TRUE(testsupport::readPGM(pdf + "-1.pgm", &page));
        ink[key == "saveto"] = testsupport::cropToInk(page, 0);
    }
    // The data's characters and the start and stop marks set with them.
    EXPECT_GE(inkPatches(ink[1]), 6);
    EXPECT_EQ(inkPatches(ink[0]), inkPatches(ink[1]));
    EXPECT_NEAR(ink[0].width, ink[1].width, 4);
    EXPECT_NEAR(ink[0].height, ink[1].height, 4);
}

// Royal Mail's line holds letters the bar font has no outline for.
TEST_F(BarFontText, RoyalMailLineShowsEveryCharacter) {
    const std::string data = "SN34RD1A";
    const std::string eps = dir + "/rm.eps", pdf = dir + "/rm.pdf", printed = dir + "/rmp.pdf",
                      tif = dir + "/rm.tif";
    const std::string keys = "type:\"Royal Mail\", data:\"" + data + "\"";
    CliRun r = run({record(keys, eps), record(keys, pdf), record(keys, tif),
                    "{" + keys + ", printer:\"" + printed + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The text line is what lies below the bars: the symbol's 4-state bars each
    // make a patch, so the line is counted alone, under the lowest bar.
    auto linePatches = [](const testsupport::Bitmap& b) {
        const testsupport::Bitmap ink = testsupport::cropToInk(b, 0);
        int lastBarRow = 0;
        for (int y = 0; y < ink.height; ++y) {
            int dark = 0;
            for (int x = 0; x < ink.width; ++x) dark += ink.at(x, y) < 128;
            if (dark > 0 && y < ink.height * 2 / 3) lastBarRow = y;
        }
        testsupport::Bitmap line{ink.width, ink.height - lastBarRow - 1, {}};
        line.pixels.assign(ink.pixels.begin() + (lastBarRow + 1) * ink.width, ink.pixels.end());
        return inkPatches(line);
    };
    // The characters and the two light-margin marks.
    const int want = static_cast<int>(data.size()) + 2;
    EXPECT_EQ(linePatches(rendered(eps, 300)), want) << "EPS";
    EXPECT_EQ(linePatches(testsupport::greyOfImage(tif)), want) << "TIFF";
    for (const std::string& p : {pdf, printed}) {
        ASSERT_EQ(testsupport::pdftoppm(p, p, 300).status, 0);
        testsupport::Bitmap page;
        ASSERT_TRUE(testsupport::readPGM(p + "-1.pgm", &page));
        EXPECT_EQ(linePatches(page), want) << p;
    }
}

}  // namespace
