#include <gtest/gtest.h>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "labels/runs/printLabels.h"
#include "labels/runs/printWindow.h"
#include "support/cases.h"

namespace {

TEST(PrintWindow, PagesLabelsAndStartCell) {
    for (const testsupport::CaseLine& c : testsupport::readCases("labels/print_window.txt", 11)) {
        SCOPED_TRACE(c.where);
        resetWorld();
        if (c[0] == "pages") {
            labelBack.across = uint32_t(c.integer(1));
            labelBack.down = uint32_t(c.integer(2));
            gPrint.startX = c.integer(3);
            gPrint.startY = c.integer(4);
            gPrint.nLabels = c.integer(5);
            gPrint.nPages = c.integer(6);
            gPrint.iCopies = c.integer(7);
            workOutPages();
            EXPECT_EQ(gPrint.nPages, c.integer(8));
            EXPECT_EQ(gPrint.nLabels, c.integer(9));
            EXPECT_EQ(gPrint.iCopies, c.integer(10));
        } else {
            labelBack.labelWidth = uint32_t(c.integer(1));
            labelBack.labelHeight = uint32_t(c.integer(2));
            labelBack.spaceAcross = uint32_t(c.integer(3));
            labelBack.spaceDown = uint32_t(c.integer(4));
            labelBack.across = uint32_t(c.integer(5));
            labelBack.down = uint32_t(c.integer(6));
            PrintClick({c.integer(8), c.integer(7)});
            EXPECT_EQ(gPrint.startX, c.integer(9));
            EXPECT_EQ(gPrint.startY, c.integer(10));
        }
    }
    resetWorld();
}

// The click picks the cell drawn under it: the picture draws the cells past the
// margins and the extra gutter, so the pick must count them too.
TEST(PrintWindow, AClickPicksTheCellDrawnUnderIt) {
    resetWorld();
    labelBack.leftMargin = 200;   // 4 pixels of the picture
    labelBack.topMargin = 3000;   // 60 pixels: three rows' worth
    labelBack.labelWidth = 1800;  // 36 pixels
    labelBack.labelHeight = 1000;
    labelBack.across = 2 + kGutterModulus * 1;  // the gutter after column 1,
    labelBack.down = 4 + kGutterModulus * 100;  // 10 points (2 pixels) wide
    PrintClick({kPagePictV + 60 + 5, kPagePictH + 4 + 5});
    EXPECT_EQ(gPrint.startX, 1);
    EXPECT_EQ(gPrint.startY, 1);
    PrintClick({kPagePictV + 60 + 20 + 5, kPagePictH + 4 + 36 + 1});  // in the gutter
    EXPECT_EQ(gPrint.startX, 1);
    EXPECT_EQ(gPrint.startY, 2);
    PrintClick({kPagePictV + 60 + 80 + 5, kPagePictH + 4 + 38 + 1});
    EXPECT_EQ(gPrint.startX, 2);
    EXPECT_EQ(gPrint.startY, 4);
    resetWorld();
}

}  // namespace
