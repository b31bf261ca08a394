// The settings a user leaves in the panes come back at the next start: the
// whole program wired as it runs, the settings changed through its menus and
// fields, a quit, a start from nothing, and the same settings, fields and code
// type in the main window.
#include "app/defaultsFile.h"
#include "app/desktop/mainWindow.h"
#include "app/desktop/settingMenus.h"
#include "app/desktop/startup.h"
#include "app/desktop/wiring.h"
#include "app/world.h"
#include "shell_fixture.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "vector/units.h"

using namespace toolbox;

namespace {

constexpr int16_t kCode128Menu = 239, kCode128Item = 2;

// What one start leaves and the next must find.
struct Remembered {
    int32_t code, variation1, cutMarks, transpar_ent, non_light, textAsFont, AboveHu;
    int32_t customTeSize, insetAmount, BWidthRed, cyan2, magenta2, yellow2, black2;
    int32_t ill, fileTyp;
    double Siz, Hei;
    std::string data, type;
    bool operator==(const Remembered&) const = default;
};

Remembered now() {
    return {gSym.code,        gSym.variation1, gSym.cutMarks,    gSym.transpar_ent,
            gSym.non_light,   gSym.textAsFont, gSym.AboveHu,     gSym.customTeSize,
            gSym.insetAmount, gSym.BWidthRed,  gSym.cyan2,       gSym.magenta2,
            gSym.yellow2,     gSym.black2,     gOut.ill,         gOut.fileTyp,
            gSym.Siz,         gSym.Hei,        gPanels.TEH.text, gPanels.TEType.text};
}

class DefaultsRoundTrip : public ShellTest {
  protected:
    void TearDown() override {
        unwireDesktop();
        ShellTest::TearDown();
    }
    static void startWired() {
        wireDesktop();
        startProgram();
        settle();
    }
    static void quit() {
        SendDesktopKey(gWindows.wp, U'q', 0, cmdKey, false);
        settle();
        ASSERT_EQ(gShell.gRunning, -1);
        endProgram();
    }
};

TEST_F(DefaultsRoundTrip, EveryPanesSettingsComeBackAfterAQuit) {
    startWired();
    ASSERT_NE(gWindows.wp, nullptr);
    // Code and data: the code type from its menu, the data typed.
    doMenu(kCode128Item, kCode128Menu);
    ASSERT_EQ(gSym.code, 5);
    platform::SetWindowText(&gPanels.TEH, "ROUND TRIP 42");
    gSym.Siz = 150;
    gSym.Hei = 20.5;
    gSym.BWidthRed = 25;
    // Options, colours and the output.
    gSym.cutMarks = 1;
    gSym.transpar_ent = 1;
    gSym.non_light = 0;
    gSym.textAsFont = 1;
    gSym.AboveHu = 1;
    gSym.customTeSize = 12;
    gSym.insetAmount = 7;
    gSym.cyan2 = 10;
    gSym.magenta2 = 20;
    gSym.yellow2 = 30;
    gSym.black2 = 90;
    gOut.ill = 1115;
    gOut.fileTyp = 1;
    const Remembered left = now();
    quit();

    // A new start: nothing of the first run but its files.
    forget();
    resetWorld();
    ASSERT_NE(now(), left);
    startWired();
    EXPECT_EQ(now(), left);
    // The main window shows them.
    EXPECT_EQ(gPanels.TESize.text, "150.00");
    EXPECT_EQ(gPanels.TEHeight.text, "20.50");
    EXPECT_EQ(gPanels.TEBWR.text, "25");
    quit();
}

// The bar font stays the symbols' default font from the first start on, so an
// EAN-13's digits stay the bar font's outlines through a restart. A defaults
// file an earlier start left with Helvetica in their place gets the bar font
// back; Helvetica the user or the type chose is kept.
TEST_F(DefaultsRoundTrip, TheBarFontStaysTheDefaultFontThroughStarts) {
    auto restart = [] {
        forget();
        resetWorld();
        startWired();
    };
    startWired();
    ASSERT_EQ(gSym.code, 0);
    EXPECT_TRUE(samePstr(gSym.defFont, gSym.barFont));
    EXPECT_TRUE(samePstr(gSym.fontBelow, gSym.barFont));
    quit();
    restart();
    EXPECT_TRUE(samePstr(gSym.defFont, gSym.barFont));
    EXPECT_TRUE(samePstr(gSym.fontBelow, gSym.barFont));

    struct Left {
        int32_t code, textAsFont;
        bool repaired;
    };
    for (const Left& left : {Left{0, 0, true}, Left{0, 1, false}, Left{5, 0, false}}) {
        SCOPED_TRACE(left.code * 10 + left.textAsFont);
        gSym.code = left.code;
        gSym.textAsFont = left.textAsFont;
        pstrCopy(gSym.fontBelow, gSym.gHelvetica);
        ASSERT_EQ(SetAsDefault(defaultsFilePath().c_str(), kDefaultEntryName, 0), 0);
        restart();
        EXPECT_EQ(gSym.code, left.code);
        EXPECT_TRUE(samePstr(gSym.fontBelow, left.repaired ? gSym.barFont : gSym.gHelvetica));
    }
    quit();
}

}  // namespace
