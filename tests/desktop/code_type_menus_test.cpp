// The code-type menus: every item, chosen by a click in its menu, sets the
// family, the variant and the settings its row names, after the common resets
// and before the common tail, and leaves every other setting as it was.
#include <cstdlib>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

#include "support/symbol_data.h"
#include "app/codeTypeMenus.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "platform/files.h"
#include "settings_fixture.h"
#include "support/cases.h"
#include "symbology/appBits.h"
#include "symbology/info.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "symbology/typeNames.h"
#include "vector/optionsLine.h"

namespace {

constexpr int32_t kSentinel = 77;
constexpr int32_t kSentinelCode = 19, kSentinelVariant = 1;
constexpr const char* kSentinelFont = "Sentinel Font";

// The settings a row may name, and where they live.
const std::map<std::string, int32_t*>& watched() {
    static const std::map<std::string, int32_t*> fields = {
        {"non_light", &gSym.non_light},
        {"flushBars", &gSym.flushBars},
        {"strip_extra", &gSym.strip_extra},
        {"customTeSize", &gSym.customTeSize},
        {"ratio", &gSym.ratio},
        {"nCheck", &gSym.nCheck},
        {"chSpace", &gSym.chSpace},
        {"attTop", &gSym.attTop},
        {"AboveHu", &gSym.AboveHu},
        {"human", &gSym.human},
        {"variation", &gSym.variation},
        {"insetAmount", &gSym.insetAmount},
        {"smallFirstChar", &gSym.smallFirstChar},
        {"drawExtraText", &gSym.drawExtraText},
    };
    return fields;
}

// Every watched setting at a value no row gives, so a setting a row does not
// name shows whether anything touched it.
void dirty() {
    for (const auto& [name, field] : watched()) *field = kSentinel;
    gSym.line = gSym.gline = kSentinel;
    gSym.code = kSentinelCode;
    gSym.variation1 = kSentinelVariant;
    gSym.cutMarks = 0;
    pstrSet(gSym.defFont, kSentinelFont);
    pstrSet(gSym.fontAbove, kSentinelFont);
    gPanels.TEH.text.clear();
}

std::string pascal(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

// Everything a code-type choice may change, to compare two worlds.
struct Snapshot {
    int32_t code, variation1;
    std::map<std::string, int32_t> fields;
    double line, gline, siz, hei;
    std::string fontAbove, fontBelow, defFont, typeName, data;
    bool operator==(const Snapshot&) const = default;
};
Snapshot snapshot() {
    Snapshot s{gSym.code,
               gSym.variation1,
               {},
               gSym.line,
               gSym.gline,
               gSym.Siz,
               gSym.Hei,
               pascal(gSym.fontAbove),
               pascal(gSym.fontBelow),
               pascal(gSym.defFont),
               gSym.TeF,
               gPanels.TEH.text};
    for (const auto& [name, field] : watched()) s.fields[name] = *field;
    return s;
}
void PrintTo(const Snapshot& s, std::ostream* os) {
    *os << "code " << s.code << "/" << s.variation1 << " line " << s.line << "/" << s.gline
        << " size " << s.siz << "/" << s.hei << " fonts " << s.fontAbove << "/" << s.fontBelow
        << "/" << s.defFont << " type " << s.typeName << " data " << s.data;
    for (const auto& [name, v] : s.fields) *os << " " << name << "=" << v;
}

// The row as the case line states it, applied to the current settings: the
// common resets, the family and variant, the settings in order, then the tail
// (or the coupon dialog). Answers whether the dialog opens.
bool applyCase(const testsupport::CaseLine& c) {
    constexpr int kNoTextMenu = 250, kCouponNamedFirst = 249;
    const int menu = c.integer(0);
    gSym.ratio = -1;
    gSym.line = gSym.gline = 0;
    gSym.insetAmount = 0;  // no cut marks
    gSym.smallFirstChar = 0;
    gSym.drawExtraText = 0;
    gSym.human = menu == kNoTextMenu ? 0 : 1;
    if (c[2] != "-") gSym.code = c.integer(2);
    if (c[3] != "-") gSym.variation1 = c.integer(3);
    bool coupon = false;
    std::istringstream sets(c[4]);
    for (std::string s; sets >> s;) {
        const size_t eq = s.find('=');
        const std::string name = s.substr(0, eq), value = eq == s.npos ? "" : s.substr(eq + 1);
        if (name == "coupon") {
            coupon = true;
        } else if (name == "fontAbove") {
            if (value == "default")
                pstrCopy(gSym.fontAbove, gSym.defFont);
            else
                pstrSet(gSym.fontAbove, value.c_str());
        } else if (name == "TEH") {
            gPanels.TEH.text = value;
        } else if (name == "defaults") {
            gSym.code = std::stoi(value);
            defaults();
            gSym.code = c.integer(2);
        } else if (name == "line") {
            gSym.line = std::stod(value);
        } else if (name == "gline") {
            gSym.gline = std::stod(value);
        } else {
            EXPECT_TRUE(watched().count(name)) << name;
            if (watched().count(name)) *watched().at(name) = std::stoi(value);
        }
    }
    if (coupon) {
        if (menu == kCouponNamedFirst) GetCodeText();
        return true;
    }
    pstrCopy(gSym.defFont, gSym.barFont);
    GetCodeText();
    return false;
}

using CodeTypeMenus = SettingsDesktop;

TEST_F(CodeTypeMenus, EveryItemSetsItsRow) {
    const auto rows = testsupport::readCases("desktop/menus/code_type_rows.txt", 5);
    std::map<int, int> itemsSeen;
    for (const auto& c : rows) {
        const int menu = c.integer(0), item = c.integer(1);
        SCOPED_TRACE(c.where);
        itemsSeen[menu] = std::max(itemsSeen[menu], item);
        dirty();
        const bool coupon = applyCase(c);
        const Snapshot want = snapshot();

        dirty();
        const size_t callsBefore = settingMenuCalls().size();
        toolbox::MenuHandle m = popUp(int16_t(menu));
        ASSERT_NE(m, nullptr);
        if (m->items.at(size_t(item) - 1).text == "-") {
            // A row that sets nothing stands as a divider: no click reaches it,
            // and a choice of it would run only the common steps.
            EXPECT_FALSE(toolbox::IsMenuItemEnabled(m, int16_t(item)));
            EXPECT_EQ(c[4], "");
            doMenu(int16_t(item), int16_t(menu));
        } else {
            ASSERT_EQ(choose(int16_t(menu), int16_t(item)), (menu << 16) | item);
        }
        EXPECT_EQ(snapshot(), want);
        EXPECT_EQ(settingMenuCalls().size() > callsBefore &&
                      settingMenuCalls().back() == "DataBarCouponDialog",
                  coupon);
    }
    // Every item of every menu has its row, and the menus hold no more items.
    for (const auto& [menu, last] : itemsSeen) {
        SCOPED_TRACE(menu);
        EXPECT_EQ(toolbox::CountMenuItems(popUp(int16_t(menu))), last);
        EXPECT_EQ(codeTypeRows(int16_t(menu)).size(), size_t(last));
    }
    EXPECT_EQ(itemsSeen.size(), 14u);
}

// A bearer box chosen before is gone unless the item sets one again; the
// variant of Code 39's own menu is kept.
TEST_F(CodeTypeMenus, CommonResetsComeBeforeTheRow) {
    gSym.line = 14;
    choose(238, 2);
    EXPECT_DOUBLE_EQ(gSym.line, 0);
    choose(238, 28);
    EXPECT_DOUBLE_EQ(gSym.line, 14);
    EXPECT_DOUBLE_EQ(gSym.gline, 14);
    EXPECT_EQ(gSym.AboveHu, 1);
    choose(238, 2);  // the bearer's room goes with it, or the bars shift off the box
    EXPECT_DOUBLE_EQ(gSym.gline, 0);
    choose(238, 28);
    choose(243, 16);
    EXPECT_EQ(gSym.variation1, 13);
    choose(244, 1);
    EXPECT_EQ(gSym.code, 6);
    EXPECT_EQ(gSym.variation1, 13);
    gSym.human = 1;
    choose(250, 3);
    EXPECT_EQ(gSym.human, 0);
}

TEST_F(CodeTypeMenus, SameItemTwiceGivesTheSameSettings) {
    for (int pass = 0; pass < 2; ++pass) {
        dirty();
        choose(245, 29);
        EXPECT_EQ(gSym.code, 4);
        EXPECT_EQ(gSym.variation1, 14);
        EXPECT_EQ(gSym.customTeSize, 10);
        EXPECT_EQ(gSym.ratio, 5);
        EXPECT_STREQ(gSym.TeF, "Next 9");
    }
}

TEST_F(CodeTypeMenus, ThePreviewOfASingleSymbolClosesFirst) {
    gWindows.disp2 = window({100, 400, 300, 600}, toolbox::documentProc);
    choose(238, 1);
    EXPECT_EQ(gWindows.disp2, nullptr);

    // With a label laid out the preview is the layout: it stays.
    labelBack.labelWidth = 1000;
    labelBack.labelHeight = 500;
    gWindows.disp2 = window({100, 400, 300, 600}, toolbox::documentProc);
    choose(238, 2);
    EXPECT_NE(gWindows.disp2, nullptr);
    EXPECT_EQ(gSym.code, 3);
}

// The code-type menu opens each code-type menu from one of its items.
TEST_F(CodeTypeMenus, TheCodeTypeMenuLeadsToEverySubMenu) {
    toolbox::MenuHandle top = popUp(144);
    ASSERT_NE(top, nullptr);
    std::vector<int> subs;
    for (const toolbox::MenuItem& it : top->items) {
        EXPECT_EQ(it.cmd, toolbox::hMenuCmd) << it.text;
        subs.push_back(it.mark);
    }
    // Then the Custom and Options menus, which nothing else shows.
    EXPECT_EQ(subs, (std::vector<int>{238, 239, 240, 241, 242, 243, 244, 245, 246, 248, 249, 250,
                                      253, 254, 151, 236}));
}

// Items past a menu's rows still reset and name the type; item 0 (no choice)
// runs no tail.
TEST_F(CodeTypeMenus, ItemsPastTheRowsRunOnlyTheCommonSteps) {
    dirty();
    doMenu(40, 238);
    EXPECT_EQ(gSym.code, kSentinelCode);
    EXPECT_EQ(gSym.ratio, -1);
    EXPECT_EQ(pascal(gSym.defFont), pascal(gSym.barFont));
    dirty();
    doMenu(0, 239);
    EXPECT_EQ(pascal(gSym.defFont), kSentinelFont);
}

// What tells one symbol from another when a type name is read: the family, the
// name it shows, the M&S shoe symbols' own variation, and the check setting
// where it changes the bars.
struct Drawn {
    int32_t code;
    std::string name;
    int32_t variation, nCheck;
    bool operator==(const Drawn&) const = default;
};
Drawn drawn(bool checkCounts) {
    constexpr int32_t kShoeFamily = 15;
    const char* name = codeTypeName(gSym.code, gSym.variation1);
    return {gSym.code, name ? name : "(none)", gSym.code == kShoeFamily ? gSym.variation : 0,
            checkCounts ? gSym.nCheck : 0};
}

// Whether the check setting changes how many bars the type draws for the first
// sample data it takes either way; the settings and the data are put back.
bool checkChangesBars() {
    constexpr const char* kSamples[] = {"1234567", "12345670", "400638133393", "0521425573",
                                        "A1234B"};
    const SymbolSettings kept = gSym;
    const SymbolData keptData = gData;
    const auto elements = [&kept](const char* data, int32_t nCheck) {
        gSym = kept;
        gSym.nCheck = nCheck;
        applyScriptPair("data", data);
        return STRixel() == 0 ? gEl.cu_len : 0;
    };
    bool changes = false;
    for (const char* data : kSamples) {
        const int32_t with = elements(data, 0), without = elements(data, 1);
        if (with == 0 || without == 0) continue;
        changes = with != without;
        break;
    }
    gSym = kept;
    gData = keptData;
    return changes;
}

// The command line refuses an EPS file whose line names no type, and says why.
std::string commandLineRefusal(const std::string& line) {
    const std::string eps = testsupport::tempPath("nameless.eps");
    const std::string said = testsupport::tempPath("nameless.err");
    std::ofstream(eps) << "%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: t\r%%Title: t\r" << line
                       << "%%EndComments\r";
    const std::string command = "\"" STRIXEL_BINARY "\" --open \"" + eps + "\" '{saveto:\"" +
                                testsupport::tempPath("again.eps") + "\"}' 2>\"" + said + "\"";
    if (std::system(command.c_str()) == 0) return "(opened)";
    return testsupport::slurp(said);
}

// The options line of every item's symbol either opens again on the command line
// as that symbol or names no type and is refused: never another symbol.
TEST_F(CodeTypeMenus, EveryItemsOptionsLineReopensAsItsSymbolOrIsRefused) {
    constexpr int16_t kMenus[] = {238, 239, 240, 241, 242, 243, 244,
                                  245, 246, 248, 249, 250, 253, 254};
    constexpr std::string_view kType = "{type:\"";
    int nameless = 0;
    for (const int16_t menu : kMenus)
        for (int16_t item = 1; item <= int16_t(codeTypeRows(menu).size()); ++item) {
            SCOPED_TRACE(std::to_string(menu) + "/" + std::to_string(item));
            if (chooseCodeType(menu, item) != CodeChoice::applied) continue;
            const std::string line = testsupport::writtenOptionsLine();
            const size_t at = line.find(kType);
            if (at == std::string::npos) {
                ++nameless;
                if (nameless <= 2) {
                    EXPECT_NE(
                        commandLineRefusal(line).find("names no type: its symbol is of a kind"),
                        std::string::npos);
                }
                continue;
            }
            const size_t from = at + kType.size();
            const std::string name = line.substr(from, line.find('"', from) - from);
            const bool checkCounts = checkChangesBars();
            const Drawn want = drawn(checkCounts);
            const SymbolSettings kept = gSym;
            gSym = SymbolSettings{};
            EXPECT_TRUE(isCodeTypeName(name.c_str())) << name;
            parseCodeType(name.c_str());
            EXPECT_EQ(drawn(checkCounts), want) << name << " reads back as " << gSym.TeF;
            gSym = kept;
        }
    // Plessey and MSI without check, the M&S shoe variants and the like.
    EXPECT_GT(nameless, 0);
}

}  // namespace
