// Shared by the tests of the linear families outside the EAN group: a clean
// world, data as the data split leaves it, generation through the dispatcher,
// the rows and the text line, and the outside reader on the first bar row.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "support/reader.h"
#include "symbology/codebars.h"
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

// zint's module rows of the same data ("zint --dump"), as '0'/'1' strings.
inline std::vector<std::string> zintRows(const std::string& type, const std::string& data,
                                         const std::string& more = "") {
    if (!testsupport::requireProgram("zint", "zint")) return {};
    return testsupport::zintRows("-b " + type + " " + more, data);
}

// The row without the light modules at its end.
inline std::string trimRight(std::string row) {
    while (!row.empty() && row.back() == '0') row.pop_back();
    return row;
}

// A row of element bytes as modules ('1' dark, '0' light), each element
// `modulesOf(width)` modules wide; bytes that are no element are passed over.
template <typename Modules>
std::string moduleString(const std::string& row, Modules modulesOf) {
    std::string out;
    for (unsigned char b : row) {
        const int32_t w = charToWidth(b);
        if (w == kNoElement) continue;
        out.append(static_cast<size_t>(modulesOf(w < 0 ? -w : w)), w > 0 ? '1' : '0');
    }
    return out;
}

// The same without the light margins on either side.
template <typename Modules>
std::string symbolModules(const std::string& row, Modules modulesOf) {
    std::string m = moduleString(row, modulesOf);
    const size_t first = m.find('1');
    return first == std::string::npos ? std::string() : trimRight(m.substr(first));
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
