// The label document file: round trips, the other byte order, the oldest
// format, item counts, gutter sheets, rewriting, and every cut-short file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "label_world.h"
#include "labels/labelFile.h"
#include "labels/labelRecords.h"
#include "labels/units.h"
#include "platform/byteorder.h"

namespace {

namespace fs = std::filesystem;
using platform::ByteOrder;

void writeAll(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}
std::string readAll(const fs::path& p) { return testsupport::slurp(p.string()); }

struct LabelFile : LabelWorld {
    void SetUp() override {
        LabelWorld::SetUp();
        gDocFile = DocumentFileState{};
    }
    static LabelItem& add(uint16_t kind) {
        return LabelWorld::add(kind, static_cast<int16_t>(11 + labelBack.lastItem), 20, 40, 90);
    }

    // A label with every kind of item and every block the file carries.
    static void everyKind() {
        labelBack.labelWidth = 1700;
        labelBack.labelHeight = 960;
        labelBack.across = 1280 * 1 + 3;  // a gutter sheet, taken in native order
        labelBack.down = 1280 * 50 + 7;
        labelBack.sheetWidth = 5953;
        labelBack.sheetHeight = 8419;
        gUnits.gMeasType = 1;
        labelDesc.zoom = 150;
        LabelItem& text = add(kKindText);
        text.dataHandle = std::string("Hello\rlabel", 11) + std::string(2, '\0');
        text.hasDataHandle = true;
        text.taggedBlock = "<<GTML>>\r<<Item>>\rgreeting<<\\Item>>\r";
        LabelItem& code = add(kKindBarcode);
        code.setText(item::dataText, std::string("501234567890\vPRE\vSUF"));
        code.setText(item::addCode, "12");
        code.setText(item::serPos, "0001");
        code.setText(item::incAmount, "1");
        code.setText(item::serEnd, "9999");
        code.setI16(item::humanPacked, 1 + 2 * 1);
        code.extraBlocks[1] = "second block";
        LabelItem& pict = add(kKindPicture);
        pict.dataHandle = std::string("\x00\x0A\x01\x02pictbytes", 13);
        pict.hasDataHandle = true;
        LabelItem& ps = add(kKindPicture);
        ps.setI16(item::hei, 101);
        ps.dataHandle = std::string("%!PS raw block\0\0", 16);
        ps.hasDataHandle = true;
        LabelItem& linked = add(kKindBackground);
        linked.setI16(item::hei, 116);
        linked.setText(item::dataText, "/images/back.png");
        for (uint16_t k : {kKindRect, kKindOvalFilled, kKindRoundRect, kKindLine}) add(k);
        gDocFile.impoFile = "/data/import/records.txt";
    }

