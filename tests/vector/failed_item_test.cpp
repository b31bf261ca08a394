#include <gtest/gtest.h>

#include <string>

#include "doc_fixture.h"
#include "labels/labelDoc.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

void barcodeItem(int top, const char* data) {
    vectortest::addItem(kKindBarcode, top, 10, top + 80, 150);
    gSym.code = 0;
    gSym.variation1 = 0;
    GetCodeText();
    copyBounded(gData.chMainCode, data);
    copyBounded(gData.chMainCode2, data);
    gData.len1 = gData.len11 = static_cast<int32_t>(std::string(data).size());
    setItemData(labelBack.lastItem, 4);
}

std::string label(bool withRefusedItem) {
    vectortest::resetAll();
    gMsg.quiet = true;
    labelBack.labelWidth = 2000;
    labelBack.labelHeight = 2000;
    barcodeItem(10, "400638133393");
    if (withRefusedItem) barcodeItem(100, "12");
    gOut.ill = 88;
    return vectortest::writeEPSout();
}

// An item whose data is refused draws nothing: the list of the item before it
// must not be painted a second time in its place.
TEST(LabelItemsOnPages, ARefusedBarcodeDrawsNothing) {
    const std::string one = label(false);
    const std::string two = label(true);
    auto bars = [](const std::string& doc) {
        size_t n = 0;
        for (size_t at = doc.find("L\rf\r"); at != std::string::npos;
             at = doc.find("L\rf\r", at + 1))
            ++n;
        return n;
    };
    EXPECT_GT(bars(one), 20u);
    EXPECT_EQ(bars(two), bars(one));
}

}  // namespace
