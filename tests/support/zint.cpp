#include <fstream>

#include "support/reader.h"

namespace testsupport {

std::vector<std::string> zintRows(const std::string& options, const std::string& data) {
    const std::string in = tempPath("zint-input.bin");
    {
        std::ofstream f(in, std::ios::binary);
        f.write(data.data(), static_cast<std::streamsize>(data.size()));
    }
    const RunResult r = runCommand("zint " + options + " --binary --dump -i '" + in + "'");
    std::vector<std::string> rows;
    if (r.status != 0) return rows;
    std::string row;
    for (char c : r.out) {
        if (c == '\n') {
            if (!row.empty()) rows.push_back(row);
            row.clear();
        } else if (c != ' ') {
            const int v = std::stoi(std::string(1, c), nullptr, 16);
            for (int b = 3; b >= 0; --b) row += (v >> b & 1) ? '1' : '0';
        }
    }
    if (!row.empty()) rows.push_back(row);
    return rows;
}

bool sameModules(const std::string& ours, const std::string& zint) {
    if (zint.size() < ours.size() || zint.compare(0, ours.size(), ours) != 0) return false;
    return zint.find('1', ours.size()) == std::string::npos;
}

std::vector<std::string> moduleRowStrings(const unsigned char* chNum, int cu_len) {
    std::vector<std::string> rows(1);
    for (int i = 0; i < cu_len; ++i) {
        if (chNum[i] == 13)
            rows.emplace_back();
        else
            rows.back() += chNum[i] == 190 ? '1' : '0';
    }
    rows.pop_back();  // what follows the last 13
    return rows;
}

}  // namespace testsupport
