// The production run: one symbol, serial runs and import runs delivered as EPS
// files and as text lines, each symbol read back by an outside reader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/world.h"
#include "automation/options.h"
#include "labels/labelDoc.h"
#include "labels/production.h"
#include "labels/runs/ProcessBarcodes.h"
#include "picture/output/SetUpFiles.h"
#include "picture/outputstate.h"
#include "picture/symbolbox.h"
#include "platform/desktop.h"
#include "platform/questions.h"
#include "support/grey_image.h"
#include "support/reader.h"
#include "symbology/info.h"
#include "symbology/messages.h"
#include "symbology/panels.h"
#include "symbology/state.h"

namespace {

namespace fs = std::filesystem;

// The carriage returns in the current symbol's element list.
int rowEnds() { return static_cast<int>(std::count(gEl.chNum, gEl.chNum + gEl.cu_len, 13)); }

struct Run : ::testing::Test {
    std::string dir;
    void SetUp() override {
        resetWorld();
        gMsg.quiet = true;
        dir = testsupport::tempPath("run");
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        platform::SetDialogAnswers(nullptr, nullptr, nullptr);
        resetWorld();
    }
    // The open-file dialog answers with `path` from now on.
    static void chooseOnOpen(const std::string& path) {
        static std::string chosen;
        chosen = path;
        platform::SetDialogAnswers(nullptr, nullptr, [](const char*, std::string* p) {
            *p = chosen;
            return true;
        });
    }
    // The EPS files in the folder, by name.
    std::vector<std::string> epsNames() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().extension() == ".EPS") names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The code type's single barcode item, delivered without a preview.
    void symbol(const char* type, const char* data) {
        ASSERT_TRUE(parseCodeType(type));
        applyScriptPair("data", data);
        ASSERT_TRUE(addSingleSymbolItem());
        gOut.showDia = 1;
        STRixel();
        rows = rowEnds();
    }
    int rows = 0;  // carriage returns in one symbol's element list
    void toFolder() {
        gOut.tool = kOutVector;
        gOut.outToFile = 1;
        gOut.fileDia = 3;
        copyBounded(gOut.globFolS, dir.c_str());
    }
    std::string toTextFile() {
        gOut.tool = kOutTextLine;
        gOut.fileDia = 4;
        const std::string path = dir + "/lines.txt";
        copyBounded(gOut.globFolS, path.c_str());
        return path;
    }
    void serialPanel(const char* start, const char* end, const char* increment,
                     const char* length) {
        const char* typed[] = {start, end, increment, length};
        for (int i = 0; i < 4; ++i) gPanels.TEBack1[i].text = typed[i];
        gProd.background = 1;
    }
    static void expectHandOverCleared() {
        EXPECT_EQ(gProd.gcite, 0);
        EXPECT_EQ(gProd.gemode, 0);
        EXPECT_EQ(gProd.gtlen, 0);
        EXPECT_EQ(gProd.ghnum, 0);
        EXPECT_EQ(gProd.gcurr[0], 0);
        EXPECT_EQ(gProd.gfini[1], 0);
    }
};

std::string withEanCheck(std::string digits) {
    int sum = 0;
    for (size_t i = 0; i < digits.size(); ++i) sum += (digits[i] - '0') * (i % 2 ? 3 : 1);
    return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::vector<std::string> serialEans(int first, int count) {
    std::vector<std::string> want;
    for (int n = first; n < first + count; ++n) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "400638%06d", n);
        want.push_back(withEanCheck(digits));
    }
    return want;
}

TEST_F(Run, ASerialRunOf1000Ean13AsEpsFilesAndAsTextLines) {
    symbol("EAN 13", "400638100000");
    serialPanel("400638100000", "400638100999", "1", "12");
    toFolder();
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 1000);
    EXPECT_EQ(gProd.runFaults, 0);
    EXPECT_EQ(gProd.background, 1);
    const platform::GaugeRecord& g = platform::gaugeRecord();
    EXPECT_EQ(g.title, "Making Serial codes");
    EXPECT_EQ(g.text, "400638100999");
    EXPECT_FALSE(g.open);
    expectHandOverCleared();
    EXPECT_EQ(testsupport::decodeEpsFolder(dir, "EAN-13"), serialEans(100000, 1000));

    const std::string lines = toTextFile();
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 1000);
    EXPECT_EQ(testsupport::decodeTextLines(lines, rows, "EAN-13"), serialEans(100000, 1000));
    expectHandOverCleared();
}

