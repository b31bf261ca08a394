// The layout window's geometry without a window: hit testing, handles, the
// grid, the rubber band's selection and the palette and tab tables.
#include <gtest/gtest.h>

#include "app/itemPanels.h"
#include "app/layoutGeometry.h"
#include "app/world.h"
#include "labels/itemFields.h"
#include "labels/labelDoc.h"
#include "picture/PICout2.h"
#include "support/label_document.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

struct LayoutGeometry : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        testsupport::startLabelDocument(3000, 2000, 1, 1);
        labelDesc.hOffset = 32;
        labelDesc.vOffset = 32;
        labelDesc.zoom = 100;
    }
    void TearDown() override { resetWorld(); }
    static LabelItem& at(int32_t i) { return *gLabel.labelParts[size_t(i)]; }
    // A window point (drag bar taken off) of a label point at the current view.
    static qd::Point win(int32_t h, int32_t v) {
        return {int32_t(v * labelDesc.zoom / 100 + labelDesc.vOffset),
                int32_t(h * labelDesc.zoom / 100 + labelDesc.hOffset)};
    }
    static Rect16 rectOf(int32_t i) {
        const LabelItem& it = at(i);
        return {it.i16(item::rectTop), it.i16(item::rectLeft), it.i16(item::rectBottom),
                it.i16(item::rectRight)};
    }
};

TEST_F(LayoutGeometry, HitTestFindsFrontItemsOnTheActiveLayerAndNeverTheBackground) {
    testsupport::addItemOfKind(kKindBackground, 0, 0, 200, 300);                   // 0
    testsupport::addItemOfKind(kKindRect, 10, 10, 60, 110);                        // 1
    testsupport::addItemOfKind(kKindOval, 40, 80, 90, 160);                        // 2 overlaps 1
    LabelItem& guide = testsupport::addItemOfKind(kKindRect, 120, 120, 150, 200);  // 3
    guide.setI16(item::attTopPacked, kGuideBit);
    struct Case {
        const char* what;
        int32_t layer, h, v, want;
    };
    const Case cases[] = {
        {"inside the rectangle alone", 0, 30, 30, 1},
        {"the overlap goes to the higher index", 0, 100, 50, 2},
        {"two points outside the edge still hits", 0, 8, 30, 1},
        {"three points outside misses, background below", 0, 7, 30, -1},
        {"empty label area is the background: no hit", 0, 250, 180, -1},
        {"a guide item is not hit on the item layer", 0, 150, 130, -1},
        {"a guide item is hit on the guide layer", 1, 150, 130, 3},
        {"an ordinary item is not hit on the guide layer", 1, 30, 30, -1},
        {"nothing is hit on the background layer", 2, 30, 30, -1},
    };
    for (const Case& c : cases) {
        gLayout.guideLayer = c.layer;
        EXPECT_EQ(findLabelItem(win(c.h, c.v), false), c.want) << c.what;
    }
}

TEST_F(LayoutGeometry, LinesAreHitNearTheirStrokeAtEverySlope) {
    struct Case {
        const char* what;
        int16_t top, left, bottom, right;
        int32_t h, v;
        bool hit;
    };
    const Case cases[] = {
        {"diagonal, its middle", 10, 10, 110, 110, 60, 60, true},
        {"diagonal, 10 beside", 10, 10, 110, 110, 70, 60, false},
        {"diagonal, 3 beside", 10, 10, 110, 110, 63, 60, true},
        {"rising diagonal, its middle", 110, 10, 10, 110, 60, 60, true},
        {"rising diagonal, the other diagonal's corner", 110, 10, 10, 110, 100, 100, false},
        {"vertical, on it", 10, 50, 110, 50, 50, 60, true},
        {"vertical, 4 beside (slack 2 + 2 points)", 10, 50, 110, 50, 52, 60, true},
        {"vertical, 6 beside", 10, 50, 110, 50, 56, 60, false},
        {"horizontal, on it", 50, 10, 50, 110, 60, 50, true},
        {"horizontal, 2 below", 50, 10, 50, 110, 60, 52, true},
        {"horizontal, 10 below", 50, 10, 50, 110, 60, 60, false},
        {"steep line, one pixel off", 10, 50, 110, 60, 56, 60, true},
        {"shallow line, two off", 50, 10, 60, 110, 60, 57, true},
    };
    for (const Case& c : cases) {
        initLabelItems();
        testsupport::addItemOfKind(kKindLine, c.top, c.left, c.bottom, c.right);
        EXPECT_EQ(findLabelItem(win(c.h, c.v), false), c.hit ? 0 : -1) << c.what;
    }
}

