#include <gtest/gtest.h>

#include <string>

#include "doc_fixture.h"
#include "labels/labelDoc.h"
#include "symbology/appBits.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

void barcodeItem(int top, const char* data, double height = 0) {
    vectortest::addItem(kKindBarcode, top, 10, top + 80, 150);
    gSym.code = 0;
    gSym.variation1 = 0;
    GetCodeText();
    if (height > 0) gSym.Hei = height;
    copyBounded(gData.chMainCode, data);
    copyBounded(gData.chMainCode2, data);
    gData.len1 = gData.len11 = static_cast<int32_t>(std::string(data).size());
    setItemData(labelBack.lastItem, 4);
}

enum class Second { none, refused, tooLow };

std::string label(Second second) {
    vectortest::resetAll();
    gMsg.quiet = true;
    labelBack.labelWidth = 2000;
    labelBack.labelHeight = 2000;
    barcodeItem(10, "400638133393");
    if (second == Second::refused) barcodeItem(100, "12");
    // 3 mm leave the bars no room above the digits.
    if (second == Second::tooLow) barcodeItem(100, "400638133393", 3);
    gOut.ill = 88;
    return vectortest::writeEPSout();
}

size_t bars(const std::string& doc) {
    size_t n = 0;
    for (size_t at = doc.find("L\rf\r"); at != std::string::npos; at = doc.find("L\rf\r", at + 1))
        ++n;
    return n;
}

// An item whose data is refused draws nothing: the list of the item before it
// must not be painted a second time in its place. A symbol lower than its text
// line would have its bars painted upside down, standing above its box; it is
// left out with a message instead.
TEST(LabelItemsOnPages, AFailedBarcodeDrawsNothing) {
    const size_t one = bars(label(Second::none));
    EXPECT_GT(one, 20u);
    EXPECT_EQ(bars(label(Second::refused)), one);
    EXPECT_EQ(bars(label(Second::tooLow)), one);
    EXPECT_NE(gMsg.last.find("no room"), std::string::npos) << gMsg.last;
}

}  // namespace
