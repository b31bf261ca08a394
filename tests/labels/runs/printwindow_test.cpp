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

}  // namespace
