// The question boxes, the gauge and the message box in their windows, driven
// through platform/questions.h and symbology's Message as the program calls them.
#include "desktop_fixture.h"

#include <cstring>

#include "platform/questions.h"
#include "platform/toolbox/boxes.h"
#include "platform/toolbox/numbered.h"
#include "platform/toolbox/questionwindows.h"
#include "symbology/messages.h"

using namespace toolbox;

namespace {

constexpr uint32_t kBlackPixel = 0x000000, kWhitePixel = 0xFFFFFF;

// What the box's window looked like while it waited.
struct Seen {
    int shown = 0;
    qd::Rect bounds;
    int16_t procID = -1;
    bool floating = false;
    bool inSlot5 = false;
    std::vector<uint32_t> pixels;
    std::vector<qd::Point> at;  // (v, h) local points to read
} gSeen;

void remember(WindowPtr w) {
    ++gSeen.shown;
    gSeen.bounds = ContentBounds(w);
    gSeen.procID = w->procID;
    gSeen.floating = w->floating();
    gSeen.inSlot5 = numbered().win[kAnswerWindowNumber] == w;
    gSeen.pixels.clear();
    for (qd::Point p : gSeen.at) gSeen.pixels.push_back(WindowPixel(w, p.h, p.v));
}

void key(unsigned char c, uint16_t modifiers = 0) {
    EventRecord e;
    e.what = keyDown;
    e.message = c;
    e.modifiers = modifiers;
    PostEvent(e);
}

void clickAt(const qd::Rect& window, const qd::Rect& local) {
    EventRecord e;
    e.what = mouseDown;
    e.where = {window.top + (local.top + local.bottom) / 2,
               window.left + (local.left + local.right) / 2};
    PostEvent(e);
}

class QuestionWindowsTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        gSeen = Seen{};
        UseDesktopQuestions();
        SetBoxShownHook(remember);
    }
    void TearDown() override {
        SetBoxShownHook(nullptr);
        UseHeadlessQuestions();
        resetNumbered();
        platform::resetQuestions();
        DesktopTest::TearDown();
    }
};

}  // namespace

TEST_F(QuestionWindowsTest, AskerBoxAnswersReturnWithTheSafeChoiceAndClicksWithTheirButton) {
    // The outline round the second button (the safe one), none round the first.
    gSeen.at = {{80, platform::kAskerSecond.left - 3}, {55, platform::kAskerFirst.left - 3}};
    key('\r');
    EXPECT_EQ(platform::AskerBox(142, 28, 29, 30), 1);
    EXPECT_EQ(gSeen.shown, 1);
    EXPECT_EQ(gSeen.bounds, kAskerWindow);
    EXPECT_EQ(gSeen.procID, dBoxProc);
    ASSERT_EQ(gSeen.pixels.size(), 2u);
    EXPECT_EQ(gSeen.pixels[0], kBlackPixel);
    EXPECT_EQ(gSeen.pixels[1], kWhitePixel);
    EXPECT_TRUE(WindowList().empty());

    // A click outside the box beeps and is not an answer; the first button is.
    const int32_t beeps = BeepCount();
    clickAt({0, 0, 10, 10}, {0, 0, 2, 2});
    clickAt(kAskerWindow, platform::kAskerFirst);
    EXPECT_EQ(platform::AskerBox(142, 28, 29, 30), 0);
    EXPECT_EQ(BeepCount(), beeps + 1);
    EXPECT_EQ(platform::questionScript().asked, 2);
}

TEST_F(QuestionWindowsTest, ABoxLeftWithoutEventsFailsAtOnceNamingItsWindowAndCloses) {
    try {
        platform::AskerBox(142, 28, 29, 30);
        FAIL() << "the loop waited";
    } catch (const ModalStall& stall) {
        EXPECT_NE(std::string(stall.what()).find("question box"), std::string::npos);
    }
    EXPECT_TRUE(WindowList().empty());
    char text[256] = "proposed";
    EXPECT_THROW(platform::LibAnswerS("Name?", text, sizeof text), ModalStall);
    EXPECT_TRUE(WindowList().empty());
    EXPECT_EQ(numbered().win[kAnswerWindowNumber], nullptr);
}

TEST_F(QuestionWindowsTest, HowManyFillsTheCountAndTheAnswerReplacesTheProposal) {
    // The proposal is all selected: typing replaces it. Tab goes to the count,
    // whose "1" is replaced by 12; letters do not enter the count.
    for (unsigned char c : std::string("abc\t\b1x2\r")) key(c);
    char text[256] = "old";
    int32_t count = 0;
    EXPECT_TRUE(platform::LibAnswerS("Labels", text, sizeof text, "Name", platform::kRepeatSuffix,
                                     true, &count));
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(count, 12);
    EXPECT_EQ(gSeen.bounds, kAnswerWindow);
    EXPECT_EQ(gSeen.procID, dBoxProc);
    EXPECT_TRUE(gSeen.floating);
    EXPECT_TRUE(gSeen.inSlot5);
    EXPECT_TRUE(WindowList().empty());
    EXPECT_EQ(numbered().win[kAnswerWindowNumber], nullptr);

    // Without the repeat question the count stays as it was; the left button
    // cancels even with text typed, and says so.
    for (unsigned char c : std::string("typed")) key(c);
    clickAt(kAnswerWindow, platform::kAnswerLeftButton);
    std::strcpy(text, "keep?");
    count = 5;
    EXPECT_FALSE(platform::LibAnswerS("Labels", text, sizeof text, "", platform::kRepeatSuffix,
                                      false, &count));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(count, 5);

    // An empty answer is an answer.
    key('\b');
    key('\r');
    std::strcpy(text, "x");
    EXPECT_TRUE(platform::LibAnswerS("Labels", text, sizeof text, "", "", false, &count));
    EXPECT_STREQ(text, "");
}

