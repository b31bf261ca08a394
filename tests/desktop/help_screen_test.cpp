// The help screen drawn by code: its tabs and panels in a 400 x 300 window.
#include "app/desktop/eventLoop.h"
#include "app/desktop/helpScreen.h"
#include "app/desktop/threeD.h"
#include "app/preferences.h"
#include "desktop_fixture.h"

namespace {

TEST_F(DesktopTest, HelpScreenPanelsAndTabs) {
    resetEventLoop();
    resetPreferences();
    toolbox::WindowPtr w = window({60, 40, 360, 440}, toolbox::noGrowDocProc);
    qd::SetPort(w->port);
    drawHelptabs2();
    drawHelpScreen(w);
    toolbox::DrawWindowContent(w);
    const auto at = [w](int32_t h, int32_t v) { return toolbox::WindowPixel(w, h, v); };
    // Above the tabs the ground is grey; each tab's right edge and bottom are black.
    EXPECT_EQ(at(200, 270), 0xEAEAEAu);
    for (int32_t h : {75, 150, 225, 300}) EXPECT_EQ(at(h, 297 - 14), 0u) << h;
    for (int32_t h : {2, 77, 152, 227}) EXPECT_EQ(at(h, 297), 0u) << h;
    // Both panels framed, with a raised edge inside.
    for (int32_t left : {6, 294}) {
        EXPECT_EQ(at(left, 100), 0u) << left;
        EXPECT_EQ(at(left + 1, 100), 0xFFFFFFu) << left;
    }
    EXPECT_EQ(at(289, 100), 0u);
    EXPECT_EQ(at(374, 100), 0u);
    // The caption sits in the right-hand panel.
    int dark = 0;
    for (int32_t h = 327; h < 370; ++h)
        for (int32_t v = 20; v < 32; ++v) dark += at(h, v) < 0x808080 ? 1 : 0;
    EXPECT_GT(dark, 5);

    // Invalidating reaches the help window only while it is open.
    InvalHelpRect({0, 0, 10, 10});
    gWindows.win[kSecondWindow] = w;
    w->updateRgn.clear();
    InvalHelpRect({0, 0, 10, 10});
    EXPECT_EQ(w->updateRgn.size(), 1u);
    resetEventLoop();
}

}  // namespace
