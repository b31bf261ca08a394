// What the symbol tests of this folder share: a fresh world for each test and
// the data entered as the user types it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/world.h"
#include "symbology/messages.h"
#include "symbology/state.h"

struct SymbolTest : ::testing::Test {
    void SetUp() override {
        resetWorld();
        quietMessages();
    }
    // Also before each of several refusals in one test, so that each shows its own.
    static void quietMessages() {
        resetMessages();
        gMsg.quiet = true;
    }
    // The main field (NUL-free data) and the add-on field, with their lengths.
    static void setData(const std::string& data, const std::string& addOn = "") {
        ASSERT_TRUE(copyBounded(gData.chMainCode, data.c_str()));
        gData.len1 = static_cast<int32_t>(data.size());
        ASSERT_TRUE(copyBounded(gData.chAddCode, addOn.c_str()));
        gData.len2 = static_cast<int32_t>(addOn.size());
    }
};
