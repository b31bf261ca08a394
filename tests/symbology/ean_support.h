// Shared by the EAN, UPC and ISBN tests: a clean world, data as the dispatcher
// leaves it, the rows of the element list, and the outside readers.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/world.h"
#include "platform/resources.h"
#include "support/reader.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace eantest {

struct World : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gDispatch = DispatchState{};
        gRows = RowState{};
        gMsg.quiet = true;
    }
};

// Main data and add-on, with their printed copies, as the length rule leaves them.
inline void setData(const char* main, const char* add = "") {
    std::strcpy(gData.chMainCode, main);
    std::strcpy(gData.chMainCode2, main);
    gData.len1 = gData.len11 = static_cast<int32_t>(std::strlen(main));
    std::strcpy(gData.chAddCode, add);
    std::strcpy(gData.chAddCode2, add);
    gData.len2 = gData.len22 = static_cast<int32_t>(std::strlen(add));
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

// n spaces of one module, the text line's gap unit.
inline std::string S(int n) { return std::string(static_cast<size_t>(n), ';'); }
constexpr const char* kSpaceChar = "?:;";
inline std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s += static_cast<char>(v);
    return s;
}

inline testsupport::Decoded readBack(const char* format, bool addOn = false) {
    testsupport::Bitmap bmp = testsupport::rasteriseElementList(gEl.chNum, gEl.cu_len);
    return addOn ? testsupport::decodeWithAddOn(bmp, format) : testsupport::decode(bmp, format);
}

// zbarimg's raw lines for the symbol (add-ons come as lines of their own).
inline std::string zbarRead(const std::string& name, bool addOns = false) {
    testsupport::Bitmap bmp = testsupport::rasteriseElementList(gEl.chNum, gEl.cu_len);
    const std::string path = testsupport::tempPath(name + ".pgm");
    if (!testsupport::writePGM(bmp, path)) return "cannot write " + path;
    if (!addOns) return testsupport::zbarimg(path).out;
    if (!testsupport::requireProgram("zbarimg", "zbar-tools")) return {};
    return testsupport::runCommand("zbarimg -q --raw -Sean2.enable -Sean5.enable '" + path + "'")
        .out;
}

// Message n of list 136, as Message(n) shows it.
inline std::string messageText(int n) {
    unsigned char p[256];
    platform::StringResourceGetString(p, 136, n);
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

}  // namespace eantest
