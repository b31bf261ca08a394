// The main window's panes as they are drawn: each pane with its sub-tabs, and
// pane 0 in the three interface greys, drawn into a window of the main
// window's size with the tests' fonts. Each must match its PNG in
// tests/data/desktop/panes/: a channel may differ by at most kChannelSlack, and
// at most kOddPixelsMost pixels may differ by more (smoothing that moves with a
// library's version).
//
// To draw the goldens again on purpose (after a change to how a pane looks):
//   STRIXEL_WRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen
//       build-test/tests/test_desktop --gtest_filter='*PaneGolden*'
// then look at the pictures before committing them.
#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "panes_fixture.h"
#include "support/fonts.h"

namespace {

constexpr int kChannelSlack = 24;
constexpr int kOddPixelsMost = 60;  // of 140 x 280 pixels, about 0.15 %
const std::string kGoldenFolder = STRIXEL_TEST_DATA "/desktop/panes/";

int channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

class PaneGoldenTest : public PaneTest {
  protected:
    void SetUp() override {
        PaneTest::SetUp();
        ASSERT_TRUE(testsupport::useTestFonts());
        // A symbol with some of everything switched on, so that both states of
        // the marks and letter boxes show.
        gSym.code = 0;
        std::strcpy(gSym.TeF, "EAN-UCC 13");
        gSym.Hei = 0;
        gSym.non_light = 1;
        gSym.cutMarks = 1;
        gSym.Hgauge = 1;
        gSym.HgaugeJ = 2;
        gSym.para = 1;
        gSym.line = 2.5;
        gSym.TEface = 1 | 8;
        gSym.orient = 90;
        gSym.TEjust = 1;
        gSym.strip_extra = 2;
        gSym.customTeSize = 10;
        gSym.cyan2 = 20;
        gSym.black2 = 90;
        gSym.magenta22 = 40;
        gSym.yellow22 = 60;
        gOut.tool = 2;
        gOut.ill = 88;
        gPanels.TEBack1[4].text = "Numeric";
        gLabel.impoMode = 1;
    }

    // The window's ground, the tabs, then the pane, as the main window draws them.
    void drawPane(int32_t pane, int32_t subTab, const std::function<void()>& draw) {
        qd::SetPort(wp->port);
        setPaneFont();
        setGrey();
        qd::EraseRect(wp->portRect);
        gTabs.background = pane;
        gTabs.opTab = pane == kPaneOptions ? subTab : 0;
        gPanels.colTab = pane == kPaneColours ? subTab : 0;
        gTabs.tablayer = pane == kPaneOptions ? 1 : pane == kPaneColours ? 2 : 0;
        gTabs.tabselect = gTabs.tablayer == 0 ? pane : -1;
        DrawTabs();
        draw();
        toolbox::DrawWindowContent(wp);
    }

    void matchGolden(const std::string& name) {
        const std::string path = kGoldenFolder + name + ".png";
        cairo_surface_t* drawn = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
        cairo_surface_flush(drawn);
        const int stride = cairo_image_surface_get_stride(drawn);
        unsigned char* data = cairo_image_surface_get_data(drawn);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                *reinterpret_cast<uint32_t*>(data + y * stride + x * 4) =
                    toolbox::WindowPixel(wp, x, y);
        cairo_surface_mark_dirty(drawn);

        if (std::getenv("STRIXEL_WRITE_GOLDEN")) {
            std::filesystem::create_directories(kGoldenFolder);
            EXPECT_EQ(cairo_surface_write_to_png(drawn, path.c_str()), CAIRO_STATUS_SUCCESS);
            cairo_surface_destroy(drawn);
            return;
        }
        cairo_surface_t* golden = cairo_image_surface_create_from_png(path.c_str());
        EXPECT_EQ(cairo_surface_status(golden), CAIRO_STATUS_SUCCESS) << "no golden at " << path;
        if (cairo_surface_status(golden) == CAIRO_STATUS_SUCCESS &&
            cairo_image_surface_get_width(golden) == kWidth &&
            cairo_image_surface_get_height(golden) == kHeight) {
            const int gStride = cairo_image_surface_get_stride(golden);
            const unsigned char* gData = cairo_image_surface_get_data(golden);
            int odd = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    const uint32_t a =
                        *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
                    const uint32_t b =
                        *reinterpret_cast<const uint32_t*>(gData + y * gStride + x * 4);
                    for (int shift : {0, 8, 16})
                        if (std::abs(channel(a, shift) - channel(b, shift)) > kChannelSlack) {
                            ++odd;
                            break;
                        }
                }
            EXPECT_LE(odd, kOddPixelsMost) << "pixels unlike " << path;
        } else {
            ADD_FAILURE() << path << " is not " << kWidth << " x " << kHeight;
        }
        cairo_surface_destroy(golden);
        cairo_surface_destroy(drawn);
    }
};

TEST_F(PaneGoldenTest, PaneGoldensOfEveryPaneAndSubTab) {
    struct Case {
        const char* name;
        int32_t pane, subTab;
        bool layout;
        int32_t kinds;  // the selected items' kinds in a layout
        std::function<void()> draw;
    };
    const Case cases[] = {
        {"pane0-code", kPaneCode, 0, false, 1, DrawWindowHeader},
        {"pane0-text", kPaneCode, 0, true, 4, DrawBgFont},
        {"pane1-serial", kPaneSerial, 0, false, 1, DrawBg1},
        {"pane2-import", kPaneImport, 0, false, 1, DrawBg2},
        {"pane3-options0", kPaneOptions, 0, false, 1, DrawBg3},
        {"pane3-options1", kPaneOptions, 1, false, 1, DrawBgCustomText},
        {"pane3-options2", kPaneOptions, 2, true, 1, DrawBgDimensions},
        {"pane4-colour1", kPaneColours, 0, false, 1, DrawBg4},
        {"pane4-colour2", kPaneColours, 1, true, 0, DrawBg4},
        {"pane5-printtime", kPanePrintTime, 0, false, 1, DrawBg5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        labelBack.labelWidth = c.layout ? 1000 : 0;
        gLabel.curIteTyp = c.kinds;
        drawPane(c.pane, c.subTab, c.draw);
        matchGolden(c.name);
    }
}

TEST_F(PaneGoldenTest, PaneGoldensOfTheCodePaneInEachGrey) {
    for (int32_t shade : {0, 1, 2}) {
        SCOPED_TRACE(shade);
        gPrefs.greyInterface = shade;
        drawPane(kPaneCode, 0, DrawWindowHeader);
        matchGolden("pane0-grey" + std::to_string(shade));
    }
}

}  // namespace
