// The document model reaches the layout preview only through the hooks a front
// end registers: what it reports spoiled, and the error text it hands over.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "label_world.h"
#include "labels/itemFields.h"
#include "labels/preview.h"

namespace {

struct Spoiled {
    int32_t mode;
    int16_t top, left, bottom, right;
};
std::vector<Spoiled> spoiled;
std::vector<std::string> shown;

struct PreviewHooksTest : LabelWorld {
    void SetUp() override {
        LabelWorld::SetUp();
        spoiled.clear();
        shown.clear();
        gPreviewHooks.invalRect = [](int32_t mode, const Rect16& r) {
            spoiled.push_back({mode, r.top, r.left, r.bottom, r.right});
        };
        gPreviewHooks.showError = [](const char* text) { shown.emplace_back(text); };
    }
    void TearDown() override { gPreviewHooks = PreviewHooks{}; }
};

TEST_F(PreviewHooksTest, MovingAnItemSpoilsWhereItWasAndWhereItGoes) {
    add(kKindRect, 10, 20, 30, 40);
    const int32_t i = labelBack.lastItem;
    gLabel.itRect = Rect16{50, 60, 70, 80};
    setItemRect(i);
    ASSERT_EQ(spoiled.size(), 2u);
    EXPECT_EQ(spoiled[0].mode, kInvalidateSelection);
    EXPECT_EQ((std::vector<int16_t>{spoiled[0].top, spoiled[0].left, spoiled[0].bottom,
                                    spoiled[0].right}),
              (std::vector<int16_t>{10, 20, 30, 40}));
    EXPECT_EQ((std::vector<int16_t>{spoiled[1].top, spoiled[1].left, spoiled[1].bottom,
                                    spoiled[1].right}),
              (std::vector<int16_t>{50, 60, 70, 80}));
}

TEST_F(PreviewHooksTest, TheErrorTextIsHandedOverOnceThenEmptied) {
    copyBounded(gMsg.gerrorstr, "no room for the data");
    updateDisp();
    updateDisp();
    EXPECT_EQ(shown, (std::vector<std::string>{"no room for the data", ""}));
    EXPECT_EQ(gMsg.gerrorstr[0], 0);

    // Without a front end the text is emptied all the same.
    gPreviewHooks = PreviewHooks{};
    copyBounded(gMsg.gerrorstr, "again");
    updateDisp();
    EXPECT_EQ(gMsg.gerrorstr[0], 0);
    EXPECT_EQ(shown.size(), 2u);
}

}  // namespace