    // The document as the file would carry it, to compare two documents.
    static std::string state() {
        std::string s = documentBytes();
        s += std::to_string(labelDesc.hOffset) + "," + std::to_string(labelDesc.vOffset);
        for (int i = 0; i <= labelBack.lastItem; ++i) {
            const LabelItem& it = *gLabel.labelParts[static_cast<size_t>(i)];
            s += '|';
            s += std::to_string(it.hasDataHandle) + it.dataHandle + it.taggedBlock;
            for (const auto& b : it.extraBlocks) {
                s += '/';
                s += b;
            }
        }
        return s;
    }
};

TEST_F(LabelFile, EveryKindRoundTripsAndSavesTheSameBytesTwice) {
    everyKind();
    const std::string before = state();
    const fs::path file = dir / "doc.labl";
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    const std::string first = readAll(file);
    initLabelItems();
    gUnits.gMeasType = 3;
    gDocFile.impoFile.clear();
    ASSERT_EQ(loadDocumentFrom(file.string()), 1) << gMsg.last;
    EXPECT_EQ(gUnits.gMeasType, 1);
    EXPECT_EQ(labelDesc.hOffset, 32u);  // the view offsets are not kept
    EXPECT_EQ(labelDesc.vOffset, 32u);
    EXPECT_EQ(gDocFile.impoFile, "/data/import/records.txt");
    EXPECT_EQ(state(), before);
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    EXPECT_EQ(readAll(file), first);
    // The text block is stored without its two closing NULs.
    EXPECT_NE(first.find(std::string("\0\0\0\x0BHello\rlabel", 15)), std::string::npos);
}

// A file of the other byte order, as a machine of that order writes it: a
// 52-byte header, the records' words reversed; block lengths big-endian.
std::string foreignFile(const std::string& native, int items) {
    ParsedDocument doc;
    uint16_t message = 0;
    EXPECT_TRUE(parseDocument(reinterpret_cast<const uint8_t*>(native.data()), native.size(), &doc,
                              &message));
    std::string out(kLabelSheetBytes, '\0');
    encodeLabelSheet(doc.sheet, ByteOrder::big, reinterpret_cast<uint8_t*>(out.data()));
    out.resize(52);
    std::string desc(kLabelDescBytes, '\0');
    encodeLabelDesc(doc.desc, ByteOrder::big, reinterpret_cast<uint8_t*>(desc.data()));
    out += desc + std::string(kReservedBlockBytes, '\0');
    size_t at = kLabelSheetBytes + kLabelDescBytes + kReservedBlockBytes;
    for (int i = 0; i < items; ++i, at += kLabelItemSize) {
        std::string rec(kLabelItemSize, '\0');
        encodeItemRecord(*doc.items[static_cast<size_t>(i)], ByteOrder::big,
                         reinterpret_cast<uint8_t*>(rec.data()), kLabelItemSize);
        out += rec;
    }
    return out + native.substr(at);
}

TEST_F(LabelFile, AFileOfTheOtherByteOrderLoadsEqual) {
    labelBack.labelWidth = 1700;
    labelBack.across = 2;
    LabelItem& a = add(kKindText);
    a.dataHandle = std::string("abc\0\0", 5);
    a.hasDataHandle = true;
    a.setU32(item::len1, 70000);
    add(kKindBarcode).setText(item::dataText, "4006381333931");
    const std::string before = state();
    const fs::path file = dir / "big.labl";
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    const std::string foreign = foreignFile(readAll(file), 2);
    // The across word 2 reads 33554432 in this order.
    EXPECT_EQ(
        platform::get32(reinterpret_cast<const uint8_t*>(foreign.data()) + 8, ByteOrder::little),
        33554432u);
    writeAll(file, foreign);
    initLabelItems();
    ASSERT_EQ(loadDocumentFrom(file.string()), 1) << gMsg.last;
    labelBack.sheetWidth = labelBack.sheetHeight = 0;  // the other order carries no sheet size
    EXPECT_EQ(state(), before);
}

// Every gutter column the sheet setup accepts opens again, in either order:
// from column 52 (51 with 256 across) the across word passes 65536.
TEST_F(LabelFile, EveryGutterColumnOpensAgainInEitherOrder) {
    struct Sheet {
        uint32_t across, column;
    };
    const Sheet cases[] = {{1, 51}, {1, 52}, {3, 60}, {256, 51}, {512, 3354}, {1279, 3354}, {2, 1}};
    const fs::path file = dir / "gutter.labl";
    for (const Sheet& c : cases) {
        SCOPED_TRACE(std::to_string(c.across) + " across, gutter column " +
                     std::to_string(c.column));
        initLabelItems();
        labelBack.labelWidth = 100;
        labelBack.labelHeight = 120;
        labelBack.leftMargin = 30;
        labelBack.across = c.across + kGutterModulus * c.column;
        labelBack.down = 2 + kGutterModulus * 3354;
        add(kKindRect);
        const std::string before = state();
        ASSERT_EQ(saveDocumentTo(file.string()), 0);
        const std::string native = readAll(file);
        initLabelItems();
        ASSERT_EQ(loadDocumentFrom(file.string()), 1) << gMsg.last;
        EXPECT_EQ(state(), before);

        writeAll(file, foreignFile(native, 1));
        initLabelItems();
        ASSERT_EQ(loadDocumentFrom(file.string()), 1) << gMsg.last;
        labelBack.sheetWidth = labelBack.sheetHeight = 0;  // the other order carries no sheet size
        EXPECT_EQ(state(), before);
    }
}

TEST_F(LabelFile, TheOldestFormatLoadsInTenthsOfAPointWithoutItems) {
    LabelSheet old;
    old.labelWidth = 96;
    old.labelHeight = 50;
    old.leftMargin = 16;
    old.across = 3;
    old.lastItem = 4;
    old.shapeVersion = 2;  // shape 2, version 0
    std::string bytes(kLabelSheetBytes, '\0');
    encodeLabelSheet(old, platform::kNativeOrder, reinterpret_cast<uint8_t*>(bytes.data()));
    const fs::path file = dir / "old.labl";
    writeAll(file, bytes);
    ASSERT_EQ(loadDocumentFrom(file.string()), 1);
    EXPECT_EQ(labelBack.labelWidth, 960u);
    EXPECT_EQ(labelBack.labelHeight, 500u);
    EXPECT_EQ(labelBack.leftMargin, 160u);
    EXPECT_EQ(labelBack.shapeVersion, 0x102);
    EXPECT_EQ(labelBack.lastItem, -1);
}

// A file claiming more items than a label holds is refused like any damaged
// one: the open document stays, and the message says so.
TEST_F(LabelFile, AHundredItemsLoadAndAHundredAndOneAreRefused) {
    labelBack.labelWidth = 1700;
    labelBack.labelHeight = 960;
    for (int i = 0; i < kMaxLabelItems; ++i) add(kKindRect);
    const fs::path file = dir / "full.labl";
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    initLabelItems();
    ASSERT_EQ(loadDocumentFrom(file.string()), 1);
    EXPECT_EQ(labelBack.lastItem, 99);

    std::string bytes = readAll(file);
    platform::put16(reinterpret_cast<uint8_t*>(bytes.data()) + 48, 100, platform::kNativeOrder);
    writeAll(file, bytes);
    gMsg.shown = 0;
    EXPECT_EQ(loadDocumentFrom(file.string()), 0);
    EXPECT_EQ(labelBack.lastItem, 99);
    EXPECT_EQ(labelBack.labelWidth, 1700u);
    EXPECT_EQ(labelBack.labelHeight, 960u);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_NE(gMsg.last.find("100 items"), std::string::npos);
    EXPECT_NE(gMsg.last.find("The open document was kept."), std::string::npos) << gMsg.last;
}

TEST_F(LabelFile, AnAcrossWordOfNeitherOrderIsRefused) {
    labelBack.labelWidth = 1700;
    const fs::path file = dir / "odd.labl";
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    std::string bytes = readAll(file);
    platform::put32(reinterpret_cast<uint8_t*>(bytes.data()) + 8, 0x01020304,
                    platform::kNativeOrder);
    writeAll(file, bytes);
    add(kKindRect);
    EXPECT_EQ(loadDocumentFrom(file.string()), 0);
    EXPECT_EQ(labelBack.lastItem, 0);  // the open document stays
    EXPECT_NE(gMsg.last.find("not a label document"), std::string::npos);
}

// A label with a width but no height, or one or a row of them past the largest
// PDF page (14400 points) where no sheet size bounds them, is a damaged document.
TEST_F(LabelFile, LabelSizesNoPageCanHoldAreRefusedAsDamaged) {
    struct Sheet {
        uint32_t width, height, across, sheetWidth;
        bool opens;
    };
    const Sheet cases[] = {
        {1700, 0, 1, 0, false},    {3000000000u, 500, 1, 0, false}, {500, 144001, 1, 0, false},
        {140000, 500, 1, 0, true}, {100000, 500, 2, 0, false},      {100000, 500, 2, 250000, true},
    };
    const fs::path file = dir / "sizes.labl";
    for (const Sheet& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", " +
                     std::to_string(c.across) + " across");
        initLabelItems();
        labelBack.labelWidth = c.width;
        labelBack.labelHeight = c.height;
        labelBack.across = c.across;
        labelBack.down = 1;
        labelBack.sheetWidth = c.sheetWidth;
        ASSERT_EQ(saveDocumentTo(file.string()), 0);
        initLabelItems();
        gMsg.last.clear();
        EXPECT_EQ(loadDocumentFrom(file.string()), c.opens ? 1 : 0);
        EXPECT_EQ(gMsg.last.find("label sizes are damaged") != std::string::npos, !c.opens)
            << gMsg.last;
        EXPECT_EQ(labelBack.labelWidth, c.opens ? c.width : 0u);
    }
}

