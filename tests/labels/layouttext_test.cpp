// The layout text export and the tagged item block.
#include <gtest/gtest.h>

#include <string>

#include "label_world.h"
#include "labels/labelFile.h"
#include "labels/layoutText.h"
#include "labels/units.h"

namespace {

using LayoutText = LabelWorld;

TEST_F(LayoutText, LabelBarcodeAndTextLines) {
    labelBack.labelWidth = 1701;  // 60 mm
    labelBack.labelHeight = 850;
    labelBack.topMargin = 0;
    labelBack.leftMargin = 0;
    labelBack.across = 3;
    labelBack.down = 1280 + 8;
    gUnits.gMeasType = kMeasInch;
    LabelItem& code = add(kKindBarcode, 0, 0, 60, 100);
    code.setI16(item::code, 0);
    code.setI16(item::siz, 10000);  // 100 %
    code.setI16(item::hei, 2285);   // 22.85 mm
    code.setText(item::dataText, "400638133393\vP\vS");
    LabelItem& text = add(kKindText, 10, 20, 30, 120);
    text.dataHandle = std::string("Hello\0\0", 7);
    text.hasDataHandle = true;
    text.setText(item::fontBelow, "\x09Helvetica");
    text.setI16(item::customTeSize, 14);
    text.setI16(item::teFace, 1);
    text.setI16(item::teJust, -1);
    add(kKindOval, 0, 0, 10, 10);  // no line
    const std::string out = layoutText();
    EXPECT_EQ(out,
              "<Label|T=0|L=0|A=3|D=1288|W=60.0075|H=29.9861>\r"
              "<Barcode|X=0|Y=0|W=100|H=22|Data=400638133393|Type=EAN 13>\r"
              "<Text|X=7.05556|Y=3.52778|W=35.2778|H=7.05556|Data=Hello|Font=Helvetica|Size=14|"
              "Style=Bold|Align=Right>\r");
    EXPECT_EQ(gUnits.gMeasType, kMeasInch);  // the unit is restored
}

TEST_F(LayoutText, TypeNamesAndAlignment) {
    const char* names[] = {"EAN 13", "ISBN", "ISSN", "EAN 8", "ITF", "Code 128", "Code 39"};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(layoutTypeName(c, 0), names[c]);
    EXPECT_FALSE(layoutTypeName(28, 0).empty());
    labelBack.labelWidth = 1000;
    LabelItem& t = add(kKindText, 0, 0, 10, 10);
    t.setText(item::fontBelow, "\x05Times");
    t.setI16(item::teJust, 1);
    EXPECT_NE(layoutText().find("|Data=|Font=Times|Size=12|Style=|Align=Centre>\r"),
              std::string::npos);
}

TEST_F(LayoutText, OnlyShapesGiveTheLabelLineAlone) {
    labelBack.labelWidth = 1000;
    add(kKindRect, 0, 0, 10, 10);
    add(kKindLine, 0, 0, 10, 10);
    const std::string out = layoutText();
    EXPECT_EQ(out.rfind("<Label|", 0), 0u);
    EXPECT_EQ(out.find('\r'), out.size() - 1);
}

TEST_F(LayoutText, TheExportIsItsOwnFileAndNoDocument) {
    labelBack.labelWidth = 1000;
    add(kKindRect, 0, 0, 10, 10);
    const std::string doc = (dir / "doc.labl").string(), text = (dir / "doc.txt").string();
    ASSERT_EQ(saveDocumentTo(doc), 0);
    ASSERT_EQ(saveLayoutTextTo(text), 0);
    EXPECT_EQ(testsupport::slurp(text), layoutText());
    ASSERT_EQ(loadDocumentFrom(doc), 1);
    EXPECT_EQ(labelBack.lastItem, 0);
}

TEST_F(LayoutText, TaggedBlockRoundTripThroughTheItem) {
    labelBack.labelWidth = 1000;
    add(kKindText, 0, 0, 10, 10);
    gLabel.gItName = "Default";
    gLabel.externalH.clear();
    gLabel.hasExternalH = false;
    SetTaggedItem(0);
    EXPECT_EQ(gLabel.labelParts[0]->taggedBlock, "<<GTML>>\r<<Item>>\rDefault<<\\Item>>\r");

    gLabel.gItName = "price tag";
    gLabel.externalH = std::string("Sale\0\0", 6);
    gLabel.hasExternalH = true;
    setItemData(0, 4);
    EXPECT_EQ(gLabel.labelParts[0]->taggedBlock,
              "<<GTML>>\r<<Item>>\rprice tag<<\\Item>>\r<<Text>>\rSale<<\\Text>>\r");
    gLabel.gItName = "other";
    getItemData(0);
    EXPECT_EQ(gLabel.gItName, "price tag");
}

TEST_F(LayoutText, ReadingTaggedFields) {
    labelBack.labelWidth = 1000;
    LabelItem& it = add(kKindText, 0, 0, 10, 10);
    // A block naming no item, or none at all, does not keep the name loaded before.
    gLabel.gItName = "kept";
    it.taggedBlock = "<<GTML>>\r<<Text>>\rx<<\\Text>>\r";  // first field not I
    ProcessItemHandle(0);
    EXPECT_EQ(gLabel.gItName, "Default");
    it.taggedBlock = "<<GTML>>\r<<Item>>\r<<\\Item>>\r";
    ProcessItemHandle(0);
    EXPECT_EQ(gLabel.gItName, "Default");
    it.taggedBlock = "plain text";
    gLabel.gItName = "kept";
    ProcessItemHandle(0);
    EXPECT_EQ(gLabel.gItName, "Default");
    it.taggedBlock.clear();
    gLabel.gItName = "kept";
    ProcessItemHandle(0);
    EXPECT_EQ(gLabel.gItName, "Default");
    // Loading an unnamed item after a named one.
    LabelItem& named = add(kKindText, 0, 0, 10, 10);
    named.taggedBlock = "<<GTML>>\r<<Item>>\rCompany<<\\Item>>\r";
    getItemData(1);
    EXPECT_EQ(gLabel.gItName, "Company");
    getItemData(0);
    EXPECT_EQ(gLabel.gItName, "Default");
    // A value cut shorter than its tag's name: bounded, empty.
    char tag = 0;
    std::string value = "x";
    ASSERT_TRUE(GetTaggedItem("<<I<<\\", &tag, &value));
    EXPECT_EQ(tag, 'I');
    EXPECT_EQ(value, "");
    EXPECT_FALSE(GetTaggedItem("<<Xnnn>>\rv<<\\", &tag, &value));
    EXPECT_FALSE(GetTaggedItem("<<Item>>\rno end", &tag, &value));
    // A long name is held to 255 bytes.
    it.taggedBlock = "<<GTML>>\r<<Item>>\r" + std::string(400, 'n') + "<<\\Item>>\r";
    ProcessItemHandle(0);
    EXPECT_EQ(gLabel.gItName.size(), 255u);
}

}  // namespace
