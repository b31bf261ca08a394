// Editing a label as the layout window will: alignment, restacking, duplicates,
// deletion, the clipboards and undo. After every operation the document must
// still save and load back as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../label_world.h"
#include "labels/runs/itemOps.h"
#include "labels/labelFile.h"
#include "labels/labelRecords.h"
#include "platform/desktop.h"
#include "platform/quickdraw/pict.h"
#include "symbology/panels.h"

namespace {

struct ItemOps : LabelWorld {
    void SetUp() override {
        LabelWorld::SetUp();
        labelBack.labelWidth = 3000;
        labelBack.labelHeight = 2000;
    }
    // Items told apart by their left edge.
    static std::vector<int> lefts() {
        std::vector<int> v;
        for (int32_t i = 0; i <= labelBack.lastItem; ++i) v.push_back(at(i).i16(item::rectLeft));
        return v;
    }
    static void select(std::initializer_list<int32_t> indexes) {
        for (int32_t i : indexes) selectLabelItem(1, i);
    }
    // The document reads back from its own bytes with the same items and data.
    static void expectSaveable() {
        const std::string bytes = documentBytes();
        ParsedDocument doc;
        uint16_t message = 0;
        ASSERT_TRUE(parseDocument(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                  &doc, &message))
            << message;
        ASSERT_EQ(doc.items.size(), static_cast<size_t>(labelBack.lastItem + 1));
        for (size_t i = 0; i < doc.items.size(); ++i) {
            const LabelItem& it = at(static_cast<int32_t>(i));
            EXPECT_EQ(doc.items[i]->u16(item::kind), it.u16(item::kind)) << i;
            EXPECT_EQ(doc.items[i]->i16(item::rectLeft), it.i16(item::rectLeft)) << i;
            if (it.u16(item::kind) == kKindText) {
                EXPECT_STREQ(doc.items[i]->dataHandle.c_str(), it.dataHandle.c_str()) << i;
            }
        }
    }
};

TEST_F(ItemOps, CentresOnTheLabel) {
    for (const auto& c : testsupport::readCases("labels/align.txt", 4)) {
        resetWorld();
        initLabelItems();
        const auto size = c.numbers(1), r = c.numbers(2), want = c.numbers(3);
        labelBack.labelWidth = static_cast<uint32_t>(size[0]);
        labelBack.labelHeight = static_cast<uint32_t>(size[1]);
        add(kKindRect, int16_t(r[0]), int16_t(r[1]), int16_t(r[2]), int16_t(r[3]));
        add(kKindRect, 1, 2, 3, 4);  // not selected: stays
        selectLabelItem(1, 0);
        alignSelectedItems(c.integer(0));
        const LabelItem& it = at(0);
        EXPECT_EQ((std::vector<int64_t>{it.i16(item::rectTop), it.i16(item::rectLeft),
                                        it.i16(item::rectBottom), it.i16(item::rectRight)}),
                  want)
            << c.where;
        EXPECT_EQ(at(1).i16(item::rectLeft), 2) << c.where;
    }
}

TEST_F(ItemOps, RestacksAboveTheBackground) {
    for (int i = 0; i < 5; ++i) add(kKindRect, 0, int16_t(i), 10, 10);
    deleteLabelItem(2);
    EXPECT_EQ(lefts(), (std::vector<int>{0, 1, 3, 4}));
    deleteLabelItem(7);  // an empty slot: nothing
    EXPECT_EQ(labelBack.lastItem, 3);

    at(0).setI16(item::kind, kKindBackground);
    select({2, 3});
    sendToBack();  // below the others, above the background, in their order
    EXPECT_EQ(lefts(), (std::vector<int>{0, 3, 4, 1}));
    expectSaveable();
    bringToFront(0);  // the two selected go on top, still in their order
    EXPECT_EQ(lefts(), (std::vector<int>{0, 1, 3, 4}));

    doCmdKeyDisp('a');  // not all selected: select all
    EXPECT_EQ(allFlag(), 1);
    EXPECT_EQ(gLabel.gSelRect.left, 1);  // the background takes no part
    doCmdKeyDisp('A');
    EXPECT_EQ(allFlag(), 0);
    EXPECT_EQ(searchItemTypes(), 0);
    expectSaveable();
}

TEST_F(ItemOps, DuplicatesOwnTheirData) {
    LabelItem& pic = add(kKindPicture, 5, 6, 50, 60);
    pic.setI16(item::hei, kLinkedImage);
    pic.setI16(item::aboveHu, 640);
    pic.setText(item::dataText, "/pictures/logo.png");
    LabelItem& text = add(kKindText, 10, 20, 30, 40);
    text.dataHandle = std::string("Hello\0\0", 7);
    text.hasDataHandle = true;
    add(kKindRect, 0, 99, 1, 100);
    select({0, 1});
    doCmdKeyDisp('d');
    ASSERT_EQ(labelBack.lastItem, 4);
    EXPECT_EQ(searchItemTypes(), 2 | 4);  // the copies alone are selected
    EXPECT_EQ(at(0).i16(item::selected), 0);
    EXPECT_EQ(at(3).rec, [] {
        LabelItem want = at(0);
        want.setI16(item::selected, 1);
        return want.rec;
    }());  // same place, source and natural size
    // Deleting the sources leaves the copies whole.
    selectAllItems(0);
    select({0, 1});
    deleteSelectedItems();
    ASSERT_EQ(labelBack.lastItem, 2);
    EXPECT_EQ(at(1).text(item::dataText), "/pictures/logo.png");
    EXPECT_EQ(at(1).u16(item::hei), kLinkedImage);
    EXPECT_EQ(at(2).dataHandle, std::string("Hello\0\0", 7));
    expectSaveable();
}

TEST_F(ItemOps, UndoSwapsBackAndForth) {
    add(kKindRect, 0, 1, 10, 10);
    add(kKindText, 0, 2, 10, 10).dataHandle = "kept";
    at(1).hasDataHandle = true;
    select({1});
    doCmdKeyDisp('X');  // cut: on the internal clipboard, off the label
    EXPECT_EQ(lefts(), (std::vector<int>{1}));
    ASSERT_EQ(labelBackClip.lastItem, 0);
    EXPECT_EQ(gLabel.labelClip[0]->dataHandle, "kept");
    doCmdKeyDisp('c');
    doCmdKeyDisp('v');  // paste does nothing ...
    EXPECT_EQ(lefts(), (std::vector<int>{1}));
    doCmdKeyDisp('z');  // ... but undo brings the cut back
    EXPECT_EQ(lefts(), (std::vector<int>{1, 2}));
    EXPECT_EQ(at(1).dataHandle, "kept");
    expectSaveable();
    doCmdKeyDisp('Z');  // and again: redone
    EXPECT_EQ(lefts(), (std::vector<int>{1}));
    doCmdKeyDisp('Z');
    EXPECT_EQ(lefts(), (std::vector<int>{1, 2}));

    labelBack.labelWidth = 0;  // single-code mode: no undo
    doCmdKeyDisp('z');
    EXPECT_EQ(labelBack.lastItem, 1);

    // A single item's cut can be undone as well.
    labelBack.labelWidth = 3000;
    CutLabelItem(0);
    EXPECT_EQ(lefts(), (std::vector<int>{2}));
    doUndo();
    EXPECT_EQ(lefts(), (std::vector<int>{1, 2}));
}

TEST_F(ItemOps, ClipboardFlavours) {
    LabelItem& text = add(kKindText, 1, 2, 3, 4);
    text.dataHandle = std::string("Caf\x8E\0\0", 6);
    text.hasDataHandle = true;
    add(kKindRect, 0, 0, 9, 9);
    CopyLabelItem(0);
    std::string labl, extr;
    ASSERT_TRUE(platform::GetScrapFlavor("LABL", &labl));
    ASSERT_EQ(labl.size(), kLabelItemSize);
    LabelItem back;
    ASSERT_TRUE(decodeItemRecord(&back, reinterpret_cast<const uint8_t*>(labl.data()), labl.size(),
                                 platform::kNativeOrder));
    EXPECT_EQ(back.rec, text.rec);
    ASSERT_TRUE(platform::GetScrapFlavor("EXTR", &extr));
    EXPECT_EQ(extr, text.dataHandle);
    CopyLabelItem(1);  // no data: no 'EXTR'
    EXPECT_FALSE(platform::GetScrapFlavor("EXTR", &extr));

    qd::Picture pic;
    pic.frame = {0, 0, 20, 30};
    putPICTonClip(&pic);
    std::string pict, why;
    ASSERT_TRUE(platform::GetScrapFlavor("PICT", &pict));
    EXPECT_FALSE(platform::GetScrapFlavor("LABL", &labl));  // cleared first
    qd::Picture* read =
        qd::ReadPict(reinterpret_cast<const unsigned char*>(pict.data()), pict.size(), &why);
    ASSERT_NE(read, nullptr) << why;
    EXPECT_EQ(read->frame, pic.frame);
    qd::KillPicture(read);
    putPICTonClip(nullptr);  // nothing: the picture stays
    EXPECT_TRUE(platform::GetScrapFlavor("PICT", &pict));
}

TEST_F(ItemOps, NewTextPictureAndColour) {
    add(kKindText, 0, 0, 9, 9);
    add(kKindText, 0, 1, 9, 9);
    LabelItem& pic = add(kKindPicture, 0, 2, 9, 9);
    pic.setI16(item::hei, kLinkedImage);
    select({0, 2});
    platform::TERec field;
    field.text = std::string(5000, 'x');
    setTextItems(field);
    EXPECT_EQ(at(0).dataHandle, std::string(4096, 'x') + std::string(2, '\0'));
    EXPECT_FALSE(at(1).hasDataHandle);  // not selected
    EXPECT_FALSE(at(2).hasDataHandle);  // not text
    expectSaveable();

    qd::Picture drawn;
    drawn.frame = {0, 0, 5, 5};
    setPictureItems(&drawn);
    EXPECT_EQ(at(2).dataHandle, qd::WritePict(drawn));
    EXPECT_NE(at(2).u16(item::hei), kLinkedImage);  // the picture is saved with the item
    EXPECT_EQ(at(0).dataHandle.size(), 4098u);
    expectSaveable();

    // Nothing selected: the label background's colour, a grey as black.
    labelBack.backRed = labelBack.backGreen = labelBack.backBlue = 32768;
    gLabel.curIteTyp = 0;
    setColourItems(0);
    EXPECT_EQ(gPanels.TEBlac.text + " " + gPanels.TECyan.text, "49 0");
    gLabel.curIteTyp = 4;
    gSym.cyan22 = 7;
    gPanels.colTab = 1;
    setColourItems(1);
    EXPECT_EQ(gPanels.TECyan.text, "7");
}

}  // namespace
