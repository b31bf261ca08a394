#include "app/desktop/helpScreen.h"

#include "app/desktop/eventLoop.h"
#include "app/desktop/threeD.h"
#include "platform/toolbox/numbered.h"
#include "platform/toolbox/textshapes.h"

namespace {

constexpr qd::Rect kAboveTabs{1, 1, 278, 399};
constexpr int32_t kTabBaseline = 297, kTabWidth = 75, kTabCount = 4;
constexpr int32_t kTabCaptions = 140, kFirstCaption = 3;
constexpr qd::Rect kPanels[] = {{5, 6, 284, 290}, {5, 294, 284, 375}};
constexpr int32_t kCaptionList = 137, kCaption = 49;
constexpr qd::Point kCaptionAt{30, 327};

}  // namespace

void drawHelptabs2() {
    setPaneFont();
    setGrey();
    qd::EraseRect(kAboveTabs);
    for (int32_t i = 0; i < kTabCount; ++i)
        BuildTabItem(i * kTabWidth, kTabBaseline, kTabWidth, 1, kTabCaptions, kFirstCaption + i);
}

void drawHelpScreen(toolbox::WindowPtr window) {
    if (!window) return;
    toolbox::carbSetPort(window);
    setPaneFont();
    for (const qd::Rect& panel : kPanels) {
        qd::ForeColor(qd::blackColor);
        qd::FrameRect(panel);
        ThreeD(panel, 0);
    }
    platform::BuildStringItem(kCaptionAt.h, kCaptionAt.v, kCaptionList, kCaption);
}

void InvalHelpRect(const qd::Rect& rect) {
    if (WindowPtr help = gWindows.win[kSecondWindow]) toolbox::InvalWindowRect(help, rect);
}