TEST_F(LayoutGeometry, HitTestFollowsZoomScrollAndSelection) {
    testsupport::addItemOfKind(kKindRect, 10, 10, 60, 110);  // 0
    testsupport::addItemOfKind(kKindRect, 20, 20, 50, 100);  // 1, over 0
    for (int16_t zoom : {50, 100, 200}) {
        labelDesc.zoom = zoom;
        labelDesc.hOffset = 32 - 40;  // scrolled 40 across
        EXPECT_EQ(findLabelItem(win(30, 30), false), 1) << zoom;
        EXPECT_EQ(findLabelItem(win(12, 55), false), 0) << zoom;
        EXPECT_EQ(findLabelItem(win(200, 55), false), -1) << zoom;
    }
    // A click in the selection hits only the selected item under it.
    labelDesc = LabelDesc{};
    at(0).setI16(item::selected, 1);
    recomputeSelRect();
    EXPECT_EQ(findLabelItem(win(30, 30), false), 0);
    EXPECT_EQ(findLabelItem(win(30, 30), true), 1) << "shift looks past the selection";
}

TEST_F(LayoutGeometry, RotatedItemsAreHitInTheirTurnedBox) {
    const int32_t i = [] {
        testsupport::addItemOfKind(kKindText, 100, 100, 120, 200);
        return labelBack.lastItem;
    }();
    gSym.orient = 90;
    getItemRect(i);
    setItemData(i, 1);  // stores orient 90
    gSym.orient = 0;
    // Turned about its centre (150, 110): 140-160 across, 60-160 down.
    EXPECT_EQ(findLabelItem(win(150, 70), false), 0);
    EXPECT_EQ(findLabelItem(win(190, 110), false), -1);
}

