#include <filesystem>

#include "app/customTypes.h"
#include "app/defaultsFile.h"
#include "app/preferences.h"
#include "app_world.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "platform/questions.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

namespace fs = std::filesystem;
using CustomTypes = SettingsWorld;
using Preferences = SettingsWorld;

void answer(const std::string& text, bool cancel = false) {
    platform::questionScript().textAnswers.push_back({cancel, text, 1});
}

TEST_F(CustomTypes, SavedListedSortedAndChosen) {
    gSym.code = 6, gSym.Siz = 44;
    answer("Zeta/Box:2");
    ASSERT_EQ(SaveCustomCode(), 1);
    gSym.code = 5, gSym.Siz = 61;
    answer("Alpha");
    ASSERT_EQ(SaveCustomCode(), 1);
    const std::string folder = customFolderPath();
    ASSERT_TRUE(fs::exists(folder + "/Zeta-Box-2"));
    // A renamed file, a hidden file and a sub-folder.
    fs::rename(folder + "/Alpha", folder + "/renamed");
    put(folder + "/.hidden", "x");
    fs::create_directories(folder + "/sub");

    ASSERT_EQ(BuildCustMenu(), 0);
    ASSERT_EQ(gCustom.menu17.size(), 2u);
    EXPECT_EQ(gCustom.menu17[0].name, "Alpha");
    EXPECT_EQ(gCustom.menu17[1].name, "Zeta/Box:2");
    EXPECT_EQ(gSym.Siz, 61);  // listing reads names only

    resetWorld();
    ASSERT_EQ(BuildCustMenu(), 0);
    ASSERT_EQ(GetCustMenuItem(1), 1);
    EXPECT_EQ(gSym.code, 5);
    EXPECT_DOUBLE_EQ(gSym.Siz, 61);
    EXPECT_STREQ(gSym.TeF, "Alpha");
    EXPECT_EQ(gPanels.TEType.text, "Alpha");
    ASSERT_EQ(GetCustMenuItem(2), 1);
    EXPECT_EQ(gSym.code, 6);
    EXPECT_DOUBLE_EQ(gSym.Siz, 44);
    EXPECT_EQ(GetCustMenuItem(3), 0);
}

TEST_F(CustomTypes, CancelOrEmptyWritesNothing) {
    answer("", true);
    EXPECT_EQ(SaveCustomCode(), 0);
    answer("");
    EXPECT_EQ(SaveCustomCode(), 0);
    EXPECT_EQ(SaveCustomCode(), 0);  // no answer at all: a cancel
    EXPECT_TRUE(gCustom.menu17.empty());
    EXPECT_FALSE(fs::exists(customFolderPath()) && !fs::is_empty(customFolderPath()));
}

TEST_F(CustomTypes, FolderMadeOrRefused) {
    EXPECT_EQ(BuildCustMenu(), 0);
    EXPECT_TRUE(fs::is_directory(customFolderPath()));
    fs::remove(customFolderPath());
    put(customFolderPath(), "a file");
    EXPECT_EQ(BuildCustMenu(), -120);
    EXPECT_TRUE(gCustom.menu17.empty());
}

TEST_F(Preferences, StartValuesRoundTripAndShortOrDamagedFiles) {
    startPreferences();
    GetPrefernces();  // no file: the start values stay
    EXPECT_EQ(gPrint.printScreen, 1);
    EXPECT_EQ(gThermal.gaplen, 2);
    EXPECT_EQ(gPrefs.barco, 2);

    gPrefs.hideIF = 1, gPrint.printForever = 1, gPrefs.greyInterface = 2, gPrefs.barco = 1;
    takePreferenceFields("12", " 7", "-4", "abc");
    EXPECT_EQ(gThermal.heat, 12);
    EXPECT_EQ(gThermal.speed, 7);
    EXPECT_EQ(gThermal.striplen, 0);
    EXPECT_EQ(gThermal.gaplen, 2);  // no number: kept
    ASSERT_EQ(SetPreferences(), 0);
    EXPECT_EQ(fs::file_size(preferencesFilePath()), 36u);
    resetWorld();
    startPreferences();
    GetPrefernces();
    ThermalGetDefault();
    EXPECT_EQ(gPrefs.hideIF, 1);
    EXPECT_EQ(gPrint.printForever, 1);
    EXPECT_EQ(gPrefs.greyInterface, 2);
    EXPECT_EQ(gPrefs.barco, 1);
    EXPECT_EQ(gThermal.heat, 12);

    // Three words: the rest keep their start values; a cut word is reported.
    const std::string three("\0\0\0\1\0\0\0\0\0\0\0\1", 12);
    put(preferencesFilePath(), three + std::string("\0\0", 2));
    resetWorld();
    startPreferences();
    gMsg.quiet = true;
    GetPrefernces();
    EXPECT_EQ(gPrefs.hideIF, 1);
    EXPECT_EQ(gPrint.printScreen, 0);
    EXPECT_EQ(gPrint.printForever, 1);
    EXPECT_EQ(gThermal.gaplen, 2);
    EXPECT_EQ(gPrefs.barco, 2);
    EXPECT_NE(gMsg.shown, 0);

    // A shade out of range is light; barco's high half is left alone.
    std::string nine(36, '\0');
    nine[31] = 7;                                    // greyInterface 7
    nine[32] = 0x12, nine[33] = 0x34, nine[35] = 1;  // barco 0x12340001
    put(preferencesFilePath(), nine);
    resetWorld();
    gPrefs.barco = 0x00050002;
    GetPrefernces();
    EXPECT_EQ(gPrefs.greyInterface, 0);
    EXPECT_EQ(gPrefs.barco, 0x00050001);
}

}  // namespace
