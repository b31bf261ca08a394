// The byte layouts of the sheet, view and item records against bytes written
// out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "label_world.h"
#include "labels/labelRecords.h"

namespace {

using platform::ByteOrder;

using Records = LabelWorld;

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

// The bytes of a record in the case file, and the byte order they are in.
std::vector<uint8_t> recordBytes(const std::string& record, ByteOrder order) {
    for (const auto& c : testsupport::readCases("labels/records.txt", 3)) {
        if (c[0] != record || c[1] != (order == ByteOrder::big ? "big" : "little")) continue;
        std::vector<uint8_t> bytes;
        std::istringstream hex(c[2]);
        for (std::string word; hex >> word;)
            for (size_t i = 0; i + 1 < word.size(); i += 2)
                bytes.push_back(static_cast<uint8_t>(std::stoi(word.substr(i, 2), nullptr, 16)));
        return bytes;
    }
    ADD_FAILURE() << "no record " << record;
    return {};
}

TEST_F(Records, SheetLayoutInBothOrders) {
    for (ByteOrder order : {ByteOrder::little, ByteOrder::big}) {
        const std::vector<uint8_t> bytes = recordBytes("sheet", order);
        ASSERT_EQ(bytes.size(), kLabelSheetBytes);
        uint8_t out[kLabelSheetBytes];
        encodeLabelSheet(sampleSheet(), order, out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + kLabelSheetBytes), bytes);
        // Read back and written again, every field comes back.
        encodeLabelSheet(decodeLabelSheet(bytes.data(), order), order, out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + kLabelSheetBytes), bytes);
    }
    EXPECT_EQ(itemRecordSize(0x0203), kLabelItemSize);
    EXPECT_EQ(itemRecordSize(0x0100), kLabelItemOldSize);
}

TEST_F(Records, ViewLayoutAndADamagedUnit) {
    LabelDesc d;
    d.zoom = 150;
    d.vOffset = 40;
    d.measType = 1;
    const ByteOrder order = ByteOrder::little;
    std::vector<uint8_t> bytes = recordBytes("view", order);
    ASSERT_EQ(bytes.size(), kLabelDescBytes);
    uint8_t out[kLabelDescBytes];
    encodeLabelDesc(d, order, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + kLabelDescBytes), bytes);
    encodeLabelDesc(decodeLabelDesc(bytes.data(), order), order, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + kLabelDescBytes), bytes);
    bytes[12] = 0x07;
    EXPECT_EQ(decodeLabelDesc(bytes.data(), order).measType, 2);  // millimetres
    bytes[12] = 0x04;
    EXPECT_EQ(decodeLabelDesc(bytes.data(), order).measType, 4);
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
