// Output files: names, folders, the text kinds and their encodings, and the
// output dispatch's clipboard and file targets.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "app/world.h"
#include "labels/production.h"
#include "picture/output/SetUpFiles.h"
#include "picture/output/outer2.h"
#include "picture/outputstate.h"
#include "picture/output/textfiles.h"
#include "platform/desktop.h"
#include "support/cases.h"
#include "support/reader.h"
#include "symbology/messages.h"
#include "symbology/state.h"
#include "vector/Epsout.h"

namespace {

namespace fs = std::filesystem;

struct OutputFiles : ::testing::Test {
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
    }
    void TearDown() override { resetWorld(); }
    static void data(const char* printed, const char* full, const char* type = "EAN 13") {
        copyBounded(gSym.TeF, type);
        copyBounded(gData.chMainCode2, printed);
        copyBounded(gData.chMainCode, full);
        gData.len11 = static_cast<int32_t>(strlen(printed));
        gData.len1 = static_cast<int32_t>(strlen(full));
    }
    // Output to exactly this file, no dialog.
    static void toFile(const std::string& path) {
        gOut.fileDia = 4;
        copyBounded(gOut.globFolS, path.c_str());
    }
    static void elements(const std::string& bytes) {
        gEl.clear();
        gEl.put(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }
};

TEST_F(OutputFiles, NamesFromTypeDataCheckDigitAndExtension) {
    for (const auto& c : testsupport::readCases("picture/file_names.txt", 13)) {
        resetWorld();
        data(c[9].c_str(), c[10].c_str(), c[0].c_str());
        gSym.code = c.integer(1);
        gSym.variation1 = c.integer(2);
        if (c[3] != "-") gSym.nCheck = c.integer(3);
        gOut.appID = c.integer(4);
        gOut.fileTyp = c.integer(5);
        gOut.tool = c.integer(6);
        if (c[7] != "-") gOut.ill = c.integer(7);
        copyBounded(gOut.title, c[8].c_str());
        copyBounded(gData.chMainCode4, c[11].c_str());
        EXPECT_EQ(NewFileName(), c[12]) << c.where;
        EXPECT_EQ(gData.chMainCode, c[10]) << c.where << ": the data is left as it was";
    }
}

TEST_F(OutputFiles, FoldersByNamingMode) {
    data("400638133393", "4006381333931");
    gOut.tool = kOutTiff;
    std::string path;
    const std::tuple<int, const char*, const char*> modes[] = {
        {1, "", "Strixels/EAN-13-4006381333931.TIF"},
        {3, "/tmp/out", "/tmp/out/EAN-13-4006381333931.TIF"},
        {4, "/tmp/whole.name", "/tmp/whole.name"}};
    for (const auto& [mode, folder, want] : modes) {
        gOut.fileDia = mode;
        copyBounded(gOut.globFolS, folder);
        ASSERT_TRUE(NewFile(&path));
        EXPECT_EQ(path, want);
    }
    // The desktop always gets the one fixed name.
    gOut.fileDia = 2;
    setenv("XDG_DESKTOP_DIR", "/tmp/desk", 1);
    ASSERT_TRUE(NewFile(&path));
    EXPECT_EQ(path, "/tmp/desk/DefaultStrixel");
    unsetenv("XDG_DESKTOP_DIR");
    // Mode 0: the save dialog (headless it cancels), or in runs the folder chosen once.
    gOut.fileDia = 0;
    EXPECT_FALSE(NewFile(&path));
    gOut.showDia = 1;
    static int asked = 0;
    asked = 0;
    platform::SetDialogAnswers(nullptr, [](std::string* folder) {
        ++asked;
        *folder = "/tmp/run";
        return true;
    });
    ASSERT_TRUE(NewFile(&path));
    ASSERT_TRUE(NewFile(&path));
    EXPECT_EQ(path, "/tmp/run/EAN-13-4006381333931.TIF");
    EXPECT_EQ(asked, 1);
}

TEST_F(OutputFiles, Utf16AndUtf8FromMacRoman) {
    const unsigned char circumflexU[] = {0xF3};
    EXPECT_EQ(MACtoMacRomanUnicode(circumflexU, 1), std::string("\xFE\xFF\x00\xDB", 4));
    EXPECT_EQ(MACtoUTF8(circumflexU, 1), "\xEF\xBB\xBF\xC3\x9B");
    // Far more text than the element list could hold converted: nothing is cut.
    std::string big(6000, '\xA5');
    big[100] = 13;
    const std::string out =
        MACtoMacRomanUnicode(reinterpret_cast<const unsigned char*>(big.data()), big.size());
    ASSERT_EQ(out.size(), 2u + 2 * 6000 + 2);
    EXPECT_EQ(out.substr(out.size() - 2), "\x20\x22");  // the bullet
}

TEST_F(OutputFiles, WindowsCodePageRows) {
    for (const auto& c : testsupport::readCases("picture/codepage1252.txt", 2)) {
        unsigned char b = static_cast<unsigned char>(c.integer(0));
        MACtoANSI(&b, 1);
        EXPECT_EQ(b, c.integer(1)) << c.where;
    }
}

TEST_F(OutputFiles, TextLineOfLowBarsIsTheLastRowsReadableText) {
    elements("xx12\rAB12-x\r12ab-");
    gSym.Hei = 4;
    EXPECT_EQ(saveItemToFile(), "12ab\r");
    gSym.Hei = 10;
    EXPECT_EQ(saveItemToFile(), "xx12\rAB12-x\r12ab-\r");
}

TEST_F(OutputFiles, RunOfThreeSymbolsAppendsThreeLines) {
    const std::string path = testsupport::tempPath("run.txt");
    {
        std::ofstream old(path);
        old << "an earlier run\r";
    }
    toFile(path);
    gProd.background = 1;
    gSym.Hei = 4;
    for (const char* digits : {"1001", "1002", "1003"}) {
        elements(std::string("|||\r") + digits);
        ASSERT_EQ(SaveTextToFile(0), 1);
    }
    EXPECT_EQ(gPictOut.sameFile, 1);
    // The run's lines are put in place whole when it ends, not one by one.
    EXPECT_EQ(testsupport::slurp(path), "an earlier run\r");
    ASSERT_TRUE(endTextRun());
    EXPECT_EQ(testsupport::slurp(path), "1001\r1002\r1003\r");
}

TEST_F(OutputFiles, AFailedFirstLineEndsTheRun) {
    const std::string earlier = testsupport::tempPath("earlier.txt");
    toFile(earlier);
    gProd.background = 1;
    elements("1");
    gSym.Hei = 10;
    ASSERT_EQ(SaveTextToFile(0), 1);
    // The next run's file cannot be made: nothing goes to the earlier run's file.
    endTextRun();
    const std::string missing = testsupport::tempPath("no/such/folder.txt");
    toFile(missing);
    EXPECT_EQ(SaveTextToFile(0), 0);
    EXPECT_EQ(gPictOut.sameFile, 0);
    toFile(missing);
    EXPECT_EQ(SaveTextToFile(0), 0);
    EXPECT_EQ(testsupport::slurp(earlier), "1\r");
    // An append that the disk refuses leaves the file as it was.
    gPictOut.sameFile = 1;
    gPictOut.theFileName2 = "/dev/full";
    EXPECT_EQ(SaveTextToFile(0), 0);
    EXPECT_EQ(gPictOut.sameFile, 0);
}

TEST_F(OutputFiles, BarFontTextToTheClipboard) {
    elements("AB\rCD\r");
    gSym.code = 1;  // ISBN: the header line first
    copyBounded(gData.chHeadCode, "ISBN 0-00");
    gData.len3 = 9;
    gSym.human = kHumanOneLine;
    gSym.Siz = 250;
    gOut.tool = kOutBarFontText;
    ASSERT_EQ(outer2(), 1);
    const platform::Scrap& scrap = platform::ScrapContents();
    EXPECT_EQ(scrap.text, "ISBN 0-00\rAB\r");
    EXPECT_EQ(scrap.fontName, "Strixel");
    EXPECT_EQ(scrap.fontSize, 25);
    EXPECT_EQ(gMsg.shown, 1);  // the note that the text is there
    EXPECT_EQ(barFontPoints(19.9), 1);
    EXPECT_EQ(barFontPoints(5), 1);  // never 0 points
    EXPECT_EQ(gEl.cu_len, 0);
    // Nothing written yet: no switch back to the other application.
    EXPECT_EQ(platform::DesktopCallCounts().switchBacks, 0);
}

TEST_F(OutputFiles, BarFontTextFilesPlainAndUtf16) {
    const std::string path = testsupport::tempPath("bars.txt");
    toFile(path);
    gOut.tool = kOutBarFontText;
    gOut.outToFile = 1;
    gOut.features = 1;
    elements("A\r");
    ASSERT_EQ(outer2(), 1);
    EXPECT_EQ(testsupport::slurp(path), "A\r");
    gOut.ill = kIllUtf16Text;
    elements("A\r");
    ASSERT_EQ(outer2(), 1);
    EXPECT_EQ(testsupport::slurp(path), std::string("\xFE\xFF\0A\0\r\0\n", 8));
    // The file is revealed and the previous application comes back.
    EXPECT_EQ(platform::DesktopCallCounts().lastRevealed, path);
    EXPECT_EQ(platform::DesktopCallCounts().switchBacks, 2);
}

// The Append output (target 2) adds each symbol's bar-font text to the file on
// a line of its own; the UTF-16 file keeps one byte-order mark, at its start.
TEST_F(OutputFiles, BarFontTextAppendAddsEachSymbolOnItsOwnLine) {
    const std::string path = testsupport::tempPath("added.txt");
    fs::remove(path);
    toFile(path);
    gOut.tool = kOutBarFontText;
    gOut.outToFile = 2;
    for (const char* bars : {"AB", "CD\r", "EF"}) {
        elements(bars);
        ASSERT_EQ(outer2(), 1) << gMsg.last;
    }
    EXPECT_EQ(testsupport::slurp(path), "AB\rCD\rEF");

    fs::remove(path);
    gOut.ill = kIllUtf16Text;
    for (const char* bars : {"A", "B"}) {
        elements(bars);
        ASSERT_EQ(outer2(), 1) << gMsg.last;
    }
    EXPECT_EQ(testsupport::slurp(path), std::string("\xFE\xFF\0A\0\r\0\n\0B", 10));
    // The save dialog does not offer to replace the file the text is added to.
    static bool asksToReplace = true;
    static std::string chosen;
    chosen = path;
    platform::SetDialogAnswers(
        [](const std::string&, std::string* to) {
            asksToReplace = !platform::SaveAddsToFile();
            *to = chosen;
            return true;
        },
        nullptr);
    gOut.fileDia = 0;
    elements("C");
    ASSERT_EQ(outer2(), 1);
    platform::SetDialogAnswers(nullptr, nullptr);
    EXPECT_FALSE(asksToReplace);
    EXPECT_EQ(testsupport::slurp(path).size(), 16u);  // the third line, no second mark
    EXPECT_FALSE(platform::SaveAddsToFile());
    toFile("/dev/full");  // nowhere to add it: a message, not a success
    elements("C");
    gMsg.shown = 0;
    EXPECT_EQ(outer2(), 0);
    EXPECT_GE(gMsg.shown, 1);
}

TEST_F(OutputFiles, FailedWritesKeepTheOldFileAndLeaveNothing) {
    const std::string folder = testsupport::tempPath("kept");
    fs::create_directories(folder);
    const std::string path = folder + "/old.txt";
    {
        std::ofstream old(path);
        old << "old contents";
    }
    gOut.tool = kOutBarFontText;
    gOut.outToFile = 1;
    // A name that is a folder, and the full disk: message, nothing left behind.
    for (const std::string& target : {folder, std::string("/dev/full")}) {
        toFile(target);
        gMsg.shown = 0;
        elements("new");
        EXPECT_EQ(outer2(), 0) << target;
        EXPECT_GE(gMsg.shown, 1) << target;
    }
    // An unwritable folder (root may write anywhere: then the file is replaced).
    chmod(folder.c_str(), 0555);
    toFile(path);
    elements("new");
    const bool locked = access(folder.c_str(), W_OK) != 0;
    const int32_t result = outer2();
    chmod(folder.c_str(), 0755);
    if (locked) {
        EXPECT_EQ(result, 0);
    }
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++files;
    EXPECT_EQ(files, 1u);
    if (locked) {
        EXPECT_EQ(testsupport::slurp(path), "old contents");
    }
}

TEST_F(OutputFiles, KindsOfPicturesNeedAPicture) {
    const std::string path = testsupport::tempPath("nopicture.tif");
    toFile(path);
    gOut.tool = kOutTiff;
    EXPECT_EQ(SetUpFiles(0), 0);
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(OutputFiles, PdfNamesBesideTheEps) {
    EXPECT_EQ(pdfPathsFor("/a/x.eps").pdf, "/a/x.pdf");
    EXPECT_EQ(pdfPathsFor("/a/x.PDF").eps, "/a/x.eps");
    EXPECT_EQ(pdfPathsFor("/a.b/x").pdf, "/a.b/x");
    EXPECT_EQ(pdfPathsFor("/a.b/x").eps, "/a.b/x.eps");
}

}  // namespace
