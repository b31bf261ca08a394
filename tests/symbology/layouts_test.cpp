// Rows, text lines and data copies of made symbols, held against the layouts
// kept in tests/data/symbology/layouts.txt (the file says how to read it).
#include <sstream>

#include "symbol_support.h"
#include "symbology/encoders.h"

using namespace symtest;

namespace {

using Layouts = World;

// "BW=2,Hei=10.581": the settings a case changes from a fresh world.
void applySettings(const std::string& settings) {
    std::istringstream in(settings);
    for (std::string item; std::getline(in, item, ',');) {
        const size_t eq = item.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = item.substr(0, eq);
        const double v = std::stod(item.substr(eq + 1));
        if (name == "Hei")
            gSym.Hei = v;
        else if (name == "BW")
            gSym.BW = static_cast<int32_t>(v);
        else if (name == "flushBars")
            gSym.flushBars = static_cast<int32_t>(v);
        else if (name == "strip_extra")
            gSym.strip_extra = static_cast<int32_t>(v);
        else if (name == "non_light")
            gSym.non_light = static_cast<int32_t>(v);
        else if (name == "human")
            gSym.human = static_cast<int32_t>(v);
        else
            ADD_FAILURE() << "unknown setting " << name;
    }
}

std::string part(const std::vector<std::string>& rows, size_t r, int at, int len) {
    if (r >= rows.size()) return "(no row " + std::to_string(r) + ")";
    const std::string& row = rows[r];
    const size_t from = at < 0 ? row.size() - static_cast<size_t>(-at) : static_cast<size_t>(at);
    return from > row.size() ? "(short row)" : row.substr(from, len < 0 ? std::string::npos : len);
}

// Bars of a pharmacode-style row: 't' thin, 'T' thick (over 1000 um).
std::string barsOf(const std::vector<int>& runs) {
    std::string s;
    for (size_t i = 0; i < runs.size(); i += 2) s += runs[i] > 1000 ? 'T' : 't';
    return s;
}

TEST_F(Layouts, EveryCase) {
    for (const auto& c : testsupport::readCases("symbology/layouts.txt", 9)) {
        SCOPED_TRACE(c[0] + " " + c[1] + "/" + c[2] + " " + c[4] + " " + c[5] + " " + c[6] + ": " +
                     c[7]);
        SetUp();
        gSym.code = c.integer(1);
        gSym.variation1 = c.integer(2);
        gSym.nCheck = c.integer(3);
        applySettings(c[4]);
        setData(c[5], c[6]);
        ASSERT_EQ(encoderNamed(c[0])(), 0) << gMsg.last;
        const std::vector<std::string> rows = rowsOf();
        const std::string& want = c[8];
        std::istringstream check(c[7]);
        std::string kind;
        check >> kind;
        std::vector<int> n;
        for (int v; check >> v;) n.push_back(v);
        auto arg = [&](size_t i, int otherwise) { return i < n.size() ? n[i] : otherwise; };
        if (kind == "count") {
            EXPECT_EQ(rows.size(), static_cast<size_t>(std::stoi(want)));
        } else if (kind == "size") {
            EXPECT_EQ(part(rows, arg(0, 0), 0, -1).size(), static_cast<size_t>(std::stoi(want)));
        } else if (kind == "row") {
            EXPECT_EQ(part(rows, arg(0, 0), 0, -1), want);
        } else if (kind == "text") {
            EXPECT_EQ(textLine(), want);
        } else if (kind == "sub") {
            EXPECT_EQ(part(rows, arg(0, 0), arg(1, 0), arg(2, -1)), want);
        } else if (kind == "same") {
            EXPECT_EQ(part(rows, arg(0, 0), arg(1, 0), arg(4, -1)),
                      part(rows, arg(2, 0), arg(3, 0), arg(4, -1)));
        } else if (kind == "marks") {
            for (size_t i = 1; i < n.size(); ++i)
                EXPECT_EQ(static_cast<unsigned char>(part(rows, n[0], n[i], 1)[0]), std::stoi(want))
                    << "@" << n[i];
        } else if (kind == "bars") {
            EXPECT_EQ(barsOf(runs()), want);
        } else if (kind == "main") {
            EXPECT_EQ(std::string(gData.chMainCode), want);
        } else if (kind == "main2") {
            EXPECT_EQ(std::string(gData.chMainCode2), want);
        } else if (kind == "main3") {
            EXPECT_EQ(std::string(gData.chMainCode3), want);
        } else if (kind == "main4") {
            EXPECT_EQ(std::string(gData.chMainCode4), want);
        } else if (kind == "head") {
            EXPECT_EQ(std::string(gData.chHeadCode), want);
        } else {
            ADD_FAILURE() << "unknown check " << kind;
        }
    }
}

}  // namespace
