#include <gtest/gtest.h>

#include <string>

#include "platform/textedit.h"

namespace {

using namespace platform;

void type(TERec& te, const std::string& keys) {
    for (char k : keys) TEKey(static_cast<unsigned char>(k), &te);
}

std::pair<int, int> selection(TERec& te) {
    int16_t a = -1, b = -1;
    TEGetSelect(&te, &a, &b);
    return {a, b};
}

TEST(TextEdit, TypingReplacesTheSelectionAndBackspaceDeletes) {
    TERec te;
    type(te, "400638");
    EXPECT_EQ(te.text, "400638");
    EXPECT_EQ(selection(te), std::make_pair(6, 6));
    TESetSelect(1, 4, &te);
    type(te, "9");
    EXPECT_EQ(te.text, "4938");
    EXPECT_EQ(selection(te), std::make_pair(2, 2));
    TEKey(8, &te);
    EXPECT_EQ(te.text, "438");
    TESetSelect(0, 2, &te);
    TEKey(8, &te);  // deletes the selection only
    EXPECT_EQ(te.text, "8");
    EXPECT_EQ(selection(te), std::make_pair(0, 0));
    TEKey(8, &te);  // nothing before the caret
    EXPECT_EQ(te.text, "8");
}

TEST(TextEdit, ArrowsMoveTheCaret) {
    TERec te;
    TESetText("abc", 3, &te);
    EXPECT_EQ(selection(te), std::make_pair(3, 3));
    TEKey(28, &te);
    TEKey(28, &te);
    type(te, "X");
    EXPECT_EQ(te.text, "aXbc");
    TESetSelect(1, 3, &te);
    TEKey(29, &te);  // collapses to the end of the selection
    EXPECT_EQ(selection(te), std::make_pair(3, 3));
    TESetSelect(1, 3, &te);
    TEKey(28, &te);
    EXPECT_EQ(selection(te), std::make_pair(1, 1));
    for (int i = 0; i < 5; ++i) TEKey(28, &te);
    EXPECT_EQ(selection(te), std::make_pair(0, 0));
    for (int i = 0; i < 9; ++i) TEKey(29, &te);
    EXPECT_EQ(selection(te), std::make_pair(4, 4));
    TEKey(30, &te);
    EXPECT_EQ(te.text, "aXbc");
}

TEST(TextEdit, SelectionsAreClampedAndOrdered) {
    TERec te;
    TESetText("12345", 5, &te);
    TESetSelect(4, 1, &te);
    EXPECT_EQ(selection(te), std::make_pair(1, 4));
    TESetSelect(-3, 99, &te);
    EXPECT_EQ(selection(te), std::make_pair(0, 5));
    // A selection set by hand past the text is brought back before a key acts on it.
    te.selStart = 2;
    te.selEnd = 900;
    type(te, "x");
    EXPECT_EQ(te.text, "12x");
}

TEST(TextEdit, LengthLimitRefusesInsteadOfCutting) {
    TERec te;
    te.maxLength = 4;
    type(te, "12345");
    EXPECT_EQ(te.text, "1234");
    TESetSelect(0, 1, &te);
    type(te, "9");  // replacing keeps the length
    EXPECT_EQ(te.text, "9234");
    EXPECT_FALSE(TESetText("abcde", 5, &te));
    EXPECT_EQ(te.text, "9234");
    EXPECT_TRUE(TESetText(nullptr, 0, &te));
    EXPECT_EQ(te.text, "");
    EXPECT_FALSE(TESetText("x", -1, &te));

    // A text put in by hand past the reach of a selection: the caret stops at the
    // reach, typing is refused, and deleting works.
    te.maxLength = 40000;
    te.text.assign(40000, 'x');
    TESetSelect(40000, 40000, &te);
    TEKey(29, &te);
    EXPECT_EQ(selection(te), std::make_pair(32767, 32767));
    type(te, "y");
    EXPECT_EQ(te.text.size(), 40000u);
    TEKey(8, &te);
    EXPECT_EQ(te.text.size(), 39999u);
    EXPECT_EQ(selection(te), std::make_pair(32766, 32766));
}

}  // namespace
