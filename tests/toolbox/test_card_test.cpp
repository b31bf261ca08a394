// The test card: a window of each kind holding one of every control, two
// fields (one with a selection), a list and a gauge, drawn with the tests'
// fonts. Its pixels must match tests/data/toolbox/test_card.png: a channel may
// differ by at most kChannelSlack, and at most kOddPixelsMost pixels may differ
// by more (anti-aliasing that moves with a library's version).
//
// To draw the golden again on purpose (after a change to how controls look):
//   STRIXEL_WRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen
//       build-test/tests/test_toolbox --gtest_filter='*TestCard*'
// then look at the picture before committing it.
#include "desktop_fixture.h"
#include "golden_image.h"
#include "platform/textedit.h"
#include "platform/toolbox/boxes.h"
#include "platform/toolbox/controls.h"
#include "platform/toolbox/lists.h"
#include "support/fonts.h"

using namespace toolbox;

namespace {

constexpr int32_t kCardWidth = 320, kCardHeight = 260, kCardGap = 10;
constexpr int16_t kKinds[] = {documentProc, dBoxProc, plainDBox, noGrowDocProc};
constexpr int kKindCount = 4;
constexpr int kOddPixelsMost = 200;  // of 4 x 320 x 260 pixels, about 0.06 %
constexpr const char* kGolden = STRIXEL_TEST_DATA "/toolbox/test_card.png";

struct Card {
    WindowPtr window = nullptr;
    platform::TEHandle plain = nullptr, selected = nullptr;
    ListHandle list = nullptr;
};

const unsigned char* pascal(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

Card drawCard(int16_t procID, int index) {
    Card c;
    const int32_t left = 20 + index * (kCardWidth + 40);
    c.window = NewCWindow(nullptr, {100, left, 100 + kCardHeight, left + kCardWidth},
                          pascal("\x04"
                                 "Card"),
                          true, procID, nullptr, true, 0);
    WindowPtr w = c.window;
    qd::SetPort(w->port);
    qd::RGBBackColor({0xFFFF, 0xFFFF, 0xFFFF});
    qd::EraseRect(w->portRect);

    platform::drawGauge(w->port, "Printing 3 of 6");
    platform::drawGaugeBar(w->port, 50, 100);

    NewControl(w, {70, 10, 90, 90}, pascal("\x02OK"), true, 0, 0, 1, pushButProc, 0);
    NewControl(w, {70, 100, 90, 200},
               pascal("\x05"
                      "Check"),
               true, 1, 0, 1, checkBoxProc, 0);
    NewControl(w, {100, 10, 130, 90},
               pascal("\x05"
                      "Bevel"),
               true, 0, 0, 1, kControlBevelButtonSmallBevelProc, 0);
    NewControl(w, {70, 290, 250, 306}, nullptr, true, 3, 0, 10, scrollBarProc, 0);
    DrawControls(w);

    c.plain = platform::TEStyleNew({100, 100, 116, 280}, {100, 100, 116, 280});
    platform::TESetText("Plain text", 10, c.plain);
    c.selected = platform::TEStyleNew({125, 100, 141, 280}, {125, 100, 141, 280});
    platform::TESetText("Selected words", 14, c.selected);
    platform::TESetSelect(0, 8, c.selected);
    platform::TEActivate(c.selected);
    platform::TEUpdate(w->portRect, c.plain);
    platform::TEUpdate(w->portRect, c.selected);

    c.list = cListCreateListItem(w, {150, 10, 250, 200});
    for (int row = 1; row <= 6; ++row) cListAddItem(c.list, row, "Row " + std::to_string(row));
    cListSelect(c.list, 1);
    cListDraw(c.list);
    DrawWindowContent(w);
    return c;
}

void disposeCard(Card& c) {
    platform::TEDispose(c.plain);
    platform::TEDispose(c.selected);
    cListDisposeList(c.list);
}

}  // namespace

TEST_F(DesktopTest, TestCardMatchesItsGolden) {
    ASSERT_TRUE(testsupport::useTestFonts());
    const int32_t width = kKindCount * kCardWidth + (kKindCount - 1) * kCardGap;
    const goldenimage::Surface drawn = goldenimage::makeImage(width, kCardHeight);
    for (int y = 0; y < kCardHeight; ++y)
        for (int x = 0; x < width; ++x) goldenimage::setPixel(drawn.get(), x, y, 0x808080);
    for (int k = 0; k < kKindCount; ++k) {
        Card c = drawCard(kKinds[k], k);
        goldenimage::copyWindow(drawn.get(), c.window, k * (kCardWidth + kCardGap));
        disposeCard(c);
    }
    goldenimage::expectMatchesGolden(drawn.get(), kGolden, kOddPixelsMost);
}
