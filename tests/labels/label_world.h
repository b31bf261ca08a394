// A fresh program world with an empty label, a folder of the test's own, and
// the helpers the label tests share.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "platform/resources.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"

// The text of message n of the program's message list.
inline std::string messageText(uint16_t n) {
    unsigned char text[256];
    platform::StringResourceGetString(text, 136, n);
    return std::string(reinterpret_cast<char*>(text + 1), text[0]);
}

struct LabelWorld : ::testing::Test {
    std::filesystem::path dir;
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        initLabelItems();
        dir = testsupport::tempPath("files");
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    static LabelItem& at(int32_t i) { return *gLabel.labelParts[static_cast<size_t>(i)]; }
    // The index of a new item of `kind`.
    static int32_t newItem(uint16_t kind) {
        EXPECT_EQ(addLabelItem(), 0);
        at(labelBack.lastItem).setI16(item::kind, kind);
        return labelBack.lastItem;
    }
    static LabelItem& add(uint16_t kind, int16_t top, int16_t left, int16_t bottom, int16_t right) {
        LabelItem& it = at(newItem(kind));
        it.setI16(item::rectTop, top);
        it.setI16(item::rectLeft, left);
        it.setI16(item::rectBottom, bottom);
        it.setI16(item::rectRight, right);
        return it;
    }
};
