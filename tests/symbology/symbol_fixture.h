// Shared by the tests of the linear families that no reader decodes: a fresh
// world, a symbol made through the dispatcher, and its first row as runs.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/world.h"
#include "support/zint_dump.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace symboltest {

struct LinearSymbol : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }
    static int32_t make(int code, int variant, const std::string& data,
                        const std::string& addOn = "", int nCheck = 0) {
        gSym.code = code;
        gSym.variation1 = variant;
        gSym.nCheck = nCheck;
        copyBounded(gData.chMainCode, data.c_str());
        copyBounded(gData.chMainCode2, data.c_str());
        gData.len1 = gData.len11 = static_cast<int32_t>(data.size());
        copyBounded(gData.chAddCode, addOn.c_str());
        copyBounded(gData.chAddCode2, addOn.c_str());
        gData.len2 = gData.len22 = static_cast<int32_t>(addOn.size());
        gMsg.last.clear();
        return STRixel();
    }
    // The first row's runs in micrometres, light margins left out.
    static std::vector<int> runs() { return testsupport::elementRuns(gEl.chNum, gEl.cu_len); }
    static std::string pattern() { return testsupport::narrowWide(runs()); }
    // The text line: the bytes behind the last row end.
    static std::string textLine() {
        int32_t i = gEl.cu_len;
        while (i > 0 && gEl.chNum[i - 1] != 13) --i;
        return std::string(reinterpret_cast<const char*>(gEl.chNum + i),
                           static_cast<size_t>(gEl.cu_len - i));
    }
    // A refusal: result 1, a message, nothing in the element list.
    static void expectRefused(int code, int variant, const std::string& data,
                              const std::string& addOn = "", int nCheck = 0) {
        SCOPED_TRACE(data + " / " + addOn);
        EXPECT_EQ(make(code, variant, data, addOn, nCheck), 1);
        EXPECT_FALSE(gMsg.last.empty());
        EXPECT_EQ(gEl.cu_len, 0);
    }
};

}  // namespace symboltest
