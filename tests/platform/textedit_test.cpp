#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/textedit.h"
#include "support/cases.h"

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

std::pair<int, int> pairOf(const std::string& s) {
    std::istringstream in(s);
    int a = 0, b = 0;
    in >> a >> b;
    return {a, b};
}

TEST(TextEdit, KeysOnTheSelection) {
    for (const auto& c : testsupport::readCases("platform/textedit.txt", 6)) {
        TERec te;
        te.maxLength = c.integer(1);
        ASSERT_TRUE(TESetText(c[0].data(), static_cast<int32_t>(c[0].size()), &te)) << c.where;
        const auto [from, to] = pairOf(c[2]);
        TESetSelect(from, to, &te);
        type(te, c[3]);
        EXPECT_EQ(te.text, c[4]) << c.where;
        EXPECT_EQ(selection(te), pairOf(c[5])) << c.where;
    }
}

TEST(TextEdit, TextsBeyondTheLimitsAreRefused) {
    TERec te;
    TESetText("12345", 5, &te);
    // A selection set by hand past the text is brought back before a key acts on it.
    te.selStart = 2;
    te.selEnd = 900;
    type(te, "x");
    EXPECT_EQ(te.text, "12x");

    te.maxLength = 4;
    EXPECT_FALSE(TESetText("abcde", 5, &te));
    EXPECT_EQ(te.text, "12x");
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
