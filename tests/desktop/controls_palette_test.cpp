// The controls palette: drawn as its golden picture, narrow and widened into
// its form; its buttons run the file commands, switch the form in and out
// (storing what was typed as data fields) and hide the editing windows.
//
// To draw the golden again on purpose (after a change to how the palette looks):
//   STRIXEL_WRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen
//       build-test/tests/test_desktop --gtest_filter='*ControlsPalette*Golden*'
// then look at the picture before committing it.
#include <cstring>
#include <vector>

#include "app/desktop/controlsPalette.h"
#include "golden_image.h"
#include "labels/datafields.h"
#include "settings_fixture.h"
#include "support/fonts.h"
#include "symbology/state.h"

namespace {

using namespace toolbox;
using ControlsPalette = SettingsDesktop;

constexpr int kOddPixelsMost = 400;  // of 800 x 400 pixels, about 0.1 %
constexpr const char* kGolden = STRIXEL_TEST_DATA "/desktop/controls/palette.png";

qd::Point global(qd::Point local) {
    const qd::Rect c = ContentBounds(gWindows.ControlsWin);
    return {c.top + local.v, c.left + local.h};
}
qd::Point middle(const qd::Rect& r) { return {(r.top + r.bottom) / 2, (r.left + r.right) / 2}; }

// A click on the palette, taken by the event loop's own pass.
void clickAt(qd::Point local) {
    const qd::Point p = global(local);
    PostEvent(EventRecord{mouseDown, 0, 0, p, 0});
    PostEvent(EventRecord{mouseUp, 0, 0, p, btnState});
    for (int guard = 0; guard < 20 && MainEventPass(); ++guard) {
    }
}
void typeKeys(const std::string& keys) {
    for (unsigned char ch : keys) PostEvent(EventRecord{keyDown, ch, 0, {}, btnState});
    for (int guard = 0; guard < 40 && MainEventPass(); ++guard) {
    }
}

int width() { return gWindows.ControlsWin->portRect.right - gWindows.ControlsWin->portRect.left; }

TEST_F(ControlsPalette, NarrowAndWideMatchTheGolden) {
    ASSERT_TRUE(testsupport::useTestFonts());
    copyBounded(gSym.TeF, "EAN-UCC 13");
    copyBounded(gData.chMainCode2, "400638133393");
    gData.len11 = 12;
    ShowControlsWin();
    ASSERT_NE(gWindows.ControlsWin, nullptr);
    EXPECT_EQ(gWindows.ControlsWin->procID, plainDBox);
    EXPECT_TRUE(gWindows.ControlsWin->floating());
    EXPECT_EQ(width(), kPaletteWidth);

    constexpr int kImageWidth = kPaletteWidth + kFormWidth;
    const goldenimage::Surface drawn = goldenimage::makeImage(kImageWidth, kPaletteHeight);
    goldenimage::copyWindow(drawn.get(), gWindows.ControlsWin, 0);
    gControls.gPrefWin = 1;
    ChangeToSettingsWin();
    ASSERT_EQ(width(), kFormWidth);
    ControlsUpdate();
    goldenimage::copyWindow(drawn.get(), gWindows.ControlsWin, kPaletteWidth);
    closeControlsWin();

    goldenimage::expectMatchesGolden(drawn.get(), kGolden, kOddPixelsMost);
}

TEST_F(ControlsPalette, ButtonsRunCommandsAndSwitchTheForm) {
    installSettingMenus();
    std::vector<int32_t> commands;
    setControlsFileCommand([&](int32_t item) { commands.push_back(item); });
    gWindows.wp = window({50, 10, 330, 150}, documentProc);
    ShowControlsWin();

    for (int k : {1, 2, 3, 4, 6}) clickAt(middle(controlsButton(k)));
    clickAt(middle(kControlsExtraButton));  // outside the narrow palette: nothing
    EXPECT_EQ(commands, (std::vector<int32_t>{2, 9, 11, 202, 14}));

    // The form: typed entries are kept as data fields when it is put away.
    clickAt(middle(controlsButton(0)));
    EXPECT_EQ(width(), kFormWidth);
    EXPECT_EQ(gControls.gPrefWin, 1);
    clickAt({57, 400});  // the name field
    EXPECT_EQ(gControls.gcTE, 0);
    typeKeys("Ada Strixel");
    clickAt({82, 400});  // the company field
    typeKeys("Strixel Works");
    clickAt({320, 400});  // the field that is not stored
    typeKeys("scratch");
    clickAt(middle(kControlsExtraButton));
    EXPECT_EQ(commands.back(), 9);
    clickAt(middle(controlsButton(0)));
    EXPECT_EQ(width(), kPaletteWidth);
    EXPECT_EQ(gControls.gPrefWin, 0);
    unsigned char text[kFieldTextSize] = {};
    GetFieldData(reinterpret_cast<const unsigned char*>("\x01N"), text, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "Ada Strixel");
    GetFieldData(reinterpret_cast<const unsigned char*>("\x01"
                                                        "C"),
                 text, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "Strixel Works");

    // Opened again, the form shows what was stored.
    clickAt(middle(controlsButton(0)));
    EXPECT_EQ(gControls.TEchan[0]->text, "Ada Strixel");
    EXPECT_EQ(gControls.TEchan[1]->text, "Strixel Works");
    clickAt(middle(controlsButton(0)));

    // The editing windows go and come back.
    ASSERT_EQ(gControls.geditMode, 1);
    clickAt(middle(controlsButton(5)));
    EXPECT_EQ(gControls.geditMode, 0);
    EXPECT_FALSE(gWindows.wp->visible);
    clickAt(middle(controlsButton(5)));
    EXPECT_TRUE(gWindows.wp->visible);
    closeControlsWin();
    setControlsFileCommand(nullptr);
}

}  // namespace
