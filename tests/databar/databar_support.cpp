#include "app/world.h"
#include "databar_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "databar/RSSENC.h"
#include "support/reader.h"
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

int makeDirect(int kind, int variant, const std::string& data, const std::string& segments,
               bool human) {
    resetWorld();
    resetMessages();
    resetDataBarState();
    gMsg.quiet = true;
    gSym.code = 37;
    gSym.variation1 = variant;
    gSym.human = human ? 1 : 0;
    copyBounded(gData.chMainCode, data.c_str());
    gData.len1 = static_cast<int32_t>(std::strlen(gData.chMainCode));
    copyBounded(gData.chAddCode, segments.c_str());
    return mainRSS14A(kind);
}

std::vector<std::string> moduleRows() {
    return testsupport::moduleRowStrings(gEl.chNum, gEl.cu_len);
}

std::string ink(const std::string& row) {
    const size_t first = row.find('1');
    if (first == std::string::npos) return "";
    return row.substr(first, row.rfind('1') - first + 1);
}

std::vector<std::string> trimmed(std::vector<std::string> rows) {
    size_t common = std::string::npos;
    for (const std::string& r : rows) {
        const size_t first = r.find('1');
        if (first != std::string::npos && (common == std::string::npos || first < common))
            common = first;
    }
    for (std::string& r : rows) {
        r = common == std::string::npos || r.size() <= common ? std::string() : r.substr(common);
        const size_t last = r.rfind('1');
        r = last == std::string::npos ? std::string() : r.substr(0, last + 1);
    }
    return rows;
}

std::vector<std::string> alignedRows() {
    std::vector<std::string> rows = moduleRows();
    for (size_t r = 0; r < rows.size() && r < static_cast<size_t>(gRss.rowCount); ++r)
        rows[r] = std::string(static_cast<size_t>(gRss.rowOffset[r]), '0') + rows[r];
    return trimmed(rows);
}

}  // namespace dbtest