TEST_F(LayoutGeometry, HandlesWithinTwoPixels) {
    const qd::Rect r{100, 100, 200, 300};
    struct Case {
        int32_t h, v, handle;
    };
    const Case cases[] = {
        {100, 100, 1}, {102, 98, 1},  {300, 100, 2}, {100, 200, 3}, {301, 201, 4},
        {100, 150, 5}, {300, 152, 6}, {200, 100, 7}, {198, 200, 8}, {103, 100, 0},
        {200, 150, 0}, {300, 140, 0}, {150, 100, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(getCorner({c.v, c.h}, r), c.handle) << c.h << "," << c.v;
}

TEST_F(LayoutGeometry, ResizeRefusedForBarcodesAndNeverNegative) {
    testsupport::addItemOfKind(kKindBarcode, 10, 10, 60, 110);  // 0
    testsupport::addItemOfKind(kKindRect, 100, 100, 150, 200);  // 1
    testsupport::addItemOfKind(kKindLine, 10, 200, 60, 250);    // 2
    for (int32_t i : {0, 1, 2}) at(i).setI16(item::selected, 1);
    EXPECT_EQ(resizeHandleAt(0, win(10, 10)), 0) << "barcodes keep their size";
    EXPECT_EQ(resizeHandleAt(1, win(200, 150)), 4);
    EXPECT_EQ(resizeHandleAt(2, win(225, 35)), 0) << "a line has no middle handles";
    EXPECT_EQ(resizeHandleAt(2, win(250, 60)), 2) << "a line's end";
    at(1).setI16(item::selected, 0);
    EXPECT_EQ(resizeHandleAt(1, win(200, 150)), 0) << "only a selected item";

    // Dragging the bottom-right handle past the top-left corner flips the rectangle
    // back to a positive size.
    qd::Rect r = itemWindowRect(1);
    moveHandle(&r, 4, win(80, 90));
    storeResizedRect(1, r);
    const Rect16 flipped = rectOf(1);
    EXPECT_EQ(flipped.left, 80);
    EXPECT_EQ(flipped.top, 90);
    EXPECT_EQ(flipped.right, 100);
    EXPECT_EQ(flipped.bottom, 100);
    // A line keeps its direction.
    qd::Rect l = labelToWindow(rectOf(2));
    moveHandle(&l, 1, win(260, 70));
    storeResizedRect(2, l);
    EXPECT_EQ(rectOf(2).left, 260);
    EXPECT_EQ(rectOf(2).right, 250);
}

TEST_F(LayoutGeometry, ResizeAtZoomMapsBackToPoints) {
    testsupport::addItemOfKind(kKindRect, 100, 100, 150, 200);
    at(0).setI16(item::selected, 1);
    labelDesc.zoom = 200;
    qd::Rect r = itemWindowRect(0);
    ASSERT_EQ(resizeHandleAt(0, {(r.top + r.bottom) / 2 + 1, r.right}), 6);
    moveHandle(&r, 6, win(260, 0));
    storeResizedRect(0, r);
    EXPECT_EQ(rectOf(0).right, 260);
    EXPECT_EQ(rectOf(0).left, 100);
}

TEST_F(LayoutGeometry, GridSnapsDownToTheZoomedStep) {
    qd::Point p{47, 53};
    GetGridPoint(&p);
    EXPECT_EQ(p.h, 53) << "grid off: untouched";
    gDriver.gridOn = 1;
    struct Case {
        int16_t zoom;
        int32_t in, out;
    };
    for (const Case c : {Case{100, 53, 50}, Case{200, 53, 40}, Case{50, 53, 50}, Case{150, 44, 30},
                         Case{100, -7, 0}}) {
        labelDesc.zoom = c.zoom;
        qd::Point q{c.in, c.in};
        GetGridPoint(&q);
        EXPECT_EQ(q.h, c.out) << c.zoom << " " << c.in;
        EXPECT_EQ(q.v, c.out) << c.zoom << " " << c.in;
    }
}

TEST_F(LayoutGeometry, MarqueeSelectsWhollyInsideAndMovesKeepSelection) {
    testsupport::addItemOfKind(kKindRect, 10, 10, 60, 110);
    testsupport::addItemOfKind(kKindOval, 70, 10, 90, 50);
    testsupport::addItemOfKind(kKindRect, 50, 100, 150, 250);  // only partly inside
    EXPECT_EQ(selectInRect({0, 0, 100, 120}), 1);
    EXPECT_EQ(at(0).i16(item::selected), 1);
    EXPECT_EQ(at(1).i16(item::selected), 1);
    EXPECT_EQ(at(2).i16(item::selected), 0);
    EXPECT_EQ(gLabel.gSelRect.bottom, 90);
    EXPECT_EQ(gLabel.gSelRect.right, 110);
    EXPECT_EQ(selectInRect({200, 200, 300, 300}), -1);

    moveItemRectangle(2);  // right
    moveItemRectangle(3);  // down
    moveItemRectangle(3);
    moveItemRectangle(0);  // up
    moveItemRectangle(1);  // left
    moveItemRectangle(1);
    EXPECT_EQ(rectOf(0).left, 9);
    EXPECT_EQ(rectOf(0).top, 11);
    EXPECT_EQ(rectOf(1).right, 49);
    EXPECT_EQ(rectOf(2).left, 100) << "unselected items stay";
    // Items dragged far past the label's edges stop with 8 points of the
    // selection still on it, keeping their sizes.
    moveSelectedItems(-500, -500);
    EXPECT_EQ(gLabel.gSelRect.right, 8);
    EXPECT_EQ(gLabel.gSelRect.bottom, 8);
    EXPECT_EQ(rectOf(0).right - rectOf(0).left, 100);
    EXPECT_EQ(rectOf(1).bottom - rectOf(1).top, 20);
    moveSelectedItems(900, 900);
    EXPECT_EQ(gLabel.gSelRect.left, 300 - 8);
    EXPECT_EQ(gLabel.gSelRect.top, 200 - 8);
    EXPECT_EQ(rectOf(2).left, 100) << "unselected items stay";
    // Partly over the edge is allowed.
    moveSelectedItems(-300, -200);
    EXPECT_EQ(gLabel.gSelRect.left, -8);
    EXPECT_EQ(gLabel.gSelRect.top, -8);
}

TEST_F(LayoutGeometry, RotationTurnsEachItemFromItsOwnAngleAndBarcodesStayUpright) {
    const int32_t text = [] {
        testsupport::addItemOfKind(kKindText, 10, 10, 30, 110);
        return labelBack.lastItem;
    }();
    testsupport::addItemOfKind(kKindBarcode, 50, 10, 100, 110);
    getItemData(text);
    gSym.orient = 270;
    setItemData(text, 1);
    at(0).setI16(item::selected, 1);
    at(1).setI16(item::selected, 1);
    rotateSelectedItems();
    getItemData(0);
    EXPECT_EQ(gSym.orient, 0) << "270 turns to 0";
    getItemData(1);
    EXPECT_EQ(gSym.orient, 0) << "a barcode item is stored unrotated";
    rotateSelectedItems();
    getItemData(0);
    EXPECT_EQ(gSym.orient, 90);
}

TEST_F(LayoutGeometry, NewItemsFromTheTools) {
    // A text drawn as a click becomes 100 points wide and twice its size plus 4 high.
    gSym.customTeSize = 0;
    const int32_t t = createLayoutItem(kKindText, {40, 30, 40, 30});
    ASSERT_EQ(t, 0);
    EXPECT_EQ(rectOf(t).right - rectOf(t).left, 100);
    EXPECT_EQ(rectOf(t).bottom - rectOf(t).top, 12 * 2 + 4);
    // A rectangle dragged right to left is normalised; a line keeps its direction.
    const int32_t r = createLayoutItem(kKindRect, {80, 90, 20, 10});
    EXPECT_EQ(rectOf(r).left, 10);
    EXPECT_EQ(rectOf(r).bottom, 80);
    EXPECT_EQ(at(t).i16(item::selected), 0) << "the new item alone is selected";
    gSym.line = 0;
    const int32_t l = createLayoutItem(kKindLine, {80, 90, 20, 10});
    EXPECT_EQ(rectOf(l).left, 90);
    EXPECT_EQ(at(l).i16(item::line), 1) << "a line of no width gets one point";
    // On the guide layer the new item carries the guide bit and goes to the back.
    gLayout.guideLayer = kLayerGuide;
    const int32_t g = createLayoutItem(kKindOval, {0, 0, 10, 10});
    ASSERT_GE(g, 0);
    EXPECT_NE(at(0).u16(item::attTopPacked) & kGuideBit, 0);
    // A barcode keeps its symbol's measured size; one at most 2 mm high is placed
    // as its data's text line, 10 points high.
    gLayout.guideLayer = kLayerItems;
    gSym.code = 0;
    GetCodeText();
    copyBounded(gData.chMainCode, "501234567890");
    copyBounded(gData.chMainCode2, "501234567890");
    gData.len1 = gData.len11 = 12;
    const int32_t b = createLayoutItem(kKindBarcode, {20, 20, 20, 20});
    ASSERT_GE(b, 0);
    EXPECT_GT(rectOf(b).bottom - rectOf(b).top, 50);
    copyBounded(gData.chMainCode, "501234567890");
    copyBounded(gData.chMainCode2, "501234567890");
    gData.len1 = gData.len11 = 12;
    gSym.Hei = 1;
    gSym.customTeSize = 0;
    const int32_t low = createLayoutItem(kKindBarcode, {20, 20, 20, 20});
    ASSERT_GE(low, 0);
    EXPECT_EQ(rectOf(low).bottom - rectOf(low).top, 10);
    EXPECT_GT(rectOf(low).right - rectOf(low).left, 30);
    // The shape menu fills the label 5 points inside; at 100 items it adds nothing.
    gLayout.guideLayer = kLayerItems;
    const int32_t f = addShapeFillingLabel(kKindRectFilled);
    EXPECT_EQ(rectOf(f).right, 300 - 5);
    EXPECT_EQ(rectOf(f).bottom, 200 - 5);
    while (labelBack.lastItem + 1 < kMaxLabelItems) ASSERT_EQ(addLabelItem(), 0);
    EXPECT_EQ(addShapeFillingLabel(kKindRect), -1);
    EXPECT_EQ(createLayoutItem(kKindRect, {0, 0, 10, 10}), -1);
    EXPECT_EQ(labelBack.lastItem, kMaxLabelItems - 1);
}

TEST_F(LayoutGeometry, PaletteTabsZoomAndUnitTables) {
    struct Tool {
        int32_t h, v, tool;
    };
    for (const Tool c : {Tool{10, 30, 1}, Tool{30, 30, 2}, Tool{10, 50, 3}, Tool{30, 50, 4},
                         Tool{10, 70, 6}, Tool{20, 70, 7}, Tool{30, 90, 12}, Tool{10, 110, 9},
                         Tool{10, 90, 10}, Tool{20, 90, 11}, Tool{30, 110, 10}, Tool{10, 124, 9},
                         Tool{30, 124, 10}, Tool{10, 130, 0}, Tool{10, -3, 0}})
        EXPECT_EQ(paletteTool({c.v, c.h}), c.tool) << c.h << "," << c.v;
    EXPECT_EQ(toolTransparency(6), 1);
    EXPECT_EQ(toolTransparency(7), 0);
    EXPECT_EQ(toolTransparency(12), -1);
    EXPECT_EQ(tabCommand(tabAt(100)), 2) << "open";
    EXPECT_EQ(tabCommand(tabAt(150)), 9) << "sheet setup";
    EXPECT_EQ(tabCommand(tabAt(190)), 3) << "save";
    EXPECT_EQ(tabCommand(tabAt(10)), 14) << "close";
    EXPECT_EQ(tabAt(2), -1);
    EXPECT_EQ(tabCommand(tabAt(900)), -1);
    int16_t z = 100;
    z = zoomedOut(zoomedOut(zoomedOut(z)));
    EXPECT_EQ(z, 50);
    for (int i = 0; i < 40; ++i) z = zoomedIn(z);
    EXPECT_EQ(z, 1000);
    EXPECT_EQ(nextMeasType(0), 1);
    EXPECT_EQ(nextMeasType(3), 0);
    EXPECT_EQ(nextMeasType(4), 0);
    EXPECT_EQ(scrollOffset(40), -8);
    EXPECT_EQ(isallspace(" \t\r\n"), 1);
    EXPECT_EQ(isallspace(""), 1);
    EXPECT_EQ(isallspace(" a "), 0);
}

TEST_F(LayoutGeometry, ToolTransparencyFollowsTheShapeKinds) {
    struct Case {
        int32_t tool, transparency;
    };
    for (const Case c :
         {Case{kKindText, 1}, Case{kKindOval, 1}, Case{kKindRoundRect, 1}, Case{kKindOvalFilled, 0},
          Case{kKindRoundRectFilled, 0}, Case{kKindBarcode, -1}, Case{0, -1}, Case{-1, -1},
          Case{0x10000 + kKindRect, -1}})
        EXPECT_EQ(toolTransparency(c.tool), c.transparency) << "tool " << c.tool;
}

TEST_F(LayoutGeometry, RectangleHelpers) {
    qd::Rect r{10, 20, 30, 41};
    ScaleRect(&r, 150);
    EXPECT_EQ(r, (qd::Rect{15, 30, 45, 61}));
    ScaleDownRect(&r, 150);
    EXPECT_EQ(r, (qd::Rect{10, 20, 30, 40}));
    const qd::Rect outer{0, 0, 100, 100};
    EXPECT_EQ(RectInRect(outer, {0, 0, 100, 100}), 1);
    EXPECT_EQ(RectInRect(outer, {0, 0, 101, 100}), 0);
    EXPECT_EQ(AnyPtsInRect(outer, {-50, -50, 50, 50}), 1);
    EXPECT_EQ(AnyPtsInRect(outer, {50, 50, 150, 150}), 1);
    EXPECT_EQ(AnyPtsInRect(outer, {-50, 150, -10, 200}), 0);
    qd::Rect back{30, 40, 10, 20};
    FixRectangle(&back);
    EXPECT_EQ(back, (qd::Rect{10, 20, 30, 40}));
}

TEST_F(LayoutGeometry, SelectedItemFillsThePanelsFromItsSettings) {
    gSym.code = 0;
    GetCodeText();
    copyBounded(gData.chMainCode, "501234567890");
    gData.len1 = 12;
    gSym.customTeSize = 0;
    gLabel.proMode = 0;
    setPallitem(kKindBarcode);
    EXPECT_EQ(gPanels.TEH.text, "501234567890");
    EXPECT_FALSE(gPanels.TEType.text.empty()) << "the code type is named";
    EXPECT_EQ(gPanels.TEBack3[0].text, "auto");
    EXPECT_EQ(gPanels.TEBack1[8].text, "0");
    // A serial item: the data comes from the run; the counter is cut to the
    // data length less prefix and suffix.
    gLabel.proMode = 1;
    gLabel.serPos = "0000123456789";
    gLabel.incAmount = "1";
    gLabel.serEnd = "999999999999999";
    gLabel.numRepeat = 2;
    copyBounded(gData.chPrefix, "AB");
    gData.len1 = 8;
    gSym.customTeSize = 10;
    setPallitem(kKindText);
    EXPECT_EQ(gPanels.TEH.text, "");
    EXPECT_EQ(gPanels.TEBack1[0].text, "000012");
    EXPECT_EQ(gPanels.TEBack1[1].text, "999999");
    EXPECT_EQ(gPanels.TEBack1[8].text, "2");
    EXPECT_EQ(gPanels.TEBack1[3].text, "8");
    EXPECT_EQ(gPanels.TEBack3[0].text, "10");
}

}  // namespace
