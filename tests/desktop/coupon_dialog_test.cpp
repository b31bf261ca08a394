// The DataBar coupon dialog, answered by keys posted before it opens: a coupon
// that passes the check becomes the data and is made at once; a field the
// check refuses keeps the dialog open with the check's message.
#include <string>
#include <vector>

#include "app/desktop/couponDialog.h"
#include "automation/options.h"
#include "main_window_fixture.h"

namespace {

using namespace mainlayout;

constexpr unsigned char kEscape = 27;

class CouponDialog : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_EQ(parseCodeType("Databar Coupon"), 1);
        ASSERT_EQ(gSym.code, 37);
        ASSERT_EQ(gSym.variation1, 7);
        doUpdate();
    }
    static void post(unsigned char ch, uint16_t modifiers = 0) {
        toolbox::PostEvent(toolbox::EventRecord{
            toolbox::keyDown, ch, 0, {}, uint16_t(modifiers | toolbox::btnState)});
    }
    // The fields in the dialog's order, each followed by Tab, then `last`.
    static void answer(const std::vector<std::string>& fields, unsigned char last = '\r') {
        for (const std::string& f : fields) {
            for (unsigned char ch : f) post(ch);
            post('\t');
        }
        post(last);
    }
    // The required fields: prefix, offer, save value, requirement, its code, family.
    static std::vector<std::string> required() {
        return {"0614141", "123456", "150", "1", "0", "123"};
    }
};

TEST_F(CouponDialog, AValidCouponBecomesTheDataAndIsMade) {
    const std::string dir = testsupport::freshFolder("coupon");
    outputTo(dir, kOutVector);
    std::vector<std::string> fields = required();
    fields.resize(18);
    fields[15] = "251231";  // expiry date
    fields[17] = "123456";  // serial number
    answer(fields);
    DataBarCouponDialog();
    const std::string data =
        "8110106141411234563150110123"
        "3251231"
        "50123456";
    EXPECT_EQ(gPanels.TEH.text, data);
    EXPECT_EQ(gPanels.TEX.text, "8");
    EXPECT_EQ(gMsg.shown, 0) << gMsg.last;
    const auto files = filesIn(dir);
    ASSERT_EQ(files.size(), 1u);
    const testsupport::Rendered r = testsupport::renderWithGhostscript(files[0], 400);
    ASSERT_TRUE(r.ok) << r.err;
    const testsupport::Bitmap b = testsupport::cropToInk(r.bitmap, 80);
    const std::string pgm = testsupport::tempPath("coupon.pgm");
    testsupport::writePGM(b, pgm);
    const std::string read = testsupport::zbarimg(pgm).out;
    EXPECT_EQ(read.substr(0, read.find('\n')), data);
}

struct Refusal {
    size_t field;
    const char* text;
    const char* message;
};

TEST_F(CouponDialog, EachRefusedFieldKeepsTheDialogOpenWithItsMessage) {
    const Refusal refusals[] = {
        {0, "12345", "You need at least 6 digits in your Company Prefix"},
        {1, "12345", "You need 6 digits in your Offer Code"},
        {2, "", "You need less then 5 digits and more than 0 in your Save value"},
        {3, "", "You need less then 5 digits and more than 0 in your Primary Purchase Requirement"},
        {4, "", "You need to choose a Primary Purchase Requirement code"},
        {5, "12", "You need 3 digits in your primary purchase Family Code"},
        {15, "2512", "You need 6 digits in your expiry date"},
        {16, "25", "You need 6 digits in your start date"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.message);
        platform::TESetText("KEPT", 4, &gPanels.TEH);
        gMsg.shown = 0;
        std::vector<std::string> fields = required();
        fields.resize(17);
        fields[r.field] = r.text;
        answer(fields);  // OK is refused: the dialog waits
        post(kEscape);   // and is then cancelled
        DataBarCouponDialog();
        EXPECT_EQ(gMsg.shown, 1);
        EXPECT_EQ(gMsg.last, r.message);
        EXPECT_EQ(gPanels.TEH.text, "KEPT");
        EXPECT_EQ(toolbox::FrontWindow(), gWindows.wp);  // the dialog is gone
    }
}

TEST_F(CouponDialog, FieldsTakeDigitsAndAtMostOneSlot) {
    std::vector<std::string> fields = required();
    fields.resize(18);
    fields[17] = "12345678901234";  // a serial number longer than its slot
    fields[1] = "12A3456";          // a letter in the offer code
    const int32_t beeps = toolbox::BeepCount();
    answer(fields);
    gOut.showDia = 1;
    DataBarCouponDialog();
    EXPECT_EQ(toolbox::BeepCount(), beeps + 5);  // the letter and four digits too many
    EXPECT_EQ(gPanels.TEH.text,
              "8110106141411234563150110123"
              "541234567890");
}

TEST_F(CouponDialog, CancelChangesNothing) {
    platform::TESetText("KEPT", 4, &gPanels.TEH);
    answer(required(), kEscape);
    DataBarCouponDialog();
    EXPECT_EQ(gPanels.TEH.text, "KEPT");
    EXPECT_EQ(gPanels.TEX.text, "");
    post('.', toolbox::cmdKey);
    DataBarCouponDialog();
    EXPECT_EQ(gPanels.TEH.text, "KEPT");
}

// A click in the data field of a coupon opens the dialog, unless Option is down.
TEST_F(CouponDialog, TheDataFieldOpensItForACoupon) {
    const std::string dir = testsupport::freshFolder("coupon_click");
    outputTo(dir, kOutVector);
    toolbox::SendDesktopMouse(true, global(centre(gPanels.TEH.viewRect)), 0);
    toolbox::SendDesktopMouse(false, global(centre(gPanels.TEH.viewRect)), 0);
    answer(required());
    settle();
    EXPECT_EQ(gPanels.TEH.text, "8110106141411234563150110123");
    EXPECT_EQ(filesIn(dir).size(), 1u);

    // With Option the field only takes the caret: no dialog waits for keys.
    clickIn(gPanels.TEH.viewRect, toolbox::optionKey);
    EXPECT_EQ(gPanels.c_TE, 0);
    EXPECT_EQ(toolbox::FrontWindow(), gWindows.wp);
}

}  // namespace
