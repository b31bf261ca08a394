// Fields and the system clipboard: cut, copy and paste reach other programs as
// UTF-8 and come back as Mac OS Roman, through TEToScrap and TEFromScrap.
#include "desktop_fixture.h"

#include "platform/desktop.h"
#include "platform/textedit.h"
#include "platform/toolbox/scrap.h"

using namespace toolbox;

namespace {

class FieldClipboardTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        platform::resetDesktop();
        UseSystemClipboard();
        w = window({100, 100, 300, 400}, documentProc);
        qd::SetPort(w->port);
        field = platform::TEStyleNew({10, 10, 30, 250}, {10, 10, 30, 250});
    }
    void TearDown() override {
        platform::TEDispose(field);
        platform::SetDesktopHooks({});
        platform::resetDesktop();
        DesktopTest::TearDown();
    }
    void setText(const std::string& s) {
        platform::TESetText(s.data(), static_cast<int32_t>(s.size()), field);
    }
    WindowPtr w = nullptr;
    platform::TEHandle field = nullptr;
};

}  // namespace

TEST_F(FieldClipboardTest, CutAndCopyReachTheSystemClipboard) {
    setText("caf\x8E au lait");
    platform::TESetSelect(0, 4, field);
    platform::TECopy(field);
    platform::TEToScrap();
    EXPECT_EQ(SystemClipboardText(), "caf\u00E9");
    EXPECT_EQ(field->text, "caf\x8E au lait");

    platform::TESetSelect(4, 7, field);
    platform::TECut(field);
    platform::TEToScrap();
    EXPECT_EQ(SystemClipboardText(), " au");
    EXPECT_EQ(field->text, "caf\x8E lait");
    int16_t start = 0, end = 0;
    platform::TEGetSelect(field, &start, &end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 4);
}

TEST_F(FieldClipboardTest, PasteTakesAnotherProgramsText) {
    setText("Price: ");
    SetSystemClipboardText("\u20AC5 na\u00EFve");
    platform::TEFromScrap();
    platform::TESetSelect(7, 7, field);
    ASSERT_TRUE(platform::TEPaste(field));
    EXPECT_EQ(field->text,
              "Price: \xDB"
              "5 na\x95ve");
    // Pasting over a selection replaces it.
    SetSystemClipboardText("Cost");
    platform::TEFromScrap();
    platform::TESetSelect(0, 5, field);
    ASSERT_TRUE(platform::TEPaste(field));
    EXPECT_EQ(field->text.substr(0, 6), "Cost: ");
}

TEST_F(FieldClipboardTest, APasteLongerThanTheFieldTakesIsRefusedWhole) {
    constexpr int32_t kCallerBound = 255;
    field->maxLength = kCallerBound;
    setText("keep");
    SetSystemClipboardText(std::string(5000, 'x'));
    platform::TEFromScrap();
    EXPECT_EQ(platform::TEScrapText().size(), 5000u);
    platform::TESetSelect(4, 4, field);
    EXPECT_FALSE(platform::TEPaste(field));
    EXPECT_EQ(field->text, "keep");
    // What fits still pastes, up to the bound exactly.
    SetSystemClipboardText(std::string(kCallerBound - 4, 'y'));
    platform::TEFromScrap();
    EXPECT_TRUE(platform::TEPaste(field));
    EXPECT_EQ(field->text.size(), static_cast<size_t>(kCallerBound));
}

TEST_F(FieldClipboardTest, CopiedTextRoundTripsBetweenTwoFields) {
    setText("ABC-123");
    platform::TESelectAll(field);
    platform::TECopy(field);
    platform::TEToScrap();
    qd::SetPort(w->port);
    platform::TEHandle other = platform::TEStyleNew({40, 10, 60, 250}, {40, 10, 60, 250});
    platform::TEFromScrap();
    EXPECT_TRUE(platform::TEPaste(other));
    EXPECT_EQ(other->text, "ABC-123");
    platform::TEDispose(other);
}
