// The byte layouts of the sheet, view and item records against bytes written
// out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "labels/labelRecords.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

using platform::ByteOrder;

struct Records : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
    }
};

LabelSheet sampleSheet() {
    LabelSheet s;
    s.leftMargin = 162;
    s.topMargin = 389;
    s.across = 1280 * 2 + 3;
    s.down = 8;
    s.spaceAcross = 0x01020304;
    s.spaceDown = 7;
    s.labelWidth = 2835;
    s.labelHeight = 960;
    s.shapeVersion = 0x0203;
    s.backRed = 65535;
    s.backGreen = 0x8000;
    s.backBlue = 1;
    s.lastItem = -1;
    s.sheetWidth = 5953;
    s.sheetHeight = 8419;
    return s;
}

// clang-format off
const uint8_t kSheetLittle[kLabelSheetBytes] = {
    0xA2, 0x00, 0x00, 0x00,  0x85, 0x01, 0x00, 0x00,  // margins
    0x03, 0x0A, 0x00, 0x00,  0x08, 0x00, 0x00, 0x00,  // across (2 x 1280 + 3), down
    0x04, 0x03, 0x02, 0x01,  0x07, 0x00, 0x00, 0x00,  // gaps
    0x13, 0x0B, 0x00, 0x00,  0xC0, 0x03, 0x00, 0x00,  // label width, height
    0x03, 0x02, 0x00, 0x00,                           // shape 3, version 2 (extended), reserved
    0xFF, 0xFF, 0x00, 0x00,  0x00, 0x80, 0x00, 0x00,  0x01, 0x00, 0x00, 0x00,  // colour
    0xFF, 0xFF, 0x00, 0x00,                           // last index -1, reserved
    0x41, 0x17, 0x00, 0x00,  0xE3, 0x20, 0x00, 0x00,  // sheet width, height
};
const uint8_t kSheetBig[kLabelSheetBytes] = {
    0x00, 0x00, 0x00, 0xA2,  0x00, 0x00, 0x01, 0x85,
    0x00, 0x00, 0x0A, 0x03,  0x00, 0x00, 0x00, 0x08,
    0x01, 0x02, 0x03, 0x04,  0x00, 0x00, 0x00, 0x07,
    0x00, 0x00, 0x0B, 0x13,  0x00, 0x00, 0x03, 0xC0,
    0x02, 0x03, 0x00, 0x00,
    0x00, 0x00, 0xFF, 0xFF,  0x00, 0x00, 0x80, 0x00,  0x00, 0x00, 0x00, 0x01,
    0xFF, 0xFF, 0x00, 0x00,
    0x00, 0x00, 0x17, 0x41,  0x00, 0x00, 0x20, 0xE3,
};
const uint8_t kDescLittle[kLabelDescBytes] = {
    0x96, 0x00, 0x00, 0x00,  0x20, 0x00, 0x00, 0x00,  0x28, 0x00, 0x00, 0x00,
    0x01, 0x00,  0x00, 0x00,  0x00, 0x00,  0x00, 0x00,
};
// clang-format on

TEST_F(Records, SheetLayoutInBothOrders) {
    uint8_t out[kLabelSheetBytes];
    encodeLabelSheet(sampleSheet(), ByteOrder::little, out);
    EXPECT_EQ(0, std::memcmp(out, kSheetLittle, sizeof out));
    encodeLabelSheet(sampleSheet(), ByteOrder::big, out);
    EXPECT_EQ(0, std::memcmp(out, kSheetBig, sizeof out));
    for (const uint8_t* bytes : {kSheetLittle, kSheetBig}) {
        const LabelSheet s =
            decodeLabelSheet(bytes, bytes == kSheetBig ? ByteOrder::big : ByteOrder::little);
        EXPECT_EQ(s.across, 1280u * 2 + 3);
        EXPECT_EQ(s.spaceAcross, 0x01020304u);
        EXPECT_EQ(s.shapeVersion, 0x0203);
        EXPECT_EQ(s.lastItem, -1);
        EXPECT_EQ(s.sheetHeight, 8419u);
        EXPECT_EQ(itemRecordSize(s.shapeVersion), kLabelItemSize);
    }
    EXPECT_EQ(itemRecordSize(0x0100), kLabelItemOldSize);
}

