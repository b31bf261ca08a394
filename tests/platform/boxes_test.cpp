// The small modal boxes drawn into offscreen worlds and driven by events: the
// gauge, the message box, the two-button question and the answer box.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/resources.h"
#include "platform/toolbox/boxes.h"
#include "platform/toolbox/pstrings.h"
#include "qd_world.h"
#include "support/fonts.h"

namespace {

using namespace platform;

BoxEvent key(unsigned char c) { return {boxKeyDown, c, {}, 0}; }
BoxEvent click(int h, int v, uint16_t mods = 0) { return {boxMouseDown, 0, {v, h}, mods}; }
qd::Point centre(const qd::Rect& r) { return {(r.top + r.bottom) / 2, (r.left + r.right) / 2}; }
BoxEvent clickIn(const qd::Rect& r) { return click(centre(r).h, centre(r).v); }

constexpr uint32_t kWhitePixel = 0xFFFFFF;

TEST(Gauge, TheBarFillsToItsShareAndNoFurther) {
    ASSERT_TRUE(testsupport::useTestFonts());
    qdtest::World w(kGaugeContent);
    drawGauge(qd::GetGWorld(), "Making codes");
    EXPECT_TRUE(w.black(kGaugeBar.left, 35)) << "the bar is framed";
    EXPECT_TRUE(w.black(kGaugeBar.left - 2, 35)) << "twice";
    const auto filled = [&](int h) { return w.rgb(h, 33) != kWhitePixel; };
    const auto lower = [&](int h) { return w.rgb(h, 40) != kWhitePixel; };

    drawGaugeBar(qd::GetGWorld(), 0, 100);
    EXPECT_FALSE(filled(12));
    drawGaugeBar(qd::GetGWorld(), 50, 100);  // 216 x 1/2 + 14
    EXPECT_TRUE(filled(12) && filled(121) && lower(121));
    EXPECT_FALSE(filled(122));
    EXPECT_NE(w.rgb(60, 33), w.rgb(60, 40)) << "two bands";
    drawGaugeBar(qd::GetGWorld(), 100, 100);  // 230, held at 228
    EXPECT_TRUE(filled(227));
    EXPECT_FALSE(filled(228));
    // Falling back empties what was filled; no total draws an empty bar.
    drawGaugeBar(qd::GetGWorld(), 7, 0);
    EXPECT_FALSE(filled(12));
    EXPECT_EQ(gaugeFillRight(INT_MAX, 1), kGaugeFullRight);
    EXPECT_EQ(gaugeFillRight(-5, 10), 0);
    EXPECT_EQ(gaugeFillRight(1, INT_MAX), 14);

    drawGaugeText(qd::GetGWorld(), "Record 12 of 400", 99);
    EXPECT_GT(w.count({0, 0, 0}), 0);
    EXPECT_GT(w.count({0xFFFF, 0xFFFF, 0xFFFF}), 0);
}

TEST(MessageBox, DrawsStripesTextAndButtonAndClosesOnAKeyOrTheButton) {
    ASSERT_TRUE(testsupport::useTestFonts());
    qdtest::World w(kMessageContent);
    messUpdateText(qd::GetGWorld(), "The data holds a character this code type cannot show.");
    const uint32_t yellow = 0xFFFF00, gold = 0xCC9900;
    int yellows[2] = {0, 0}, golds = 0;
    for (int v = 0; v < 70; ++v)
        for (int h = 0; h < 360; ++h) {
            const uint32_t c = w.rgb(h, v);
            if (c == yellow) ++yellows[h < 180 ? 0 : 1];
            golds += c == gold;
        }
    EXPECT_GT(yellows[0], 0);
    EXPECT_GT(yellows[1], 0);
    EXPECT_GT(golds, 100);
    EXPECT_TRUE(w.black(0, 69) && w.black(359, 69)) << "each strip on black";
    // The OK button's frame, its title, and the message's text.
    EXPECT_TRUE(w.black(centre(kMessageButton).h, kMessageButton.top));
    const auto inkIn = [&](const qd::Rect& r) {
        int n = 0;
        for (int v = r.top + 1; v < r.bottom - 1; ++v)
            for (int h = r.left + 1; h < r.right - 1; ++h) n += w.black(h, v);
        return n;
    };
    EXPECT_GT(inkIn(kMessageButton), 10);
    EXPECT_GT(inkIn(kMessageText), 100);

    // The stripes march: the two phases differ.
    qdtest::World a({0, 0, 70, 20}), b({0, 0, 70, 20});
    qd::SetGWorld(a.w);
    DrawDiagonals({0, 0, 70, 20}, 0);
    qd::SetGWorld(b.w);
    DrawDiagonals({0, 0, 70, 20}, 1);
    EXPECT_NE(a.pixels(), b.pixels());
    EXPECT_TRUE(b.black(5, 69)) << "the last row stays black";

    EXPECT_TRUE(messHandleEvent(key(13)));
    EXPECT_TRUE(messHandleEvent({boxAutoKey, 'x', {}, 0}));
    EXPECT_TRUE(messHandleEvent(clickIn(kMessageButton)));
    EXPECT_FALSE(messHandleEvent(click(100, 20)));
    EXPECT_FALSE(messHandleEvent({}));
}

// The sheet setup's refusal with its sizes needs more lines than the box's
// first height holds: the box grows, every line is laid out inside the text's
// box, and the OK button moves below the text.
TEST(MessageBox, ALongTextGrowsTheBoxToShowEveryLine) {
    ASSERT_TRUE(testsupport::useTestFonts());
    const std::string text =
        "The labels do not fit on the sheet, so the sheet was not set up. Make the labels, "
        "margins or gaps smaller, or the sheet larger. (the sheet is 210.0 x 297.0 mm; its "
        "50 x 7 labels need 3175.0 x 296.3 mm)";
    qdtest::World probe(kMessageContent);
    EXPECT_EQ(messageGrowth(qd::GetGWorld(), "Short."), 0);
    const int32_t growth = messageGrowth(qd::GetGWorld(), text);
    ASSERT_GT(growth, 0);

    qdtest::World w({0, 0, kMessageContent.bottom + growth, kMessageContent.right});
    messUpdateText(qd::GetGWorld(), text);
    const auto inkIn = [&](const qd::Rect& r) {
        int n = 0;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h) n += w.black(h, v);
        return n;
    };
    // The last line, below where the box used to end, is drawn.
    EXPECT_GT(inkIn({kMessageText.bottom, kMessageText.left, kMessageText.bottom + growth,
                     kMessageContent.right / 2}),
              20);
    const qd::Rect button = messageButton(growth);
    EXPECT_EQ(button.top, kMessageButton.top + growth);
    EXPECT_TRUE(w.black(centre(button).h, button.top));
    EXPECT_TRUE(w.black(0, kMessageContent.bottom + growth - 1)) << "the strips reach the foot";
    EXPECT_TRUE(messHandleEvent(clickIn(button), growth));
    EXPECT_FALSE(messHandleEvent(click(centre(button).h, button.top - 2), growth));
}

