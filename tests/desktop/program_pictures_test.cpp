// The program's own pictures: the OK button's face shows on a bevel button.
#include "app/desktop/programPictures.h"
#include "desktop_fixture.h"
#include "platform/quickdraw/picture.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/numbered.h"

namespace {

TEST_F(DesktopTest, TheOkButtonShowsItsPicture) {
    EXPECT_EQ(GetProgramPicture(137), nullptr);
    const qd::Picture* ok = GetProgramPicture(kOkButtonPicture);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(GetProgramPicture(kOkButtonPicture), ok);  // recorded once

    toolbox::WindowPtr w = window({60, 40, 340, 180}, toolbox::noGrowDocProc);
    qd::SetPort(w->port);
    qd::RGBBackColor({0xFFFF, 0xFFFF, 0xFFFF});
    qd::EraseRect(w->portRect);
    toolbox::ControlHandle button = toolbox::BuildButtonItem(w, 5, 210, 130, 230, 139, 1);
    ASSERT_NE(button, nullptr);
    toolbox::SetControlPicture(button, ok);
    toolbox::DrawControls(w);
    toolbox::DrawWindowContent(w);
    // The tick is green somewhere in the button's middle, where the title would be.
    int green = 0, dark = 0;
    for (int32_t h = 40; h < 100; ++h)
        for (int32_t v = 212; v < 228; ++v) {
            const uint32_t p = toolbox::WindowPixel(w, h, v);
            const int r = int(p >> 16 & 0xFF), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
            green += (g > r + 60 && g > b + 60) ? 1 : 0;
            dark += (r < 60 && g < 60 && b < 60) ? 1 : 0;
        }
    EXPECT_GT(green, 8);
    EXPECT_GT(dark, 8);  // the title's letters
}

}  // namespace
