// Faults the fuzz targets found, each pinned by a case an outside reader checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
    // Block letters to a bitmap without the light rows that pad the last band.
    static testsupport::Bitmap blocks() {
        auto m = testsupport::blockLettersToMatrix(gEl.chNum, gEl.cu_len);
        while (!m.empty() && std::find(m.back().begin(), m.back().end(), true) == m.back().end())
            m.pop_back();
        return testsupport::rasteriseMatrix(m, 4, 4, 4);
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

}  // namespace
