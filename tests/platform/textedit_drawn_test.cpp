// Fields drawn in a port: layout, keys, clicks, the caret, the clipboard and
// scrolling, read back from an offscreen world with the test fonts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/desktop.h"
#include "platform/textedit.h"
#include "qd_world.h"
#include "support/fonts.h"

namespace {

using namespace platform;

uint32_t gTicks = 1000;
uint32_t testTicks() { return gTicks; }

struct Field {
    qdtest::World world{{0, 0, 120, 200}};
    std::unique_ptr<TERec, void (*)(TERec*)> te{nullptr, TEDispose};
    explicit Field(qd::Rect view = {10, 10, 60, 110}) {
        testsupport::useTestFonts();
        TESetTickSource(testTicks);
        te.reset(TEStyleNew(view, view));
        TESetStyle(qdtest::fontNumber("Helvetica"), 12, 0, te.get());
    }
    ~Field() { TESetTickSource(nullptr); }
    void type(const std::string& keys) {
        for (char k : keys) TEKey(static_cast<unsigned char>(k), te.get());
    }
    std::pair<int, int> sel() const { return {te->selStart, te->selEnd}; }
    // Columns with ink in the rows of the field's first line.
    std::pair<int, int> inkColumns(int top, int bottom) const {
        int first = 1000, last = -1;
        for (int v = top; v < bottom; ++v)
            for (int h = 0; h < 200; ++h)
                if (world.rgb(h, v) != 0xFFFFFF)
                    first = std::min(first, h), last = std::max(last, h);
        return {first, last};
    }
};

TEST(TextEditDrawn, TypingWrapsAndTheArrowsWalkTheLines) {
    Field f;
    f.type("one two three four five six");
    ASSERT_GT(TENumLines(f.te.get()), 1) << "a 100-pixel field wraps this text";
    EXPECT_EQ(f.te->lineStarts.front(), 0);
    EXPECT_EQ(f.te->lineStarts.back(), 27);
    // Lines break after a blank, never inside a word.
    for (size_t i = 1; i + 1 < f.te->lineStarts.size(); ++i)
        EXPECT_EQ(f.te->text[static_cast<size_t>(f.te->lineStarts[i]) - 1], ' ');
    EXPECT_EQ(TEGetHeight(2, 1, f.te.get()), 2 * f.te->lineHeight);

    TEKey(30, f.te.get());  // up: the caret leaves the last line
    EXPECT_LT(f.sel().first, f.te->lineStarts[static_cast<size_t>(TENumLines(f.te.get()) - 1)]);
    TEKey(31, f.te.get());
    EXPECT_EQ(f.sel(), std::make_pair(27, 27));
    TEKey(31, f.te.get());  // down on the last line stays
    EXPECT_EQ(f.sel(), std::make_pair(27, 27));

    f.type("\x08\x08\x08");
    EXPECT_EQ(f.te->text, "one two three four five ");
    TEKey(28, f.te.get());
    TEKey('X', f.te.get());
    EXPECT_EQ(f.te->text, "one two three four fiveX ");
}

TEST(TextEditDrawn, RedrawingOnlyWhatChangedLeavesWhatAFullRedrawWould) {
    for (int16_t just : {teFlushDefault, teCenter}) {
        Field f;
        TESetAlignment(just, f.te.get());
        TEActivate(f.te.get());
        const auto settled = [&](const std::string& what) {
            const auto drawn = f.world.pixels();
            TEUpdate(f.te->viewRect, f.te.get());
            EXPECT_EQ(drawn, f.world.pixels()) << what << ", alignment " << just;
        };
        f.type("Words that wrap onto more lines");
        settled("typing");
        TESetSelect(0, 0, f.te.get());
        f.type("A longer start ");
        settled("typing at the start pushes words down");
        f.type("\x08\x08\x08\x08\x08\x08\x08\x08\x08\x08\x08\x08\x08\x08\x08");
        settled("backspacing pulls them back");
        f.type("\r\x1f\x1d\x1d\x1e");
        settled("returns and arrows");
        TESetSelect(3, 20, f.te.get());
        settled("a selection");
        f.type("x");
        settled("typing over a selection");
        gTicks += kCaretTicks;
        TEIdle(f.te.get());
        settled("a blink");
        // Edits here and there, a word at a time, each settled at once.
        for (int step = 0; step < 60 && !HasFailure(); ++step) {
            const int at = (step * 37) % (static_cast<int>(f.te->text.size()) + 1);
            TESetSelect(at, at, f.te.get());
            f.type(step % 3 == 2 ? "\x08\x08\x08" : step % 2 ? "ab " : "wide");
            settled("edit " + std::to_string(step));
        }
    }
}

TEST(TextEditDrawn, AFieldMeasuresInItsOwnPortWhateverIsCurrent) {
    Field f;
    qdtest::World other({0, 0, 10, 10});
    qd::TextSize(48);
    f.type("MMM MMM");
    EXPECT_EQ(TENumLines(f.te.get()), 1) << "measured at the field's 12 points";
    EXPECT_EQ(qd::GetPort(), other.w) << "the current port is put back";
    qd::SetGWorld(f.world.w);
    EXPECT_GT(f.world.blacks(), 0) << "and the field drew into its own";
}

TEST(TextEditDrawn, AlignmentPlacesTheInk) {
    for (int16_t just : {teFlushDefault, teCenter, teFlushRight}) {
        Field f;
        TESetAlignment(just, f.te.get());
        f.type("Wide");
        const auto [left, right] = f.inkColumns(10, 10 + f.te->lineHeight);
        ASSERT_LE(left, right) << just;
        // The caret of the active field is not drawn: the field was never activated.
        if (just == teFlushDefault) {
            EXPECT_LE(left, 12);
        } else if (just == teFlushRight) {
            EXPECT_GE(right, 107);
        } else {
            EXPECT_NEAR((left + right) / 2, 60, 2);
        }
        // Nothing is drawn outside the view.
        EXPECT_EQ(f.inkColumns(0, 10).second, -1);
        EXPECT_EQ(f.inkColumns(60, 120).second, -1);
    }
}

TEST(TextEditDrawn, ClicksPlaceExtendAndSelectWords) {
    Field f({10, 10, 60, 190});
    f.type("alpha beta gamma");
    const qd::Point mid = TEGetPoint(8, f.te.get());  // inside "beta"
    const int v = mid.v + 2;
    TEClick({v, mid.h}, false, f.te.get());
    EXPECT_EQ(f.sel(), std::make_pair(8, 8));
    // Shift-click extends from the caret to the click, either way.
    TEClick({v, TEGetPoint(14, f.te.get()).h}, true, f.te.get());
    EXPECT_EQ(f.sel(), std::make_pair(8, 14));
    TEClick({v, TEGetPoint(2, f.te.get()).h}, true, f.te.get());
    EXPECT_EQ(f.sel(), std::make_pair(2, 14));

    // Two clicks at one place within the double-click time select the word...
    TEClick({v, mid.h}, false, f.te.get());
    gTicks += kDoubleClickTicks;
    TEClick({v, mid.h}, false, f.te.get());
    EXPECT_EQ(f.sel(), std::make_pair(6, 10));
    // ...two clicks further apart in time do not.
    gTicks += 1;
    TEClick({v, mid.h}, false, f.te.get());
    gTicks += kDoubleClickTicks + 1;
    TEClick({v, mid.h}, false, f.te.get());
    EXPECT_EQ(f.sel(), std::make_pair(8, 8));
    // A click past the end of the text puts the caret at its end.
    TEClick({v, 189}, false, f.te.get());
    gTicks += 100;
    EXPECT_EQ(f.sel(), std::make_pair(16, 16));

    TESelectAll(f.te.get());
    EXPECT_EQ(f.sel(), std::make_pair(0, 16));
}

TEST(TextEditDrawn, TheCaretBlinksOnTheTickClock) {
    Field f;
    f.type("ab");
    TEActivate(f.te.get());
    const qd::Point p = TEGetPoint(2, f.te.get());
    const int h = p.h, v = p.v + f.te->lineHeight / 2;
    EXPECT_TRUE(f.world.black(h, v)) << "an activated field shows its caret";
    gTicks += kCaretTicks - 1;
    TEIdle(f.te.get());
    EXPECT_TRUE(f.world.black(h, v));
    gTicks += 1;
    TEIdle(f.te.get());
    EXPECT_FALSE(f.world.black(h, v));
    gTicks += kCaretTicks;
    TEIdle(f.te.get());
    EXPECT_TRUE(f.world.black(h, v));
    TEDeactivate(f.te.get());
    EXPECT_FALSE(f.world.black(h, v));
    // A selection is shown inverted while active.
    TEActivate(f.te.get());
    TESelectAll(f.te.get());
    EXPECT_TRUE(f.world.black(f.te->destRect.left + 1, f.te->destRect.top + 1));
}

TEST(TextEditDrawn, CutCopyPasteGoThroughTheClipboard) {
    Field f;
    f.type("hello world");
    TESetSelect(0, 5, f.te.get());
    TECopy(f.te.get());
    TEToScrap();
    EXPECT_EQ(ScrapContents().text, "hello");
    TESetSelect(5, 11, f.te.get());
    TECut(f.te.get());
    EXPECT_EQ(f.te->text, "hello");
    EXPECT_EQ(TEScrapText(), " world");

    ZeroScrap();
    PutScrapText("+pasted", "Helvetica", 12);
    TEFromScrap();
    TESetSelect(0, 0, f.te.get());
    EXPECT_TRUE(TEPaste(f.te.get()));
    EXPECT_EQ(f.te->text, "+pastedhello");
    EXPECT_EQ(f.sel(), std::make_pair(7, 7));
    TESetSelect(0, 7, f.te.get());
    TEDelete(f.te.get());
    EXPECT_EQ(f.te->text, "hello");

    // An empty clipboard pastes nothing.
    ZeroScrap();
    TEFromScrap();
    EXPECT_TRUE(TEPaste(f.te.get()));
    EXPECT_EQ(f.te->text, "hello");
}

TEST(TextEditDrawn, APasteBeyondTheCallersBoundChangesNothing) {
    Field f;
    f.te->maxLength = 255;
    f.type("keep");
    ZeroScrap();
    PutScrapText(std::string(5000, '7'), "", 0);
    TEFromScrap();
    EXPECT_FALSE(TEPaste(f.te.get()));
    EXPECT_EQ(f.te->text, "keep");
    EXPECT_EQ(f.sel(), std::make_pair(4, 4));
    // A paste that fits exactly, replacing the selection, is taken.
    PutScrapText(std::string(254, '7'), "", 0);
    TEFromScrap();
    TESetSelect(0, 3, f.te.get());
    EXPECT_TRUE(TEPaste(f.te.get()));
    EXPECT_EQ(f.te->text.size(), 255u);
}

TEST(TextEditDrawn, FieldsOutsideTheirWindowOrWithoutOneStillEdit) {
    Field f({-100, -100, 0, 0});
    f.type("staged text");
    TEActivate(f.te.get());
    TESelectAll(f.te.get());
    TECopy(f.te.get());
    EXPECT_EQ(TEScrapText(), "staged text");
    EXPECT_EQ(f.world.blacks(), 0) << "nothing of it lands in the window";

    qd::SetGWorld(nullptr);
    std::unique_ptr<TERec, void (*)(TERec*)> none(TEStyleNew({0, 0, 20, 50}, {0, 0, 20, 50}),
                                                  TEDispose);
    for (char k : std::string("a\rbc\x1e\x1f")) TEKey(static_cast<unsigned char>(k), none.get());
    TEClick({5, 5}, false, none.get());
    TEIdle(none.get());
    TEUpdate({0, 0, 20, 50}, none.get());
    EXPECT_EQ(none->text, "a\rbc");
    EXPECT_EQ(TENumLines(none.get()), 2);
}

TEST(TextEditDrawn, ScrollingAndAutoViewKeepTheCaretShown) {
    Field f({10, 10, 30, 110});  // about one line high
    TEAutoView(true, f.te.get());
    f.type("first\rsecond\rthird");
    EXPECT_EQ(TENumLines(f.te.get()), 3);
    const qd::Point caret = TEGetPoint(f.te->selStart, f.te.get());
    EXPECT_GE(caret.v, f.te->viewRect.top);
    EXPECT_LE(caret.v + f.te->lineHeight, f.te->viewRect.bottom);
    // Scrolling back to the top shows the first line where the view begins.
    TEScroll(0, f.te->viewRect.top - f.te->destRect.top, f.te.get());
    EXPECT_EQ(TEGetOffset({12, 11}, f.te.get()), 0);
    EXPECT_EQ(TEGetPoint(0, f.te.get()).v, 10);
}

TEST(TextEditFields, WindowTextIsBoundedBothWays) {
    TERec te;
    te.maxLength = 8;
    EXPECT_TRUE(SetWindowText(&te, "12345678"));
    EXPECT_FALSE(SetWindowText(&te, "123456789"));
    EXPECT_EQ(te.text, "12345678");
    char dest[5];
    GetWindowText(&te, dest, 4);
    EXPECT_STREQ(dest, "1234");
    GetWindowText(nullptr, dest, 4);
    EXPECT_STREQ(dest, "");
}

}  // namespace
