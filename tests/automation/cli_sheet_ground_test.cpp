// A printed sheet with no margins and no gaps: every label's white ground is
// painted under that label at the printer's resolution, so no later label
// wipes out ink of an earlier one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/world.h"
#include "automation/options.h"
#include "cli_run.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "support/settings_sandbox.h"

namespace {

namespace fs = std::filesystem;

// The sheet, in tenths of a point: 2 by 2 labels of 250 by 300 points from the
// paper's corner.
constexpr int kAcross = 2, kDown = 2;
constexpr int kWidth = 2500, kHeight = 3000;
constexpr int kDpi = 300;
constexpr double kBarHeightMm = 10;  // short bars: all of them near the corner

struct CliSheetGround : testsupport::SettingsSandbox {
    // One Code 128 item of fixed data, short and close to the label's top-left
    // corner: on the first label that is the paper's corner.
    std::string makeDocument(const std::string& data) {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
        labelBack.leftMargin = labelBack.topMargin = 0;
        labelBack.across = kAcross;
        labelBack.down = kDown;
        labelBack.spaceAcross = labelBack.spaceDown = 0;
        labelBack.labelWidth = kWidth;
        labelBack.labelHeight = kHeight;
        EXPECT_EQ(addLabelItem(), 0);
        gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
        gLabel.itRect = {4, 4, 34, 240};
        EXPECT_EQ(parseCodeType("Code 128"), 1);
        copyBounded(gData.chMainCode, data.c_str());
        copyBounded(gData.chMainCode2, data.c_str());
        gData.len1 = gData.len11 = 0;
        gSym.Hei = kBarHeightMm;
        gLabel.proMode = 0;
        gLabel.notDrawn = 0;
        setItemRect(0);
        setItemData(0, 2);
        const std::string doc = (dir / "corner.labl").string();
        EXPECT_EQ(saveDocumentTo(doc), 0);
        resetWorld();
        return doc;
    }

    // The label cell at `col`, `row` of the first page, as printed.
    testsupport::Bitmap cell(const std::string& pdf, int col, int row) {
        testsupport::Bitmap page;
        EXPECT_TRUE(testsupport::pdfPage(pdf, kDpi, 1, &page));
        const double k = kDpi / 720.0;
        testsupport::Bitmap c;
        c.width = int(kWidth * k);
        c.height = int(kHeight * k);
        c.pixels.resize(size_t(c.width) * size_t(c.height));
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                c.pixels[size_t(y) * size_t(c.width) + size_t(x)] =
                    page.at(int(kWidth * k * col) + x, int(kHeight * k * row) + y);
        return testsupport::padBitmap(c, 20);
    }
};

TEST_F(CliSheetGround, LaterLabelsLeaveTheFirstLabelsCornerAlone) {
    const std::string doc = makeDocument("CORNER 7");
    const std::string pdf = (dir / "corner.pdf").string();
    const CliRun r = run({"--open", doc, "{printer:\"" + pdf + "\"}"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (int row = 0; row < kDown; ++row)
        for (int col = 0; col < kAcross; ++col)
            EXPECT_EQ(testsupport::decode(cell(pdf, col, row), "Code128").text, "CORNER 7")
                << "label at column " << col << ", row " << row;
}

}  // namespace
