// The clipboard on the system clipboard: Mac OS Roman text as UTF-8 both ways,
// pictures offered as images too.
#include "desktop_fixture.h"

#include "platform/desktop.h"
#include "platform/quickdraw/pict.h"
#include "platform/quickdraw/picture.h"
#include "platform/toolbox/scrap.h"

using namespace toolbox;

class ScrapTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        platform::resetDesktop();
        UseSystemClipboard();
    }
    void TearDown() override {
        platform::SetDesktopHooks({});
        platform::resetDesktop();
        DesktopTest::TearDown();
    }
};

TEST_F(ScrapTest, TextGoesOutAsUtf8AndComesBackAsMacOSRoman) {
    platform::ZeroScrap();
    platform::PutScrapText(
        "caf\x8E \xDB"
        "5",
        "Helvetica", 12);
    EXPECT_EQ(SystemClipboardText(), "caf\u00E9 \u20AC5");
    std::string text;
    ASSERT_TRUE(platform::GetScrapFlavor("TEXT", &text));  // ours: as we put it
    EXPECT_EQ(text,
              "caf\x8E \xDB"
              "5");

    // Another program's text: what Mac OS Roman lacks is left out, with a beep.
    SetSystemClipboardText("na\u00EFve\n\u0142x");
    ASSERT_TRUE(platform::GetScrapFlavor("TEXT", &text));
    EXPECT_EQ(text, "na\x95ve\rx");
    EXPECT_EQ(BeepCount(), 1);
    EXPECT_FALSE(platform::GetScrapFlavor("LABL", &text));
}

namespace {

// The PICT bytes of a picture of `frame` with `painted` filled black.
std::string pictOfRect(const qd::Rect& frame, const qd::Rect& painted) {
    qd::GWorldPtr world = nullptr;
    if (qd::NewGWorld(&world, 32, {0, 0, 20, 20}) != 0) return {};
    qd::GWorldPtr was = qd::GetGWorld();
    qd::SetGWorld(world);
    qd::Picture* pic = qd::OpenPicture(frame);
    qd::PaintRect(painted);
    qd::ClosePicture();
    const std::string bytes = qd::WritePict(*pic);
    qd::KillPicture(pic);
    qd::SetGWorld(was);
    qd::DisposeGWorld(world);
    return bytes;
}

}  // namespace

TEST_F(ScrapTest, APictureIsOfferedAsAnImageAsWell) {
    const std::string bytes = pictOfRect({0, 0, 20, 20}, {5, 5, 15, 15});
    platform::ZeroScrap();
    platform::PutScrapPict(bytes);
    EXPECT_TRUE(SystemClipboardHasImage());
    std::string back;
    ASSERT_TRUE(platform::GetScrapFlavor("PICT", &back));
    EXPECT_EQ(back, bytes);
    // Damaged picture bytes are kept, but no image is made of them.
    platform::ZeroScrap();
    platform::PutScrapPict("\x00\x0A garbage");
    EXPECT_FALSE(SystemClipboardHasImage());
}

// A symbol's picture counts in hundredths of a millimetre: a large QR Code's
// frame is some 20,000 units a side. The image offered beside it stays of a
// size other programs take (and the copy does not set aside gigabytes).
TEST_F(ScrapTest, ALargePictureIsOfferedAsAnImageOfBoundedSize) {
    constexpr int16_t kSide = 20000;
    platform::ZeroScrap();
    // Inked in its top left quarter.
    platform::PutScrapPict(pictOfRect({0, 0, kSide, kSide / 2}, {0, 0, kSide / 2, kSide / 4}));
    const ClipboardImage image = SystemClipboardImage();
    ASSERT_GT(image.width, 0);
    EXPECT_LE(int64_t{image.width} * image.height, int64_t{16} * 1024 * 1024);
    EXPECT_GE(image.width, 2000);
    EXPECT_EQ(image.height, 2 * image.width);  // the picture's shape kept
    // Drawn whole, scaled: ink in the top left quarter, paper elsewhere.
    auto at = [&](int x, int y) {
        return image.pixels[size_t(y) * size_t(image.width) + size_t(x)];
    };
    EXPECT_EQ(at(image.width / 4, image.height / 4), 0u);
    EXPECT_EQ(at(3 * image.width / 4, 3 * image.height / 4), 0xFFFFFFu);
}