TEST_F(Run, SerialRunsStopAtTheirEndAndRefuseRunsThatCouldNeverEnd) {
    symbol("Code 128", "0001");
    serialPanel("0001", "0003", "0001", "4");
    const std::string lines = toTextFile();
    ProcessBarcodes();
    EXPECT_EQ(testsupport::decodeTextLines(lines, rows, "Code128"),
              (std::vector<std::string>{"0001", "0002", "0003"}));

    // The add-on counter form: the main data stays, the add-on counts.
    symbol("EAN 13", "400638133393");
    serialPanel("A|05", "12", "3", "12");
    gPanels.TEBack1[6].text = "400638133393";  // the prefix is the main data
    toFolder();
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 3);
    EXPECT_EQ(epsNames(), (std::vector<std::string>{"EAN-UCC-13-400638133393105.EPS",
                                                    "EAN-UCC-13-400638133393108.EPS",
                                                    "EAN-UCC-13-400638133393111.EPS"}));

    serialPanel("1", "9", "0", "4");  // a zero increment
    gMsg.shown = 0;
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 0);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_EQ(gProd.background, 1);
}

TEST_F(Run, AHandedOverRunDeliversOnceAndClearsTheHandOver) {
    symbol("Code 128", "0001");
    serialPanel("0001", "0003", "0001", "4");
    labelBack3.labelWidth = 100000;                 // a print sheet is set up
    platform::questionScript().askerAnswers = {1};  // the second button: one symbol a number
    const std::string lines = toTextFile();
    ProcessBarcodes();
    EXPECT_EQ(platform::questionScript().asked, 1);
    EXPECT_EQ(gProd.runMade, 3);
    expectHandOverCleared();
}

TEST_F(Run, ALabelLayoutOrAnotherPaneMakesNothing) {
    symbol("Code 128", "0001");
    serialPanel("0001", "0003", "0001", "4");
    toTextFile();
    labelBack.labelWidth = labelBack.labelHeight = 1000;
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 0);
    labelBack.labelWidth = labelBack.labelHeight = 0;
    gProd.background = 4;
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 0);
    EXPECT_EQ(gProd.background, 4);
}

TEST_F(Run, OneSymbolIsDeliveredAtOnceWithoutAPreview) {
    symbol("EAN 13", "400638133393");
    toFolder();
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 1);
    EXPECT_EQ(testsupport::decodeEpsFolder(dir, "EAN-13"),
              std::vector<std::string>{"4006381333931"});
}

// The kinds made from the symbol's picture are delivered too, one symbol and
// every symbol of a run alike.
TEST_F(Run, PictureKindsAreDeliveredByOneSymbolAndByRuns) {
    const auto readTiffs = [this] {
        std::vector<std::string> read;
        std::vector<std::string> paths;
        for (const auto& e : fs::directory_iterator(dir)) paths.push_back(e.path().string());
        std::sort(paths.begin(), paths.end());
        for (const std::string& path : paths) {
            const testsupport::Bitmap b = testsupport::greyOfImage(path);
            read.push_back(testsupport::decode(testsupport::padBitmap(b, 40), "Code128").text);
        }
        return read;
    };
    symbol("Code 128", "0007");
    toFolder();
    gOut.tool = kOutTiff;
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 1);
    EXPECT_EQ(readTiffs(), std::vector<std::string>{"0007"});

    fs::remove_all(dir);
    fs::create_directories(dir);
    serialPanel("0001", "0003", "0001", "4");
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 3);
    EXPECT_EQ(readTiffs(), (std::vector<std::string>{"0001", "0002", "0003"}));
}

// Import runs: the file, the start record, the title field and the template.
struct ImportRun : Run {
    std::string file(const std::string& bytes) {
        const std::string path = dir + "/records.csv";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    void importPanel(const std::string& path, const char* templ, const char* start,
                     const char* title, const char* count) {
        const char* typed[] = {"", path.c_str(), "", "", templ, start, "13", title, count};
        for (int i = 1; i <= 8; ++i) gPanels.TEBack2[i].text = typed[i];
        gLabel.labelParts[0]->setText(item::serPos, templ);
        gProd.background = 2;
    }
};

TEST_F(ImportRun, StartRecordAndTitleFieldNameEachFile) {
    symbol("Code 128", "x");
    toFolder();
    importPanel(file("A1,first\r\nA2,second\r\nA3,third\r\nA4,fourth\r\n"), "<<1>>", "3", "2",
                "10");
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 2);
    EXPECT_EQ(epsNames(), (std::vector<std::string>{"fourth.EPS", "third.EPS"}));
    EXPECT_EQ(gProd.background, 2);
    EXPECT_EQ(gOut.title[0], 0);
    expectHandOverCleared();
    EXPECT_EQ(gProd.vimportRef, 0);  // closed

