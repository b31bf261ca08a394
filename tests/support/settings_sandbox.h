// A test that runs the program in a folder of its own, with its own preferences
// folder there: the print settings a run reads and writes stay inside it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace testsupport {

struct SettingsSandbox : ::testing::Test {
    std::filesystem::path dir;
    void SetUp() override;
    void TearDown() override;
};

}  // namespace testsupport
