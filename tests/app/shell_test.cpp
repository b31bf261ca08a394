// The shell's glue: hot-key texts, the user's folders, the bar font's copy and
// the question at quit.
#include "app/shell.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "labels/labelDoc.h"
#include "platform/files.h"
#include "platform/questions.h"
#include "support/reader.h"
#include "symbology/messages.h"

namespace {

namespace fs = std::filesystem;

struct Shell : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }
    void TearDown() override { resetWorld(); }
};

TEST_F(Shell, HotKeyTextsNameFunctionKeysOrOneCharacter) {
    EXPECT_EQ(hotKeyCode("F1"), 122);
    EXPECT_EQ(hotKeyCode("F15"), 113);
    EXPECT_EQ(hotKeyCode("F12"), 111);
    EXPECT_EQ(hotKeyCode("q"), 12);
    EXPECT_EQ(hotKeyCode("Q"), 12);
    // No key named: F5 stays.
    for (const char* bad : {"", "F0", "F16", "F99", "F1x", "Fx", "G1", "F123456789012"})
        EXPECT_EQ(hotKeyCode(bad), kDefaultHotKey) << bad;
}

TEST_F(Shell, UserFoldersLieOnTheXdgFoldersAndLongPathsAreRefused) {
    const std::string config = testsupport::freshFolder("shellconfig");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(platform::colonToPosix(GetUserFolder("Library:Preferences:strixel6.def")),
              config + "/strixel/strixel6.def");
    const std::string font = GetUserFolderPosix("Library/Fonts/Strixel.TTF");
    EXPECT_NE(font.find("/fonts/Strixel.TTF"), std::string::npos) << font;
    gMsg.shown = 0;
    EXPECT_EQ(GetUserFolderPosix(std::string(300, 'a')), "");
    EXPECT_EQ(gMsg.shown, 1);
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Shell, TheFontIsCopiedWholeOrNotAtAll) {
    const std::string dir = testsupport::freshFolder("shellfont");
    const std::string source = dir + "/src.ttf", target = dir + "/fonts/Strixel.TTF";
    EXPECT_FALSE(installFontFile(source, target));  // nothing beside the program
    EXPECT_FALSE(fs::exists(target));

    const std::string bytes(100000, '\x5a');
    std::ofstream(source, std::ios::binary) << bytes;
    fs::create_directories(dir + "/fonts");
    std::ofstream(target, std::ios::binary);  // an empty font counts as missing
    ASSERT_TRUE(installFontFile(source, target));
    EXPECT_EQ(fs::file_size(target), bytes.size());
    EXPECT_FALSE(installFontFile(source, target));  // installed already
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir + "/fonts"))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Strixel.TTF"});  // no temporary left behind
}

struct RecordingHost : ShellHost {
    std::vector<int32_t> items;
    bool succeeds = true;
    bool doFile(int32_t item) override {
        items.push_back(item);
        return succeeds;
    }
};

TEST_F(Shell, QuitAsksOnceAndAFailedSaveKeepsTheProgramRunning) {
    RecordingHost host;
    setShellHost(&host);
    requestQuit();  // nothing changed: no question
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_EQ(platform::questionScript().asked, 0);

    gShell.gRunning = 0;
    gShell.changed = 1;
    labelBack.labelWidth = labelBack.labelHeight = 1000;
    host.succeeds = false;
    platform::questionScript().askerAnswers = {0};  // Save, which fails
    requestQuit();
    EXPECT_EQ(gShell.gRunning, 0);
    EXPECT_EQ(host.items, std::vector<int32_t>{3});

    host.succeeds = true;
    platform::questionScript().askerAnswers = {0};
    requestQuit();
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_EQ(platform::questionScript().asked, 2);

    gShell.gRunning = 0;
    platform::questionScript().askerAnswers = {1};  // Don't save
    requestQuit();
    EXPECT_EQ(gShell.gRunning, -1);
    EXPECT_EQ(host.items.size(), 2u);
}

}  // namespace
