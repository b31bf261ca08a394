#include "databar_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "databar/RSSENC.h"
#include "support/reader.h"
#include "symbology/codebars.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/state.h"

namespace dbtest {

int make(int variant, const std::string& data, int code, bool human) {
    resetWorld();
    gMsg.quiet = true;
    gSym.code = code;
    gSym.variation1 = variant;
    gSym.human = human ? 1 : 0;
    EXPECT_LT(data.size(), sizeof gData.chMainCode);
    std::strncpy(gData.chMainCode, data.c_str(), sizeof gData.chMainCode - 1);
    gData.len1 = static_cast<int32_t>(std::strlen(gData.chMainCode));
    return STRixel();
}

std::vector<std::string> moduleRows() {
    std::vector<std::string> rows;
    std::string row;
    bool text = false;
    for (int32_t i = 0; i < gEl.cu_len; ++i) {
        const unsigned char b = gEl.chNum[i];
        if (b == kRowEnd) {
            if (!text) rows.push_back(row);
            row.clear();
            text = false;
        } else if (b == kDarkModule) {
            row += '#';
        } else if (b == kLightModule) {
            row += '.';
        } else {
            text = true;
        }
    }
    if (!row.empty() && !text) rows.push_back(row);
    return rows;
}

std::vector<std::string> zintRows(const std::string& args) {
    std::vector<std::string> rows;
    if (!testsupport::requireProgram("zint", "zint")) return rows;
    const testsupport::RunResult r = testsupport::runCommand("zint --dump " + args);
    EXPECT_EQ(r.status, 0) << args << ": " << r.err;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream hex(line);
        std::string group, row;
        while (hex >> group)
            for (char c : group) {
                const int v = std::stoi(std::string(1, c), nullptr, 16);
                for (int bit = 3; bit >= 0; --bit) row += (v >> bit) & 1 ? '#' : '.';
            }
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

std::string ink(const std::string& row) {
    const size_t first = row.find('#');
    if (first == std::string::npos) return "";
    return row.substr(first, row.rfind('#') - first + 1);
}

std::vector<std::string> trimmed(std::vector<std::string> rows) {
    size_t common = std::string::npos;
    for (const std::string& r : rows) {
        const size_t first = r.find('#');
        if (first != std::string::npos && (common == std::string::npos || first < common))
            common = first;
    }
    for (std::string& r : rows) {
        r = common == std::string::npos || r.size() <= common ? std::string() : r.substr(common);
        const size_t last = r.rfind('#');
        r = last == std::string::npos ? std::string() : r.substr(0, last + 1);
    }
    return rows;
}

std::vector<std::string> alignedRows() {
    std::vector<std::string> rows = moduleRows();
    for (size_t r = 0; r < rows.size() && r < static_cast<size_t>(gRss.rowCount); ++r)
        rows[r] = std::string(static_cast<size_t>(gRss.rowOffset[r]), '.') + rows[r];
    return trimmed(rows);
}

}  // namespace dbtest
