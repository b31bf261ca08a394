// The preferences window: its marks toggle their switches, its four number
// fields take digits only, and closing it writes the preferences and the
// thermal printer's settings, which read back.
#include <filesystem>

#include "app/desktop/preferencesWindow.h"
#include "app/preferences.h"
#include "labels/printDefaults.h"
#include "labels/printState.h"
#include "labels/runs/printWindow.h"
#include "picture/PICout2.h"
#include "settings_fixture.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;
using namespace toolbox;
using PreferencesWindow = SettingsDesktop;

// The window's content stands at (300, 100) on the screen.
constexpr qd::Point kOrigin{100, 300};
qd::Point at(int32_t h, int32_t v) { return {kOrigin.v + v, kOrigin.h + h}; }

void postClick(qd::Point p) {
    PostEvent(EventRecord{mouseDown, 0, 0, p, 0});
    PostEvent(EventRecord{mouseUp, 0, 0, p, btnState});
}
void postKeys(const std::string& keys) {
    for (unsigned char ch : keys) PostEvent(EventRecord{keyDown, ch, 0, {}, btnState});
}

TEST_F(PreferencesWindow, FieldsTypedMarksToggledSavedAndReadBack) {
    startPreferences();
    gThermal = ThermalSettings{};
    postClick(at(97, 207));   // the heat field: its number selected
    postKeys("2x-5");         // a letter and a minus sign are refused
    postKeys("\t7");          // speed
    postKeys("\t\b");         // strip length emptied: it keeps its setting
    postKeys("\t3");          // gap length
    postClick(at(107, 46));   // hide the main window
    postClick(at(207, 306));  // the second option bit
    postClick(at(338, 335));  // the button
    const int32_t beeps = BeepCount();
    EXPECT_EQ(showPreferences(), 0);
    EXPECT_EQ(BeepCount(), beeps + 2);
    EXPECT_EQ(gWindows.win[kPrefWindow], nullptr);
    EXPECT_EQ(gThermal.heat, 25);
    EXPECT_EQ(gThermal.speed, 7);
    EXPECT_EQ(gThermal.striplen, 10);
    EXPECT_EQ(gThermal.gaplen, 3);
    EXPECT_EQ(gPrefs.hideIF, 1);
    EXPECT_EQ(gPrefs.barco, 0);
    EXPECT_EQ(fs::file_size(preferencesFilePath()), 9u * 4);

    resetPreferences();
    startPreferences();
    gThermal = ThermalSettings{};
    GetPrefernces();
    ThermalGetDefault();
    EXPECT_EQ(gPrefs.hideIF, 1);
    EXPECT_EQ(gPrefs.barco, 0);
    EXPECT_EQ(gThermal.gaplen, 3);
    EXPECT_EQ(gThermal.heat, 25);
    EXPECT_EQ(gThermal.speed, 7);
    EXPECT_EQ(gPrint.printScreen, 1);
}

TEST_F(PreferencesWindow, EveryMarkTogglesItsSwitch) {
    startPreferences();
    struct Mark {
        int32_t h, v;
        int32_t* value;
        int32_t bit;
    } marks[] = {{100, 40, &gPrefs.hideIF, 1},          {100, 60, &gPrint.printScreen, 1},
                 {100, 80, &gPrint.printForever, 1},    {100, 160, &gDriver.askForRepeat, 1},
                 {100, 280, &gPrintWin.startLabels, 1}, {100, 300, &gPrefs.barco, 1},
                 {200, 300, &gPrefs.barco, 2}};
    int32_t before[7];
    for (size_t i = 0; i < 7; ++i) {
        before[i] = *marks[i].value;
        postClick(at(marks[i].h + 6, marks[i].v + 5));
    }
    postClick(at(338, 335));
    showPreferences();
    // barco's two bits share a word: both flipped from 2 give 1.
    for (size_t i = 0; i + 2 < 7; ++i) EXPECT_EQ(*marks[i].value, before[i] ^ 1) << i;
    EXPECT_EQ(gPrefs.barco, 1);
}

// A window left with nothing to do fails the test instead of waiting, and
// goes away with its fields.
TEST_F(PreferencesWindow, NoEventsStallsAndClosesTheWindow) {
    EXPECT_THROW(showPreferences(), ModalStall);
    EXPECT_EQ(gWindows.win[kPrefWindow], nullptr);
    EXPECT_EQ(prefField(0), nullptr);
}

}  // namespace
