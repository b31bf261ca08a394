// Faults the fuzz targets found, each pinned by a case an outside reader checks.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace {

struct Findings : ::testing::Test {
    void SetUp() override {
        resetWorld();
        resetMessages();
        gMsg.quiet = true;
    }
    int32_t make(int32_t code, const std::string& data, int32_t variant = 0) {
        gSym.code = code;
        gSym.variation1 = variant;
        EXPECT_TRUE(copyBounded(gData.chMainCode, data.c_str()));
        gData.len1 = static_cast<int32_t>(data.size());
        return STRixel();
    }
    static testsupport::Bitmap blocks() {
        return testsupport::rasteriseMatrix(testsupport::blockLetterSymbol(gEl.chNum, gEl.cu_len));
    }
};

// "\2" away from the front made a structured-append codeword in the middle of
// the data, which readers refuse: the symbol did not scan.
TEST_F(Findings, DataMatrixStructuredAppendOnlyInFront) {
    ASSERT_EQ(make(38, "AB\\2!\"#CD"), 0);
    auto d = testsupport::decode(blocks(), "DataMatrix");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.bytes, "AB2!\"#CD");

    ASSERT_EQ(make(38, "\\2!\"#CD"), 0);  // in front it is still structured append
    d = testsupport::decode(blocks(), "DataMatrix");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.bytes, "CD");
}

// Code-set markers with nothing else made an empty Code 128 symbol (start,
// check character, stop) that no reader takes; now there is nothing to encode.
TEST_F(Findings, Code128MarkersAloneAreNoData) {
    for (const auto& [code, data] : std::vector<std::pair<int32_t, std::string>>{
             {5, "\xBA\xBA"}, {5, "\x8D"}, {5, "\xDA"}, {7, "\xBA"}}) {
        resetMessages();
        gMsg.quiet = true;
        EXPECT_EQ(make(code, data), 1) << code;
        EXPECT_FALSE(gMsg.last.empty()) << code;
        EXPECT_EQ(gEl.cu_len, 0) << code;
    }
    ASSERT_EQ(make(5,
                   "\xBA"
                   "AB\x8D"
                   "1234"),
              0);  // markers among data still switch
    testsupport::LinearOptions opt;
    opt.firstRowOnly = true;
    auto d = testsupport::decode(testsupport::rasteriseElementList(gEl.chNum, gEl.cu_len, opt),
                                 "Code128");
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.bytes, "AB1234");
}

// Script values out of the range the label item carries (cases in the data file).
TEST_F(Findings, ScriptSizeAndHeightKeepTheirLimits) {
    for (const auto& c : testsupport::readCases("fuzz_replay/script_limits.txt", 4)) {
        resetWorld();
        ConvertString(c[0].c_str(), 0);
        EXPECT_EQ(gSym.Siz, std::stod(c[1])) << c.where;
        EXPECT_DOUBLE_EQ(gSym.Hei, std::stod(c[2])) << c.where;
        EXPECT_EQ(gSym.BWidthRed, c.integer(3)) << c.where;
    }
    // The item takes the size in 16 bits.
    resetWorld();
    initLabelItems();
    ConvertString("{type:\"QRCode\", data:\"x\", size:\"1e13\"}", 0);
    addNewCode();
    setItemData(0, 4);
    getItemData(0);
    EXPECT_EQ(gSym.Siz, 327);
}

// An options text with blanks sized the single symbol's box from the text as
// typed but drew the symbol from the item, whose add-on the data split had
// cleaned: a QR Code drew past its bounding box. The options key now splits
// as the data entry does, whatever the order of the keys.
TEST_F(Findings, ScriptOptionsSplitLikeTheAddOnField) {
    for (const char* record : {"{type:\"QRCode\", data:\"x-1\", options:\" L 3-\"}",
                               "{type:\"QRCode\", options:\" L 3-\", data:\"x-1\"}"}) {
        resetWorld();
        ConvertString(record, 0);
        EXPECT_STREQ(gData.chAddCode, "L3") << record;
        EXPECT_STREQ(gData.chAddCode2, "L3") << record;
        EXPECT_EQ(gData.len2, 2) << record;
        EXPECT_STREQ(gData.chMainCode, "x-1") << record;  // QR Code keeps its '-'
    }
}

}  // namespace
