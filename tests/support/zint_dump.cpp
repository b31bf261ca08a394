#include "support/zint_dump.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/reader.h"
#include "symbology/codebars.h"

namespace testsupport {

std::vector<int> zintRuns(int type, const std::string& data, const std::string& extra) {
    std::vector<int> runs;
    if (!requireProgram("zint", "zint")) return runs;
    const std::vector<std::string> rows =
        zintRows("-b " + std::to_string(type) + " " + extra, data);
    EXPECT_FALSE(rows.empty()) << "zint refused " << data;
    if (rows.empty()) return runs;
    std::string bits = rows.front();
    while (!bits.empty() && bits.back() == '0') bits.pop_back();
    for (size_t i = 0; i < bits.size();) {
        size_t j = i;
        while (j < bits.size() && bits[j] == bits[i]) ++j;
        runs.push_back(static_cast<int>(j - i));
        i = j;
    }
    return runs;
}

std::vector<int> elementRuns(const unsigned char* chNum, int cu_len) {
    std::vector<int> runs;  // signed: bars positive, spaces negative
    for (int i = 0; i < cu_len && chNum[i] != 13; ++i) {
        const int w = charToWidth(chNum[i]);
        if (w == kNoElement) continue;
        if (!runs.empty() && (runs.back() > 0) == (w > 0))
            runs.back() += w;
        else
            runs.push_back(w);
    }
    while (!runs.empty() && runs.front() < 0) runs.erase(runs.begin());
    while (!runs.empty() && runs.back() < 0) runs.pop_back();
    for (int& w : runs) w = std::abs(w);
    return runs;
}

std::string narrowWide(const std::vector<int>& runs) {
    if (runs.empty()) return {};
    const int narrow = *std::min_element(runs.begin(), runs.end());
    std::string s;
    for (size_t i = 0; i < runs.size(); ++i) {
        const bool wide = runs[i] * 2 > narrow * 3;
        const bool bar = i % 2 == 0;
        s += bar ? (wide ? 'W' : 'N') : (wide ? 'w' : 'n');
    }
    return s;
}

}  // namespace testsupport
