// The Scripts menu lists the script files of the user's Scripts folder and runs
// the chosen one's records; a file is opened with the desktop's program through
// an opener that the tests replace, so none is launched.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/desktop/outsideInterface.h"
#include "app/desktop/scriptsMenu.h"
#include "app/scriptFiles.h"
#include "app/world.h"
#include "desktop_fixture.h"
#include "support/reader.h"
#include "symbology/messages.h"

using namespace toolbox;

namespace {

namespace fs = std::filesystem;

std::string itemText(MenuHandle menu, int16_t item) {
    unsigned char text[256] = {};
    GetMenuItemText(menu, item, text);
    return std::string(reinterpret_cast<char*>(text + 1), text[0]);
}

bool runScripts() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (scriptsPending() > 0)
        if (std::chrono::steady_clock::now() > end)
            return false;
        else
            PumpDesktop(5);
    return true;
}

class ScriptsMenuTest : public DesktopTest {
  protected:
    void SetUp() override {
        DesktopTest::SetUp();
        resetWorld();
        gMsg.quiet = true;
        dir = testsupport::freshFolder("scripts-menu");
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        scripts = dir + "/strixel/Scripts";
        fs::create_directories(scripts);
        setScriptProgram(STRIXEL_BINARY);
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        setDocumentOpener(nullptr);
        resetWorld();
        DesktopTest::TearDown();
    }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(scripts + "/" + name) << text;
    }
    std::string dir, scripts;
};

TEST_F(ScriptsMenuTest, ListsTheScriptFilesAndRunsTheChosenOne) {
    write("b labels.txt",
          "{type:\"EAN 13\", data:\"400638133393\", saveto:\"" + dir + "/b.eps\"}\n");
    write("a;odd(name).txt",
          "{type:\"Code 128\", data:\"A-SCRIPT\", saveto:\"" + dir + "/a.eps\"}\n");
    // None of these is offered: hidden, a folder, too long a name, no Mac OS Roman form.
    write(".hidden.txt", "{}");
    fs::create_directory(scripts + "/folder");
    write(std::string(kMostScriptNameBytes + 1, 'n'), "{}");
    write("\xE6\x97\xA5\xE6\x9C\xAC.txt", "{}");

    MenuHandle menu = NewMenu(155, reinterpret_cast<const unsigned char*>("\x07Scripts"));
    AppendMenu(menu, reinterpret_cast<const unsigned char*>("\x09old entry"));
    BuildScriptMenu(menu, 0);
    ASSERT_EQ(CountMenuItems(menu), 2);
    EXPECT_EQ(itemText(menu, 1), "a;odd(name).txt");
    EXPECT_EQ(itemText(menu, 2), "b labels.txt");

    // Items the menu does not hold do nothing.
    GetScriptMenuItem(0, 0, nullptr);
    GetScriptMenuItem(3, 0, nullptr);
    EXPECT_EQ(scriptsPending(), 0u);

    GetScriptMenuItem(2, 0, nullptr);
    ASSERT_TRUE(runScripts());
    const testsupport::Rendered r = testsupport::renderWithGhostscript(dir + "/b.eps", 400);
    ASSERT_TRUE(r.ok) << r.err;
    EXPECT_EQ(testsupport::decode(testsupport::cropToInk(r.bitmap, 80), "EAN-13").text,
              "4006381333931");
    EXPECT_FALSE(fs::exists(dir + "/a.eps"));
    DisposeMenu(menu);
}

TEST_F(ScriptsMenuTest, AScriptThatVanishedIsToldAndAnEmptyFolderListsNothing) {
    write("gone.txt", "{type:\"EAN 13\", data:\"400638133393\", saveto:\"x.eps\"}");
    MenuHandle menu = NewMenu(155, reinterpret_cast<const unsigned char*>("\x07Scripts"));
    BuildScriptMenu(menu, 0);
    ASSERT_EQ(CountMenuItems(menu), 1);
    fs::remove(scripts + "/gone.txt");
    GetScriptMenuItem(1, 0, nullptr);
    EXPECT_NE(gMsg.last.find("cannot be read"), std::string::npos) << gMsg.last;
    EXPECT_EQ(scriptsPending(), 0u);

    fs::remove_all(scripts);
    BuildScriptMenu(menu, 0);
    EXPECT_EQ(CountMenuItems(menu), 0);
    DisposeMenu(menu);
}

std::vector<std::string> gOpened;
bool recordOpen(const std::string& path) {
    gOpened.push_back(path);
    return true;
}

TEST_F(ScriptsMenuTest, OpensOnlyFilesWithTheDesktopsProgram) {
    gOpened.clear();
    setDocumentOpener(recordOpen);
    const std::string manual = dir + "/manual.pdf";
    std::ofstream(manual) << "%PDF-1.4";
    EXPECT_TRUE(TestCAppleScript(manual));
    EXPECT_FALSE(TestCAppleScript(dir + "/missing.pdf"));
    EXPECT_FALSE(TestCAppleScript(dir));
    EXPECT_EQ(gOpened, std::vector<std::string>{manual});
}

}  // namespace
