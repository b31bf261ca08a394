// Documents are the same bytes under a locale that writes a decimal comma.
#include <gtest/gtest.h>

#include <regex>

#include "doc_fixture.h"
#include "support/locale.h"
#include "symbology/state.h"
#include "vector/Epsout.h"
#include "vector/sink.h"

using namespace vectortest;

namespace {

std::string fractionalDocument(int ill, int purePost) {
    resetAll();
    gOut.ill = ill;
    gOut.purePost = purePost;
    gSym.Siz = 87.5;
    gSym.Hei = 22.85;
    gSym.gBaseAdjust = -1.5;
    copyBounded(gData.chMainCode2, "0123");
    gData.len1 = gData.len11 = 4;
    singleItem(150, 40);
    labelBack.labelWidth = 1500;
    labelBack.labelHeight = 400;
    LabelItem* t = addItem(kKindText, 5, 5, 20, 140);
    t->setText(item::fontBelow, "\x09Helvetica");
    addItem(kKindOval, 5, 5, 30, 60);
    labelBack3.labelWidth = 1500000;
    labelBack3.labelHeight = 400000;
    labelBack3.across = 2;
    labelBack3.down = 3;
    labelBack3.sheetWidth = 5955000;
    labelBack3.sheetHeight = 8420500;
    std::string doc = writeEPSout();
    // The creation date is the clock's, not a number of ours.
    return std::regex_replace(doc, std::regex("%%CreationDate: [^\r]*"), "%%CreationDate:");
}

TEST(Locale, CommaDecimalLocaleGivesTheSameBytes) {
    std::vector<std::string> reference;
    for (int ill : kDialects)
        for (int pp : {0, 1, 2}) reference.push_back(fractionalDocument(ill, pp));
    EXPECT_NE(reference[0].find("height:\"22.850000\""), std::string::npos);
    ASSERT_TRUE(testsupport::enterCommaLocale());
    size_t n = 0;
    for (int ill : kDialects)
        for (int pp : {0, 1, 2}) {
            EXPECT_EQ(fractionalDocument(ill, pp), reference[n]) << "ill " << ill << " pure " << pp;
            ++n;
        }
    testsupport::leaveCommaLocale();
}

}  // namespace
