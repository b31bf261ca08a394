// The label commands of the whole program, wired and started as the program
// starts: New Label shows the palettes and, after the sheet window's OK, the
// layout window on the new sheet; the sheet item without a layout sets up the
// print copy's sheet and opens no layout, and does not leak that mode into the
// next New Label; File > Print on a layout shows the print window; a saved
// layout's window takes the document's name; Save Layout As asks for a name;
// a template or an EPS file opened is never saved over; a file that cannot be
// opened keeps the open document; replacing the document closes Sheet Setup.
#include <fstream>
#include <iterator>

#include "app/desktop/commands.h"
#include "app/desktop/sheetSetupWindow.h"
#include "app/desktop/wiring.h"
#include "app/layoutGeometry.h"
#include "app/sheetSetup.h"
#include "labels/labelDoc.h"
#include "labels/labelFile.h"
#include "platform/desktop.h"
#include "platform/byteorder.h"
#include "symbology/panels.h"
#include "symbology/state.h"
#include "support/reader.h"
#include "labels/printState.h"
#include "labels/runs/itemOps.h"
#include "shell_fixture.h"

using namespace toolbox;

namespace {

// The file dialogs: the save dialog names savePath (and keeps the name it
// offered), the open dialog openPath; an empty path cancels.
struct Dialogs {
    static inline std::string savePath, openPath, offered;
    static inline int saves = 0;
    static void answer() {
        savePath.clear();
        openPath.clear();
        offered.clear();
        saves = 0;
        platform::SetDialogAnswers(
            [](const std::string& name, std::string* chosen) {
                ++saves;
                offered = name;
                *chosen = savePath;
                return !savePath.empty();
            },
            nullptr,
            [](const char*, std::string* chosen) {
                *chosen = openPath;
                return !openPath.empty();
            });
    }
};

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
    static size_t items() { return size_t(labelBack.lastItem + 1); }
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

TEST_F(WiredLabelCommands, SaveLayoutAsAsksForADocumentOrATemplateName) {
    Dialogs::answer();
    DoFile(kFileNew);
    ASSERT_EQ(DoLabelOK(), 0);
    ASSERT_EQ(addLabelItem(), 0);
    gShell.changed = 1;
    const std::string doc = (home / "doc.labl").string();
    Dialogs::savePath = doc;
    DoCommand((kSaveLayoutMenu << 16) | 1);
    EXPECT_EQ(Dialogs::saves, 1) << "an untitled layout asks for its name";
    ASSERT_TRUE(std::filesystem::exists(doc));
    EXPECT_EQ(gWindows.disp2->title, "doc.labl");
    EXPECT_EQ(gShell.changed, 0);

    // A template: its own name asked for, the document keeps its name and file.
    const std::string saved = testsupport::slurp(doc);
    ASSERT_EQ(addLabelItem(), 0);
    gShell.changed = 1;
    const std::string templ = (home / "doc.labt").string();
    Dialogs::savePath = templ;
    DoCommand((kSaveLayoutMenu << 16) | 2);
    EXPECT_EQ(Dialogs::saves, 2);
    EXPECT_EQ(Dialogs::offered, "doc.labt");
    ASSERT_TRUE(std::filesystem::exists(templ));
    EXPECT_TRUE(testsupport::slurp(doc) == saved) << "the document was written over";
    EXPECT_EQ(gDocFile.globFilS, doc);
    EXPECT_EQ(gWindows.disp2->title, "doc.labl");
    EXPECT_EQ(gShell.changed, 1) << "the document itself is not saved";
}

TEST_F(WiredLabelCommands, OpenedTemplatesAndEpsFilesAreNeverSavedOver) {
    Dialogs::answer();
    DoFile(kFileNew);
    ASSERT_EQ(DoLabelOK(), 0);
    ASSERT_EQ(addLabelItem(), 0);
    const std::string templ = (home / "t.labt").string();
    ASSERT_EQ(saveDocumentTo(templ), 0);
    const std::string made = testsupport::slurp(templ);

    Dialogs::openPath = templ;
    ASSERT_EQ(DoFile(kFileOpen), 1);
    EXPECT_EQ(gDocFile.globFilS, "Untitled");
    EXPECT_EQ(gWindows.disp2->title, "Untitled");
    ASSERT_EQ(addLabelItem(), 0);
    Dialogs::savePath = (home / "from-template.labl").string();
    EXPECT_EQ(DoFile(kFileSave), 1);
    EXPECT_EQ(Dialogs::saves, 1) << "the first save asks for a name";
    EXPECT_TRUE(testsupport::slurp(templ) == made) << "the template was written over";

    // An EPS file gives its settings; the document stays, under its name.
    const std::string eps = (home / "e.eps").string();
    std::ofstream(eps) << "%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: x\r%%Title: FROM-EPS\r"
                          "%%Options: {type:\"Code 128\", data:\"FROM-EPS\"}\r%%EOF\r";
    Dialogs::openPath = eps;
    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(DoFile(kFileOpen), 0);
    EXPECT_EQ(gMsg.shown, 0) << gMsg.last;
    EXPECT_STREQ(gData.chMainCode, "FROM-EPS");
    EXPECT_EQ(gPanels.TEH.text, "FROM-EPS") << "the data field shows the data OK makes";
    EXPECT_EQ(gDocFile.globFilS, Dialogs::savePath);
    EXPECT_EQ(items(), 2u);
    // One without settings says so.
    std::ofstream(eps) << "%!PS-Adobe-3.0 EPSF-3.0\r%%Creator: x\r%%EOF\r";
    EXPECT_EQ(DoFile(kFileOpen), 0);
    EXPECT_NE(gMsg.last.find("holds no settings"), std::string::npos) << gMsg.last;
}

// A document that cannot be opened leaves the open one whole: items, sheet,
// name. Replacing the document closes Sheet Setup, whose OK would otherwise
// put the old document's sheet on the new one.
TEST_F(WiredLabelCommands, ReplacingTheDocumentClosesSheetSetupAndAFailureKeepsIt) {
    Dialogs::answer();
    DoFile(kFileNew);
    ASSERT_EQ(DoLabelOK(), 0);
    ASSERT_EQ(addLabelItem(), 0);
    const std::string many = (home / "many.labl").string();
    ASSERT_EQ(saveDocumentTo(many), 0);
    std::string bytes = testsupport::slurp(many);
    platform::put16(reinterpret_cast<uint8_t*>(bytes.data()) + 48, 100, platform::kNativeOrder);
    std::ofstream(many, std::ios::binary) << bytes;
    Dialogs::savePath = (home / "a.labl").string();
    ASSERT_EQ(DoFile(kFileSave), 1);
    const uint32_t width = labelBack.labelWidth;

    Dialogs::openPath = many;
    resetMessages();
    gMsg.quiet = true;
    EXPECT_EQ(DoFile(kFileOpen), 0);
    EXPECT_NE(gMsg.last.find("The open document was kept."), std::string::npos) << gMsg.last;
    EXPECT_EQ(items(), 1u);
    EXPECT_EQ(labelBack.labelWidth, width);
    EXPECT_TRUE(labelLayoutOpen());
    EXPECT_EQ(gWindows.disp2->title, "a.labl");

    // Sheet Setup open on this document, then another one opened.
    labelBack.labelWidth = width / 2;
    const std::string other = (home / "other.labl").string();
    ASSERT_EQ(saveDocumentTo(other), 0);
    labelBack.labelWidth = width;
    DoFile(kFileSheet);
    ASSERT_NE(gWindows.LabelWin, nullptr);
    Dialogs::openPath = other;
    ASSERT_EQ(DoFile(kFileOpen), 1);
    EXPECT_EQ(gWindows.LabelWin, nullptr) << "Sheet Setup stays on the old sheet";
    EXPECT_EQ(labelBack.labelWidth, width / 2);
    DoFile(kFileSheet);
    ASSERT_NE(gWindows.LabelWin, nullptr);
    DoFile(kFileCloseLabel);
    EXPECT_EQ(gWindows.LabelWin, nullptr);
}

}  // namespace
