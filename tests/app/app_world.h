// A fresh world with private preferences and data folders for the settings tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "app/world.h"
#include "support/reader.h"
#include "symbology/messages.h"

struct SettingsWorld : ::testing::Test {
    std::string config, data;
    void SetUp() override {
        config = testsupport::freshFolder("config");
        data = testsupport::freshFolder("data");
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        testsupport::freshFolder("config/strixel");
        resetWorld();
        gMsg.quiet = true;
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
        resetWorld();
    }
    static void put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
};
