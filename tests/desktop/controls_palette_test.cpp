// The controls palette: drawn as its golden picture, narrow and widened into
// its form; its buttons run the file commands, switch the form in and out
// (storing what was typed as data fields) and hide the editing windows.
//
// To draw the golden again on purpose (after a change to how the palette looks):
//   STRIXEL_WRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen
//       build-test/tests/test_desktop --gtest_filter='*ControlsPalette*Golden*'
// then look at the picture before committing it.
#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/desktop/controlsPalette.h"
#include "labels/datafields.h"
#include "settings_fixture.h"
#include "support/fonts.h"
#include "symbology/state.h"

namespace {

using namespace toolbox;
using ControlsPalette = SettingsDesktop;

constexpr int kChannelSlack = 24;
constexpr int kOddPixelsMost = 400;  // of 800 x 400 pixels, about 0.1 %
constexpr const char* kGolden = STRIXEL_TEST_DATA "/desktop/controls/palette.png";

int channel(uint32_t rgb, int shift) { return int((rgb >> shift) & 0xFF); }

// The window's pixels into the image at column `at`.
void copyWindow(WindowPtr w, unsigned char* data, int stride, int at) {
    const int width = w->portRect.right - w->portRect.left;
    const int height = w->portRect.bottom - w->portRect.top;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            *reinterpret_cast<uint32_t*>(data + y * stride + (at + x) * 4) = WindowPixel(w, x, y);
}

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
    cairo_surface_t* drawn =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kImageWidth, kPaletteHeight);
    cairo_surface_flush(drawn);
    const int stride = cairo_image_surface_get_stride(drawn);
    unsigned char* data = cairo_image_surface_get_data(drawn);
    copyWindow(gWindows.ControlsWin, data, stride, 0);
    gControls.gPrefWin = 1;
    ChangeToSettingsWin();
    ASSERT_EQ(width(), kFormWidth);
    ControlsUpdate();
    copyWindow(gWindows.ControlsWin, data, stride, kPaletteWidth);
    cairo_surface_mark_dirty(drawn);
    closeControlsWin();

    if (std::getenv("STRIXEL_WRITE_GOLDEN")) {
        std::filesystem::create_directories(std::filesystem::path(kGolden).parent_path());
        ASSERT_EQ(cairo_surface_write_to_png(drawn, kGolden), CAIRO_STATUS_SUCCESS);
        cairo_surface_destroy(drawn);
        GTEST_SKIP() << "wrote " << kGolden;
    }
    cairo_surface_t* golden = cairo_image_surface_create_from_png(kGolden);
    ASSERT_EQ(cairo_surface_status(golden), CAIRO_STATUS_SUCCESS) << "no golden at " << kGolden;
    ASSERT_EQ(cairo_image_surface_get_width(golden), kImageWidth);
    ASSERT_EQ(cairo_image_surface_get_height(golden), kPaletteHeight);
    const int gStride = cairo_image_surface_get_stride(golden);
    const unsigned char* gData2 = cairo_image_surface_get_data(golden);
    int odd = 0;
    for (int y = 0; y < kPaletteHeight; ++y)
        for (int x = 0; x < kImageWidth; ++x) {
            const uint32_t a = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
            const uint32_t b = *reinterpret_cast<const uint32_t*>(gData2 + y * gStride + x * 4);
            for (int shift : {0, 8, 16})
                if (std::abs(channel(a, shift) - channel(b, shift)) > kChannelSlack) {
                    ++odd;
                    break;
                }
        }
    EXPECT_LE(odd, kOddPixelsMost) << "pixels unlike the golden";
    cairo_surface_destroy(golden);
    cairo_surface_destroy(drawn);
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