TEST_F(LabelFile, AShorterSaveLeavesNoTail) {
    labelBack.labelWidth = 1700;
    for (int i = 0; i < 5; ++i) add(kKindRect);
    const fs::path file = dir / "shrink.labl";
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    const auto longer = fs::file_size(file);
    initLabelItems();
    labelBack.labelWidth = 1700;
    add(kKindRect);
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    EXPECT_LT(fs::file_size(file), longer);
    EXPECT_EQ(readAll(file), documentBytes());
    initLabelItems();
    ASSERT_EQ(loadDocumentFrom(file.string()), 1);
    EXPECT_EQ(labelBack.lastItem, 0);
}

TEST_F(LabelFile, EveryCutShortFileFailsWithAMessageAndKeepsTheOpenDocument) {
    everyKind();
    const std::string whole = documentBytes();
    const std::string before = state();
    for (size_t n = 0; n < whole.size(); ++n) {
        ParsedDocument doc;
        uint16_t message = 0;
        EXPECT_FALSE(
            parseDocument(reinterpret_cast<const uint8_t*>(whole.data()), n, &doc, &message))
            << "prefix " << n;
        EXPECT_NE(message, 0) << "prefix " << n;
    }
    const fs::path file = dir / "cut.labl";
    for (size_t n : {size_t{0}, size_t{30}, size_t{59}, size_t{500}, whole.size() - 1}) {
        writeAll(file, whole.substr(0, n));
        gMsg.shown = 0;
        EXPECT_EQ(loadDocumentFrom(file.string()), 0);
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_EQ(state(), before);
    }
}

