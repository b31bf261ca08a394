#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/numericEntry.h"
#include "app/world.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/runs/itemOps.h"
#include "platform/numbers.h"
#include "support/cases.h"
#include "support/text_fields.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

using platform::TERec;

struct NumericEntry : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        gNumericHooks = NumericEntryHooks{};
    }
    void TearDown() override { gNumericHooks = NumericEntryHooks{}; }
};

// The settings a case names, read and written as numbers.
struct Setting {
    std::function<double()> get;
    std::function<void(double)> set;
};
template <class T>
Setting setting(T& v) {
    return {[&v] { return static_cast<double>(v); }, [&v](double x) { v = static_cast<T>(x); }};
}
const std::map<std::string, Setting>& settings() {
    static const std::map<std::string, Setting> all = {
        {"code", setting(gSym.code)},
        {"variant", setting(gSym.variation1)},
        {"Siz", setting(gSym.Siz)},
        {"Hei", setting(gSym.Hei)},
        {"cuHei", setting(gSym.cuHei)},
        {"hMode", setting(gSym.hMode)},
        {"lMode", setting(gSym.lMode)},
        {"spec", setting(gSym.spec)},
        {"cLength", setting(gSym.cLength)},
        {"BWidthRed", setting(gSym.BWidthRed)},
        {"BW", setting(gSym.BW)},
        {"tool", setting(gOut.tool)},
        {"non_drawn", setting(gEps.non_drawn)},
        {"labelWidth", setting(labelBack.labelWidth)},
        {"curIteTyp", setting(gLabel.curIteTyp)},
        {"colTab", setting(gPanels.colTab)},
        {"cyan2", setting(gSym.cyan2)},
        {"magenta2", setting(gSym.magenta2)},
        {"yellow2", setting(gSym.yellow2)},
        {"black2", setting(gSym.black2)},
        {"black22", setting(gSym.black22)},
        {"customColour", setting(gSym.customColour)},
        {"line", setting(gSym.line)},
        {"gline", setting(gSym.gline)},
        {"backRed", setting(labelBack.backRed)},
        {"backGreen", setting(labelBack.backGreen)},
        {"backBlue", setting(labelBack.backBlue)},
        {"customTeSize", setting(gSym.customTeSize)},
        {"grip", setting(gSym.grip)},
        {"gBaseAdjust", setting(gSym.gBaseAdjust)},
        {"gTrackAdjust", setting(gSym.gTrackAdjust)},
        {"insetAmount", setting(gSym.insetAmount)},
        {"extraMargin", setting(gSym.extraMargin)},
    };
    return all;
}

TERec* fieldNamed(const std::string& name) {
    static const std::map<std::string, TERec*> fields = {
        {"TESize", &gPanels.TESize},     {"TEHeight", &gPanels.TEHeight},
        {"TEBWR", &gPanels.TEBWR},       {"TECyan", &gPanels.TECyan},
        {"TEMage", &gPanels.TEMage},     {"TEYell", &gPanels.TEYell},
        {"TEBlac", &gPanels.TEBlac},     {"TELine", &gPanels.TELine},
        {"TETe1[1]", &gPanels.TETe1[1]},
    };
    if (const auto f = fields.find(name); f != fields.end()) return f->second;
    if (name.rfind("TEBack3[", 0) == 0) return &gPanels.TEBack3[std::stoi(name.substr(8))];
    ADD_FAILURE() << "no field " << name;
    return &gPanels.TEH;
}

std::vector<std::pair<std::string, std::string>> pairs(const std::string& list) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream in(list);
    for (std::string item; in >> item;) {
        const size_t eq = item.find('=');
        out.emplace_back(item.substr(0, eq), item.substr(eq + 1));
    }
    return out;
}

TEST_F(NumericEntry, KeysTurnIntoTheSettingBehindTheField) {
    for (const auto& c : testsupport::readCases("app/numeric_keys.txt", 9)) {
        SCOPED_TRACE(c.where);
        resetWorld();
        gMsg.quiet = true;
        const int32_t pane = c.integer(0);
        gProd.background = pane;
        (pane == 3 ? gPanels.c_TE3 : gPanels.c_TE) = c.integer(1);
        TERec* field = fieldNamed(c[2]);
        testsupport::fillMarked(field, c[3]);
        for (const auto& [name, value] : pairs(c[5])) settings().at(name).set(std::stod(value));
        const int beeps = platform::beepCount();

        for (char k : c[4]) Numeric3_Filter(static_cast<unsigned char>(k));

        EXPECT_EQ(field->text, c[6]);
        for (const auto& [name, value] : pairs(c[7])) {
            if (name.rfind("TE", 0) == 0) {
                EXPECT_EQ(fieldNamed(name)->text, value) << name;
            } else {
                ASSERT_TRUE(settings().count(name)) << name;
                EXPECT_NEAR(settings().at(name).get(), std::stod(value), 1e-9) << name;
            }
        }
        EXPECT_EQ(platform::beepCount() - beeps, c.integer(8));
    }
}

