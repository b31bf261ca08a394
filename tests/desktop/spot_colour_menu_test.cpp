// Spot colours from the colours menu: a library colour found by name gives its
// process colours to the symbol and its own plate in the EPS file; a free name
// is taken as it is; a missing name or library is told and changes nothing.
#include <filesystem>
#include <fstream>

#include "app/colourLibraries.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/runs/ProcessBarcodes.h"
#include "picture/symbolbox.h"
#include "settings_fixture.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

namespace fs = std::filesystem;
using SpotColours = SettingsDesktop;

constexpr int16_t kSpotMenu = 235, kTrumatch = 8, kFreeName = 9, kNoSuchLibrary = 11;

// A library of made-up colours in the documented line form.
void putLibrary(const std::string& dataHome, int32_t number) {
    const std::string folder = dataHome + "/strixel/Colours";
    fs::create_directories(folder);
    std::ofstream(folder + "/" + libraryFileName(number), std::ios::binary)
        << "0.1 0.2 0.3 0.4 Strixel Dawn\r\n0.5 0 1 0.25 Strixel Sun\n";
}

std::string pascal(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

TEST_F(SpotColours, ALibraryColourByNameReachesTheSymbolAndItsPlate) {
    putLibrary(data, kTrumatch);
    gLabel.curIteTyp = 1;
    answer("Strixel Sun");
    choose(kSpotMenu, kTrumatch);
    EXPECT_EQ(gSym.cyan2, 50);
    EXPECT_EQ(gSym.magenta2, 0);
    EXPECT_EQ(gSym.yellow2, 100);
    EXPECT_EQ(gSym.black2, 25);
    EXPECT_EQ(gSym.customColour, 1);
    const std::string spot = pascal(gSym.customCol);
    EXPECT_NE(spot.find("Strixel Sun"), std::string::npos) << spot;
    // The colour pane's fields show it.
    EXPECT_EQ(gPanels.TECyan.text, "50");
    EXPECT_EQ(gPanels.TEBlac.text, "25");

    // An EAN-13 in that colour, as an EPS file with the spot colour named.
    const std::string dir = testsupport::freshFolder("spot");
    choose(238, 1);
    choose(133, 2);
    answer(dir);
    choose(236, 5);
    applyScriptPair("data", "400638133393");
    ASSERT_TRUE(addSingleSymbolItem()) << gMsg.last;
    gOut.showDia = 1;
    ProcessBarcodes();
    ASSERT_EQ(gProd.runMade, 1) << gMsg.last;
    ASSERT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    const std::string eps = fs::directory_iterator(dir)->path();
    EXPECT_NE(testsupport::slurp(eps).find("%%DocumentCustomColors: (" + spot + ")"),
              std::string::npos);
    const std::string plates = testsupport::freshFolder("plates");
    const testsupport::RunResult gs = testsupport::runCommand(
        "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=tiffsep -o '" + plates +
        "/p.tif' '" + eps + "'");
    EXPECT_EQ(gs.status, 0) << gs.err;
    EXPECT_TRUE(fs::exists(plates + "/p(" + spot + ").tif"));
}

// A colour picked once the symbol's item exists gives the item its name with its
// numbers: loading the item again must not pair them with the name before.
TEST_F(SpotColours, AColourPickedLaterKeepsItsNameWithTheItem) {
    putLibrary(data, kTrumatch);
    gLabel.curIteTyp = 1;
    answer("Strixel Sun");
    choose(kSpotMenu, kTrumatch);
    applyScriptPair("type", "EAN 13");
    applyScriptPair("data", "400638133393");
    ASSERT_TRUE(addSingleSymbolItem()) << gMsg.last;
    answer("Strixel Dawn");
    choose(kSpotMenu, kTrumatch);
    getItemData(0);
    EXPECT_NE(pascal(gSym.customCol).find("Strixel Dawn"), std::string::npos)
        << pascal(gSym.customCol);
    EXPECT_EQ(gSym.cyan2, 10);
}

TEST_F(SpotColours, TheSecondSetAndTheLabelBackground) {
    putLibrary(data, kTrumatch);
    gLabel.curIteTyp = 1;
    gPanels.colTab = 1;
    answer("Strixel Dawn");
    choose(kSpotMenu, kTrumatch);
    EXPECT_EQ(gSym.cyan22, 10);
    EXPECT_EQ(gSym.magenta22, 20);
    EXPECT_EQ(gSym.yellow22, 30);
    EXPECT_EQ(gSym.black22, 40);

    // Nothing selected: the label's background, as red, green and blue.
    gLabel.curIteTyp = 0;
    answer("Strixel Sun");
    choose(kSpotMenu, kTrumatch);
    EXPECT_EQ(labelBack.backRed, uint32_t(25 * 655.35));
    EXPECT_EQ(labelBack.backGreen, uint32_t(75 * 655.35));
    EXPECT_EQ(labelBack.backBlue, 0u);
}

TEST_F(SpotColours, FreeNamesAndWhatIsNotThere) {
    putLibrary(data, kTrumatch);
    answer("House Gold");
    choose(kSpotMenu, kFreeName);
    EXPECT_EQ(pascal(gSym.customCol), "House Gold");
    EXPECT_EQ(gSym.customColour, 1);
    // An empty free name changes nothing.
    answer("");
    choose(kSpotMenu, kFreeName);
    EXPECT_EQ(pascal(gSym.customCol), "House Gold");
    // The names that paint no plate or every plate are told and change nothing;
    // another case is an ordinary name.
    for (const char* reserved : {"None", "All"}) {
        gMsg.last.clear();
        answer(reserved);
        choose(kSpotMenu, kFreeName);
        EXPECT_NE(gMsg.last.find("is kept for a colour"), std::string::npos) << reserved;
        EXPECT_EQ(pascal(gSym.customCol), "House Gold");
    }
    answer("none");
    choose(kSpotMenu, kFreeName);
    EXPECT_EQ(pascal(gSym.customCol), "none");
    // A name longer than an item keeps beside its font name is told and changes
    // nothing, a free name or a library's.
    const std::string tooLong(spotNameRoomSelItems() + 1, 'N');
    answer(tooLong);
    choose(kSpotMenu, kFreeName);
    EXPECT_NE(gMsg.last.find("beside its font name"), std::string::npos) << gMsg.last;
    EXPECT_EQ(pascal(gSym.customCol), "none");
    std::ofstream(data + "/strixel/Colours/" + libraryFileName(kTrumatch), std::ios::app)
        << "0 0 0 1 " << tooLong << "\n";
    gMsg.last.clear();
    answer(tooLong);
    choose(kSpotMenu, kTrumatch);
    EXPECT_NE(gMsg.last.find("beside its font name"), std::string::npos) << gMsg.last;
    EXPECT_EQ(pascal(gSym.customCol), "none");

    gSym.cyan2 = 1, gSym.magenta2 = 2, gSym.yellow2 = 3, gSym.black2 = 4;
    gLabel.curIteTyp = 1;
    gMsg.last.clear();
    answer("Strixel Sky");
    choose(kSpotMenu, kTrumatch);
    EXPECT_NE(gMsg.last.find("not in the chosen colour library"), std::string::npos);
    gMsg.last.clear();
    answer("Reflex Blue");
    choose(kSpotMenu, kNoSuchLibrary);
    EXPECT_NE(gMsg.last.find("could not be found"), std::string::npos);
    EXPECT_EQ(gSym.cyan2, 1);
    EXPECT_EQ(gSym.magenta2, 2);
    EXPECT_EQ(gSym.yellow2, 3);
    EXPECT_EQ(gSym.black2, 4);
    // A cancelled question asks no library.
    gMsg.last.clear();
    answer("", true);
    choose(kSpotMenu, kTrumatch);
    EXPECT_EQ(gMsg.last, "");
}

}  // namespace
