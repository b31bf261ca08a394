// Shared by the symbology tests: a clean world, data as the data split leaves
// it, a symbol made through the dispatcher, its rows and text line, and the
// outside readers (zxing-cpp, zbarimg, zint's module rows).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/world.h"
#include "platform/resources.h"
#include "support/cases.h"
#include "support/reader.h"
#include "support/symbol_data.h"
#include "support/zint_dump.h"
#include "symbology/codebars.h"
#include "symbology/encoders.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/rows.h"
#include "symbology/state.h"

namespace symtest {

struct World : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gDispatch = DispatchState{};
        gRows = RowState{};
        gMsg.quiet = true;
    }
};

// Main data and add-on, with their printed copies.
inline void setData(const std::string& main, const std::string& addOn = "") {
    testsupport::setSymbolData(main, addOn);
}

// An encoder of the EAN family by name; any other name is the dispatcher.
inline int32_t (*encoderNamed(const std::string& name))() {
    if (name == "EAN13") return EAN13;
    if (name == "EAN8") return EAN8;
    if (name == "UPCA") return UPCA;
    if (name == "UPCE") return UPCE;
    if (name == "ISBN") return ISBN;
    if (name == "ISSN") return ISSN;
    return STRixel;
}

// Generates code type (code, variant) of the data through the dispatcher.
inline int32_t make(int32_t code, int32_t variant, const std::string& data, int32_t nCheck = 0,
                    const std::string& addOn = "") {
    gSym.code = code;
    gSym.variation1 = variant;
    gSym.nCheck = nCheck;
    setData(data, addOn);
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
inline unsigned char byteAt(const std::string& row, size_t at) {
    return static_cast<unsigned char>(row.at(at));
}
// n spaces of one module, the text line's gap unit.
inline std::string S(int n) { return std::string(static_cast<size_t>(n), ';'); }

// zxing-cpp on the first bar row only (linear families), or on the whole list
// (EAN and UPC with their add-ons).
inline testsupport::Decoded read(const std::string& format,
                                 const testsupport::ReadOptions& opt = {},
                                 double pixelsPerMicrometre = 1.0 / 110.0) {
    testsupport::LinearOptions lo;
    lo.firstRowOnly = true;
    lo.pixelsPerMicrometre = pixelsPerMicrometre;
    return testsupport::decode(testsupport::rasteriseElementList(gEl.chNum, gEl.cu_len, lo), format,
                               opt);
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

// The first row's runs in micrometres, light margins left out, and as narrow
// and wide elements.
inline std::vector<int> runs() { return testsupport::elementRuns(gEl.chNum, gEl.cu_len); }
inline std::string pattern() { return testsupport::narrowWide(runs()); }

// The text of message n, leaving the message state as it was.
inline std::string messageOf(uint16_t n) {
    const MessageState saved = gMsg;
    Message(n);
    std::string text = gMsg.last;
    gMsg = saved;
    return text;
}
// Message n of list 136, as Message(n) shows it.
inline std::string messageText(int n) {
    unsigned char p[256];
    platform::StringResourceGetString(p, 136, n);
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

// The refusals of a data file (code, variant, data[, nCheck[, add-on]]): result
// 1, a message, nothing in the element list.
inline void expectRefusals(const std::string& file) {
    for (const auto& c : testsupport::readCases(file, 5)) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(make(c.integer(0), c.integer(1), c[2], c[3].empty() ? 0 : c.integer(3), c[4]), 1);
        EXPECT_FALSE(gMsg.last.empty());
        EXPECT_EQ(gEl.cu_len, 0);
    }
}

}  // namespace symtest