TEST_F(NumericEntry, ColoursRedrawTheirAreasAndEveryKeyThePreview) {
    std::vector<qd::Rect> main;
    int previews = 0;
    gNumericHooks.invalMain = [&](const qd::Rect& r) { main.push_back(r); };
    gNumericHooks.invalPreview = [&](bool) { ++previews; };
    gProd.background = 4;
    gLabel.curIteTyp = 1;
    gPanels.c_TE = 9;
    Numeric3_Filter('5');
    const std::vector<qd::Rect> areas = {
        {22, 5, 47, 130}, {142, 97, 158, 133}, {165, 10, 240, 126}};
    EXPECT_EQ(main, areas);
    EXPECT_GE(previews, 1);
    main.clear();
    gPanels.c_TE = 13;  // the bearer is no colour
    Numeric3_Filter('5');
    EXPECT_TRUE(main.empty());
}

TEST_F(NumericEntry, TheHeightFieldShowsTheNominalHeightInItsUnit) {
    int redraws = 0;
    gNumericHooks.redrawMain = [&] { ++redraws; };
    gSym.code = 3;
    gSym.Siz = 50;
    for (const auto& [mode, shown] :
         std::vector<std::pair<int, std::string>>{{0, "11.000"}, {1, "100"}, {2, "0.43"}}) {
        gSym.hMode = mode;
        WorkOutHeight(0);
        EXPECT_DOUBLE_EQ(gSym.Hei, 11);
        EXPECT_EQ(gPanels.TEHeight.text, shown);
    }
    EXPECT_EQ(redraws, 3);
    platform::SetWindowText(&gPanels.TEHeight, "x");
    gSym.Siz = 100;
    WorkOutHeight(1);
    EXPECT_DOUBLE_EQ(gSym.Hei, 22);
    EXPECT_EQ(gPanels.TEHeight.text, "x");
    EXPECT_EQ(redraws, 3);
    // Types without a nominal height keep theirs however often the size changes.
    for (int code : {18, 19, 21, 22, 23, 27, 33, 34, 38, 42}) {
        gSym.code = code;
        gSym.Hei = 56;
        for (int i = 0; i < 3; ++i) WorkOutHeight(1);
        EXPECT_DOUBLE_EQ(gSym.Hei, 56) << code;
    }
}

TEST_F(NumericEntry, ProcessColoursConvertBothWays) {
    int32_t r = -1, g = -1, b = -1;
    convertFromCMYK(0, 0, 0, 0, &r, &g, &b);
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({65535, 65535, 65535}));
    convertFromCMYK(100, 50, 0, 20, &r, &g, &b);  // cyan and black pass 100 together
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({0, 52428, 19660}));
    convertFromCMYK(-50, 300, 0, 0, &r, &g, &b);  // out-of-range percentages stay in range
    EXPECT_EQ(std::vector<int32_t>({r, g, b}), std::vector<int32_t>({65535, 65535, 0}));
    int32_t c, y, m, k;
    convertToCMYK(&c, &y, &m, &k, 32768, 32768, 32768);
    EXPECT_EQ(std::vector<int32_t>({c, m, y, k}), std::vector<int32_t>({0, 0, 0, 49}));
}

TEST_F(NumericEntry, NumbersReadAndWrittenInTheCLocale) {
    const auto pstr = [](const std::string& s) {
        std::string p(1, static_cast<char>(s.size()));
        return p + s;
    };
    for (const auto& [text, value] : std::vector<std::pair<std::string, double>>{{"12.5", 12.5},
                                                                                 {" -3", -3},
                                                                                 {"+7.25x", 7.25},
                                                                                 {"", 0},
                                                                                 {".", 0},
                                                                                 {"-", 0},
                                                                                 {"abc", 0},
                                                                                 {"1e999", 0}}) {
        double v = -1;
        const std::string p = pstr(text);
        StringToDouble(&v, reinterpret_cast<const unsigned char*>(p.data()));
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    unsigned char out[256];
    DoubleToString(2.5, out);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), "2.500000");
    DoubleToString(1e300, out);  // longer than a Pascal string holds: cut, not overrun
    EXPECT_EQ(out[0], 255);
}

}  // namespace
