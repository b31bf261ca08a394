// Shared by the tests of the linear families outside the EAN group: a clean
// world, data as the data split leaves it, generation through the dispatcher,
// the rows and the text line, and the outside reader on the first bar row.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/reader.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace lineartest {

struct World : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gRows = RowState{};
        gMsg.quiet = true;
    }
};

inline void setData(const std::string& main, const std::string& options = "") {
    std::memcpy(gData.chMainCode, main.c_str(), main.size() + 1);
    std::memcpy(gData.chMainCode2, main.c_str(), main.size() + 1);
    gData.len1 = gData.len11 = static_cast<int32_t>(main.size());
    std::memcpy(gData.chAddCode, options.c_str(), options.size() + 1);
    gData.len2 = gData.len22 = static_cast<int32_t>(options.size());
}

// Generates code type (code, variant) of data through the dispatcher.
inline int32_t make(int32_t code, int32_t variant, const std::string& data, int32_t nCheck = 0,
                    const std::string& options = "") {
    gSym.code = code;
    gSym.variation1 = variant;
    gSym.nCheck = nCheck;
    setData(data, options);
    gMsg.last.clear();
    return STRixel();
}

// The list cut at every 13; the last entry is what follows the last 13.
inline std::vector<std::string> rowsOf() {
    std::vector<std::string> rows(1);
    for (int i = 0; i < gEl.cu_len; ++i) {
        if (gEl.chNum[i] == 13)
            rows.emplace_back();
        else
            rows.back() += static_cast<char>(gEl.chNum[i]);
    }
    return rows;
}

inline std::string textLine() { return rowsOf().back(); }

inline testsupport::Decoded read(const std::string& format,
                                 const testsupport::ReadOptions& opt = {}) {
    testsupport::LinearOptions lo;
    lo.firstRowOnly = true;
    return testsupport::decode(testsupport::rasteriseElementList(gEl.chNum, gEl.cu_len, lo), format,
                               opt);
}

// A refusal: result 1, a message, nothing in the element list.
inline void expectRefused(int32_t code, int32_t variant, const std::string& data,
                          int32_t nCheck = 0) {
    SCOPED_TRACE(data);
    EXPECT_EQ(make(code, variant, data, nCheck), 1);
    EXPECT_FALSE(gMsg.last.empty());
    EXPECT_EQ(gEl.cu_len, 0);
}

}  // namespace lineartest