    fs::remove(dir + "/third.EPS");
    fs::remove(dir + "/fourth.EPS");
    importPanel(dir + "/records.csv", "<<1>>-<<2>>", "1", "0", "2");  // named after the data
    ProcessBarcodes();
    EXPECT_EQ(epsNames(), (std::vector<std::string>{"A1-first.EPS", "A2-second.EPS"}));
    EXPECT_EQ(testsupport::decodeEpsFolder(dir, "Code128"),
              (std::vector<std::string>{"A1-first", "A2-second"}));

    importPanel(dir + "/records.csv", "<<1>>", "1", "21", "1");  // a title field past 20
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 1);
    EXPECT_EQ(epsNames().size(), 3u);  // named after its type and data, beside the two before
}

TEST_F(ImportRun, AMissingFileIsReportedAndAStartPastTheEndMakesNothing) {
    symbol("Code 128", "x");
    toFolder();
    importPanel(dir + "/none.csv", "<<1>>", "1", "0", "10");
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 0);
    EXPECT_EQ(gMsg.shown, 1);
    EXPECT_NE(gMsg.last.find("could not be opened"), std::string::npos) << gMsg.last;
    importPanel(file("a\rb\r"), "<<1>>", "5", "0", "10");
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 0);
}

TEST_F(ImportRun, Utf8RecordsReachTheSymbolAsMacRomanOrAreReported) {
    symbol("QRCode", "x");
    const std::string lines = toTextFile();
    importPanel(file("caf\xC3\xA9\nna\xC5\x81\nok\n"), "<<1>>", "1", "0", "10");
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 2);
    EXPECT_EQ(gProd.runFaults, 1);
    EXPECT_NE(gMsg.last.find("Mac OS Roman"), std::string::npos) << gMsg.last;
    // QR Code carries é as the Latin-1 byte E9, which zxing gives back as UTF-8.
    EXPECT_EQ(testsupport::decodeTextLines(lines, rows, "QRCode", true),
              (std::vector<std::string>{"caf\xC3\xA9", "ok"}));
}

TEST_F(ImportRun, AFileThatMayOnlyBeReadIsChosenAsTheImportFile) {
    const std::string path = file("r1\r");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    chooseOnOpen(path);
    // Root may write any file: the child becomes an ordinary user first.
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && setuid(65534) != 0) _exit(2);
            openFile();
            _exit(gPictOut.impoFile == path && gMsg.shown == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ImportRun, TheSeparateFileIsSkippedWithTheRecords) {
    symbol("Code 128", "x");
    const std::string lines = toTextFile();
    const std::string sep = dir + "/extra.txt";
    std::ofstream(sep, std::ios::binary) << "s1\rs2\rs3\rs4\r";
    gLabel.sepImp = 1;
    chooseOnOpen(sep);
    importPanel(file("r1\rr2\rr3\r"), "<<1>>", "3", "0", "10");
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 1);
    // Two lines skipped with the records, one read with r3, one at the end of the file.
    EXPECT_STREQ(gProd.sepText, "s4");
}

