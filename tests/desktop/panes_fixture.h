// The main window's size and place, opened offscreen with every setting the
// drawing kit reads back at its start value.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "app/desktop/eventLoop.h"
#include "app/desktop/settingsPanes.h"
#include "app/desktop/threeD.h"
#include "app/preferences.h"
#include "desktop_fixture.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "picture/PICout2.h"
#include "symbology/panels.h"
#include "symbology/state.h"

class PaneTest : public DesktopTest {
  protected:
    static constexpr int32_t kWidth = 140, kHeight = 280;
    static constexpr qd::Point kOrigin{50, 10};  // the window's content, global

    void SetUp() override {
        DesktopTest::SetUp();
        resetEventLoop();
        resetSymbology();
        resetLabelDocument();
        resetPreferences();
        resetPanels();
        resetPictureDriver();
        resetTabs();
        resetProduction();
        wp = window({kOrigin.v, kOrigin.h, kOrigin.v + kHeight, kOrigin.h + kWidth},
                    toolbox::noGrowDocProc, 1);
        gWindows.wp = wp;
        qd::SetPort(wp->port);
    }
    void TearDown() override {
        resetEventLoop();
        resetTabs();
        resetProduction();
        resetLabelDocument();
        resetPreferences();
        DesktopTest::TearDown();
    }

    // The window's pixel at a local point, 0xRRGGBB, once what was drawn shows.
    uint32_t pixel(int32_t h, int32_t v) {
        toolbox::DrawWindowContent(wp);
        return toolbox::WindowPixel(wp, h, v);
    }
    static qd::Point global(int32_t h, int32_t v) { return {kOrigin.v + v, kOrigin.h + h}; }
    // Whether a pixel is near a grey level (8 bits), or near a colour.
    static bool near(uint32_t rgb, uint32_t want, int slack = 3) {
        for (int shift : {0, 8, 16}) {
            const int a = int((rgb >> shift) & 0xFF), b = int((want >> shift) & 0xFF);
            if (std::abs(a - b) > slack) return false;
        }
        return true;
    }
    static uint32_t grey(uint16_t level16) {
        const uint32_t g = level16 >> 8;
        return g << 16 | g << 8 | g;
    }
    void openLayout() { labelBack.labelWidth = 1000, labelBack.labelHeight = 500; }

    toolbox::WindowPtr wp = nullptr;
};