TEST_F(LabelFile, LengthsAreBoundedAndLongBlocksPassedOver) {
    labelBack.labelWidth = 1700;
    LabelItem& t = add(kKindText);
    t.taggedBlock = std::string(kExtendedBlockCap + 10, 'x');
    std::string bytes = documentBytes();
    ParsedDocument doc;
    uint16_t message = 0;
    ASSERT_TRUE(parseDocument(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &doc,
                              &message));
    EXPECT_EQ(doc.items[0]->taggedBlock.size(), kExtendedBlockCap);
    // A text length far past the end of the file.
    const size_t textLength = kLabelSheetBytes + kLabelDescBytes + kReservedBlockBytes + 2144;
    platform::put32(reinterpret_cast<uint8_t*>(bytes.data()) + textLength, 0x7FFFFFF0,
                    ByteOrder::big);
    EXPECT_FALSE(parseDocument(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &doc,
                               &message));
}

// A barcode's data and options longer than the item's fields come back whole
// from the file, beside a spare block another program filled; with no spare
// block left the document is not saved cut.
TEST_F(LabelFile, BarcodeDataLongerThanItsFieldTravelsWhole) {
    labelBack.labelWidth = 1700;
    labelBack.labelHeight = 960;
    std::string data(300, 'Q');
    data[299] = 'Z';
    data[150] = '\v';  // the field's own separator, kept as data
    const std::string options(255, 'H');
    const int32_t i = labelBack.lastItem + 1;
    add(kKindBarcode);
    gSym.code = 40;  // QR Code
    copyBounded(gData.chMainCode, data.c_str());
    copyBounded(gData.chMainCode2, data.c_str());
    gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
    copyBounded(gData.chAddCode, options.c_str());
    setItemData(i, 4);
    at(i).extraBlocks[0] = "another program's block";
    const fs::path file = dir / "long.labl";
    ASSERT_EQ(saveDocumentTo(file.string()), 0) << gMsg.last;
    initLabelItems();
    ASSERT_EQ(loadDocumentFrom(file.string()), 1) << gMsg.last;
    gData = SymbolData{};
    getItemData(0);
    EXPECT_EQ(std::string(gData.chMainCode), data);
    EXPECT_EQ(std::string(gData.chAddCode), options);
    EXPECT_EQ(at(0).extraBlocks[0], "another program's block");
    EXPECT_EQ(at(0).extraBlocks[1], "") << "the long data is the item's, not a block";

    for (std::string& b : at(0).extraBlocks) b = "taken";
    std::filesystem::remove(file);
    EXPECT_EQ(saveDocumentTo(file.string()), 1);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(gMsg.last, messageText(1416));
}

