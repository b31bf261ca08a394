#include "support/label_document.h"

#include <gtest/gtest.h>

#include "app/world.h"
#include "labels/labelFile.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace testsupport {

void startLabelDocument(uint32_t width, uint32_t height, uint32_t across, uint32_t down) {
    resetWorld();
    gMsg.quiet = true;
    initLabelItems();
    labelBack.labelWidth = width;
    labelBack.labelHeight = height;
    labelBack.across = across;
    labelBack.down = down;
}

LabelItem& addItemOfKind(uint16_t kind, int16_t top, int16_t left, int16_t bottom, int16_t right) {
    EXPECT_EQ(addLabelItem(), 0);
    LabelItem& it = *gLabel.labelParts[static_cast<size_t>(labelBack.lastItem)];
    it.setI16(item::kind, kind);
    it.setI16(item::rectTop, top);
    it.setI16(item::rectLeft, left);
    it.setI16(item::rectBottom, bottom);
    it.setI16(item::rectRight, right);
    return it;
}

void addSerialEan13Item(long long first) {
    ASSERT_EQ(addLabelItem(), 0);
    const int32_t i = labelBack.lastItem;
    gLabel.labelParts[size_t(i)]->setI16(item::kind, kKindBarcode);
    gLabel.itRect = {10, 20, 90, 160};
    gSym = SymbolSettings{};
    gSym.code = 0;  // EAN-13
    GetCodeText();
    gSym.Siz = 80;
    const std::string digits = std::to_string(first);
    copyBounded(gData.chMainCode, digits.c_str());
    copyBounded(gData.chMainCode2, digits.c_str());
    gData.len1 = gData.len11 = int32_t(digits.size());
    gData.chPrefix[0] = gData.chSuffix[0] = 0;
    gLabel.serPos = digits;
    gLabel.incAmount = "1";
    gLabel.serEnd = "999999999999";
    gLabel.proMode = 1;
    gLabel.notDrawn = 0;
    setItemRect(i);
    setItemData(i, 2);
}

void setItemText(LabelItem& item, const std::string& text) {
    item.dataHandle = text + std::string(2, '\0');
    item.hasDataHandle = true;
}

std::string saveLabelDocument(const std::string& path) {
    EXPECT_EQ(saveDocumentTo(path), 0);
    resetWorld();
    return path;
}

}  // namespace testsupport
