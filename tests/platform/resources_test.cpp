#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "platform/resources.h"

namespace {

using namespace platform;

std::string stringOf(int list, int index) {
    unsigned char p[256];
    StringResourceGetString(p, list, index);
    return std::string(reinterpret_cast<char*>(p + 1), p[0]);
}

TEST(Resources, EveryMessageRaisedHasAText) {
    for (int n : {27, 29, 65, 67, 71}) EXPECT_GT(stringOf(136, n).size(), 20u) << "message " << n;
    EXPECT_EQ(stringOf(137, 27), "Strixel");  // the message box's title
    EXPECT_EQ(stringOf(139, 1), "OK");
    EXPECT_EQ(stringOf(136, 9999), "");
    EXPECT_EQ(stringOf(4242, 1), "");
}

// The question boxes the program asks: the save question and the run's sheet question.
TEST(Resources, EveryQuestionBoxHasItsTexts) {
    for (const auto& [question, first, second] : {std::tuple{15, 18, 19}, std::tuple{28, 29, 30}})
        for (int n : {question, first, second}) EXPECT_FALSE(stringOf(142, n).empty()) << n;
}

TEST(Resources, ListsAreSortedWithOneTextANumber) {
    for (int list : {136, 137, 139, 142}) {
        std::istringstream in(
            std::string(embeddedResource("strings/" + std::to_string(list) + ".txt")));
        std::string line;
        int last = 0;
        while (std::getline(in, line)) {
            const size_t tab = line.find('\t');
            ASSERT_NE(tab, std::string::npos) << list << ": " << line;
            const int n = std::stoi(line.substr(0, tab));
            EXPECT_GT(n, last) << "list " << list << " out of order at " << n;
            EXPECT_LE(line.size() - tab - 1, 255u) << "list " << list << " text " << n;
            last = n;
        }
        EXPECT_GT(last, 0) << "list " << list << " is empty";
    }
}

}  // namespace