TEST_F(LabelFile, ImportPathsUpTo255BytesTravel) {
    labelBack.labelWidth = 1700;
    add(kKindBarcode);
    const std::string path255 = "/" + std::string(254, 'p');
    gDocFile.impoFile = path255 + "overflow";
    const fs::path file = dir / "import.labl";
    ASSERT_EQ(saveDocumentTo(file.string()), 0);
    gDocFile.impoFile.clear();
    ASSERT_EQ(loadDocumentFrom(file.string()), 1);
    EXPECT_EQ(gDocFile.impoFile, path255);
}

TEST_F(LabelFile, EpsOptionsLineIsTheThirdCommentToItsLineEnd) {
    const std::string head =
        "%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: x\r%%Title: y\r%%Options: {type:\"EAN 13\"}\r%%End";
    EXPECT_EQ(epsOptionsRecord(head), "{type:\"EAN 13\"}");
    EXPECT_EQ(epsOptionsRecord("%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: x\r%%Title: y\r%%Pages: 1"),
              "");
    EXPECT_EQ(epsOptionsRecord("%!PS-Adobe-3.0 EPSF-3.0\r%%Options: {}"), "");
    EXPECT_EQ(epsOptionsRecord(std::string(11, 'x') + "%%a%%b%%Options:"), "");
    EXPECT_EQ(epsOptionsRecord("%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: x\r%%Title: 50%% off\r"
                               "%%Options: {data:\"50%% off\"}\r"),
              "{data:\"50%% off\"}");
}

TEST_F(LabelFile, TextHelpers) {
    char t[] = "name \t ";
    EXPECT_EQ(trim(t), 3);
    EXPECT_STREQ(t, "name");
    EXPECT_EQ(rtrimzero("ab\0\0", 4), 2u);
    EXPECT_EQ(nthfield("a,b,c", ',', 2), "c");
    EXPECT_EQ(nthfield("a,b,c", ',', 3), "");
    EXPECT_EQ(numfields("a,b,c", ','), 3);
    uint32_t l = 0x01020304;
    swapbyteslong(&l);
    EXPECT_EQ(l, 0x04030201u);
    add(kKindText).setU32(item::len1, 0x01020304);
    swaplabelitem(0);
    EXPECT_EQ(gLabel.labelParts[0]->u32(item::len1), 0x04030201u);
    EXPECT_EQ(gLabel.labelParts[0]->u16(item::kind), 0x0200);
}

}  // namespace
