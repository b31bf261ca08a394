// The label commands of the whole program, wired and started as the program
// starts: New Label shows the palettes and, after the sheet window's OK, the
// layout window on the new sheet; the sheet item without a layout sets up the
// print copy's sheet and opens no layout, and does not leak that mode into the
// next New Label; File > Print on a layout shows the print window; a saved
// layout's window takes the document's name.
#include <fstream>
#include <iterator>

#include "app/desktop/commands.h"
#include "app/desktop/sheetSetupWindow.h"
#include "app/desktop/wiring.h"
#include "app/layoutGeometry.h"
#include "app/sheetSetup.h"
#include "labels/labelDoc.h"
#include "platform/desktop.h"
#include "labels/printState.h"
#include "labels/runs/itemOps.h"
#include "shell_fixture.h"

using namespace toolbox;

namespace {

class WiredLabelCommands : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        wireDesktop();
        startProgram();
    }
    void TearDown() override {
        endProgram();
        ShellTest::TearDown();
    }
};

TEST_F(WiredLabelCommands, NewLabelOpensTheLayoutOnTheSheetOKSets) {
    EXPECT_EQ(gLayout.geditMode, 1) << "the program starts in edit mode";
    DoFile(kFileNew);
    ASSERT_NE(gWindows.LabelWin, nullptr);
    ASSERT_NE(gWindows.ToolWin, nullptr);
    EXPECT_TRUE(gWindows.ToolWin->visible) << "the palettes show in edit mode";
    ASSERT_NE(gWindows.TabWin, nullptr);
    EXPECT_TRUE(gWindows.TabWin->visible);
    EXPECT_EQ(gSheetWin.printsheet, 0) << "New Label sets up the layout's own sheet";

    ASSERT_EQ(DoLabelOK(), 0);
    EXPECT_EQ(gWindows.LabelWin, nullptr);
    EXPECT_NE(labelBack.labelWidth, 0u) << "the first template became the layout's sheet";
    EXPECT_EQ(labelBack3.labelWidth, 0u) << "no sheet of single symbols";
    ASSERT_NE(gWindows.disp2, nullptr) << "the layout window opens";
    EXPECT_EQ(gWindows.disp2->title, "Untitled");
}

TEST_F(WiredLabelCommands, TheSheetItemWithoutALayoutSetsUpThePrintCopyOnly) {
    DoFile(kFileSheet);
    ASSERT_NE(gWindows.LabelWin, nullptr);
    EXPECT_EQ(gSheetWin.printsheet, 1);
    ASSERT_EQ(DoLabelOK(), 0);
    EXPECT_EQ(labelBack.labelWidth, 0u) << "still no layout";
    EXPECT_NE(labelBack3.labelWidth, 0u);
    EXPECT_EQ(gWindows.disp2, nullptr);

    // The mode was the sheet item's alone.
    DoFile(kFileNew);
    EXPECT_EQ(gSheetWin.printsheet, 0);
    ASSERT_EQ(DoLabelOK(), 0);
    EXPECT_NE(labelBack.labelWidth, 0u);
    EXPECT_NE(gWindows.disp2, nullptr);
}

TEST_F(WiredLabelCommands, PrintOnALayoutShowsThePrintWindowWithNothingSelected) {
    DoFile(kFilePrint);
    EXPECT_EQ(gWindows.PrintWin, nullptr) << "no layout: a message, no window";
    DoFile(kFileNew);
    ASSERT_EQ(DoLabelOK(), 0);
    ASSERT_EQ(addLabelItem(), 0);
    selectAllItems(1);
    DoFile(kFilePrint);
    ASSERT_NE(gWindows.PrintWin, nullptr);
    EXPECT_EQ(gPrint.printScreen, 1);
    for (int32_t i = 0; i <= labelBack.lastItem; ++i) {
        if (gLabel.labelParts[size_t(i)]) {
            EXPECT_EQ(gLabel.labelParts[size_t(i)]->i16(item::selected), 0) << i;
        }
    }
}

TEST_F(WiredLabelCommands, SavingALayoutUnderANameTitlesItsWindow) {
    DoFile(kFileNew);
    ASSERT_EQ(DoLabelOK(), 0);
    ASSERT_EQ(addLabelItem(), 0);
    static std::string path;
    path = (home / "named.labl").string();
    platform::SetDialogAnswers(
        [](const std::string&, std::string* chosen) {
            *chosen = path;
            return true;
        },
        nullptr);
    DoFile(kFileSave);
    ASSERT_TRUE(std::filesystem::exists(path));
    ASSERT_NE(gWindows.disp2, nullptr);
    EXPECT_EQ(gWindows.disp2->title, "named.labl");
}

// Save As with Option (Alt) held writes the layout text export into the chosen
// file; the layout keeps its name and stays unsaved. Without it, the document.
TEST_F(WiredLabelCommands, SavingWithOptionHeldWritesTheLayoutText) {
    DoFile(kFileNew);
    ASSERT_EQ(DoLabelOK(), 0);
    ASSERT_EQ(addLabelItem(), 0);
    gLabel.labelParts[0]->setI16(item::kind, kKindBarcode);
    gShell.changed = 1;
    static std::string path;
    platform::SetDialogAnswers(
        [](const std::string&, std::string* chosen) {
            *chosen = path;
            return true;
        },
        nullptr);
    const auto slurp = [] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    path = (home / "export.txt").string();
    gLoop.gmyEvent.modifiers = optionKey;
    DoFile(kFileSaveAs);
    gLoop.gmyEvent.modifiers = 0;
    const std::string text = slurp();
    EXPECT_EQ(text.rfind("<Label|", 0), 0u) << text.substr(0, 40);
    EXPECT_NE(text.find("\r<Barcode|"), std::string::npos);
    EXPECT_EQ(gWindows.disp2->title, "Untitled");
    EXPECT_EQ(gShell.changed, 1);

    path = (home / "plain.labl").string();
    DoFile(kFileSaveAs);
    EXPECT_NE(slurp().rfind("<Label|", 0), 0u) << "the binary document";
    EXPECT_EQ(gWindows.disp2->title, "plain.labl");
}

}  // namespace