TEST_F(QuestionWindowsTest, GaugeBarFillsByPart) {
    platform::ShowGauge("Printing");
    WindowPtr w = GaugeWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(ContentBounds(w), kGaugeWindow);
    EXPECT_EQ(w->procID, plainDBox);
    EXPECT_TRUE(w->floating());
    constexpr int32_t kDarkRow = 34, kGreyRow = 41;
    const auto dark = [&](int32_t h) { return WindowPixel(w, h, kDarkRow); };

    platform::SetGauge(0, 100);
    EXPECT_EQ(dark(12), kWhitePixel);
    platform::SetGauge(5, 0);  // no total: an empty bar
    EXPECT_EQ(dark(12), kWhitePixel);
    platform::SetGauge(50, 100);  // ends at 216 * 50 / 100 + 14 = 122
    EXPECT_EQ(dark(12), 0x555555u);
    EXPECT_EQ(dark(121), 0x555555u);
    EXPECT_EQ(dark(122), kWhitePixel);
    EXPECT_EQ(WindowPixel(w, 100, kGreyRow), 0xAAAAAAu);
    platform::SetGauge(100, 100);  // 230 is held at 228
    EXPECT_EQ(dark(227), 0x555555u);
    EXPECT_EQ(dark(228), kWhitePixel);
    platform::SetGauge(60, 100);  // going back clears what was filled
    EXPECT_EQ(dark(200), kWhitePixel);

    platform::KillGauge();
    EXPECT_EQ(GaugeWindow(), nullptr);
    EXPECT_TRUE(WindowList().empty());
    EXPECT_EQ(platform::gaugeRecord().done, 60);
}

TEST_F(QuestionWindowsTest, MessageShowsItsModalBoxAndReturnClosesIt) {
    // The stripes' black, the OK button's frame, and no default outline round it.
    const qd::Rect ok = platform::kMessageButton;
    const int32_t mid = (ok.top + ok.bottom) / 2;
    gSeen.at = {{69, 0}, {mid, ok.left}, {mid, ok.left - 3}, {69, 359}};
    resetMessages();
    key('\r');
    Message(1);
    EXPECT_EQ(gSeen.shown, 1);
    EXPECT_EQ(gSeen.bounds, kMessageWindow);
    EXPECT_TRUE(gSeen.floating);
    ASSERT_EQ(gSeen.pixels.size(), 4u);
    EXPECT_EQ(gSeen.pixels[0], kBlackPixel);
    EXPECT_EQ(gSeen.pixels[1], kBlackPixel);
    EXPECT_NE(gSeen.pixels[2], kBlackPixel);
    EXPECT_EQ(gSeen.pixels[3], kBlackPixel);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_FALSE(gMsg.last.empty());
    EXPECT_TRUE(WindowList().empty());

    // A click on OK closes it too; a click elsewhere in the box does not.
    clickAt(kMessageWindow, {0, 100, 10, 110});
    clickAt(kMessageWindow, ok);
    MessageText("Second");
    EXPECT_EQ(gSeen.shown, 2);
    EXPECT_EQ(gMsg.last, "Second");
    EXPECT_TRUE(WindowList().empty());

    // A text longer than the box's lines makes the box taller; its OK button,
    // moved below the text, closes it and the old place does not.
    std::string words;
    for (int n = 0; n < 12; ++n) words += "a long message word ";
    qd::GWorldPtr measure = nullptr;
    qd::NewGWorld(&measure, 32, kMessageWindow);
    const int32_t growth = platform::messageGrowth(measure, words);
    qd::DisposeGWorld(measure);
    ASSERT_GT(growth, 0);
    clickAt(kMessageWindow, ok);
    clickAt(kMessageWindow, platform::messageButton(growth));
    MessageText(words.c_str());
    EXPECT_EQ(gSeen.shown, 3);
    EXPECT_EQ(gSeen.bounds.height(), kMessageWindow.height() + growth);
    EXPECT_TRUE(WindowList().empty());
}

TEST_F(QuestionWindowsTest, HeadlessAgainTheScriptAnswers) {
    UseHeadlessQuestions();
    platform::questionScript().askerAnswers.push_back(0);
    EXPECT_EQ(platform::AskerBox(142, 28, 29, 30), 0);
    EXPECT_EQ(gSeen.shown, 0);
    EXPECT_FALSE(platform::ShowMessageBox("nobody sees this"));
}
