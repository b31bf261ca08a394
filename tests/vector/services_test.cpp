#include <cstring>

#include "vector_fixture.h"

namespace {

TEST_F(VectorTest, PascalAppendIsBounded) {
    Str255 p;
    pstrSet(p, "abc");
    EXPECT_TRUE(cpstrcat2(p, "de", 2));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(p + 1), p[0]), "abcde");
    const std::string many(300, 'x');
    EXPECT_FALSE(cpstrcat2(p, many.data(), 300));
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[255], 'x');
    EXPECT_FALSE(cpstrcat2(p, "y", 1));
    EXPECT_EQ(p[0], 255);
}

TEST_F(VectorTest, TextSizeScaleIsASinglePrecisionProduct) {
    gSym.Siz = 100;
    TextSizeGC(7, 7);
    EXPECT_EQ(gVec.gCtexsize, static_cast<double>(0.7f));
    gSym.Siz = 150;
    TextSizeGC(12, 10);
    EXPECT_EQ(gVec.gCtexsize, 1.5);
}

struct RetailText : VectorTest {
    struct Run {
        double x = 0, y = 0;
        std::string text;
        bool white = false;
    };
    std::vector<Run> runs;
    double boxL = 0, boxB = 0, boxR = 0, boxT = 0;
    void draw(const char* text, double scale) {
        dialect(88);
        pstrSet(gSym.fontBelow, "Helvetica");
        DrawMS128Text(text, static_cast<int32_t>(std::strlen(text)), 1, 1000000, 2000000, scale);
        runs.clear();
        bool white = false;
        std::vector<std::string> box;
        for (const std::string& line : linesOf(written())) {
            if (line == "0 0 0 0 k") white = true;
            if (line == "0 0 0 1 k") white = false;
            if (line.size() > 2 && line.substr(line.size() - 2) == " m") box.push_back(line);
            if (line.size() > 2 && line.substr(line.size() - 2) == " L") box.push_back(line);
            if (line.rfind("[1 0 0 1 ", 0) == 0) {
                Run r;
                std::sscanf(line.c_str() + 9, "%lf %lf", &r.x, &r.y);
                r.white = white;
                runs.push_back(r);
            }
            if (line.size() > 2 && line.substr(line.size() - 2) == ")t") {
                const size_t open = line.find('(');
                runs.back().text = line.substr(open + 1, line.size() - open - 3);
            }
        }
        if (box.size() == 5) {
            std::sscanf(box[0].c_str(), "%lf %lf", &boxL, &boxB);
            std::sscanf(box[2].c_str(), "%lf %lf", &boxR, &boxT);
        }
    }
    double width(const std::string& s, double size) {
        return MeasureTextInEPS2(s.data(), static_cast<int32_t>(s.size()), size, gSym.fontBelow);
    }
};

TEST_F(RetailText, FourGroupsTheSecondReversed) {
    draw("123456789012345678", 1.0);
    ASSERT_EQ(runs.size(), 4u);
    const std::pair<const char*, double> groups[] = {
        {"12", 10}, {"3456", 34}, {"78901234", 82}, {"5678", 162}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(runs[k].text, groups[k].first) << k;
        EXPECT_DOUBLE_EQ(runs[k].x, groups[k].second) << k;
    }
    EXPECT_DOUBLE_EQ(runs[0].y, 25);  // the small groups stand 5 points higher
    EXPECT_DOUBLE_EQ(runs[1].y, 20);
    EXPECT_DOUBLE_EQ(runs[3].y, 25);
    EXPECT_TRUE(runs[1].white);
    EXPECT_FALSE(runs[2].white);
    // The dark box holds the white digits.
    EXPECT_LE(boxL, runs[1].x);
    EXPECT_GE(boxR, runs[1].x + width("3456", 18));
    EXPECT_LT(boxB, runs[1].y);
    EXPECT_GE(boxT, runs[1].y + 0.7 * 18);  // above the digits' height
}

TEST_F(RetailText, GroupsDoNotOverlapWhenScaled) {
    draw("123456789012345678", 2.0);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_GE(runs[1].x, runs[0].x + width("12", 20));
    EXPECT_GE(runs[2].x, runs[1].x + width("3456", 36));
    EXPECT_GE(runs[3].x, runs[2].x + width("78901234", 36));
    EXPECT_GE(boxR, runs[1].x + width("3456", 36));
}

TEST_F(RetailText, ShortTextWritesWhatThereIs) {
    draw("12345", 1.0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].text, "345");
    draw("", 1.0);
    EXPECT_TRUE(runs.empty());
}

}  // namespace