TEST_F(Records, ViewLayoutAndADamagedUnit) {
    LabelDesc d;
    d.zoom = 150;
    d.vOffset = 40;
    d.measType = 1;
    uint8_t out[kLabelDescBytes];
    encodeLabelDesc(d, ByteOrder::little, out);
    EXPECT_EQ(0, std::memcmp(out, kDescLittle, sizeof out));
    EXPECT_EQ(decodeLabelDesc(kDescLittle, ByteOrder::little).zoom, 150);
    EXPECT_EQ(decodeLabelDesc(kDescLittle, ByteOrder::little).measType, 1);
    uint8_t damaged[kLabelDescBytes];
    std::memcpy(damaged, kDescLittle, sizeof damaged);
    damaged[12] = 0x07;
    EXPECT_EQ(decodeLabelDesc(damaged, ByteOrder::little).measType, 2);  // millimetres
    damaged[12] = 0x04;
    EXPECT_EQ(decodeLabelDesc(damaged, ByteOrder::little).measType, 4);
}

TEST_F(Records, ItemRecordWordsTextsAndHandles) {
    ASSERT_EQ(addLabelItem(), 0);
    LabelItem& it = *gLabel.labelParts[0];
    it.setI16(item::kind, kKindBarcode);
    gSym.Siz = 400;
    gSym.code = 7;
    copyBounded(gData.chMainCode2, "ABC");
    gData.len1 = 0x01020304;
    gLabel.hasExternalH = true;
    gLabel.externalH = "held beside the record";
    setItemData(0, 4);

    std::vector<uint8_t> big(kLabelItemSize, 0xEE), little(kLabelItemSize, 0xEE);
    ASSERT_TRUE(encodeItemRecord(it, ByteOrder::big, big.data(), big.size()));
    ASSERT_TRUE(encodeItemRecord(it, ByteOrder::little, little.data(), little.size()));
    EXPECT_EQ(big[0], 0x00);
    EXPECT_EQ(big[1], 0x04);
    EXPECT_EQ(little[0], 0x04);
    EXPECT_EQ(big[item::siz], 0x9C);  // 40000
    EXPECT_EQ(big[item::siz + 1], 0x40);
    EXPECT_EQ(big[item::code + 1], 7);
    const uint8_t len1Big[] = {1, 2, 3, 4}, len1Little[] = {4, 3, 2, 1};
    EXPECT_EQ(0, std::memcmp(&big[item::len1], len1Big, 4));
    EXPECT_EQ(0, std::memcmp(&little[item::len1], len1Little, 4));
    EXPECT_EQ(0, std::memcmp(&big[item::dataText], "ABC\x0b\x0b", 6));
    for (size_t off = item::dataHandle; off < kLabelItemSize; ++off) {
        ASSERT_EQ(big[off], 0) << off;
        ASSERT_EQ(little[off], 0) << off;
    }
    // Written in one order, read in it, the record is what it was.
    LabelItem back;
    ASSERT_TRUE(decodeItemRecord(&back, big.data(), big.size(), ByteOrder::big));
    EXPECT_EQ(back.rec, it.rec);
    EXPECT_FALSE(back.hasDataHandle);
    // Unknown sizes are refused and change nothing.
    EXPECT_FALSE(encodeItemRecord(it, ByteOrder::big, big.data(), 2000));
    EXPECT_FALSE(decodeItemRecord(&back, big.data(), 2143, ByteOrder::big));
}

TEST_F(Records, TheOlderRecordLacksTheLastFourHandles) {
    ASSERT_EQ(addLabelItem(), 0);
    LabelItem& it = *gLabel.labelParts[0];
    gLabel.serEnd = "9999";
    setItemData(0, 4);
    std::vector<uint8_t> old(kLabelItemOldSize + 8, 0xAB);
    ASSERT_TRUE(encodeItemRecord(it, ByteOrder::little, old.data(), kLabelItemOldSize));
    EXPECT_EQ(old[kLabelItemOldSize], 0xAB);  // nothing written past the record
    EXPECT_EQ(old[item::dataHandle], 0);
    LabelItem back;
    ASSERT_TRUE(decodeItemRecord(&back, old.data(), kLabelItemOldSize, ByteOrder::little));
    EXPECT_EQ(back.rec, it.rec);
    EXPECT_EQ(back.text(item::serEnd), "9999");
}

}  // namespace