// Runs handed to the sheet writer: a print sheet of one column of labels, each
// file one sheet, and the sheet question answered "fill the sheet".
struct SheetRun : ImportRun {
    static constexpr uint32_t kDown = 4;
    static constexpr int kDpi = 300;
    static constexpr int kLabelPoints = 100, kTopPoints = 20, kGapPoints = 20;
    void SetUp() override {
        ImportRun::SetUp();
        constexpr uint32_t kUnitsPerPoint = 10000;
        labelBack3.labelWidth = 280 * kUnitsPerPoint;
        labelBack3.labelHeight = kLabelPoints * kUnitsPerPoint;
        labelBack3.across = 1;
        labelBack3.down = kDown;
        labelBack3.leftMargin = 10 * kUnitsPerPoint;
        labelBack3.topMargin = kTopPoints * kUnitsPerPoint;
        labelBack3.spaceDown = kGapPoints * kUnitsPerPoint;
        labelBack3.sheetWidth = 300 * kUnitsPerPoint;
        labelBack3.sheetHeight =
            (kTopPoints + kDown * (kLabelPoints + kGapPoints)) * kUnitsPerPoint;
        platform::questionScript().askerAnswers = {0};
    }
    // Each sheet file of the folder (by name), its positions as an outside reader
    // reads them, top to bottom; a blank position ends the sheet.
    std::vector<std::vector<std::string>> sheetsRead() const {
        std::vector<std::string> paths;
        for (const std::string& name : epsNames()) paths.push_back(dir + "/" + name);
        std::vector<std::vector<std::string>> sheets;
        for (const testsupport::Bitmap& page : testsupport::renderEpsFiles(paths, kDpi)) {
            std::vector<std::string> read;
            for (uint32_t n = 0; n < kDown; ++n) {
                const int top = (kTopPoints + int(n) * (kLabelPoints + kGapPoints)) * kDpi / 72;
                const testsupport::Bitmap label =
                    testsupport::rowsOf(page, top, kLabelPoints * kDpi / 72);
                if (std::none_of(label.pixels.begin(), label.pixels.end(),
                                 [](uint8_t p) { return p < 128; }))
                    break;
                const testsupport::Decoded d =
                    testsupport::decode(testsupport::cropToInk(label, 80), "Code128");
                read.push_back(d.ok ? d.text : "unread: " + d.error);
            }
            sheets.push_back(read);
        }
        return sheets;
    }
};

TEST_F(SheetRun, EveryImportRecordLandsOnOneSheetPositionInOrder) {
    symbol("Code 128", "x");
    toFolder();
    std::string records;
    for (int n = 1; n <= 10; ++n) records.append("R").append(std::to_string(n)).append("\r");
    importPanel(file(records), "<<1>>", "1", "1", "10");
    ProcessBarcodes();
    using Sheets = std::vector<std::vector<std::string>>;
    EXPECT_EQ(sheetsRead(), (Sheets{{"R1", "R2", "R3", "R4"},  // files R1, R5, R9
                                    {"R5", "R6", "R7", "R8"},
                                    {"R9", "R10"}}));
    EXPECT_EQ(gProd.runFaults, 0) << gMsg.last;
    expectHandOverCleared();

    // The record count ends the run, at a sheet's end or within one.
    for (const char* count : {"4", "6"}) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        importPanel(file(records), "<<1>>", "1", "1", count);
        platform::questionScript().askerAnswers = {0};
        ProcessBarcodes();
        const Sheets want = count[0] == '4' ? Sheets{{"R1", "R2", "R3", "R4"}}
                                            : Sheets{{"R1", "R2", "R3", "R4"}, {"R5", "R6"}};
        EXPECT_EQ(sheetsRead(), want) << count;
    }
}

TEST_F(SheetRun, ASerialRunLongerThanTheSheetGoesOnToMoreSheets) {
    symbol("Code 128", "0001");
    serialPanel("0001", "0010", "0001", "4");
    gLabel.serEnd = "0010";  // the end value, as the main window's OK keeps it
    toFolder();
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 3);
    using Sheets = std::vector<std::vector<std::string>>;
    // The positions past the run's end stay blank: a number printed twice would
    // put one serial number on two products.
    EXPECT_EQ(sheetsRead(), (Sheets{{"0001", "0002", "0003", "0004"},
                                    {"0005", "0006", "0007", "0008"},
                                    {"0009", "0010"}}));
    expectHandOverCleared();

    // A run that ends at a sheet's last position makes no further sheet.
    fs::remove_all(dir);
    fs::create_directories(dir);
    serialPanel("0001", "0004", "0001", "4");
    platform::questionScript().askerAnswers = {0};
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 1);
}

TEST_F(SheetRun, ASheetFileThatCannotBeWrittenEndsTheRun) {
    symbol("Code 128", "x");
    toFolder();
    fs::create_directories(dir + "/R1.EPS");  // a folder holds the first sheet's name
    importPanel(file("R1\rR2\rR3\rR4\rR5\rR6\r"), "<<1>>", "1", "1", "10");
    gMsg.shown = 0;
    ProcessBarcodes();
    EXPECT_EQ(gProd.runMade, 0);
    EXPECT_GE(gMsg.shown, 1);
    EXPECT_EQ(gProd.runStoppedAt, 1);
    fs::remove_all(dir + "/R1.EPS");
    EXPECT_TRUE(epsNames().empty()) << "no later sheet skips the records of the first";
}

}  // namespace