TEST(AskerBox, ReturnTakesTheSafeChoice) {
    ASSERT_TRUE(testsupport::useTestFonts());
    for (int32_t safe : {0, 1}) {
        qdtest::World w(kAskerContent);
        drawAskerBox(qd::GetGWorld(), "Fill the print sheet?", "Fill", "Just print", safe);
        const qd::Rect& chosen = safe == 0 ? kAskerFirst : kAskerSecond;
        const qd::Rect& other = safe == 0 ? kAskerSecond : kAskerFirst;
        // The safe button wears the outline.
        EXPECT_TRUE(w.black(centre(chosen).h, chosen.top - 4));
        EXPECT_FALSE(w.black(centre(other).h, other.top - 4) &&
                     w.black(centre(other).h, other.bottom + 3));
        EXPECT_EQ(askerHandleEvent(key(13), safe), safe);
        EXPECT_EQ(askerHandleEvent(key(3), safe), safe);
        EXPECT_EQ(askerHandleEvent(clickIn(kAskerFirst), safe), 0);
        EXPECT_EQ(askerHandleEvent(clickIn(kAskerSecond), safe), 1);
        EXPECT_EQ(askerHandleEvent(key('y'), safe), kNoAnswer);
        EXPECT_EQ(askerHandleEvent(click(5, 5), safe), kNoAnswer);
    }
}

struct Answer {
    qdtest::World w{kAnswerContent};
    AnswerBox box;
    Answer(const std::string& proposed, const std::string& suffix, bool askForRepeat) {
        testsupport::useTestFonts();
        AnswerBoxOpen(&box, qd::GetGWorld(), "How many labels?", proposed, "Name", suffix,
                      askForRepeat);
        LibRedraw(&box);
    }
    int32_t type(const std::string& keys) {
        int32_t ended = 0;
        for (char k : keys) ended |= doAnswerKey(&box, key(static_cast<unsigned char>(k)));
        return ended;
    }
};

TEST(AnswerBox, HowManyReadsTheCountInDecimal) {
    Answer a("proposal", kRepeatSuffix, true);
    ASSERT_NE(a.box.count, nullptr);
    EXPECT_EQ(a.box.count->text, "1");
    // The proposal is all selected: typing replaces it.
    EXPECT_EQ(a.type("Batch"), 0);
    EXPECT_EQ(a.box.answer->text, "Batch");
    // Tab to the count: only digits go in.
    a.type("\t\x08");
    a.type("0x12z");
    EXPECT_EQ(a.box.count->text, "012");
    EXPECT_EQ(a.type("\r"), 1);
    char answer[255] = "junk";
    int32_t rnLabels = -1;
    EXPECT_TRUE(AnswerBoxClose(&a.box, answer, sizeof answer, &rnLabels));
    EXPECT_STREQ(answer, "Batch");
    EXPECT_EQ(rnLabels, 12) << "012 is twelve, not an octal ten";

    EXPECT_EQ(readRepeatCount(""), 1);
    EXPECT_EQ(readRepeatCount("0"), 1);
    EXPECT_EQ(readRepeatCount("99999999999999"), INT_MAX);
}

