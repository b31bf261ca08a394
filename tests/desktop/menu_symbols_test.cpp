// One item of each code-type menu, chosen by a click, then the output menu's
// EPS item and the options menu's folder: the production run's file holds a
// symbol an outside reader reads back as the data.
#include <filesystem>
#include <string>
#include <vector>

#include "automation/options.h"
#include "labels/runs/ProcessBarcodes.h"
#include "labels/production.h"
#include "picture/symbolbox.h"
#include "settings_fixture.h"
#include "support/reader.h"
#include "../symbology/symbol_support.h"
#include "symbology/state.h"

namespace {

namespace fs = std::filesystem;

struct MenuSymbol {
    int16_t menu, item;
    const char* data;
    const char* format;  // zxing's name
    const char* read;    // what the reader must find
};

constexpr MenuSymbol kSymbols[] = {
    {238, 1, "400638133393", "EAN-13", "4006381333931"},
    {239, 2, "STRIXEL-42", "Code128", "STRIXEL-42"},
    {240, 1, "978316148410", "EAN-13", "9783161484100"},
    {241, 3, "STRIXEL", "Code93", "STRIXEL"},
    {242, 11, "1234567890", "Code128", "1234567890"},
    {243, 6, "123456", "Codabar", "1234569"},   // with the variant's check digit
    {244, 1, "STRIXEL", "Code39", "STRIXEL+"},  // with the modulo-43 check character (41)
    {245, 3, "400638133393", "EAN-13", "4006381333931"},
    {248, 1, "9638507", "EAN-8", "96385074"},
    {249, 1, "0400638133393", "DataBar", "04006381333931"},
    {250, 3, "STRIXEL 42", "QRCode", "STRIXEL 42"},
    {253, 11, "0104006381333931", "DataMatrix", "0104006381333931"},
    {254, 14, "0400638133393", "DataBar", "04006381333931"},
};

using MenuSymbols = SettingsDesktop;

TEST_F(MenuSymbols, OneItemOfEachMenuMakesASymbolThatReads) {
    constexpr int16_t kOutputMenu = 133, kEps5 = 4, kOptionsMenu = 236, kIntoFolder = 5;
    for (const MenuSymbol& s : kSymbols) {
        SCOPED_TRACE(std::to_string(s.menu) + "/" + std::to_string(s.item));
        resetWorld();
        gMsg.quiet = true;
        const std::string dir = testsupport::freshFolder("symbol" + std::to_string(s.menu));
        ASSERT_NE(choose(s.menu, s.item), 0);
        choose(kOutputMenu, kEps5);
        answer(dir);
        choose(kOptionsMenu, kIntoFolder);
        ASSERT_EQ(gOut.fileDia, 3);
        applyScriptPair("data", s.data);
        ASSERT_TRUE(addSingleSymbolItem()) << gMsg.last;
        gOut.showDia = 1;
        ProcessBarcodes();
        EXPECT_EQ(gProd.runMade, 1) << gMsg.last;
        EXPECT_EQ(testsupport::decodeEpsFolder(dir, s.format), std::vector<std::string>{s.read});
    }
}

// The postal menu's symbols have no reader: their bars must be zint's.
TEST_F(MenuSymbols, APostalItemMakesZintsBars) {
    constexpr size_t kBands = 3, kLeadingBlanks = 3;
    const std::string dir = testsupport::freshFolder("postal");
    ASSERT_NE(choose(246, 1), 0);
    choose(133, 4);
    answer(dir);
    choose(236, 5);
    applyScriptPair("data", "SN34RD1A");
    ASSERT_TRUE(addSingleSymbolItem()) << gMsg.last;
    // The bars the settings make, then the run that delivers them.
    ASSERT_EQ(STRixel(), 0) << gMsg.last;
    const std::vector<std::string> ours = symtest::rowsOf();
    gOut.showDia = 1;
    ProcessBarcodes();
    ASSERT_EQ(gProd.runMade, 1) << gMsg.last;
    ASSERT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    const std::vector<std::string> zint = symtest::zintRows("RM4SCC", "SN34RD1A");
    ASSERT_EQ(zint.size(), kBands);
    ASSERT_GE(ours.size(), kBands);
    for (size_t b = 0; b < kBands; ++b) {
        SCOPED_TRACE("band " + std::to_string(b));
        const std::string m = symtest::moduleString(ours[b], [](int32_t) { return 1; });
        EXPECT_EQ(symtest::trimRight(m.substr(std::min(kLeadingBlanks, m.size()))),
                  symtest::trimRight(zint[b]));
    }
}

}  // namespace
