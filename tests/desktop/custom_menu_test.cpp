// Custom code types through the menus: saved from the options menu under names
// a file name cannot hold as they are, listed in the Custom menu by name, and
// chosen back from it, a file renamed on disk included.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/customTypes.h"
#include "settings_fixture.h"
#include "symbology/state.h"

namespace {

namespace fs = std::filesystem;
using namespace toolbox;
using CustomMenus = SettingsDesktop;

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (fs::exists(folder))
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> customItems() {
    std::vector<std::string> texts;
    for (const MenuItem& it : GetMenuHandle(151)->items) texts.push_back(it.text);
    return texts;
}

TEST_F(CustomMenus, SavedListedAndChosenBack) {
    popUp(151);
    popUp(236);
    installSettingMenus();
    EXPECT_TRUE(customItems().empty());

    gSym.code = 6;
    gSym.variation1 = 0;
    gSym.Siz = 150;
    answer("Shelf/Edge");
    choose(236, 8);
    gSym.code = 5;
    gSym.variation1 = 0;
    gSym.Siz = 80;
    gOut.fileTyp = 0;  // saved without file extensions
    answer("Pallet:Label");
    choose(236, 8);
    // A cancelled or empty name writes nothing.
    answer("", true);
    choose(236, 8);
    answer("");
    choose(236, 8);
    const std::string folder = customFolderPath();
    ASSERT_EQ(filesIn(folder).size(), 2u);
    for (const std::string& f : filesIn(folder)) {
        EXPECT_EQ(f.find('/'), std::string::npos) << f;
        EXPECT_EQ(f.find(':'), std::string::npos) << f;
    }
    EXPECT_EQ(customItems(), (std::vector<std::string>{"Pallet:Label", "Shelf/Edge"}));

    // Renamed on disk, listed afresh: by the names the files hold, sorted.
    const std::string shelf = folder + "/" + customFileName("Shelf/Edge");
    ASSERT_TRUE(fs::exists(shelf));
    fs::rename(shelf, folder + "/0 renamed");
    BuildCustMenu();
    fillCustomMenu();
    EXPECT_EQ(customItems(), (std::vector<std::string>{"Pallet:Label", "Shelf/Edge"}));

    gSym.code = 0;
    gSym.Siz = 100;
    ASSERT_EQ(choose(151, 2), (151 << 16) | 2);
    EXPECT_EQ(gSym.code, 6);
    EXPECT_DOUBLE_EQ(gSym.Siz, 150);
    gOut.fileTyp = 1;
    setOptionMarks();
    ASSERT_EQ(choose(151, 1), (151 << 16) | 1);
    EXPECT_EQ(gSym.code, 5);
    EXPECT_DOUBLE_EQ(gSym.Siz, 80);
    // Its switches come back with their marks.
    EXPECT_EQ(gOut.fileTyp, 0);
    unsigned char mark = 0;
    GetItemMark(GetMenuHandle(236), 6, &mark);
    EXPECT_EQ(mark, checkMark);
    EXPECT_EQ(gSym.smallFirstChar, 0);
}

// Names a file name cannot tell apart keep files of their own; a name saved
// again replaces its own file only.
TEST_F(CustomMenus, NamesOfOneFileNameKeepTheirOwnFiles) {
    popUp(151);
    popUp(236);
    installSettingMenus();
    const struct {
        const char* name;
        int32_t code;
    } saves[] = {{"a/b", 6}, {"a:b", 5}, {"a/b", 7}};
    for (const auto& s : saves) {
        gSym.code = s.code;
        answer(s.name);
        choose(236, 8);
    }
    EXPECT_EQ(filesIn(customFolderPath()).size(), 2u);
    ASSERT_EQ(customItems(), (std::vector<std::string>{"a/b", "a:b"}));
    choose(151, 1);
    EXPECT_EQ(gSym.code, 7);
    choose(151, 2);
    EXPECT_EQ(gSym.code, 5);
}

// Choosing a custom type closes the preview of a single symbol.
TEST_F(CustomMenus, ChoosingClosesTheSingleSymbolPreview) {
    popUp(151);
    answer("Plain");
    SaveCustomCode();
    installSettingMenus();
    gWindows.disp2 = window({100, 400, 300, 600}, documentProc);
    choose(151, 1);
    EXPECT_EQ(gWindows.disp2, nullptr);
}

}  // namespace