TEST(AnswerBox, CancelAndAnEmptyAnswerStayApart) {
    {
        Answer a("typed", "", false);
        EXPECT_EQ(a.box.count, nullptr);
        EXPECT_EQ(doMouseAnswer(&a.box, clickIn(kAnswerLeftButton)), 1);
        char answer[255];
        EXPECT_FALSE(AnswerBoxClose(&a.box, answer, sizeof answer, nullptr));
        EXPECT_STREQ(answer, "");
    }
    {
        Answer a("typed", "", false);
        a.type("\x08");  // the selected proposal goes
        EXPECT_EQ(doMouseAnswer(&a.box, clickIn(kAnswerRightButton)), 1);
        char answer[255] = "junk";
        EXPECT_TRUE(AnswerBoxClose(&a.box, answer, sizeof answer, nullptr));
        EXPECT_STREQ(answer, "");
    }
    {
        // "How Many" without repeats asked: no count field, the count untouched.
        Answer a(std::string(400, 'A'), kRepeatSuffix, false);
        EXPECT_EQ(a.box.count, nullptr);
        EXPECT_EQ(a.box.answer->text.size(), static_cast<size_t>(kAnswerMost));
        // A click in the field places the caret; a shift-click extends.
        doMouseAnswer(&a.box, click(kAnswerField.left + 2, centre(kAnswerField).v));
        EXPECT_EQ(a.box.answer->selStart, a.box.answer->selEnd);
        EXPECT_EQ(doMouseAnswer(&a.box, click(5, 5)), 0);
        a.type("\r");
        char small[10];
        int32_t rnLabels = 7;
        EXPECT_TRUE(AnswerBoxClose(&a.box, small, sizeof small, &rnLabels));
        EXPECT_EQ(std::strlen(small), 9u);
        EXPECT_EQ(rnLabels, 7);
    }
}

TEST(PascalStrings, InsertStopsAt255AndPathsFitTheirBuffers) {
    unsigned char dst[256], src[256];
    dst[0] = 200;
    std::memset(dst + 1, 'd', 200);
    src[0] = 100;
    std::memset(src + 1, 's', 100);
    pstrinsert(dst, src);
    EXPECT_EQ(dst[0], 255);
    EXPECT_EQ(dst[1], 's');
    EXPECT_EQ(dst[100], 's');
    EXPECT_EQ(dst[101], 'd');
    EXPECT_EQ(dst[255], 'd');
    unsigned char copy[256];
    pstrcpy(copy, src);
    EXPECT_EQ(0, std::memcmp(copy, src, 101));

    unsigned char path[256];
    ASSERT_TRUE(PathNameFromDirID("/srv/labels/2026", path));
    const std::string colon(reinterpret_cast<char*>(path + 1), path[0]);
    EXPECT_EQ(colon.substr(colon.size() - 13), ":labels:2026:");
    EXPECT_NE(colon[0], ':') << "the volume comes first";
    EXPECT_FALSE(PathNameFromDirID("/" + std::string(300, 'x'), path));
    EXPECT_EQ(path[0], 0);
    EXPECT_FALSE(PathNameFromDirID("relative/folder", path));

    char posix[16];
    EXPECT_EQ(FSMakePath("/tmp", "a.eps", posix, sizeof posix), 0);
    EXPECT_STREQ(posix, "/tmp/a.eps");
    EXPECT_EQ(FSMakePath("/tmp/", "much-too-long.eps", posix, sizeof posix), -120);
    EXPECT_STREQ(posix, "");
    EXPECT_EQ(FSMakePath("/tmp", "a/b", posix, sizeof posix), -37);

    EXPECT_EQ(IsIn(0x6, 0x2), 0);
    EXPECT_EQ(IsIn(0x6, 0x3), 1);
    unsigned char title[256];
    StringResourceGetString(title, 139, 20);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(title + 1), title[0]), "Strixel");
}

}  // namespace

TEST(PascalStrings, TextIsCutAt255AndNothingPassesTheBuffer) {
    constexpr unsigned char kGuard = 0xAB;
    unsigned char buffer[257];
    buffer[256] = kGuard;
    EXPECT_EQ(toPascal(std::string(300, 'x'), buffer), buffer);
    EXPECT_EQ(buffer[0], 255);
    EXPECT_EQ(buffer[255], 'x');
    EXPECT_EQ(buffer[256], kGuard);
    toPascal("OK", buffer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer + 1), buffer[0]), "OK");
    toPascal("", buffer);
    EXPECT_EQ(buffer[0], 0);

    EXPECT_EQ(StringResourceText(139, 20), "Strixel");
    EXPECT_EQ(StringResourceText(139, 1), "OK");
    EXPECT_EQ(StringResourceText(136, 9999), "");
}
